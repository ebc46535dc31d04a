#pragma once

// The numbers the rules are written in: board bounds, tile codes, timer
// intervals and scoring, each named once.
#include <cstdint>

namespace nubbo {

using Tile = std::int16_t;  // a tile code, also the index of its picture
using Millis = std::int64_t;

// The board.
inline constexpr int kRows = 13;  // row 0 at the top
inline constexpr int kCols = 8;   // column 0 at the left
inline constexpr int kLastRow = kRows - 1;
inline constexpr int kLastCol = kCols - 1;
inline constexpr int kSpawnColumn = 3;     // where every piece is dealt
inline constexpr int kPieceRowBound = 11;  // a piece's top row stays below this

// Tile codes.
inline constexpr Tile EMPTY = 6;     // a free cell
inline constexpr Tile CLEARING = 7;  // a tile being cleared, only inside a clearing pass
inline constexpr int kPictures = 8;  // pictures 0 to 7, one per tile code

// Timer intervals, in ms.
inline constexpr std::int32_t kFallAtCreation = 400;  // the fall timer as the window is made
inline constexpr std::int32_t kFallNew = 400;         // the fall timer as New sets it
inline constexpr std::int32_t kFallNormal = 500;      // the fall interval of the normal game
inline constexpr std::int32_t kFallHard = 400;        // the fall interval of the harder game
inline constexpr std::int32_t kGateInterval = 10;     // the key gate reopens this often
inline constexpr std::int32_t kRepaintInterval = 10;  // the periodic repaint
inline constexpr std::int32_t kHoldInterval = 1000;   // a banner or a clearing pass holds this long
inline constexpr std::int32_t kLevelStep = 50;        // taken off the fall per level
// The fall interval never goes below this: at 0 ms the fall timer would
// never tick again and the game would freeze.
inline constexpr std::int32_t kFastestFall = 50;

// Dealing and scoring.
inline constexpr std::int16_t kKindsNormal = 5;
inline constexpr std::int16_t kKindsHard = 6;
inline constexpr std::int64_t kFirstLevelScore = 100;  // the score to pass for level 2
inline constexpr int kBonusFactor = 5;                 // chain bonus: 5 x combo x combo

// The keys the rules tell apart; a front end maps its own key events to
// these, and every other key to Other.
enum class Key { Left, Right, Rotate, Down, Other };

}  // namespace nubbo
