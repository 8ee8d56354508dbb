#include "records/PendingGames.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace records {

namespace {

QByteArray line(const GameRecord &game)
{
    const QJsonObject object{
        {QStringLiteral("started"), game.started},
        {QStringLiteral("started_ms"), game.startedMs},
        {QStringLiteral("outcome"), outcomeName(game.outcome)},
        {QStringLiteral("elapsed_ms"), game.elapsedMs},
        {QStringLiteral("kind"), kindName(game.kind)},
        {QStringLiteral("items"), game.items},
        {QStringLiteral("view_time"), game.viewTime},
        {QStringLiteral("blank_time"), game.blankTime},
        {QStringLiteral("columns"), game.columns},
        {QStringLiteral("rows"), game.rows},
        {QStringLiteral("answer1_column"), game.answer1Column},
        {QStringLiteral("answer1_row"), game.answer1Row},
        {QStringLiteral("answer2_column"), game.answer2Column},
        {QStringLiteral("answer2_row"), game.answer2Row},
        {QStringLiteral("misses"), game.misses},
        {QStringLiteral("version"), game.version},
        {QStringLiteral("dropped_refreshes"), game.droppedRefreshes},
        {QStringLiteral("mode"), modeName(game.mode)},
        {QStringLiteral("level"), game.level},
        {QStringLiteral("screens"), game.screens},
        {QStringLiteral("screens_off"), game.screensOff},
        {QStringLiteral("worst_screen_error_ms"), game.worstScreenErrorMs},
        {QStringLiteral("timing"), game.timing},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<GameRecord> game(const QByteArray &line)
{
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    const auto outcome = outcomeFromName(o.value(QStringLiteral("outcome")).toString());
    const auto kind = kindFromName(o.value(QStringLiteral("kind")).toString());
    const auto mode = modeFromName(o.value(QStringLiteral("mode")).toString());
    if (!outcome || !kind || !mode || !o.contains(QStringLiteral("started_ms")))
        return std::nullopt;
    GameRecord game;
    game.started = o.value(QStringLiteral("started")).toString();
    game.startedMs = o.value(QStringLiteral("started_ms")).toInteger();
    game.outcome = *outcome;
    game.elapsedMs = o.value(QStringLiteral("elapsed_ms")).toInteger();
    game.kind = *kind;
    game.items = o.value(QStringLiteral("items")).toInt();
    game.viewTime = o.value(QStringLiteral("view_time")).toDouble();
    game.blankTime = o.value(QStringLiteral("blank_time")).toDouble();
    game.columns = o.value(QStringLiteral("columns")).toInt();
    game.rows = o.value(QStringLiteral("rows")).toInt();
    game.answer1Column = o.value(QStringLiteral("answer1_column")).toInt();
    game.answer1Row = o.value(QStringLiteral("answer1_row")).toInt();
    game.answer2Column = o.value(QStringLiteral("answer2_column")).toInt();
    game.answer2Row = o.value(QStringLiteral("answer2_row")).toInt();
    game.misses = o.value(QStringLiteral("misses")).toInt();
    game.version = o.value(QStringLiteral("version")).toString();
    game.droppedRefreshes = o.value(QStringLiteral("dropped_refreshes")).toInt();
    game.mode = *mode;
    game.level = o.value(QStringLiteral("level")).toInt();
    game.screens = o.value(QStringLiteral("screens")).toInt(-1);
    game.screensOff = o.value(QStringLiteral("screens_off")).toInt(-1);
    game.worstScreenErrorMs = o.value(QStringLiteral("worst_screen_error_ms")).toDouble(-1);
    game.timing = o.value(QStringLiteral("timing")).toString();
    return game;
}

} // namespace

QString pendingPath(const QString &historyPath)
{
    const QFileInfo history(historyPath);
    return history.absolutePath() + QLatin1Char('/') + history.completeBaseName() + QStringLiteral(".pending");
}

bool appendPending(const QString &path, const QList<GameRecord> &games)
{
    QByteArray lines;
    for (const GameRecord &game : games)
        lines += line(game);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(lines) == lines.size() && file.flush();
}

QList<GameRecord> readPending(const QString &path)
{
    QFile file(path);
    QList<GameRecord> games;
    if (!file.open(QIODevice::ReadOnly))
        return games;
    while (!file.atEnd()) {
        if (const auto read = game(file.readLine()))
            games.append(*read);
    }
    return games;
}

} // namespace records
