#include "accessibility.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

#include "board_view.h"
#include "constants.h"
#include "form_layout.h"

namespace nubbo::ui {

namespace {

// Marks a read-only box that only captions another or credits the game.
constexpr char kCaption[] = "nubboCaption";

QString boardName() {
    return QStringLiteral("the board, %1 columns and %2 rows").arg(kCols).arg(kRows);
}

// A caption box read as the static text it is, named by what it says.
class CaptionAccessible : public QAccessibleWidget {
  public:
    explicit CaptionAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<const QLineEdit*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// The board's cells: an element of their own with no widget behind it, as
// they are drawn into the client area that also holds the controls.
class CellsAccessible : public QAccessibleInterface {
  public:
    explicit CellsAccessible(BoardView* view) : view_(view) {}

    bool isValid() const override { return !view_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? boardName() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!view_) return {};
        const form::Box& board = form::kBoard;
        return {view_->mapToGlobal(QPoint(board.left, board.top)),
                QSize(board.width, board.height)};
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !view_ || !view_->isVisible();
        return state;
    }

  private:
    QPointer<BoardView> view_;
};

// The client area: its controls, then the board's cells.
class ClientAccessible : public QAccessibleWidget {
  public:
    explicit ClientAccessible(BoardView* view)
        : QAccessibleWidget(view, QAccessible::Client), cells_(new CellsAccessible(view)) {
        cellsId_ = QAccessible::registerAccessibleInterface(cells_);
    }
    // The cells go with the client area. (Should Qt's registry be torn
    // down first, at exit, it deletes them itself and forgets the id, and
    // this finds nothing to delete.)
    ~ClientAccessible() override { QAccessible::deleteAccessibleInterface(cellsId_); }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        return index == QAccessibleWidget::childCount() ? cells_ : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == cells_ ? QAccessibleWidget::childCount()
                               : QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (QAccessibleInterface* control = QAccessibleWidget::childAt(x, y)) return control;
        return cells_->rect().contains(x, y) ? cells_ : nullptr;
    }

  private:
    CellsAccessible* cells_;  // owned by Qt's registry of interfaces
    QAccessible::Id cellsId_ = 0;
};

QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    // BoardView declares no meta-object of its own: Qt asks as for a QWidget.
    if (className == QLatin1String("QWidget")) {
        if (auto* board = dynamic_cast<BoardView*>(object)) return new ClientAccessible(board);
    } else if (className == QLatin1String("QLineEdit") && object->property(kCaption).toBool()) {
        return new CaptionAccessible(static_cast<QLineEdit*>(object));
    }
    return nullptr;
}

// Qt keeps the first interface made for an object; one made before the
// factory knew the object (a text set while a bridge was already active)
// is dropped so that the next query makes the right one.
template <typename Wanted>
void renew(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    if (iface && !dynamic_cast<Wanted*>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

}  // namespace

void describeForAssistiveTechnology(BoardView& board, QCheckBox& expertBox, QLineEdit& levelBox,
                                    QLineEdit& scoreBox) {
    static const bool installed = (QAccessible::installFactory(interfaceFor), true);
    (void)installed;
    // Its caption beside it is a box of its own; the check box has no text.
    expertBox.setAccessibleName(QString::fromUtf8(form::kExpertCaptionText));
    levelBox.setAccessibleName(QStringLiteral("Level"));
    scoreBox.setAccessibleName(QStringLiteral("Score"));
    for (QLineEdit* box : board.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (box == &levelBox || box == &scoreBox) continue;
        box->setProperty(kCaption, true);
        renew<CaptionAccessible>(box);
    }
    renew<ClientAccessible>(&board);
}

}  // namespace nubbo::ui
