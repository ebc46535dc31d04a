#include "app_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <iterator>

#include "read_png.h"

namespace nubbo::ui {

namespace {
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128};

class PngIconEngine : public QIconEngine {
  public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        // The smallest picture that fills `size`, else the largest.
        int chosen = kSizes[std::size(kSizes) - 1];
        for (int side : kSizes)
            if (side >= size.width() && side >= size.height()) {
                chosen = side;
                break;
            }
        QPixmap picture =
            QPixmap::fromImage(readPng(QStringLiteral(":/icons/nubbo-%1.png").arg(chosen)));
        return picture.size() == size
                   ? picture
                   : picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kSizes) sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine* clone() const override { return new PngIconEngine; }
};
}  // namespace

QIcon appIcon() {
    return QIcon(new PngIconEngine);
}

}  // namespace nubbo::ui
