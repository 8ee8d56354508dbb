#include "support/QuizChecks.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

namespace {

bool gridLacksRoom(const QuizGeometry &g, int kigouNum)
{
    if (g.ColNum < 1 || g.RowNum < 1 || g.ColNum > MaxGridSide || g.RowNum > MaxGridSide)
        return true;
    return qint64(g.ColNum) * g.RowNum < kigouNum;
}

// With no kind enabled the generator falls back on the colour kind.
bool kindEnabled(const KoumokuFlags &koumoku, int kind)
{
    const auto flags = std::span(koumoku).first(QuizKindCount);
    if (std::none_of(flags.begin(), flags.end(), [](qint16 flag) { return flag == True16; }))
        return kind == KindColor;
    return kind >= 0 && kind < QuizKindCount && flags[size_t(kind)] == True16;
}

QString cellFault(const std::vector<QuizItem> &items, const QuizGeometry &g, const char *picture)
{
    std::vector<std::pair<int, int>> cells;
    cells.reserve(items.size());
    for (const QuizItem &item : items) {
        if (item.PosX < 0 || item.PosX >= g.ColNum || item.PosY < 0 || item.PosY >= g.RowNum)
            return QStringLiteral("%1: cell outside the grid: %2").arg(QLatin1String(picture), describe(item));
        cells.emplace_back(item.PosX, item.PosY);
    }
    std::sort(cells.begin(), cells.end());
    const auto twice = std::adjacent_find(cells.begin(), cells.end());
    if (twice != cells.end())
        return QStringLiteral("%1: two items on %2,%3")
            .arg(QLatin1String(picture))
            .arg(twice->first)
            .arg(twice->second);
    return {};
}

bool isLookAlike(const SimilarTable &table, qint16 symbol, qint16 candidate)
{
    const auto &row = table[size_t(symbol)];
    const auto listed = row.begin() + 1;
    return std::find(listed, listed + row[0], candidate) != listed + row[0];
}

QString changeFault(const QuizRequest &request, const Quiz &quiz, QuizOutcome outcome)
{
    const QuizItem &before = quiz.Quiz1[size_t(quiz.AnsNo)];
    const QuizItem &after = quiz.Quiz2[size_t(quiz.AnsNo)];
    if (outcome == QuizOutcome::NoMovePossible)
        return quiz.QuizType == KindMove && after == before ? QString() : QStringLiteral("give-up left a change");
    QuizItem expectedShape = before;
    bool valid = false;
    switch (quiz.QuizType) {
    case KindColor:
        expectedShape.ColorNo = after.ColorNo;
        valid = after.ColorNo >= 0 && after.ColorNo < DrawColorCount && after.ColorNo != before.ColorNo;
        break;
    case KindOtherSymbol:
        expectedShape.KigouNo = after.KigouNo;
        valid = after.KigouNo >= 1 && after.KigouNo <= SymbolCount && after.KigouNo != before.KigouNo;
        break;
    case KindSimilarSymbol:
        expectedShape.KigouNo = after.KigouNo;
        valid = isLookAlike(*request.similarList, before.KigouNo, after.KigouNo);
        break;
    case KindVanish:
        expectedShape.KigouNo = 0;
        valid = after.KigouNo == 0;
        break;
    case KindMove: {
        expectedShape.PosX = after.PosX;
        expectedShape.PosY = after.PosY;
        const int dx = after.PosX - before.PosX;
        const int dy = after.PosY - before.PosY;
        const bool landsFree = std::none_of(quiz.Quiz1.begin(), quiz.Quiz1.end(), [&after](const QuizItem &item) {
            return item.PosX == after.PosX && item.PosY == after.PosY;
        });
        valid = std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx != 0 || dy != 0) && landsFree;
        break;
    }
    default:
        return QStringLiteral("unknown kind %1").arg(quiz.QuizType);
    }
    if (!valid || after != expectedShape)
        return QStringLiteral("kind %1 changed %2 into %3").arg(quiz.QuizType).arg(describe(before), describe(after));
    return {};
}

} // namespace

QuizRequest gridRequest(int cols, int rows, int kigouNum, const QList<int> &kinds)
{
    QuizRequest request;
    request.keyWidth = CellTwips;
    request.keyHeight = CellTwips;
    request.fieldTop = HeaderTwips;
    request.scaleWidth = (cols + 1) * CellTwips;
    request.scaleHeight = HeaderTwips + (rows + 1) * CellTwips;
    request.kigouNum = kigouNum;
    for (int kind : kinds)
        request.koumoku[size_t(kind)] = True16;
    return request;
}

QString describe(const QuizItem &item)
{
    return QStringLiteral("%1,%2 %3/%4").arg(item.PosX).arg(item.PosY).arg(item.KigouNo).arg(item.ColorNo);
}

QString quizFault(const QuizRequest &request, const Quiz &quiz, QuizOutcome outcome)
{
    const QuizGeometry geometry = computeGeometry(request);
    if (outcome == QuizOutcome::FieldTooSmall)
        return gridLacksRoom(geometry, request.kigouNum) ? QString() : QStringLiteral("refused a grid that has room");
    if (!(quiz.geometry == geometry))
        return QStringLiteral("the quiz does not keep the grid it was built on");
    const size_t count = size_t(request.kigouNum);
    if (quiz.Quiz1.size() != count || quiz.Quiz2.size() != count)
        return QStringLiteral("wrong item count");
    if (quiz.AnsNo < 0 || size_t(quiz.AnsNo) >= count)
        return QStringLiteral("answer %1 out of range").arg(quiz.AnsNo);
    if (!kindEnabled(request.koumoku, quiz.QuizType))
        return QStringLiteral("kind %1 is not enabled").arg(quiz.QuizType);
    for (const QString &fault :
         {cellFault(quiz.Quiz1, geometry, "picture 1"), cellFault(quiz.Quiz2, geometry, "picture 2")}) {
        if (!fault.isEmpty())
            return fault;
    }
    for (size_t i = 0; i < count; ++i) {
        const QuizItem &item = quiz.Quiz1[i];
        if (item.KigouNo < 1 || item.KigouNo > SymbolCount || item.ColorNo < 0 || item.ColorNo >= DrawColorCount)
            return QStringLiteral("picture 1 item %1 looks wrong: %2").arg(i).arg(describe(item));
        if (i != size_t(quiz.AnsNo) && quiz.Quiz2[i] != item)
            return QStringLiteral("picture 2 differs at %1, not the answer %2").arg(i).arg(quiz.AnsNo);
    }
    return changeFault(request, quiz, outcome);
}
