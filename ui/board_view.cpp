#include "board_view.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "read_png.h"

namespace nubbo::ui {

namespace {
constexpr int kTile = form::kCell;  // pixels a cell, and a picture's size
constexpr int kLeftPx = form::kBoard.left;
constexpr int kTopPx = form::kBoard.top;
constexpr int kWidth = form::kWidth;
constexpr int kHeight = form::kHeight;

// The rectangle of whole pixels that covers `r` scaled by num / den: device
// pixels over logical ones (dpr / 1), or logical over device (1 / dpr).
QRect cover(const QRect& r, qreal num, qreal den) {
    const auto low = [&](int v) { return int(std::floor(v * num / den)); };
    const auto high = [&](int v) { return int(std::ceil(v * num / den)); };
    return QRect(QPoint(low(r.left()), low(r.top())),
                 QPoint(high(r.right() + 1) - 1, high(r.bottom() + 1) - 1));
}
}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (auto& row : shown_) row.fill(-1);
    rebuild();
}

void BoardView::rebuild() {
    dpr_ = devicePixelRatioF();
    for (QImage& scaled : pictures_) scaled = QImage();
    update();
}

const QImage& BoardView::picture(int k) {
    QImage& scaled = pictures_[std::size_t(k)];
    if (scaled.isNull()) {
        QImage& source = source_[std::size_t(k)];
        if (source.isNull())
            source = readPng(QStringLiteral(":/tiles/tile%1.png").arg(k))
                         .convertToFormat(QImage::Format_RGB32);
        // Nearest neighbour keeps the pixel art crisp on high-DPI screens.
        const int size = int(std::lround(kTile * dpr_));
        scaled = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return scaled;
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
    update(cover(deviceCell(row, col), 1, dpr_));
}

QRect BoardView::deviceCell(int row, int col) const {
    const int size = int(std::lround(kTile * dpr_));
    return {int(std::lround((kLeftPx + kTile * col) * dpr_)),
            int(std::lround((kTopPx + kTile * row) * dpr_)), size, size};
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // In device pixels, so that each picture lands on the pixels it always
    // had at any ratio, one to one.
    painter.resetTransform();
    painter.scale(1 / dpr_, 1 / dpr_);
    const QRegion dirty = event->region();
    for (const QRect& r : dirty) painter.fillRect(cover(r, dpr_, 1), background());
    // Only the cells near the dirty area: at a fractional ratio a picture
    // may reach a pixel past its cell.
    const QRect near = dirty.boundingRect().adjusted(-1, -1, 1, 1);
    const int firstRow = std::max(0, (near.top() - kTopPx) / kTile);
    const int lastRow = std::min(kRows - 1, (near.bottom() - kTopPx) / kTile);
    const int firstCol = std::max(0, (near.left() - kLeftPx) / kTile);
    const int lastCol = std::min(kCols - 1, (near.right() - kLeftPx) / kTile);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col = firstCol; col <= lastCol; ++col) {
            const int picture = shown_[row][col];
            const QRect cell = deviceCell(row, col);
            if (picture < 0 || !dirty.intersects(cover(cell, 1, dpr_))) continue;
            // A cell at a time: Qt's raster engine hands a tall copy to a
            // pool of threads and waits for them, which costs more in waking
            // threads than the copy itself.
            painter.drawImage(cell.topLeft(), this->picture(picture));
        }
}

QImage BoardView::snapshot() {
    QImage image(int(std::ceil(kWidth * dpr_)), int(std::ceil(kHeight * dpr_)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr_);
    render(&image, {}, {}, QWidget::DrawWindowBackground);
    image.setDevicePixelRatio(1);
    return image;
}

}  // namespace nubbo::ui
