#pragma once

#include "quiz/QuizGenerator.h"

#include <QString>

// "PosX,PosY KigouNo/ColorNo".
QString describe(const QuizItem &item);

// Every invariant of what generateQuiz returned for request: the grid, both pictures, an enabled kind,
// and one answer changed in exactly the way its kind says. Empty when all hold, else the first fault.
// A refusal holds only for a grid without room; that a refused call leaves the quiz alone is the caller's check.
QString quizFault(const QuizRequest &request, const Quiz &quiz, QuizOutcome outcome);
