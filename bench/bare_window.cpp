// The yardstick for start-up: a bare Qt window of the game's size and name
// with an empty 10 ms timer, which fills its pink client area and 104 white
// cells (what bench/first_frame waits for) and writes one word in Qt's
// default font, with no pictures, menus, pads or fonts of its own. Any
// window that shows text pays for the toolkit's font set-up; whatever the
// game takes beyond this window is the game's own start-up.
// Usage: bare_window [--no-text]   (--no-text: no text, no font set-up)
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "constants.h"
#include "form_layout.h"

namespace {
class Bare : public QWidget {
  public:
    bool text = true;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xFF, 0xC0, 0xC0));
        for (int row = 0; row < nubbo::kRows; ++row)
            for (int col = 0; col < nubbo::kCols; ++col)
                painter.fillRect(nubbo::form::kBoard.left + nubbo::form::kCell * col,
                                 nubbo::form::kBoard.top + nubbo::form::kCell * row,
                                 nubbo::form::kCell, nubbo::form::kCell, Qt::white);
        if (text) painter.drawText(4, 16, QStringLiteral("Score:"));
    }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bare window;
    window.text = !(argc > 1 && QByteArray(argv[1]) == "--no-text");
    window.setWindowTitle(QStringLiteral("完全NUBBO方塊版"));
    window.setFixedSize(nubbo::form::kWidth, nubbo::form::kHeight);
    QTimer timer;
    timer.start(10);
    QObject::connect(&timer, &QTimer::timeout, [] {});
    window.show();
    return app.exec();
}
