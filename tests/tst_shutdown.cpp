// The program as a child process, ended from outside the way a desktop ends it: by a signal during a game,
// and by kill -9 while games are being written. The child is this same executable, started with an argument.

#include "main/Program.h"
#include "main/frmMain.h"
#include "records/GameRecord.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

const char PlayArgument[] = "--play";
const char WriteArgument[] = "--write-games";
constexpr int Deadline = 30000; // ms; a loaded machine starts a child slowly

void announce(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Child: the real program with a game running on its field, and with the options dialog open when asked.
int playUntilEnded(int argc, char *argv[], bool dialogOpen)
{
    QApplication app(argc, argv);
    QTimer::singleShot(0, [dialogOpen] {
        frmMain *window = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            window = window ? window : qobject_cast<frmMain *>(widget);
        window->cmdStart_Click();
        if (window->findChild<QPushButton *>(QStringLiteral("cmdStart"))->text() != QStringLiteral("ギブアップ")) {
            announce("no game");
            return;
        }
        if (!dialogOpen) {
            announce("playing");
            return;
        }
        QTimer::singleShot(0, [] { announce("playing"); }); // runs inside the dialog's own loop
        window->mnuOpt_Click();
    });
    return runProgram();
}

// Child: one game after another, each handed over once the one before is in the file; says how many are.
int writeGamesUntilKilled(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    records::RecordWriter writer(records::defaultHistoryPath());
    qint64 written = 0;
    const auto game = [&written] {
        records::GameRecord record;
        record.started = QStringLiteral("2026-12-07T10:00:00+09:00");
        record.version = QStringLiteral("1.0.0");
        record.startedMs = written + 1;
        record.elapsedMs = 1000;
        record.items = 20;
        return record;
    };
    QObject::connect(&writer, &records::RecordWriter::recorded, &app, [&] {
        std::printf("%lld\n", static_cast<long long>(++written));
        std::fflush(stdout);
        writer.submit(game());
    });
    writer.submit(game());
    return app.exec();
}

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void aSignalDuringAGameKeepsItAsAbandoned_data();
    void aSignalDuringAGameKeepsItAsAbandoned();
    void killWhileWritingLosesNoWrittenGame();

private:
    void startChild(const QStringList &arguments);
    QList<QString> outcomes();

    std::unique_ptr<QTemporaryDir> m_data;
    QProcess m_child;
};

void TestShutdown::init()
{
    m_data = std::make_unique<QTemporaryDir>();
}

void TestShutdown::startChild(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data->path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_data->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_child.setProcessEnvironment(environment);
    m_child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_child.start(QCoreApplication::applicationFilePath(), arguments);
    QVERIFY(m_child.waitForStarted(Deadline));
}

// The outcome of every game in the child's history, after the file's integrity check.
QList<QString> TestShutdown::outcomes()
{
    const QString path = m_data->filePath(QStringLiteral("ivok2/history.sqlite"));
    if (!QFileInfo::exists(path))
        return {QStringLiteral("no history")};
    QList<QString> result;
    const QString connection = QStringLiteral("check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("PRAGMA integrity_check")))
            result << QStringLiteral("cannot read: ") + db.lastError().text();
        while (query.next())
            result << query.value(0).toString();
        query.exec(QStringLiteral("SELECT outcome FROM games ORDER BY started_ms"));
        while (query.next())
            result << query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(connection);
    return result;
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
    startChild({QString::fromLatin1(PlayArgument), dialogOpen ? QStringLiteral("dialog") : QStringLiteral("field")});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += m_child.readAllStandardOutput()).contains('\n'), Deadline);
    QCOMPARE(said, QByteArray("playing\n"));

    QCOMPARE(::kill(pid_t(m_child.processId()), signalNumber), 0);
    QVERIFY(m_child.waitForFinished(Deadline));

    // Ended by the signal itself, as a shell or a session expects, but only after the game was kept.
    QCOMPARE(m_child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(m_child.exitCode(), signalNumber);
    QCOMPARE(outcomes(), QList<QString>({QStringLiteral("ok"), records::outcomeName(records::Outcome::Abandoned)}));
}

void TestShutdown::killWhileWritingLosesNoWrittenGame()
{
    startChild({QString::fromLatin1(WriteArgument)});
    // Killed at some moment in the middle of a write: the games it reported written before are all there.
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += m_child.readAllStandardOutput()).count('\n') > 50, Deadline);
    QCOMPARE(::kill(pid_t(m_child.processId()), SIGKILL), 0);
    QVERIFY(m_child.waitForFinished(Deadline));
    said += m_child.readAllStandardOutput();
    const QList<QByteArray> lines = said.trimmed().split('\n');
    const qsizetype reported = lines.last().toLongLong();
    QCOMPARE(reported, lines.size());

    const QList<QString> found = outcomes();
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first(), QStringLiteral("ok"));
    // One more than reported may have been committed as it was killed, before it could say so.
    QVERIFY2(found.size() - 1 >= reported && found.size() - 1 <= reported + 1,
             qPrintable(QStringLiteral("%1 games in the file, %2 reported").arg(found.size() - 1).arg(reported)));
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], PlayArgument) == 0)
        return playUntilEnded(argc, argv, qstrcmp(argv[2], "dialog") == 0);
    if (argc >= 2 && qstrcmp(argv[1], WriteArgument) == 0)
        return writeGamesUntilKilled(argc, argv);
    QApplication app(argc, argv);
    TestShutdown test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shutdown.moc"
