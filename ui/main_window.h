#pragma once

#include <QMainWindow>
#include <cstdint>
#include <memory>

#include "board_view.h"
#include "fonts.h"
#include "game.h"
#include "qt_clock.h"
#include "window.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace nubbo::ui {

// The game window: fixed size, pink, a row of small boxes at the top, the
// board, two banner labels over it and a credit line; Game and Help menus.
// It implements the game's window interface and forwards every key press,
// menu command and wake-up to the game; no game rule lives here.
class MainWindow : public QMainWindow, public nubbo::Window {
  public:
    // `seed` seeds the tiles of the game; `events`, if given, is told of
    // what the rules do.
    explicit MainWindow(std::uint64_t seed, GameEvents* events = nullptr);
    ~MainWindow() override;

    // Starts the game state once the window and its controls exist.
    void load() { game_->load(); }

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
    void showLabel(Label label, bool visible) override;
    void setLabel2Caption(std::string_view caption) override;
    void setText(TextBox box, std::string_view text) override;
    bool check1Ticked() const override;
    void endProgram() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void help_Click();
    QLineEdit* addTextBox(const char* name, int x, int y, int w, int h, const QString& text,
                          const QFont& font = textBoxFont());

    // The controls, each also found by its objectName (the same word).
    BoardView* board_;
    QCheckBox* check1_;  // `Check1`: the 高手 box, the harder game
    QLineEdit* text1_;   // `Text1`: the score
    QLineEdit* text4_;   // `Text4`: the level
    QLabel* label1_;     // `Label1`: "GAME OVER"
    QLabel* label2_;     // `Label2`: the banner
    std::unique_ptr<QtClock> clock_;
    std::unique_ptr<Game> game_;
#ifdef NUBBO_TIMING
    class TimingLog* timing_ = nullptr;
#endif
};

}  // namespace nubbo::ui
