#include "board_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace nubbo::ui {

namespace {
constexpr int kPitch = 24;  // points per cell
constexpr int kLeft = 10;   // points
constexpr int kTop = 50;    // points
constexpr int kTile = 32;   // pixels

int pointsToPixels(int points) {
    return int(std::lround(points * 4.0 / 3.0));
}
}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent), dpr_(devicePixelRatioF()) {
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    buffer_ =
        QImage(int(std::ceil(kWidth * dpr_)), int(std::ceil(kHeight * dpr_)), QImage::Format_RGB32);
    buffer_.fill(background());
    const int size = int(std::lround(kTile * dpr_));
    for (int k = 0; k < int(pictures_.size()); ++k) {
        QImage picture(QStringLiteral(":/tiles/tile%1.png").arg(k));
        // Nearest neighbour keeps the pixel art crisp on high-DPI screens.
        pictures_[k] = picture.convertToFormat(QImage::Format_RGB32)
                           .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    for (auto& row : shown_) row.fill(-1);
}

void BoardView::paintPicture(int picture, int x, int y) {
    if (picture < 0 || picture >= int(pictures_.size())) return;
    const int col = (x - kLeft) / kPitch, row = (y - kTop) / kPitch;
    const bool cell = (x - kLeft) % kPitch == 0 && (y - kTop) % kPitch == 0 && x >= kLeft &&
                      y >= kTop && col < kCols && row < kRows;
    if (cell) {
        if (shown_[row][col] == picture) return;
        shown_[row][col] = picture;
    }
    copyPicture(picture, pointsToPixels(x), pointsToPixels(y));
}

void BoardView::copyPicture(int picture, int xPx, int yPx) {
    const QImage& tile = pictures_[picture];
    const int x0 = int(std::lround(xPx * dpr_)), y0 = int(std::lround(yPx * dpr_));
    const int x1 = std::min(x0 + tile.width(), buffer_.width());
    const int y1 = std::min(y0 + tile.height(), buffer_.height());
    if (x0 < 0 || y0 < 0 || x1 <= x0 || y1 <= y0) return;
    const auto bytes = std::size_t(x1 - x0) * 4;
    for (int y = y0; y < y1; ++y)
        std::memcpy(buffer_.scanLine(y) + x0 * 4, tile.constScanLine(y - y0), bytes);
    ++repaintRequests_;
    update(xPx, yPx, kTile, kTile);
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    const QRectF source(r.x() * dpr_, r.y() * dpr_, r.width() * dpr_, r.height() * dpr_);
    painter.drawImage(QRectF(r), buffer_, source);
}

}  // namespace nubbo::ui
