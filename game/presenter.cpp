#include "presenter.h"

namespace nubbo {

void Presenter::show(const Screen& screen, bool gameUnderWay) {
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) {
            const Tile picture = screen.cell[row][col];
            if (picture == told_.cell[row][col]) continue;
            told_.cell[row][col] = picture;
            window_.paintCell(row, col, picture);
        }
    if (screen.bannerCaption != told_.bannerCaption)
        window_.setBannerCaption(told_.bannerCaption = screen.bannerCaption);
    if (screen.gameOverShown != told_.gameOverShown)
        window_.showGameOver(told_.gameOverShown = screen.gameOverShown);
    if (screen.bannerShown != told_.bannerShown)
        window_.showBanner(told_.bannerShown = screen.bannerShown);
    if (screen.score != told_.score) window_.setScore(told_.score = screen.score);
    if (screen.level != told_.level) window_.setLevel(told_.level = screen.level);
    if (gameUnderWay != toldUnderWay_) window_.setGameUnderWay(toldUnderWay_ = gameUnderWay);
    if (screen.ended && !told_.ended) {
        told_.ended = true;
        window_.endProgram();
    }
}

}  // namespace nubbo
