// The program as a child process (this executable, started with an argument), ended from outside as a
// desktop ends it: by a signal during a game, and by kill -9 while games are being written.

#include "main/Program.h"
#include "main/frmMain.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"

#include <QApplication>
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

namespace {

constexpr int Deadline = 30000; // ms; a loaded machine starts a child slowly

void say(long long line)
{
    std::printf("%lld\n", line);
    std::fflush(stdout);
}

// Child: the real program with a game on its field, and the options dialog open when asked; says 0 then.
int playUntilEnded(int argc, char *argv[], bool dialogOpen)
{
    QApplication app(argc, argv);
    QTimer::singleShot(0, [dialogOpen] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<frmMain *>(widget)) {
                window->cmdStart_Click();
                QTimer::singleShot(0, [] { say(0); }); // inside the dialog's own loop where there is one
                if (dialogOpen)
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

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void aSignalDuringAGameKeepsItAsAbandoned_data();
    void aSignalDuringAGameKeepsItAsAbandoned();
    void killWhileWritingLosesNoWrittenGame();

private:
    // Starts the child on a data directory of its own and returns once it has said a line.
    QByteArray startChild(const QStringList &arguments);
    // The history's integrity check, then the outcome of every game in it.
    QStringList checkedOutcomes();

    std::optional<QTemporaryDir> m_data;
    QProcess m_child;
};

QByteArray TestShutdown::startChild(const QStringList &arguments)
{
    m_data.emplace();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data->path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_data->filePath(QStringLiteral("config")));
    m_child.setProcessEnvironment(environment);
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

void TestShutdown::aSignalDuringAGameKeepsItAsAbandoned_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("dialogOpen");

    QTest::newRow("SIGTERM, the session ends") << int(SIGTERM) << false;
    QTest::newRow("SIGHUP, the terminal goes") << int(SIGHUP) << false;
    QTest::newRow("SIGINT, Ctrl+C") << int(SIGINT) << false;
    QTest::newRow("SIGTERM, options dialog open") << int(SIGTERM) << true;
}

void TestShutdown::aSignalDuringAGameKeepsItAsAbandoned()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, dialogOpen);
    QCOMPARE(startChild({QStringLiteral("--play"), dialogOpen ? QStringLiteral("dialog") : QStringLiteral("field")}), "0\n");

    QCOMPARE(::kill(pid_t(m_child.processId()), signalNumber), 0);
    QVERIFY(m_child.waitForFinished(Deadline));

    // Ended by the signal itself, as a shell or a session expects, but only after the game was kept.
    QCOMPARE(m_child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(m_child.exitCode(), signalNumber);
    QCOMPARE(checkedOutcomes(), QStringList({QStringLiteral("ok"), QStringLiteral("abandoned")}));
}

void TestShutdown::killWhileWritingLosesNoWrittenGame()
{
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
    if (argc >= 2 && qstrcmp(argv[1], "--play") == 0)
        return playUntilEnded(argc, argv, argc >= 3 && qstrcmp(argv[2], "dialog") == 0);
    if (argc >= 2 && qstrcmp(argv[1], "--write-games") == 0)
        return writeGamesUntilKilled(argc, argv);
    QApplication app(argc, argv);
    TestShutdown test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shutdown.moc"
