#include "records/GameRecord.h"

#include <QRandomGenerator>

#include <array>

namespace records {

namespace {

const std::array<QString, 3> OutcomeNames = {QStringLiteral("hit"), QStringLiteral("giveup"),
                                             QStringLiteral("abandoned")};
const std::array<QString, RecordedKindCount> KindNames = {QStringLiteral("colour"), QStringLiteral("other-symbol"),
                                                  QStringLiteral("look-alike"), QStringLiteral("vanish"),
                                                  QStringLiteral("move"), QStringLiteral("none")};
const std::array<QString, 2> ModeNames = {QStringLiteral("free"), QStringLiteral("training")};

template<typename Enum, size_t N>
std::optional<Enum> fromName(const std::array<QString, N> &names, const QString &name)
{
    for (size_t i = 0; i < N; ++i) {
        if (names[i] == name)
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

} // namespace

QString newGameKey(qint64 startedMs)
{
    return QStringLiteral("%1-%2").arg(startedMs).arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

QString outcomeName(Outcome outcome)
{
    return OutcomeNames[static_cast<size_t>(outcome)];
}

QString kindName(QuizKind kind)
{
    return KindNames[static_cast<size_t>(kind)];
}

QString modeName(Mode mode)
{
    return ModeNames[static_cast<size_t>(mode)];
}

std::optional<Outcome> outcomeFromName(const QString &name)
{
    return fromName<Outcome>(OutcomeNames, name);
}

std::optional<QuizKind> kindFromName(const QString &name)
{
    return fromName<QuizKind>(KindNames, name);
}

std::optional<Mode> modeFromName(const QString &name)
{
    return fromName<Mode>(ModeNames, name);
}

} // namespace records
