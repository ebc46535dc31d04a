#include "main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>

#include "banner_label.h"
#include "fonts.h"
#include "key_codes.h"
#ifdef NUBBO_TIMING
#include "timing_log.h"
#endif

namespace nubbo::ui {

namespace {
const QColor kBlue(0, 0, 255);

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/nubbo-%1.png").arg(size), QSize(size, size));
    return icon;
}
}  // namespace

MainWindow::MainWindow(std::uint64_t seed, GameEvents* events)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption());
    setWindowIcon(appIcon());

    board_ = new BoardView(this);
    board_->setObjectName(QStringLiteral("board"));
    setCentralWidget(board_);

    check1_ = new QCheckBox(board_);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(40, 0, 17, 17);
    check1_->setAutoFillBackground(true);
    QPalette pink = check1_->palette();
    pink.setColor(QPalette::Window, BoardView::background());
    pink.setColor(QPalette::Button, BoardView::background());
    check1_->setPalette(pink);

    // Text7 labels the box, Text3 and Text2 the level and score boxes;
    // Text6 is the credit line.
    addTextBox("Text7", 56, 0, 33, 18, QStringLiteral("高手"), withKaiFallback(textBoxFont()));
    addTextBox("Text3", 96, 0, 41, 18, QStringLiteral("Level:"));
    text4_ = addTextBox("Text4", 136, 0, 25, 18, QString());
    addTextBox("Text2", 192, 0, 41, 18, QStringLiteral("Score:"));
    text1_ = addTextBox("Text1", 232, 0, 49, 18, QString());
    addTextBox("Text6", 8, 488, 265, 18, QStringLiteral("NUBBO  tiles fall, threes clear"));

    auto banner = [this](QLabel* label, const char* name, const QRect& geometry,
                         const QFont& font) {
        label->setObjectName(QLatin1String(name));
        label->setGeometry(geometry);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kBlue);
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        return label;
    };
    label1_ = banner(new QLabel(QStringLiteral("GAME OVER"), board_), "Label1", {72, 184, 145, 113},
                     gameOverFont());
    label1_->setWordWrap(true);  // "GAME" over "OVER", as the box is narrow
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label2_ = banner(new BannerLabel(QString(), board_), "Label2", {8, 200, 273, 81}, bannerFont());

    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("Game"));
    auto command = [this, gameMenu](const QString& text, Qt::Key key, auto handler) {
        QAction* action = gameMenu->addAction(text);
        action->setObjectName(text);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    command(QStringLiteral("New"), Qt::Key_F2, [this] { game_->newGame(); });
    command(QStringLiteral("Pause"), Qt::Key_F3, [this] { game_->pause(); });
    command(QStringLiteral("Exit"), Qt::Key_F4, [this] { game_->exit(); });
    QAction* help = menuBar()->addAction(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, [this] { help_Click(); });

    clock_ = std::make_unique<QtClock>([this] { game_->wake(); });
    game_ = std::make_unique<Game>(*this, *clock_, seed, events);

    // Key preview: every key press reaches the game before any control.
    qApp->installEventFilter(this);

    adjustSize();
    setFixedSize(size());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

QLineEdit* MainWindow::addTextBox(const char* name, int x, int y, int w, int h, const QString& text,
                                  const QFont& font) {
    auto* box = new QLineEdit(board_);
    box->setObjectName(QLatin1String(name));
    // The font first: laying the text out in the default font would load
    // a fallback face only to throw it away.
    box->setFont(font);
    box->setText(text);
    box->setGeometry(x, y, w, h);
    box->setCursorPosition(0);  // a text too long shows its start, not its end
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);  // never takes the caret from the game
    return box;
}

void MainWindow::paintCell(int row, int col, int picture) {
    board_->paintCell(row, col, picture);
}

void MainWindow::showLabel(Label label, bool visible) {
    (label == Label::Label1 ? label1_ : label2_)->setVisible(visible);
}

void MainWindow::setLabel2Caption(std::string_view caption) {
    label2_->setText(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
}

void MainWindow::setText(TextBox box, std::string_view text) {
    QLineEdit* edit = box == TextBox::Text1 ? text1_ : text4_;
    edit->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    edit->setCursorPosition(0);
}

bool MainWindow::check1Ticked() const {
    return check1_->isChecked();
}

void MainWindow::endProgram() {
    qApp->removeEventFilter(this);
    QCoreApplication::exit(0);
}

void MainWindow::help_Click() {
    QMessageBox box(QMessageBox::NoIcon, caption(), helpText(), QMessageBox::Ok, this);
    game_->openHelp();
    box.exec();
    game_->closeHelp();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys aimed at this window; a dialog of its own keeps its keys.
    if (!widget || widget->window() != this) return false;
    if (type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
#ifdef NUBBO_TIMING
        const qint64 since = timing_ ? timing_->now() : 0;
#endif
        game_->key(gameKey(*key));
#ifdef NUBBO_TIMING
        if (timing_) timing_->keyHandled(since);
#endif
    }
    return true;  // no control acts on the game's keys
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() &&
        !QApplication::activeModalWidget())
        game_->focusLost();
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        game_->focusLost();
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    game_->exit();
}

}  // namespace nubbo::ui
