#include "read_png.h"

#include <QImageReader>

namespace nubbo::ui {

QImage readPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace nubbo::ui
