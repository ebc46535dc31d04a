#include "banner_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace nubbo::ui {

namespace {
// Pixels kept clear between the ink and the label's edges.
constexpr int kMargin = 2;

// The glyphs of every banner caption: their common height places the
// baseline, so that "PAUSE" and " 3連扁" stand on the same line.
QString captionGlyphs() {
    return QStringLiteral("按F2PAUSE第關連扁0123456789");
}

// The caption's ink relative to its origin. Qt's tight bounding box of a
// text counts a leading space as ink; the chain captions begin with one.
QRect inkRect(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    int spaces = 0;
    while (spaces < text.size() && text[spaces].isSpace()) ++spaces;
    return metrics.tightBoundingRect(text.mid(spaces))
        .translated(metrics.horizontalAdvance(text.left(spaces)), 0);
}

QFont scaled(QFont font, double factor) {
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(font.pixelSize() * factor)));
    else
        font.setPointSizeF(std::max(1.0, font.pointSizeF() * factor));
    return font;
}
}  // namespace

void BannerLabel::layOut() {
    laidOutText_ = text();
    laidOutFont_ = font();
    laidOutSize_ = size();
    const QRect room = contentsRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    drawFont_ = font();
    QRect ink = inkRect(drawFont_, text());
    QRect line = QFontMetrics(drawFont_).tightBoundingRect(captionGlyphs() + text());
    if (ink.width() > room.width() || line.height() > room.height()) {
        const double factor = std::min(double(room.width()) / std::max(1, ink.width()),
                                       double(room.height()) / std::max(1, line.height()));
        drawFont_ = scaled(drawFont_, std::min(factor, 1.0));
        ink = inkRect(drawFont_, text());
        line = QFontMetrics(drawFont_).tightBoundingRect(captionGlyphs() + text());
    }
    origin_ = {room.left() + (room.width() - ink.width()) / 2 - ink.left(),
               room.top() + (room.height() - line.height()) / 2 - line.top()};
}

void BannerLabel::paintEvent(QPaintEvent*) {
    if (text() != laidOutText_ || font() != laidOutFont_ || size() != laidOutSize_) layOut();
    QPainter painter(this);
    painter.setFont(drawFont_);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(origin_, text());
}

}  // namespace nubbo::ui
