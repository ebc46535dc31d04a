#pragma once

#include <QImage>
#include <QString>

namespace nubbo::ui {

// Reads the PNG picture at `path` (the program's own resources). Read as
// the PNG it is: letting Qt guess the format would load its image plugins
// (GIF, ICO, JPEG and libjpeg) only to ask each of them first.
QImage readPng(const QString& path);

}  // namespace nubbo::ui
