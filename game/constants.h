#pragma once

// The numbers the rules are written in: board bounds, tile codes, timer
// intervals and key codes, each named once.
#include <cstdint>

namespace nubbo {

using Tile = std::int16_t;  // a tile code, also the index of its picture
using Millis = std::int64_t;

// The board.
inline constexpr int kRows = 13;           // row 0 at the top
inline constexpr int kCols = 8;            // column 0 at the left
inline constexpr int kLastRow = 12;        // `maxrow`'s value
inline constexpr int kLastCol = 7;         // `maxcol`'s value
inline constexpr int kSpawnColumn = 3;     // where every piece is dealt
inline constexpr int kPieceRowBound = 11;  // a piece's top row stays below this

// Tile codes.
inline constexpr Tile EMPTY = 6;     // a free cell
inline constexpr Tile CLEARING = 7;  // a tile being cleared, only inside a clearing pass
inline constexpr int kPictures = 8;  // pictures 0 to 7, one per tile code
inline constexpr int kUnused = 50;   // no mark in `mark`, an empty slot in `list`

// 209 slots hold one pair per board cell (slot 0 unused); two more keep the
// empty pair that ends the queue inside the table even when all 104 cells
// are queued, since the walk and the search both read the pair after the last.
inline constexpr int kListSize = 209 + 2;

// Timer intervals, in ms.
inline constexpr std::int32_t kFallAtCreation = 400;  // Timer1 as the window is made
inline constexpr std::int32_t kFallNew = 400;         // Timer1 as New sets it
inline constexpr std::int32_t kFallNormal = 500;      // `speed` of the normal game
inline constexpr std::int32_t kFallHard = 400;        // `speed` of the harder game
inline constexpr std::int32_t kGateInterval = 10;     // Timer2
inline constexpr std::int32_t kRepaintInterval = 10;  // Timer3
inline constexpr std::int32_t kHoldInterval = 1000;   // Timer4
inline constexpr std::int32_t kLevelStep = 50;        // taken off the fall per level
// The fall interval never goes below this: at 0 ms the fall timer would
// never tick again and the game would freeze.
inline constexpr std::int32_t kFastestFall = 50;

// Dealing and scoring.
inline constexpr std::int16_t kKindsNormal = 5;
inline constexpr std::int16_t kKindsHard = 6;
inline constexpr std::int64_t kFirstLevelScore = 100;  // `nextlevel` of a new game
inline constexpr int kBonusFactor = 5;                 // chain bonus: 5 x combo x combo

// Key codes as the key handler compares them.
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyOther = 0;  // stands for every key the game does not use

}  // namespace nubbo
