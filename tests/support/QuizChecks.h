#pragma once

#include "quiz/QuizGenerator.h"

#include <QList>
#include <QString>

// The main window's cell size and header band, in twips.
inline constexpr double CellTwips = 375;
inline constexpr double HeaderTwips = 720;

inline const QList<int> AllKinds{KindColor, KindOtherSymbol, KindSimilarSymbol, KindVanish, KindMove};

// A request for kigouNum symbols of the given kinds on a client area that gives exactly cols x rows cells.
QuizRequest gridRequest(int cols, int rows, int kigouNum, const QList<int> &kinds);

// "PosX,PosY KigouNo/ColorNo".
QString describe(const QuizItem &item);

// Every invariant of what generateQuiz returned for request: the grid, both pictures, an enabled kind,
// and one answer changed in exactly the way its kind says. Empty when all hold, else the first fault.
// A refusal holds only for a grid without room; that a refused call leaves the quiz alone is the caller's check.
QString quizFault(const QuizRequest &request, const Quiz &quiz, QuizOutcome outcome);
