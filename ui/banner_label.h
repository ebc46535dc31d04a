#pragma once

#include <QLabel>

namespace nubbo::ui {

// The banner over the board. Its Kai face's line is taller than the label
// (88 px for an 81 px label at 80 px), so Qt's own label layout would cut
// the lowest strokes. This label centres its caption's ink instead: across
// the label, and down it on a baseline that every banner caption shares.
// A caption too wide for the label at full size is drawn smaller.
class BannerLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Font and baseline origin for the current caption, font and size.
    void layOut();

    QString laidOutText_;
    QFont laidOutFont_;
    QSize laidOutSize_;
    QFont drawFont_;
    QPoint origin_;
};

}  // namespace nubbo::ui
