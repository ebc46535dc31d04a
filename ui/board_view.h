#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "constants.h"
#include "form_layout.h"

namespace nubbo::ui {

// The window's client area: pink, with a tile picture on each board cell
// painted so far. It remembers the picture on each cell and paints from
// that (an expose redraws from it), so it needs no back buffer of its own;
// painting a cell with the picture it already shows changes nothing and
// asks for no repaint.
class BoardView : public QWidget {
  public:
    static QColor background() {
        return {form::kFormColour.red, form::kFormColour.green, form::kFormColour.blue};
    }

    explicit BoardView(QWidget* parent = nullptr);

    // Copies tile picture `picture` (0 to 7) onto board cell (row, col).
    void paintCell(int row, int col, int picture);

    // What the board itself paints, without the controls over it, in
    // device pixels.
    QImage snapshot();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Takes the device pixel ratio and repaints, with the pictures scaled
    // to it as they are next needed.
    void rebuild();
    // Picture k at the device pixel ratio. Each is read the first time a
    // cell shows it: the first frame needs only the empty cells' one.
    const QImage& picture(int k);
    // Where cell (row, col) lies, in device pixels.
    QRect deviceCell(int row, int col) const;

    qreal dpr_ = 0;
    std::array<QImage, kPictures> source_;             // as decoded, 32 x 32; null: not yet read
    std::array<QImage, kPictures> pictures_;           // at the ratio; null: not yet scaled
    std::array<std::array<int, kCols>, kRows> shown_;  // -1: nothing painted yet
};

}  // namespace nubbo::ui
