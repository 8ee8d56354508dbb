// The quiz generator over any window and label sizes, symbol counts, kind flags and draws.
// Input: five doubles (label width and height, field top, client width and height), the symbol
// count, the six kind flags, then draws of the random generator as 32-bit numbers.
// It must end, and either build a quiz that keeps every invariant or refuse a grid without room.

#include "core/mdlUser.h"
#include "quiz/QuizGenerator.h"
#include "support/Fakes.h"

#include "FuzzInput.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

constexpr qint32 MaxGridSide = 32767; // cells are 16-bit column and row numbers

QuizRequest takeRequest(FuzzInput &input)
{
    QuizRequest request;
    request.keyWidth = input.take<double>();
    request.keyHeight = input.take<double>();
    request.fieldTop = input.take<double>();
    request.scaleWidth = input.take<double>();
    request.scaleHeight = input.take<double>();
    OptRecord settings;
    settings.KigouNum = input.take<qint16>();
    request.kigouNum = UsableKigouNum(settings);
    for (qint16 &flag : request.koumoku)
        flag = input.take<qint16>();
    return request;
}

// Draws in [0, 1) with the generator's 24-bit resolution; the seeded generator takes over after them.
std::vector<float> takeDraws(FuzzInput &input)
{
    std::vector<float> draws;
    while (!input.empty())
        draws.push_back(float(input.take<quint32>() >> 8) * 0x1p-24f);
    return draws;
}

Quiz sentinelQuiz()
{
    Quiz quiz;
    quiz.Quiz1 = {QuizItem{1, 2, 3, 4}};
    quiz.Quiz2 = quiz.Quiz1;
    quiz.AnsNo = 7;
    quiz.QuizType = KindSimilarSymbol;
    return quiz;
}

bool sameQuiz(const Quiz &a, const Quiz &b)
{
    return a.geometry == b.geometry && a.Quiz1 == b.Quiz1 && a.Quiz2 == b.Quiz2 && a.AnsNo == b.AnsNo
           && a.QuizType == b.QuizType;
}

bool gridLacksRoom(const QuizGeometry &g, int kigouNum)
{
    if (g.ColNum < 1 || g.RowNum < 1 || g.ColNum > MaxGridSide || g.RowNum > MaxGridSide)
        return true;
    return qint64(g.ColNum) * g.RowNum < kigouNum;
}

void requireDistinctCellsInGrid(const std::vector<QuizItem> &picture, const QuizGeometry &g)
{
    std::set<std::pair<int, int>> cells;
    for (const QuizItem &item : picture) {
        require(item.PosX >= 0 && item.PosX < g.ColNum && item.PosY >= 0 && item.PosY < g.RowNum,
                "every symbol inside the grid");
        require(cells.emplace(item.PosX, item.PosY).second, "no two symbols share a cell");
    }
}

bool kindEnabled(const QuizRequest &request, int kind)
{
    if (kind < 0 || kind >= KindCount)
        return false;
    const auto enabled = request.koumoku.begin();
    const bool none = std::none_of(enabled, enabled + KindCount, [](qint16 flag) { return flag == True16; });
    return none ? kind == KindColor : request.koumoku[size_t(kind)] == True16;
}

bool isLookAlike(qint16 symbol, qint16 other)
{
    const auto &row = SimilarList[size_t(symbol)];
    return std::find(row.begin() + 1, row.begin() + 1 + row[0], other) != row.begin() + 1 + row[0];
}

// The answer differs in exactly the fields its kind names, and in the way the kind says.
bool answerChangedByKind(const QuizItem &before, const QuizItem &after, qint16 kind)
{
    const bool sameCell = before.PosX == after.PosX && before.PosY == after.PosY;
    const bool sameLook = before.KigouNo == after.KigouNo && before.ColorNo == after.ColorNo;
    const bool sameColor = before.ColorNo == after.ColorNo;
    switch (kind) {
    case KindColor:
        return sameCell && before.KigouNo == after.KigouNo && before.ColorNo != after.ColorNo;
    case KindOtherSymbol:
        return sameCell && sameColor && after.KigouNo != before.KigouNo && after.KigouNo >= 1
               && after.KigouNo <= SymbolCount;
    case KindSimilarSymbol:
        return sameCell && sameColor && isLookAlike(before.KigouNo, after.KigouNo);
    case KindVanish:
        return sameCell && sameColor && after.KigouNo == 0;
    case KindMove:
        return sameLook && std::max(std::abs(after.PosX - before.PosX), std::abs(after.PosY - before.PosY)) == 1;
    }
    return false;
}

void requireQuizInvariants(const Quiz &quiz, const QuizRequest &request, QuizOutcome outcome)
{
    const size_t count = size_t(request.kigouNum);
    require(quiz.geometry == computeGeometry(request), "the quiz keeps the grid it was built on");
    require(quiz.Quiz1.size() == count && quiz.Quiz2.size() == count, "both pictures hold every symbol");
    require(quiz.AnsNo >= 0 && size_t(quiz.AnsNo) < count, "the answer is one of the symbols");
    require(kindEnabled(request, quiz.QuizType), "the kind is an enabled one");
    requireDistinctCellsInGrid(quiz.Quiz1, quiz.geometry);
    requireDistinctCellsInGrid(quiz.Quiz2, quiz.geometry);
    for (size_t i = 0; i < count; ++i) {
        const QuizItem &item = quiz.Quiz1[i];
        require(item.KigouNo >= 1 && item.KigouNo <= SymbolCount && item.ColorNo >= 0
                    && item.ColorNo < DrawColorCount,
                "picture 1 shows a real symbol in a drawing colour");
        if (i != size_t(quiz.AnsNo))
            require(quiz.Quiz2[i] == item, "the pictures differ only in the answer");
    }
    const QuizItem &before = quiz.Quiz1[size_t(quiz.AnsNo)];
    const QuizItem &after = quiz.Quiz2[size_t(quiz.AnsNo)];
    if (outcome == QuizOutcome::NoMovePossible)
        require(quiz.QuizType == KindMove && after == before, "only a boxed-in move leaves the pictures equal");
    else
        require(answerChangedByKind(before, after, quiz.QuizType), "the answer changes as its kind says");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    InitList();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QuizRequest request = takeRequest(input);
    FakeRandom random(takeDraws(input));

    Quiz quiz = sentinelQuiz();
    const QuizOutcome outcome = generateQuiz(request, random, quiz);
    if (outcome == QuizOutcome::FieldTooSmall) {
        require(gridLacksRoom(computeGeometry(request), request.kigouNum), "only a grid without room is refused");
        require(sameQuiz(quiz, sentinelQuiz()), "a refused quiz leaves the old one as it was");
        return 0;
    }
    requireQuizInvariants(quiz, request, outcome);
    return 0;
}
