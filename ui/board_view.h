#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "state.h"

namespace nubbo::ui {

// The window's client area: a persistent back buffer that the tile pictures
// are painted into, shown on screen from the buffer (an expose redraws from
// it). It remembers the picture on each board cell, so painting a cell with
// the picture it already shows changes nothing and asks for no repaint.
class BoardView : public QWidget {
  public:
    static QColor background() { return {255, 192, 192}; }
    static constexpr int kWidth = 289;
    static constexpr int kHeight = 508;

    explicit BoardView(QWidget* parent = nullptr);

    // Copies tile picture `picture` (0 to 7) with its top-left corner at
    // (x, y) points, converted at 4/3 pixels per point, rounded.
    void paintPicture(int picture, int x, int y);

    const QImage& buffer() const { return buffer_; }
    int repaintRequests() const { return repaintRequests_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void copyPicture(int picture, int xPx, int yPx);

    qreal dpr_;
    QImage buffer_;                   // device pixels
    std::array<QImage, 8> pictures_;  // decoded once, in the buffer's format and scale
    std::array<std::array<int, kCols>, kRows> shown_;  // -1: nothing painted yet
    int repaintRequests_ = 0;
};

}  // namespace nubbo::ui
