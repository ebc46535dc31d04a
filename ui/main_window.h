#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "board_view.h"
#include "fonts.h"
#include "game.h"
#include "qt_clock.h"
#include "window.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenuBar;

namespace nubbo::ui {

class Gamepads;

// The game window: fixed size, pink, a row of small boxes at the top, the
// board, two banner labels over it and a credit line; Game and Help menus.
// It implements the game's window interface and forwards every key press,
// menu command and wake-up to the game; no game rule lives here.
class MainWindow : public QWidget, public nubbo::Window {
  public:
    // `seed` seeds the tiles of the game; `events`, if given, is told of
    // what the rules do. `started`, if given, is the instant the program
    // started: the window counts as created then, so that the game's first
    // ticks fall due while Qt and the controls are being set up and its
    // first frame shows the painted board.
    explicit MainWindow(std::uint64_t seed, GameEvents* events = nullptr,
                        std::optional<QtClock::Instant> started = std::nullopt);
    ~MainWindow() override;

    // Starts the game state once the window and its controls exist, with the
    // 高手 box as it shows.
    void load();

    QMenuBar* menuBar() const { return menuBar_; }

#ifdef NUBBO_TIMING
    void setTimingLog(class TimingLog* log) {
        timing_ = log;
    }
#endif

    static QString caption() {
        return QStringLiteral("完全NUBBO方塊版");
    }
    static QString helpText() {
        return QStringLiteral("有問題請E-mail至nubbo@example.org");
    }

    // nubbo::Window
    void paintCell(int row, int col, int picture) override;
    void showGameOver(bool visible) override;
    void showBanner(bool visible) override;
    void setBannerCaption(std::string_view caption) override;
    void setScore(std::string_view text) override;
    void setLevel(std::string_view text) override;
    void setGameUnderWay(bool) override {}
    void endProgram() override;

    // A key press of the player's, from the keyboard or a gamepad: the one
    // way a key reaches the game.
    void playerKey(Key key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showHelp();
    // What waits until the first frame is painted: the window's icon, and
    // gamepads (SDL started if a joystick is plugged in).
    void afterFirstFrame();
    QLineEdit* addTextBox(const char* name, const form::Box& box, const QString& text,
                          const QFont& font = textBoxFont());

    // The controls, each also found by its objectName (the same word).
    QMenuBar* menuBar_;  // over the board
    BoardView* board_;
    QCheckBox* expertBox_;  // the 高手 box: the harder game
    QLineEdit* scoreBox_;
    QLineEdit* levelBox_;
    QLabel* gameOverLabel_;  // "GAME OVER"
    QLabel* banner_;         // the prompt "按F2", "PAUSE", a chain, a level

    QAction* newAction_;            // Game > New
    QAction* pauseAction_;          // Game > Pause
    Gamepads* gamepads_ = nullptr;  // none when built without SDL
    bool painted_ = false;          // the board's first paint has come
    std::unique_ptr<QtClock> clock_;
    std::unique_ptr<Game> game_;
#ifdef NUBBO_TIMING
    class TimingLog* timing_ = nullptr;
#endif
};

}  // namespace nubbo::ui
