#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "constants.h"
#include "form_layout.h"

namespace nubbo::ui {

// The window's client area: a persistent back buffer that the tile pictures
// are painted into, shown on screen from the buffer (an expose redraws from
// it). It remembers the picture on each board cell, so painting a cell with
// the picture it already shows changes nothing and asks for no repaint.
class BoardView : public QWidget {
  public:
    static QColor background() {
        return {form::kFormColour.red, form::kFormColour.green, form::kFormColour.blue};
    }

    explicit BoardView(QWidget* parent = nullptr);

    // Copies tile picture `picture` (0 to 7) onto board cell (row, col).
    void paintCell(int row, int col, int picture);

    // What the client area shows, in device pixels.
    const QImage& buffer() const { return buffer_; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Builds the buffer and the pictures for the current device pixel ratio
    // and puts back every board cell painted so far.
    void rebuild();
    void copyPicture(int picture, int row, int col);

    qreal dpr_ = 0;
    QImage buffer_;                                    // device pixels
    std::array<QImage, kPictures> source_;             // the pictures as decoded, 32 x 32
    std::array<QImage, kPictures> pictures_;           // in the buffer's format and scale
    std::array<std::array<int, kCols>, kRows> shown_;  // -1: nothing painted yet
};

}  // namespace nubbo::ui
