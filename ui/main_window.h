#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

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
    explicit MainWindow(GameEvents* events = nullptr);
    ~MainWindow() override;

    // Starts the game state once the window and its controls exist.
    void load() { game_->load(); }

    Game& game() { return *game_; }
    BoardView& board() { return *board_; }
    QCheckBox& check1() { return *check1_; }
    QLabel& label1() { return *label1_; }
    QLabel& label2() { return *label2_; }
    QLineEdit& text(int n);  // Text1 to Text7 (5 does not exist)
    QAction& newAction() { return *new_; }
    QAction& pauseAction() { return *pause_; }
    QAction& exitAction() { return *exit_; }
    QAction& helpAction() { return *help_; }
    // Key presses handed to the game so far.
    int keysForwarded() const { return keysForwarded_; }

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
    void showLabel(Label label, bool visible) override;
    void setLabel2Caption(std::string_view caption) override;
    void setText(TextBox box, std::string_view text) override;
    int check1Value() const override;
    void paintPicture(int picture, int x, int y) override;
    void endProgram() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void help_Click();
    QLineEdit* addTextBox(int x, int y, int w, int h, const QString& text,
                          const QFont& font = textBoxFont());

    BoardView* board_;
    QCheckBox* check1_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text3_;
    QLineEdit* text4_;
    QLineEdit* text6_;
    QLineEdit* text7_;
    QLabel* label1_;
    QLabel* label2_;
    QAction* new_;
    QAction* pause_;
    QAction* exit_;
    QAction* help_;
    // What Text1, Text4 and Label2 show, as the game last wrote it.
    std::string text1Shown_;
    std::string text4Shown_;
    std::string label2Shown_;
    int keysForwarded_ = 0;
    std::unique_ptr<QtClock> clock_;
    std::unique_ptr<Game> game_;
#ifdef NUBBO_TIMING
    class TimingLog* timing_ = nullptr;
#endif
};

}  // namespace nubbo::ui
