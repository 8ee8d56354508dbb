#include "records/PendingGames.h"

#include "platform/Files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMutex>

#include <optional>
#include <utility>

namespace records {

namespace {

QByteArray line(const GameRecord &game)
{
    QJsonObject object{
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
        {QStringLiteral("key"), game.key},
    };
    if (game.key.isEmpty())
        object.remove(QStringLiteral("key")); // the reader makes one from the line
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// The fields the history cannot do without, each with the kind of value it needs.
const char *const TextFields[] = {"started", "outcome", "kind", "version"};
const char *const NumberFields[] = {"started_ms", "elapsed_ms", "items", "view_time", "blank_time", "columns", "rows",
                                    "answer1_column", "answer1_row", "answer2_column", "answer2_row", "misses"};

std::optional<GameRecord> game(const QByteArray &line)
{
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    for (const char *field : TextFields) {
        if (!o.value(QLatin1String(field)).isString())
            return std::nullopt;
    }
    for (const char *field : NumberFields) {
        if (!o.value(QLatin1String(field)).isDouble())
            return std::nullopt;
    }
    // Added later, with the history's own defaults for a line of an older version.
    const QJsonValue modeValue = o.value(QStringLiteral("mode"));
    const QJsonValue keyValue = o.value(QStringLiteral("key"));
    for (const QJsonValue &value : {o.value(QStringLiteral("dropped_refreshes")), o.value(QStringLiteral("level"))}) {
        if (!value.isUndefined() && !value.isDouble())
            return std::nullopt;
    }
    if ((!keyValue.isUndefined() && (!keyValue.isString() || keyValue.toString().isEmpty()))
        || (!modeValue.isUndefined() && !modeValue.isString()))
        return std::nullopt;
    const auto outcome = outcomeFromName(o.value(QStringLiteral("outcome")).toString());
    const auto kind = kindFromName(o.value(QStringLiteral("kind")).toString());
    const auto mode = modeValue.isUndefined() ? Mode::Free : modeFromName(modeValue.toString());
    if (!outcome || !kind || !mode)
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
    game.key = keyValue.isUndefined()
                   ? QStringLiteral("%1-%2").arg(game.startedMs).arg(QLatin1String(
                         QCryptographicHash::hash(line.trimmed(), QCryptographicHash::Sha1).toHex().left(16)))
                   : keyValue.toString();
    return game;
}

// How long appending or merging waits for another copy that holds the pending file: far longer than a
// merge takes, so that only a copy that hangs makes it give up.
constexpr int LockWaitMs = 5000;

QMutex lostLock;
QString lost;

} // namespace

QString pendingPath(const QString &historyPath)
{
    const QFileInfo history(historyPath);
    return history.absolutePath() + QLatin1Char('/') + history.completeBaseName() + QStringLiteral(".pending");
}

QStringList pendingPaths(const QString &historyPath, const QStringList &spareFolders)
{
    // A spare folder may serve several histories: the name tells whose games a file holds.
    const QFileInfo history(historyPath);
    const QByteArray hash =
        QCryptographicHash::hash(history.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QStringList paths{pendingPath(historyPath)};
    for (const QString &folder : spareFolders)
        paths.append(QDir(folder).filePath(
            QStringLiteral("%1-%2.pending").arg(history.completeBaseName(), QLatin1String(hash))));
    return paths;
}

QString rejectedPath(const QString &pendingPath)
{
    return pendingPath + QStringLiteral(".rejected");
}

QString lockPath(const QString &pendingPath)
{
    return pendingPath + QStringLiteral(".lock");
}

bool appendLines(const QString &path, const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line.endsWith('\n') ? line : line + '\n';
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return false;
    // A line a crash cut short stays a line of its own, rather than taking the first new game with it.
    char last = '\n';
    if (file.size() > 0 && (!file.seek(file.size() - 1) || !file.getChar(&last)))
        return false;
    if (last != '\n')
        bytes.prepend('\n');
    return file.write(bytes) == bytes.size() && file.flush();
}

bool appendPending(const QString &path, const QList<GameRecord> &games)
{
    if (!platform::makeDirectoryFor(path))
        return false;
    QLockFile lock(lockPath(path));
    if (!lock.tryLock(LockWaitMs))
        return false;
    QList<QByteArray> lines;
    for (const GameRecord &game : games)
        lines.append(line(game));
    return appendLines(path, lines);
}

PendingLines readPending(const QString &path)
{
    QFile file(path);
    PendingLines read;
    if (!file.open(QIODevice::ReadOnly))
        return read;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine();
        if (text.trimmed().isEmpty())
            continue;
        if (const auto found = game(text)) {
            read.games.append(*found);
            read.gameLines.append(text);
        } else {
            read.rejected.append(text);
        }
    }
    return read;
}

QString takeLostAtEnd()
{
    const QMutexLocker locker(&lostLock);
    return std::exchange(lost, {});
}

void noteLostAtEnd(const QString &text)
{
    const QMutexLocker locker(&lostLock);
    lost = text;
}

} // namespace records
