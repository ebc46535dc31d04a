#include "main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include "accessibility.h"
#include "app_icon.h"
#include "banner_label.h"
#include "fonts.h"
#include "key_codes.h"
#ifdef NUBBO_GAMEPADS
#include "gamepads.h"
#endif
#ifdef NUBBO_TIMING
#include "timing_log.h"
#endif

namespace nubbo::ui {

namespace {
const QColor kLabelColour(form::kLabelColour.red, form::kLabelColour.green,
                          form::kLabelColour.blue);

QRect placeOf(const form::Box& box) {
    return {box.left, box.top, box.width, box.height};
}
}  // namespace

MainWindow::MainWindow(std::uint64_t seed, GameEvents* events,
                       std::optional<QtClock::Instant> started)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption());

    board_ = new BoardView(this);
    board_->setObjectName(QStringLiteral("board"));
    // A plain window with the menu bar over the board: a QMainWindow would
    // bring its dock and tool bar layout, which the game never uses, and a
    // quarter of a megabyte of its code into memory at start-up.
    menuBar_ = new QMenuBar(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setMenuBar(menuBar_);
    column->addWidget(board_);

    expertBox_ = new QCheckBox(board_);
    expertBox_->setObjectName(QStringLiteral("expertBox"));
    expertBox_->setGeometry(placeOf(form::kExpertBox));
    expertBox_->setAutoFillBackground(true);
    QPalette pink = expertBox_->palette();
    pink.setColor(QPalette::Window, BoardView::background());
    pink.setColor(QPalette::Button, BoardView::background());
    expertBox_->setPalette(pink);

    // Read-only text boxes name the check box and the level and score boxes.
    addTextBox("expertCaption", form::kExpertCaption, QString::fromUtf8(form::kExpertCaptionText),
               expertCaptionFont());
    addTextBox("levelCaption", form::kLevelCaption, QString::fromUtf8(form::kLevelCaptionText));
    levelBox_ = addTextBox("levelBox", form::kLevelBox, QString());
    addTextBox("scoreCaption", form::kScoreCaption, QString::fromUtf8(form::kScoreCaptionText));
    scoreBox_ = addTextBox("scoreBox", form::kScoreBox, QString());
    addTextBox("credits", form::kCredits, QString::fromUtf8(form::kCreditsText));

    auto overBoard = [](QLabel* label, const char* name, const form::Box& box, const QFont& font) {
        label->setObjectName(QLatin1String(name));
        label->setGeometry(placeOf(box));
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kLabelColour);
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        return label;
    };
    gameOverLabel_ = overBoard(new QLabel(QString::fromUtf8(form::kGameOverLabelText), board_),
                               "gameOverLabel", form::kGameOverLabel, gameOverFont());
    gameOverLabel_->setWordWrap(true);  // "GAME" over "OVER", as the box is narrow
    gameOverLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    banner_ = overBoard(new BannerLabel(QString(), board_), "banner", form::kBanner, bannerFont());
    describeForAssistiveTechnology(*board_, *expertBox_, *levelBox_, *scoreBox_);

    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("Game"));
    gameMenu->setFont(shapedFont());
    auto command = [this, gameMenu](const QString& text, Qt::Key key, auto handler) {
        QAction* action = gameMenu->addAction(text);
        action->setObjectName(text);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    newAction_ = command(QStringLiteral("New"), Qt::Key_F2,
                         [this] { game_->newGame(expertBox_->isChecked()); });
    pauseAction_ = command(QStringLiteral("Pause"), Qt::Key_F3, [this] { game_->pause(); });
    command(QStringLiteral("Exit"), Qt::Key_F4, [this] { game_->exit(); });
    QAction* help = menuBar()->addAction(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("help"));
    connect(help, &QAction::triggered, this, [this] { showHelp(); });

    clock_ = std::make_unique<QtClock>([this] { game_->wake(); }, started);
    game_ =
        std::make_unique<Game>(*this, *clock_, seed, events, Millis{0});  // at the clock's origin

    // Key preview: every key press reaches the game before any control.
    qApp->installEventFilter(this);
#ifdef NUBBO_GAMEPADS
    // A pad's press is the key it stands for, or the menu command.
    gamepads_ = new Gamepads(
        [this](const PadPress& press) {
            if (press.kind == PadPress::Kind::Key)
                playerKey(press.key);
            else
                (press.kind == PadPress::Kind::Pause ? pauseAction_ : newAction_)->trigger();
        },
        this);
#endif

    adjustSize();
    setFixedSize(size());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

QLineEdit* MainWindow::addTextBox(const char* name, const form::Box& place, const QString& text,
                                  const QFont& font) {
    auto* box = new QLineEdit(board_);
    box->setObjectName(QLatin1String(name));
    // The font first: laying the text out in the default font would load
    // a fallback face only to throw it away.
    box->setFont(font);
    box->setText(text);
    box->setGeometry(placeOf(place));
    box->setCursorPosition(0);  // a text too long shows its start, not its end
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);  // never takes the caret from the game
    return box;
}

void MainWindow::paintCell(int row, int col, int picture) {
    board_->paintCell(row, col, picture);
}

void MainWindow::showGameOver(bool visible) {
    gameOverLabel_->setVisible(visible);
}

void MainWindow::showBanner(bool visible) {
    banner_->setVisible(visible);
}

void MainWindow::setBannerCaption(std::string_view caption) {
    banner_->setText(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
}

namespace {
void showText(QLineEdit* box, std::string_view text) {
    box->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    box->setCursorPosition(0);
}
}  // namespace

void MainWindow::setScore(std::string_view text) {
    showText(scoreBox_, text);
}

void MainWindow::setLevel(std::string_view text) {
    showText(levelBox_, text);
}

void MainWindow::load() {
    game_->load(expertBox_->isChecked());
}

void MainWindow::endProgram() {
    qApp->removeEventFilter(this);
    QCoreApplication::exit(0);
}

void MainWindow::showHelp() {
    QMessageBox box(QMessageBox::NoIcon, caption(), helpText(), QMessageBox::Ok, this);
    box.setFont(shapedFont());
    game_->openHelp();
    box.exec();
    game_->closeHelp();
}

void MainWindow::afterFirstFrame() {
    // The icon's pictures are read and sent to the X server after the first
    // frame, which does not show them.
    setWindowIcon(appIcon());
#ifdef NUBBO_GAMEPADS
    // In a turn of the event loop of its own, so that a key pressed
    // meanwhile waits for one piece of this work, not both.
    if (gamepads_) QTimer::singleShot(0, gamepads_, &Gamepads::lookForPads);
#endif
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    // What the first frame does not need waits until the board's first
    // paint is done and on its way to the screen.
    if (type == QEvent::Paint && watched == board_ && !painted_) {
        painted_ = true;
        QTimer::singleShot(0, this, &MainWindow::afterFirstFrame);
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys aimed at this window; a dialog of its own keeps its keys.
    if (!widget || widget->window() != this) return false;
    if (type == QEvent::KeyPress) playerKey(gameKey(*static_cast<QKeyEvent*>(event)));
    return true;  // no control acts on the game's keys
}

void MainWindow::playerKey(Key key) {
#ifdef NUBBO_TIMING
    const qint64 since = timing_ ? timing_->now() : 0;
#endif
    game_->key(key);
#ifdef NUBBO_TIMING
    if (timing_) timing_->keyHandled(since);
#endif
}

void MainWindow::changeEvent(QEvent* event) {
#ifdef NUBBO_GAMEPADS
    // Pads act only on the active window, as keys do.
    if (event->type() == QEvent::ActivationChange && gamepads_)
        gamepads_->setActive(isActiveWindow());
#endif
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() &&
        !QApplication::activeModalWidget())
        game_->focusLost();
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        game_->focusLost();
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    game_->exit();
}

}  // namespace nubbo::ui
