// The program as a child process (this executable, started with an argument), ended from outside as a
// desktop ends it: by a signal during a game, and by kill -9 while games are being written.

#include "main/Program.h"
#include "main/frmMain.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

constexpr int Deadline = 30000; // ms; a loaded machine starts a child slowly

void say(long long line)
{
    std::printf("%lld\n", line);
    std::fflush(stdout);
}

QByteArray readPendingFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the player is told, as a line on the standard output.
class ToldOnOutput final : public platform::MessageService
{
public:
    void show(QWidget *, const QString &text) override
    {
        std::printf("told: %s\n", qUtf8Printable(text));
        std::fflush(stdout);
    }
};

// Child: the real program with a game on its field, and the options dialog open when asked; says 0 then.
// Where asked, the player then ends it with 終了.
int playUntilEnded(int argc, char *argv[], const QByteArray &how)
{
    QApplication app(argc, argv);
    ToldOnOutput told;
    platform::setMessages(&told);
    platform::setProgramDirectory(qEnvironmentVariable("IVOK2_TEST_PROGRAM_DIRECTORY"));
    QTimer::singleShot(0, [how] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<frmMain *>(widget)) {
                window->cmdStart_Click();
                QTimer::singleShot(0, [window, how] {
                    say(0); // inside the dialog's own loop where there is one
                    if (how == "end")
                        window->mnuEnd_Click();
                });
                if (how == "dialog")
                    window->mnuOpt_Click();
            }
        }
    });
    return runProgram();
}

// Child: one game after another, each handed over when the one before is in the file; says how many are.
int writeGamesUntilKilled(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    records::RecordWriter writer(records::defaultHistoryPath());
    long long written = 0;
    records::GameRecord game;
    game.started = QStringLiteral("2026-12-07T10:00:00+09:00");
    game.version = QStringLiteral("1.0.0");
    QObject::connect(&writer, &records::RecordWriter::recorded, &app, [&] {
        say(++written);
        game.startedMs = written;
        writer.submit(game);
    });
    writer.submit(game);
    return app.exec();
}

// What the child's surroundings hold when it starts.
enum class Setting { Plain, HangUpIgnored, HistoryHeld, FolderReadOnly, NothingWritable };
// Where the game still running at the end is found afterwards.
enum class Kept { History, Pending, Spare, Told };

constexpr uid_t Nobody = 65534;

} // namespace

Q_DECLARE_METATYPE(Setting)
Q_DECLARE_METATYPE(Kept)

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void theEndKeepsTheRunningGame_data();
    void theEndKeepsTheRunningGame();
    void killWhileWritingLosesNoWrittenGame();

private:
    // Prepares a data directory of the child's own as setting says.
    void prepare(Setting setting);
    // Starts the child and returns once it has said a line.
    QByteArray startChild(const QStringList &arguments, Setting setting = Setting::Plain);
    // The history's integrity check, then the outcome of every game in it.
    QStringList checkedOutcomes();

    std::optional<QTemporaryDir> m_data;
    QProcess m_child;
};

void TestShutdown::prepare(Setting setting)
{
    m_data.emplace();
    for (const char *folder : {"ivok2", "state", "config", "program"})
        QVERIFY(QDir(m_data->path()).mkdir(QLatin1String(folder)));
    if (setting == Setting::HistoryHeld) {
        records::HistoryStore store(m_data->filePath(QStringLiteral("ivok2/history.sqlite")));
        QVERIFY(store.append({}).done());
    }
    if (setting != Setting::FolderReadOnly && setting != Setting::NothingWritable)
        return;
    // A player who may not write the history's folder, nor, at worst, any other.
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
    QStringList closed{QStringLiteral("ivok2")};
    if (setting == Setting::NothingWritable)
        closed << QStringLiteral("state") << QStringLiteral("config") << QStringLiteral("program");
    for (const QString &folder : closed)
        QVERIFY(QFile::setPermissions(m_data->filePath(folder), readOnly));
    if (geteuid() == 0) {
        for (const char *path : {"", "ivok2", "state", "config", "program"})
            QCOMPARE(::chown(QFile::encodeName(m_data->filePath(QLatin1String(path))).constData(), Nobody, Nobody), 0);
    }
}

QByteArray TestShutdown::startChild(const QStringList &arguments, Setting setting)
{
    if (!m_data)
        prepare(setting);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data->path());
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_data->filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_data->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("IVOK2_TEST_PROGRAM_DIRECTORY"), m_data->filePath(QStringLiteral("program")));
    m_child.setProcessEnvironment(environment);
    m_child.setChildProcessModifier([setting] {
        // As nohup starts a program.
        if (setting == Setting::HangUpIgnored)
            ::signal(SIGHUP, SIG_IGN);
        // Root writes anywhere: the child runs as an ordinary player.
        if ((setting == Setting::FolderReadOnly || setting == Setting::NothingWritable) && ::geteuid() == 0
            && ::setresuid(Nobody, Nobody, Nobody) != 0)
            ::_exit(3);
    });
    m_child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_child.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray said;
    [&] { QTRY_VERIFY_WITH_TIMEOUT((said += m_child.readAllStandardOutput()).contains('\n'), Deadline); }();
    return said;
}

QStringList TestShutdown::checkedOutcomes()
{
    const QString path = m_data->filePath(QStringLiteral("ivok2/history.sqlite"));
    QStringList found;
    if (!QFileInfo::exists(path))
        return found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open())
            found << db.lastError().text();
        for (const char *sql : {"PRAGMA integrity_check", "SELECT outcome FROM games ORDER BY started_ms"}) {
            query.exec(QString::fromLatin1(sql));
            while (query.next())
                found << query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return found;
}

void TestShutdown::theEndKeepsTheRunningGame_data()
{
    QTest::addColumn<QList<int>>("sent"); // signals, in order; none: the player ends it with 終了
    QTest::addColumn<QByteArray>("how");
    QTest::addColumn<Setting>("setting");
    QTest::addColumn<int>("endedBy"); // 0: a normal exit
    QTest::addColumn<Kept>("kept");

    QTest::newRow("SIGTERM, the session ends") << QList<int>{SIGTERM} << QByteArray("field") << Setting::Plain
                                               << int(SIGTERM) << Kept::History;
    QTest::newRow("SIGHUP, the terminal goes") << QList<int>{SIGHUP} << QByteArray("field") << Setting::Plain
                                               << int(SIGHUP) << Kept::History;
    QTest::newRow("SIGINT, Ctrl+C") << QList<int>{SIGINT} << QByteArray("field") << Setting::Plain << int(SIGINT)
                                    << Kept::History;
    QTest::newRow("SIGTERM, options dialog open") << QList<int>{SIGTERM} << QByteArray("dialog") << Setting::Plain
                                                  << int(SIGTERM) << Kept::History;
    QTest::newRow("SIGHUP under nohup, then SIGTERM") << QList<int>{SIGHUP, SIGTERM} << QByteArray("field")
                                                      << Setting::HangUpIgnored << int(SIGTERM) << Kept::History;
    QTest::newRow("SIGTERM, another program holds the history")
        << QList<int>{SIGTERM} << QByteArray("field") << Setting::HistoryHeld << int(SIGTERM) << Kept::Pending;
    QTest::newRow("SIGTERM, the history's folder read-only")
        << QList<int>{SIGTERM} << QByteArray("field") << Setting::FolderReadOnly << int(SIGTERM) << Kept::Spare;
    QTest::newRow("終了, no folder can be written") << QList<int>{} << QByteArray("end") << Setting::NothingWritable
                                                   << 0 << Kept::Told;
}

void TestShutdown::theEndKeepsTheRunningGame()
{
    QFETCH(QList<int>, sent);
    QFETCH(QByteArray, how);
    QFETCH(Setting, setting);
    QFETCH(int, endedBy);
    QFETCH(Kept, kept);
    m_data.reset();
    prepare(setting);
    const QString history = m_data->filePath(QStringLiteral("ivok2/history.sqlite"));
    std::optional<QSqlDatabase> holder;
    if (setting == Setting::HistoryHeld) {
        holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder->setDatabaseName(history);
        QVERIFY(holder->open());
        QVERIFY(QSqlQuery(*holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    const QByteArray first = startChild({QStringLiteral("--play"), QString::fromLatin1(how)}, setting);
    QVERIFY(first.startsWith("0\n"));

    QElapsedTimer ending;
    ending.start();
    for (int signalNumber : sent)
        QCOMPARE(::kill(pid_t(m_child.processId()), signalNumber), 0);
    QVERIFY(m_child.state() == QProcess::NotRunning || m_child.waitForFinished(Deadline));
    // The process goes as soon as the game is kept, whatever holds the history.
    QVERIFY2(ending.elapsed() < 1000, qPrintable(QStringLiteral("ended %1 ms after the request").arg(ending.elapsed())));
    if (holder) {
        holder->close();
        holder.reset();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    }

    // Ended by the signal itself, as a shell or a session expects, but only after the game was kept.
    QCOMPARE(m_child.exitStatus(), endedBy == 0 ? QProcess::NormalExit : QProcess::CrashExit);
    QCOMPARE(m_child.exitCode(), endedBy);
    const QString said = QString::fromUtf8(first + m_child.readAllStandardOutput());
    const QStringList spare = QDir(m_data->filePath(QStringLiteral("state/ivok2"))).entryList({QStringLiteral("*.pending")});
    const QByteArray pending = readPendingFile(m_data->filePath(QStringLiteral("ivok2/history.pending")));
    switch (kept) {
    case Kept::History:
        QCOMPARE(checkedOutcomes(), QStringList({QStringLiteral("ok"), QStringLiteral("abandoned")}));
        break;
    case Kept::Pending:
        QCOMPARE(checkedOutcomes(), QStringList{QStringLiteral("ok")});
        QCOMPARE(pending.count('\n'), 1);
        QVERIFY(pending.contains("\"abandoned\""));
        break;
    case Kept::Spare: {
        QVERIFY(!QFileInfo::exists(history));
        QCOMPARE(spare.size(), 1);
        const QByteArray lines = readPendingFile(m_data->filePath(QStringLiteral("state/ivok2/")) + spare[0]);
        QCOMPARE(lines.count('\n'), 1);
        QVERIFY(lines.contains("\"abandoned\""));
        break;
    }
    case Kept::Told:
        QVERIFY2(said.contains(QStringLiteral("told: 1 件のゲームを記録できませんでした")), qPrintable(said));
        QVERIFY(spare.isEmpty());
        // No word left in any folder above the history.
        for (QDir folder(QFileInfo(history).path());; folder.setPath(QFileInfo(folder.absolutePath()).path())) {
            QCOMPARE(folder.entryList({QStringLiteral("ivok2-*.lost")}, QDir::Files | QDir::Hidden), QStringList());
            if (folder.isRoot())
                break;
        }
        break;
    }
}

void TestShutdown::killWhileWritingLosesNoWrittenGame()
{
    m_data.reset();
    QByteArray said = startChild({QStringLiteral("--write-games")});
    QTRY_VERIFY_WITH_TIMEOUT((said += m_child.readAllStandardOutput()).count('\n') > 50, Deadline);
    QCOMPARE(::kill(pid_t(m_child.processId()), SIGKILL), 0);
    QVERIFY(m_child.waitForFinished(Deadline));
    const qsizetype reported = (said + m_child.readAllStandardOutput()).trimmed().split('\n').size();

    const QStringList found = checkedOutcomes();
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first(), QStringLiteral("ok"));
    // The game in hand when it was killed may be in the file without having been reported.
    QVERIFY2(found.size() - 1 == reported || found.size() - 1 == reported + 1,
             qPrintable(QStringLiteral("%1 games in the file, %2 reported").arg(found.size() - 1).arg(reported)));
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--play") == 0)
        return playUntilEnded(argc, argv, argv[2]);
    if (argc >= 2 && qstrcmp(argv[1], "--write-games") == 0)
        return writeGamesUntilKilled(argc, argv);
    QApplication app(argc, argv);
    TestShutdown test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shutdown.moc"
