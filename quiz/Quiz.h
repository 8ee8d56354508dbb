#pragma once

#include "core/Limits.h"

#include <QtGlobal>

#include <vector>

// One symbol on the field: its cell, its symbol index and its colour index.
struct QuizItem
{
    qint16 PosX = 0;
    qint16 PosY = 0;
    qint16 KigouNo = 0;
    qint16 ColorNo = 0;

    bool operator==(const QuizItem &) const = default;
};

// The cell grid of the play field, in twips.
struct QuizGeometry
{
    qint32 KeyWidth = 0;
    qint32 KeyHeight = 0;
    double FieldTop = 0;
    double FieldBottom = 0;
    double FieldLeft = 0;
    double FieldRight = 0;
    qint32 ColNum = 0;
    qint32 RowNum = 0;

    bool operator==(const QuizGeometry &) const = default;
};

// The kinds of change from picture 1 to picture 2, numbered as the settings' kind flags and the history keep
// them. A quiz draws one of the first QuizKindCount; KindNone is no quiz's kind but what the record of a move
// that found no free cell holds.
enum QuizKind : qint16 {
    KindColor = 0,
    KindOtherSymbol = 1,
    KindSimilarSymbol = 2,
    KindVanish = 3,
    KindMove = 4,
    KindNone = 5,
};
static_assert(KindNone == QuizKindCount);

struct Quiz
{
    QuizGeometry geometry;
    std::vector<QuizItem> Quiz1; // picture 1
    std::vector<QuizItem> Quiz2; // picture 2: Quiz1 but for element AnsNo
    qint16 AnsNo = 0;
    qint16 QuizType = KindColor;

    int itemCount() const { return static_cast<int>(Quiz1.size()); }

    bool operator==(const Quiz &) const = default;
};
