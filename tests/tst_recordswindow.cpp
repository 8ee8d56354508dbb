#include "dialogs/frmRecords.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "records/HistoryStore.h"
#include "records/RecordWriter.h"
#include "support/Fakes.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace records;

class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    void everyEndedGameIsOneRecord_data();
    void everyEndedGameIsOneRecord();
    void unwritableHistoryLeavesTheGameAlone();
    void flickeringGameIsTakenInAfterASwitch();
};

void TestRecordsWindow::everyEndedGameIsOneRecord_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("misses");
    QTest::addColumn<int>("outcome"); // -1: no game
    QTest::addColumn<QString>("shown");
    QTest::newRow("hit") << "hit" << 0 << int(Outcome::Hit) << QStringLiteral("正解");
    QTest::newRow("hit after two misses") << "hit" << 2 << int(Outcome::Hit) << QStringLiteral("正解");
    QTest::newRow("give-up") << "give up" << 1 << int(Outcome::GiveUp) << QStringLiteral("ギブアップ");
    QTest::newRow("window closed while playing") << "close" << 0 << int(Outcome::Abandoned) << QString();
    QTest::newRow("start refused: no game") << "refuse" << 0 << -1 << QString();
}

void TestRecordsWindow::everyEndedGameIsOneRecord()
{
    QFETCH(QString, ending);
    QFETCH(int, misses);
    QFETCH(int, outcome);
    QFETCH(QString, shown);
    TestEnvironment env;
    Quiz quiz;
    {
        frmMain window;
        window.setWindowState(Qt::WindowNoState);
        window.show();
        if (ending == QLatin1String("refuse"))
            window.resize(100, 120);
        QTest::qWait(0);
        window.findChild<QAction *>("mnuRecords")->trigger();
        auto *records = window.findChild<frmRecords *>();
        QVERIFY(records && records->isVisible() && !records->isModal());
        QCOMPARE(records->windowTitle(), QStringLiteral("Ivok２の記録"));
        auto *today = records->findChild<QTableWidget *>("grdToday");
        auto *kinds = records->findChild<QTableWidget *>("grdKinds");

        env.clock.steady = 500;
        auto *start = window.findChild<QPushButton *>("cmdStart");
        QTest::mouseClick(start, Qt::LeftButton);
        quiz = window.CurrentQuiz();
        const auto label = [&window](int i) {
            return window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(i));
        };
        for (int miss = 0; miss < misses; ++miss)
            QTest::mouseClick(label(quiz.AnsNo == 0 ? 1 + miss : miss), Qt::LeftButton);
        env.clock.steady = 512.3456;
        if (ending == QLatin1String("hit"))
            QTest::mouseClick(label(quiz.AnsNo), Qt::LeftButton);
        else if (ending == QLatin1String("give up") || ending == QLatin1String("refuse"))
            QTest::mouseClick(start, Qt::LeftButton);
        else
            window.close();

        if (!shown.isEmpty()) {
            QTRY_COMPARE(today->rowCount(), 1);
            QCOMPARE(today->item(0, 1)->text(), shown);
            QCOMPARE(today->item(0, 2)->text(), QStringLiteral("12.35"));
            QCOMPARE(kinds->item(quiz.QuizType, 1)->text(), QStringLiteral("1"));
            QCOMPARE(records->Shown().size(), 1);
        }
    }
    // The main window is gone and with it the writer, which finishes every write first.
    if (outcome < 0) {
        QVERIFY(env.messages.shown.value(0).startsWith(QStringLiteral("画面が小さすぎる")));
        QVERIFY(!QFile::exists(env.historyPath()));
        return;
    }
    HistoryStore store(env.historyPath());
    const StoreRead read = store.read();
    QVERIFY2(read.outcome.done(), qPrintable(read.outcome.text));
    QCOMPARE(read.games.size(), 1);
    const GameRecord &record = read.games.first();
    QCOMPARE(int(record.outcome), outcome);
    QCOMPARE(record.misses, misses);
    QCOMPARE(record.elapsedMs, 12346);
    QCOMPARE(record.started, QStringLiteral("2026-12-07T10:00:00.000+09:00"));
    QCOMPARE(record.startedMs, env.clock.wall.toMSecsSinceEpoch());
    QCOMPARE(int(record.kind), int(quiz.QuizType));
    QCOMPARE(record.items, 20);
    QCOMPARE(record.viewTime, 3.0);
    QCOMPARE(record.blankTime, 0.3);
    QCOMPARE(record.columns, quiz.geometry.ColNum);
    QCOMPARE(record.rows, quiz.geometry.RowNum);
    QCOMPARE(record.answer1Column, quiz.Quiz1[size_t(quiz.AnsNo)].PosX);
    QCOMPARE(record.answer2Row, quiz.Quiz2[size_t(quiz.AnsNo)].PosY);
    QCOMPARE(record.version, QStringLiteral("1.0.0"));
}

void TestRecordsWindow::unwritableHistoryLeavesTheGameAlone()
{
    TestEnvironment env;
    // A data directory below a plain file cannot be made, whoever runs the test.
    const QString blocker = env.directory() + QStringLiteral("/blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + QStringLiteral("/data")));
    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    auto *start = window.findChild<QPushButton *>("cmdStart");
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(start->text(), QStringLiteral("スタート"));
    QCOMPARE(window.findChild<QLabel *>("lblAns")->text(), QStringLiteral("解答表示中"));
    QVERIFY(env.messages.shown.isEmpty());

    window.findChild<QAction *>("mnuRecords")->trigger();
    auto *records = window.findChild<frmRecords *>();
    QTRY_VERIFY(records->statusBar()->currentMessage().contains(QStringLiteral("記録のフォルダーを作れません")));
    QCOMPARE(records->Shown().size(), 0);
}

void TestRecordsWindow::flickeringGameIsTakenInAfterASwitch()
{
    TestEnvironment env;
    RecordWriter writer(env.historyPath());
    frmRecords records(writer);
    QTimer switches;
    switches.setInterval(1000);
    records.PaceBy(&switches);
    records.show();
    GameRecord game;
    game.started = env.clock.wall.toString(Qt::ISODateWithMs);
    game.startedMs = env.clock.wall.toMSecsSinceEpoch();
    game.items = 20;
    game.version = QStringLiteral("1.0.0");

    QSignalSpy recorded(&writer, &RecordWriter::recorded);
    switches.start();
    writer.submit(game);
    writer.flush();
    QCOMPARE(recorded.size(), 1);
    QCoreApplication::processEvents(); // the window has the game now, but waits for the switch
    QVERIFY(switches.remainingTime() > 0);
    QCOMPARE(records.Shown().size(), 0);
    QSignalSpy switched(&switches, &QTimer::timeout);
    QVERIFY(switched.wait());
    QTRY_COMPARE(records.Shown().size(), 1);

    // With the pictures at rest the game shows at once.
    switches.stop();
    writer.submit(game);
    writer.flush();
    QTRY_COMPARE(records.Shown().size(), 2);
}

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
