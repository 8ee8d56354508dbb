#include "quiz/QuizGenerator.h"

#include "platform/Numbers.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace {

constexpr int MoveCheckLimit = 10;

// A degenerate label size (zero, huge, not a number) must give a grid that is refused, not overflow.
qint32 saturatedInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(std::clamp(value, lowest, highest));
}

bool fieldHolds(const QuizGeometry &geometry, int kigouNum)
{
    if (kigouNum < 1 || geometry.ColNum < 1 || geometry.RowNum < 1)
        return false;
    if (geometry.ColNum > MaxGridSide || geometry.RowNum > MaxGridSide)
        return false;
    return static_cast<qint64>(geometry.ColNum) * geometry.RowNum >= kigouNum;
}

quint32 cellKey(int x, int y)
{
    return static_cast<quint32>(x) << 16 | static_cast<quint32>(y);
}

// Scans every placed cell without an early exit: a flat loop the compiler vectorises,
// with the same answer as stopping at the first match.
bool isTaken(const std::vector<quint32> &taken, quint32 key)
{
    bool found = false;
    for (quint32 cell : taken)
        found |= cell == key;
    return found;
}

void placeCells(const QuizGeometry &geometry, platform::RandomSource &random, std::vector<QuizItem> &items)
{
    std::vector<quint32> taken;
    taken.reserve(items.size());
    for (QuizItem &item : items) {
        int x = 0;
        int y = 0;
        do {
            x = platform::drawIndex(random, geometry.ColNum);
            y = platform::drawIndex(random, geometry.RowNum);
        } while (isTaken(taken, cellKey(x, y)));
        taken.push_back(cellKey(x, y));
        item.PosX = static_cast<qint16>(x);
        item.PosY = static_cast<qint16>(y);
    }
}

qint16 drawSymbol(platform::RandomSource &random)
{
    return static_cast<qint16>(platform::drawIndex(random, SymbolCount) + 1);
}

qint16 drawColor(platform::RandomSource &random)
{
    return static_cast<qint16>(platform::drawIndex(random, DrawColorCount));
}

void drawLooks(platform::RandomSource &random, std::vector<QuizItem> &items)
{
    for (QuizItem &item : items) {
        item.KigouNo = drawSymbol(random);
        item.ColorNo = drawColor(random);
    }
}

qint16 chooseKind(const KoumokuFlags &koumoku, platform::RandomSource &random)
{
    std::array<qint16, QuizKindCount> enabled{};
    int count = 0;
    for (qint16 kind = 0; kind < QuizKindCount; ++kind) {
        if (koumoku[static_cast<size_t>(kind)] == True16)
            enabled[static_cast<size_t>(count++)] = kind;
    }
    // No draw at all here, so with nothing enabled the generator is never reseeded.
    if (count == 0)
        return KindColor;
    return RndSel(random, enabled, count);
}

qint16 drawAnswer(platform::RandomSource &random, int kigouNum)
{
    return static_cast<qint16>(platform::drawIndex(random, kigouNum));
}

template<typename Draw>
qint16 drawOtherThan(qint16 old, Draw draw)
{
    qint16 value = 0;
    do {
        value = draw();
    } while (value == old);
    return value;
}

qint16 drawLookAlike(const SimilarTable &similarList, qint16 symbol, platform::RandomSource &random)
{
    const auto &row = similarList[static_cast<size_t>(symbol)];
    const int column = platform::drawIndex(random, row[0]) + 1;
    return row[static_cast<size_t>(column)];
}

// Ten boxed-in answers in a row give up; the answer drawn after the last check stays untested.
bool applyMove(Quiz &quiz, int kigouNum, platform::RandomSource &random)
{
    QList<qint16> iPos;
    for (int check = 0; check < MoveCheckLimit; ++check) {
        const qint16 PosNum = CheckPos(quiz.Quiz1, quiz.geometry, quiz.AnsNo, iPos);
        if (PosNum > 0) {
            const qint16 direction = RndSel(random, std::span(iPos.constData(), iPos.size()), PosNum);
            QuizItem &moved = quiz.Quiz2[static_cast<size_t>(quiz.AnsNo)];
            moved.PosX = static_cast<qint16>(moved.PosX + DirectionDx[static_cast<size_t>(direction)]);
            moved.PosY = static_cast<qint16>(moved.PosY + DirectionDy[static_cast<size_t>(direction)]);
            return true;
        }
        quiz.AnsNo = drawAnswer(random, kigouNum);
    }
    return false;
}

bool applyKind(Quiz &quiz, const QuizRequest &request, platform::RandomSource &random)
{
    const QuizItem &before = quiz.Quiz1[static_cast<size_t>(quiz.AnsNo)];
    QuizItem &after = quiz.Quiz2[static_cast<size_t>(quiz.AnsNo)];
    switch (quiz.QuizType) {
    case KindColor:
        after.ColorNo = drawOtherThan(before.ColorNo, [&random] { return drawColor(random); });
        return true;
    case KindOtherSymbol:
        after.KigouNo = drawOtherThan(before.KigouNo, [&random] { return drawSymbol(random); });
        return true;
    case KindSimilarSymbol:
        after.KigouNo = drawLookAlike(*request.similarList, before.KigouNo, random);
        return true;
    case KindVanish:
        after.KigouNo = 0;
        return true;
    case KindMove:
        return applyMove(quiz, request.kigouNum, random);
    }
    return false;
}

bool insideGrid(int x, int y, int direction, const QuizGeometry &geometry)
{
    const int dx = DirectionDx[static_cast<size_t>(direction)];
    const int dy = DirectionDy[static_cast<size_t>(direction)];
    if ((dx < 0 && x <= 0) || (dx > 0 && x >= geometry.ColNum - 1))
        return false;
    return !((dy < 0 && y <= 0) || (dy > 0 && y >= geometry.RowNum - 1));
}

bool isOccupied(const std::vector<QuizItem> &quiz1, int x, int y)
{
    return std::any_of(quiz1.begin(), quiz1.end(),
                       [x, y](const QuizItem &item) { return item.PosX == x && item.PosY == y; });
}

} // namespace

QuizGeometry computeGeometry(const QuizRequest &request)
{
    QuizGeometry geometry;
    geometry.KeyHeight = saturatedInt32(platform::roundHalfEven(request.keyHeight));
    geometry.KeyWidth = saturatedInt32(platform::roundHalfEven(request.keyWidth));
    geometry.FieldTop = request.fieldTop;
    geometry.FieldBottom = request.scaleHeight - geometry.KeyHeight;
    geometry.FieldLeft = 0;
    geometry.FieldRight = request.scaleWidth - geometry.KeyWidth;
    geometry.ColNum = saturatedInt32(std::floor((geometry.FieldRight - geometry.FieldLeft) / geometry.KeyWidth));
    geometry.RowNum = saturatedInt32(std::floor((geometry.FieldBottom - geometry.FieldTop) / geometry.KeyHeight));
    return geometry;
}

QuizOutcome generateQuiz(const QuizRequest &request, platform::RandomSource &random, Quiz &quiz)
{
    const QuizGeometry geometry = computeGeometry(request);
    const int kigouNum = request.kigouNum;
    // Placing the cells retries until it finds a free one, so it must never start on a grid without room.
    if (!fieldHolds(geometry, kigouNum))
        return QuizOutcome::FieldTooSmall;

    Quiz built;
    built.geometry = geometry;
    built.Quiz1.resize(static_cast<size_t>(kigouNum));
    placeCells(geometry, random, built.Quiz1);
    drawLooks(random, built.Quiz1);
    built.Quiz2 = built.Quiz1;
    built.QuizType = chooseKind(request.koumoku, random);
    built.AnsNo = drawAnswer(random, kigouNum);
    const bool changed = applyKind(built, request, random);

    quiz = std::move(built);
    return changed ? QuizOutcome::Complete : QuizOutcome::NoMovePossible;
}

qint16 CheckPos(const std::vector<QuizItem> &quiz1, const QuizGeometry &geometry, int No, QList<qint16> &iPos)
{
    const QuizItem &examined = quiz1[static_cast<size_t>(No)];
    std::array<qint16, 8> found{};
    qint16 PosNum = 0;
    for (qint16 direction = 1; direction <= 8; ++direction) {
        if (!insideGrid(examined.PosX, examined.PosY, direction, geometry))
            continue;
        const int x = examined.PosX + DirectionDx[static_cast<size_t>(direction)];
        const int y = examined.PosY + DirectionDy[static_cast<size_t>(direction)];
        if (isOccupied(quiz1, x, y))
            continue;
        found[static_cast<size_t>(PosNum++)] = direction;
    }
    if (PosNum > 0)
        iPos = QList<qint16>(found.begin(), found.begin() + PosNum);
    return PosNum;
}
