#include "board_view.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "read_png.h"

namespace nubbo::ui {

namespace {
constexpr int kTile = form::kCell;  // pixels a cell, and a picture's size
constexpr int kLeftPx = form::kBoard.left;
constexpr int kTopPx = form::kBoard.top;
constexpr int kWidth = form::kWidth;
constexpr int kHeight = form::kHeight;
}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int k = 0; k < int(source_.size()); ++k)
        source_[k] = readPng(QStringLiteral(":/tiles/tile%1.png").arg(k))
                         .convertToFormat(QImage::Format_RGB32);
    for (auto& row : shown_) row.fill(-1);
    rebuild();
}

void BoardView::rebuild() {
    dpr_ = devicePixelRatioF();
    buffer_ =
        QImage(int(std::ceil(kWidth * dpr_)), int(std::ceil(kHeight * dpr_)), QImage::Format_RGB32);
    buffer_.fill(background());
    const int size = int(std::lround(kTile * dpr_));
    for (int k = 0; k < int(pictures_.size()); ++k) {
        // Nearest neighbour keeps the pixel art crisp on high-DPI screens.
        pictures_[k] = source_[k].scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col)
            if (shown_[row][col] >= 0) copyPicture(shown_[row][col], row, col);
    update();
}

bool BoardView::event(QEvent* event) {
    // Moved to a screen of another pixel ratio: the board is painted again
    // from what it showed, as the game repaints only cells that change.
    bool dprMayChange = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    dprMayChange = dprMayChange || event->type() == QEvent::DevicePixelRatioChange;
#endif
    if (dprMayChange && devicePixelRatioF() != dpr_) rebuild();
    return QWidget::event(event);
}

void BoardView::paintCell(int row, int col, int picture) {
    if (picture < 0 || picture >= int(pictures_.size()) || row < 0 || row >= kRows || col < 0 ||
        col >= kCols || shown_[row][col] == picture)
        return;
    shown_[row][col] = picture;
    copyPicture(picture, row, col);
}

void BoardView::copyPicture(int picture, int row, int col) {
    const QImage& tile = pictures_[picture];
    const int xPx = kLeftPx + kTile * col, yPx = kTopPx + kTile * row;
    const int x0 = int(std::lround(xPx * dpr_)), y0 = int(std::lround(yPx * dpr_));
    // Clipped to the buffer, in case rounding at a fractional ratio reaches
    // past its edge.
    const int left = std::max(x0, 0), top = std::max(y0, 0);
    const int right = std::min(x0 + tile.width(), buffer_.width());
    const int bottom = std::min(y0 + tile.height(), buffer_.height());
    if (right <= left || bottom <= top) return;
    // One detach check for the whole copy, not one per row.
    uchar* const bits = buffer_.bits();
    const qsizetype stride = buffer_.bytesPerLine();
    const auto bytes = std::size_t(right - left) * 4;
    for (int y = top; y < bottom; ++y)
        std::memcpy(bits + y * stride + left * 4, tile.constScanLine(y - y0) + (left - x0) * 4,
                    bytes);
    // At a fractional ratio the rounded device rectangle may reach a pixel
    // beyond the logical one.
    const int margin = dpr_ == std::floor(dpr_) ? 0 : 1;
    update(xPx - margin, yPx - margin, kTile + 2 * margin, kTile + 2 * margin);
}

void BoardView::paintEvent(QPaintEvent* event) {
    // Copied in bands of at most 32 device rows: Qt's raster engine hands a
    // taller copy to a pool of threads and waits for them, which costs more
    // in waking threads than the copy itself (a cell is 32 rows high).
    const int band = std::max(1, int(32 / dpr_));
    QPainter painter(this);
    for (const QRect& dirty : event->region()) {
        for (int y = dirty.top(); y <= dirty.bottom(); y += band) {
            const QRect r(dirty.left(), y, dirty.width(), std::min(band, dirty.bottom() + 1 - y));
            const QRectF source(r.x() * dpr_, r.y() * dpr_, r.width() * dpr_, r.height() * dpr_);
            painter.drawImage(QRectF(r), buffer_, source);
        }
    }
}

}  // namespace nubbo::ui
