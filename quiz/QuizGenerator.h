#pragma once

#include "core/mdlUser.h"
#include "quiz/Quiz.h"

#include <QList>

#include <array>
#include <limits>

namespace platform {
class RandomSource;
}

// What a quiz is built from: the window's sizes in twips and the settings.
struct QuizRequest
{
    double keyWidth = 0;    // width of one cell label
    double keyHeight = 0;   // height of one cell label
    double fieldTop = 0;    // the header band's lower edge
    double scaleWidth = 0;  // client area of the main window
    double scaleHeight = 0;
    int kigouNum = 0;       // already forced into KigouNumRange
    KoumokuFlags koumoku{};
    const SimilarTable *similarList = &SimilarList; // where the look-alike kind finds a symbol's look-alikes
};

// Cells are stored as 16-bit column and row numbers, so no grid is wider or taller than this.
inline constexpr qint32 MaxGridSide = std::numeric_limits<qint16>::max();

enum class QuizOutcome {
    Complete,
    NoMovePossible, // move kind, ten boxed-in symbols: both pictures are the same
    FieldTooSmall,  // fewer cells than symbols: nothing was built
};

QuizGeometry computeGeometry(const QuizRequest &request);

// Builds a quiz into quiz. On FieldTooSmall quiz is left exactly as it was.
QuizOutcome generateQuiz(const QuizRequest &request, platform::RandomSource &random, Quiz &quiz);

// The direction codes 1..8 of the free neighbours of quiz1[No] inside the grid, in increasing order.
// Returns their number; iPos is left untouched when there are none.
qint16 CheckPos(const std::vector<QuizItem> &quiz1, const QuizGeometry &geometry, int No, QList<qint16> &iPos);

// Column and row offsets of direction codes 1..8 (index 0 unused).
inline constexpr std::array<int, 9> DirectionDx{0, -1, 0, 1, -1, 1, -1, 0, 1};
inline constexpr std::array<int, 9> DirectionDy{0, -1, -1, -1, 0, 0, 1, 1, 1};
