#include "presenter.h"

namespace nubbo {

void Presenter::show(const Screen& screen) {
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) {
            const Tile picture = screen.cell[row][col];
            if (picture == told_.cell[row][col]) continue;
            told_.cell[row][col] = picture;
            window_.paintCell(row, col, picture);
        }
    if (screen.caption2 != told_.caption2) {
        told_.caption2 = screen.caption2;
        window_.setLabel2Caption(screen.caption2);
    }
    if (screen.label1 != told_.label1)
        window_.showLabel(Label::Label1, told_.label1 = screen.label1);
    if (screen.label2 != told_.label2)
        window_.showLabel(Label::Label2, told_.label2 = screen.label2);
    if (screen.text1 != told_.text1) window_.setText(TextBox::Text1, told_.text1 = screen.text1);
    if (screen.text4 != told_.text4) window_.setText(TextBox::Text4, told_.text4 = screen.text4);
    if (screen.ended && !told_.ended) {
        told_.ended = true;
        window_.endProgram();
    }
}

}  // namespace nubbo
