#pragma once

class QCheckBox;
class QLineEdit;

namespace nubbo::ui {

class BoardView;

// What assistive technology reads of the window (on Linux through AT-SPI,
// as the Orca screen reader does), with nothing drawn differently:
// - the 高手 box, the level box and the score box are named for what they
//   are ("高手", "Level", "Score"); the score and level texts are the boxes'
//   texts, and Qt reports each change of them as a text change;
// - the read-only boxes that caption them, and the credit line, are static
//   texts named by what they say;
// - the board is an image named for what it is, a child of the client area
//   beside the controls;
// - the two labels over the board are there only while they show (hidden,
//   they are neither visible nor showing); the banner is named by its
//   caption, so a new caption is a name change.
// Call once the controls exist, before the window is shown.
void describeForAssistiveTechnology(BoardView& board, QCheckBox& expertBox, QLineEdit& levelBox,
                                    QLineEdit& scoreBox);

}  // namespace nubbo::ui
