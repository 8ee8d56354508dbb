#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "dialogs/frmOpt.h"
#include "dialogs/frmRecords.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "records/HistoryStore.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <climits>
#include <functional>
#include <optional>

using records::GameRecord;
using records::Mode;
using records::Outcome;

namespace {

QString trainingTitle(int level)
{
    return QStringLiteral("Ivok２ トレーニング %1 個").arg(level);
}

// Where the switch is kept: beside the settings file.
QString switchFile()
{
    return QFileInfo(SettingsFilePath()).dir().filePath(QStringLiteral("ivok2.conf"));
}

GameRecord trainingGame(int level, Outcome outcome)
{
    GameRecord game;
    game.started = QStringLiteral("2026-12-07T10:00:00.000+09:00");
    game.version = QStringLiteral("1.0.0");
    game.mode = Mode::Training;
    game.level = level;
    game.items = level;
    game.outcome = outcome;
    game.elapsedMs = 4000;
    return game;
}

// A history whose training stands at level: one give-up a level above it (a give-up at the highest level, for
// the highest).
void historyAt(const QString &path, int level, qint64 startedMs = 0)
{
    records::HistoryStore store(path);
    GameRecord game = trainingGame(level == 100 ? 100 : level + 5, Outcome::GiveUp);
    if (level == 100) {
        game.outcome = Outcome::Hit;
        game.level = 100;
    }
    game.startedMs = startedMs;
    QVERIFY(store.append({game}).done());
}

// A connection of the test's own, as another program or a newer version of the game holds one.
class Sql
{
public:
    explicit Sql(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
        db.setDatabaseName(path);
        db.open();
    }
    ~Sql() { QSqlDatabase::removeDatabase(QStringLiteral("other program")); }
    bool exec(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("other program"), false));
        return query.exec(statement);
    }
};

void newerHistory(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    Sql future(path);
    QVERIFY(future.exec(QStringLiteral("CREATE TABLE games (id INTEGER PRIMARY KEY, shape BLOB)")));
    QVERIFY(future.exec(QStringLiteral("PRAGMA user_version = 99")));
}

// The main window, played as the player plays it: mouse clicks and the menu. prepare runs before it starts.
class Window
{
public:
    explicit Window(const std::function<void(TestEnvironment &)> &prepare = {})
        : ready((prepare ? prepare(env) : void(), true))
    {
        window.setWindowState(Qt::WindowNoState);
        window.show();
    }

    QString title() const { return window.windowTitle(); }
    int symbols() const { return window.CurrentQuiz().itemCount(); }
    QPushButton *start() const { return window.findChild<QPushButton *>("cmdStart"); }
    void pressStart() { QTest::mouseClick(start(), Qt::LeftButton); }
    void hitAfter(double seconds)
    {
        env.clock.steady += seconds;
        const QString answer = QStringLiteral("lblKey(%1)").arg(window.CurrentQuiz().AnsNo);
        QTest::mouseClick(window.findChild<ClickLabel *>(answer), Qt::LeftButton);
    }
    // 設定 from the menu: the training box clicked into the state wanted, then 変更.
    void setTraining(bool on)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<frmOpt *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            auto *box = dialog->findChild<QCheckBox *>("chkAuto");
            if (box->isChecked() != on)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
            dialog->findChild<QPushButton *>("cmdOk")->click();
        });
        poll.start(10);
        window.findChild<QAction *>("mnuOpt")->trigger();
    }
    QList<GameRecord> games()
    {
        if (!QFile::exists(env.historyPath()))
            return {};
        return records::HistoryStore(env.historyPath()).read().games;
    }

    TestEnvironment env;
    bool ready;
    frmMain window;
};

} // namespace

class TestTraining : public QObject
{
    Q_OBJECT

private slots:
    void playerTrainsThroughTheWindow();
    void levelComesBackFromTheHistory_data();
    void levelComesBackFromTheHistory();
    void switchIsKeptOnlyOnConfirmation_data();
    void switchIsKeptOnlyOnConfirmation();
    void startWaitsForTheHistorysLevel_data();
    void startWaitsForTheHistorysLevel();
    void ownGamesStepTheLevelWhileTheHistoryCannotTakeThem_data();
    void ownGamesStepTheLevelWhileTheHistoryCannotTakeThem();
    void anotherCopysGamesMoveTheLevel_data();
    void anotherCopysGamesMoveTheLevel();
    void levelAtItsEdges_data();
    void levelAtItsEdges();
};

void TestTraining::playerTrainsThroughTheWindow()
{
    Window w;
    QCOMPARE(w.title(), QStringLiteral("Ivok２"));
    w.setTraining(true);
    QTRY_COMPARE(w.title(), trainingTitle(5));
    // The switch leaves the 68-byte record as an unchanged confirmation writes it.
    QCOMPARE(readFile(SettingsFilePath()).toHex(' '), DefaultSettingsImage.toHex(' '));
    QVERIFY(LoadTrainingMode(switchFile()));

    w.pressStart();
    QCOMPARE(w.symbols(), 5);
    w.hitAfter(3);
    w.pressStart();
    QCOMPARE(w.symbols(), 5);
    w.hitAfter(14.9);
    QTRY_COMPARE(w.title(), trainingTitle(10));
    w.pressStart();
    QCOMPARE(w.symbols(), 10);
    w.hitAfter(15.1);
    QTRY_COMPARE(w.title(), trainingTitle(5));

    w.setTraining(false);
    QCOMPARE(w.title(), QStringLiteral("Ivok２"));
    w.pressStart();
    QCOMPARE(w.symbols(), 20);
    w.pressStart(); // gives up
    QTRY_COMPARE(w.games().size(), 4);
    const QList<GameRecord> games = w.games();
    const QList<std::pair<Mode, int>> expected{
        {Mode::Training, 5}, {Mode::Training, 5}, {Mode::Training, 10}, {Mode::Free, 0}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(std::pair(games[i].mode, games[i].level), expected[i]);
        QCOMPARE(games[i].items, i == 3 ? 20 : expected[i].second);
    }
}

void TestTraining::levelComesBackFromTheHistory_data()
{
    QTest::addColumn<bool>("startAtOnce");
    QTest::newRow("start before the history answers") << true;
    QTest::newRow("start after") << false;
}

void TestTraining::levelComesBackFromTheHistory()
{
    QFETCH(bool, startAtOnce);
    // An earlier run: up to 10, one success there, then a free game.
    Window w([](TestEnvironment &env) {
        GameRecord free = trainingGame(0, Outcome::GiveUp);
        free.mode = Mode::Free;
        records::HistoryStore store(env.historyPath());
        QVERIFY(store.open().done());
        QVERIFY(store.append(
            {trainingGame(5, Outcome::Hit), trainingGame(5, Outcome::Hit), trainingGame(10, Outcome::Hit), free}).done());
        QVERIFY(SaveTrainingMode(switchFile(), true));
    });
    if (startAtOnce) {
        // The history is read on the writer's thread: the window neither waits for it nor guesses.
        w.pressStart();
        QTRY_COMPARE(w.symbols(), 10);
        QCOMPARE(w.title(), trainingTitle(10));
        return;
    }
    QTRY_COMPARE(w.title(), trainingTitle(10));
    w.pressStart();
    QCOMPARE(w.symbols(), 10);
    w.hitAfter(2);
    QTRY_COMPARE(w.title(), trainingTitle(15));
}

void TestTraining::switchIsKeptOnlyOnConfirmation_data()
{
    QTest::addColumn<bool>("wasOn");
    QTest::addColumn<bool>("blocked"); // a directory where the file goes
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("file"); // what the file holds afterwards

    QTest::newRow("turned on") << false << false << true << true << true << "on";
    QTest::newRow("turned on, cancelled") << false << false << true << false << false << "none";
    QTest::newRow("never on: no file") << false << false << false << true << false << "none";
    QTest::newRow("turned off") << true << false << false << true << false << "off";
    QTest::newRow("file cannot be written") << false << true << true << true << true << "none";
}

void TestTraining::switchIsKeptOnlyOnConfirmation()
{
    QFETCH(bool, wasOn);
    QFETCH(bool, blocked);
    QFETCH(bool, checked);
    QFETCH(bool, confirm);
    QFETCH(bool, on);
    QFETCH(QString, file);
    TestEnvironment env;
    SetOptDefaults(OptRec);
    InitList();
    if (wasOn)
        QVERIFY(SaveTrainingMode(switchFile(), true));
    if (blocked)
        QVERIFY(QDir(env.directory()).mkdir(QStringLiteral("ivok2.conf")));
    TrainingMode = wasOn;
    {
        frmOpt dialog;
        auto *box = dialog.findChild<QCheckBox *>("chkAuto");
        QCOMPARE(box->isChecked(), wasOn);
        box->setChecked(checked);
        dialog.findChild<QPushButton *>(confirm ? "cmdOk" : "cmdCancel")->click();
    }
    QCOMPARE(TrainingMode, on);
    const QStringList message{QStringLiteral("設定ファイルを保存できませんでした。\n")
                              + QDir::toNativeSeparators(switchFile())};
    QCOMPARE(env.messages.shown, blocked ? message : QStringList{});
    const bool exists = QFileInfo(switchFile()).isFile();
    QCOMPARE(exists ? (LoadTrainingMode(switchFile()) ? "on" : "off") : "none", file);
}

void TestTraining::startWaitsForTheHistorysLevel_data()
{
    QTest::addColumn<bool>("ticked"); // training turned on in 設定 just before, rather than at the last run
    QTest::addColumn<bool>("enter");  // Enter on the button instead of a click
    QTest::addColumn<bool>("newer");  // a history this version cannot read
    QTest::addColumn<int>("symbols");
    QTest::addColumn<QString>("note"); // after the level in the title

    QTest::newRow("start-up") << false << false << false << 50 << "";
    QTest::newRow("start-up, Enter") << false << true << false << 50 << "";
    QTest::newRow("just after ticking the box") << true << false << false << 50 << "";
    QTest::newRow("history of a newer version")
        << false << false << true << 5 << "（新しい版の記録は読めないため、今回のゲームから）";
}

void TestTraining::startWaitsForTheHistorysLevel()
{
    QFETCH(bool, ticked);
    QFETCH(bool, enter);
    QFETCH(bool, newer);
    QFETCH(int, symbols);
    QFETCH(QString, note);
    Window w([&](TestEnvironment &env) {
        if (newer)
            newerHistory(env.historyPath());
        else
            historyAt(env.historyPath(), 50);
        QVERIFY(SaveTrainingMode(switchFile(), !ticked));
    });
    if (ticked)
        w.setTraining(true);
    // Pressed before the window has taken the history's answer: the game waits for it, and the button says so.
    if (enter)
        QTest::keyClick(w.start(), Qt::Key_Enter);
    else
        w.pressStart();
    QCOMPARE(w.symbols(), 0);
    QCOMPARE(w.start()->text(), QStringLiteral("準備中…"));
    QTRY_COMPARE(w.symbols(), symbols);
    QCOMPARE(w.start()->text(), QStringLiteral("ギブアップ"));
    QCOMPARE(w.title(), trainingTitle(symbols) + note);
}

void TestTraining::ownGamesStepTheLevelWhileTheHistoryCannotTakeThem_data()
{
    QTest::addColumn<bool>("newer"); // a history of a newer version rather than one another program holds
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("note");

    QTest::newRow("another program holds it") << false << 50 << "";
    QTest::newRow("a newer version's") << true << 5 << "（新しい版の記録は読めないため、今回のゲームから）";
}

void TestTraining::ownGamesStepTheLevelWhileTheHistoryCannotTakeThem()
{
    QFETCH(bool, newer);
    QFETCH(int, level);
    QFETCH(QString, note);
    Window w([&](TestEnvironment &env) {
        if (newer)
            newerHistory(env.historyPath());
        else
            historyAt(env.historyPath(), level);
        QVERIFY(SaveTrainingMode(switchFile(), true));
    });
    QTRY_COMPARE(w.title(), trainingTitle(level) + note);
    std::optional<Sql> holder;
    if (!newer) {
        holder.emplace(w.env.historyPath());
        QVERIFY(holder->exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    w.pressStart();
    QCOMPARE(w.symbols(), level);
    w.hitAfter(2);
    w.pressStart();
    w.hitAfter(2);
    // At once, not when the games are written.
    QCOMPARE(w.title(), trainingTitle(level + 5) + note);
    w.pressStart();
    QCOMPARE(w.symbols(), level + 5);
    w.hitAfter(2); // the first success in a row there

    // Read again, the games still waiting: they count where they were played, the success in a row as well.
    w.setTraining(false);
    w.setTraining(true);
    w.pressStart();
    QTRY_COMPARE(w.start()->text(), QStringLiteral("ギブアップ"));
    QCOMPARE(w.symbols(), level + 5);
    QCOMPARE(w.title(), trainingTitle(level + 5) + note);
    w.hitAfter(2);
    QCOMPARE(w.title(), trainingTitle(level + 10) + note);
}

void TestTraining::anotherCopysGamesMoveTheLevel_data()
{
    QTest::addColumn<bool>("recordsShown"); // the records window was opened and closed before

    QTest::newRow("records window never shown") << false;
    QTest::newRow("records window shown and closed") << true;
}

void TestTraining::anotherCopysGamesMoveTheLevel()
{
    QFETCH(bool, recordsShown);
    Window w([&](TestEnvironment &env) {
        historyAt(env.historyPath(), 30);
        QVERIFY(SaveTrainingMode(switchFile(), true));
    });
    QTRY_COMPARE(w.title(), trainingTitle(30));
    if (recordsShown) {
        w.window.findChild<QAction *>("mnuRecords")->trigger();
        auto *records = w.window.findChild<frmRecords *>();
        QVERIFY(records);
        records->close();
    }
    // Another copy gives up at 45, a minute after this one's games.
    historyAt(w.env.historyPath(), 40, w.env.clock.wall.toMSecsSinceEpoch() + 60000);
    QTRY_COMPARE_WITH_TIMEOUT(w.title(), trainingTitle(40), 10000);
    w.pressStart();
    QCOMPARE(w.symbols(), 40);
}

void TestTraining::levelAtItsEdges_data()
{
    QTest::addColumn<int>("level");       // of a quick hit in the history, as edited there
    QTest::addColumn<int>("fieldHeight"); // of the window's client area in pixels; 0 leaves it as it is
    QTest::addColumn<int>("symbols");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("afterGiveUp");

    QTest::newRow("the largest number") << INT_MAX << 0 << 100 << "" << 95;
    // Three rows of 21 cells.
    QTest::newRow("100, the window holds fewer") << 100 << 158 << 60 << "（この画面では 60 個まで）" << 55;
}

void TestTraining::levelAtItsEdges()
{
    QFETCH(int, level);
    QFETCH(int, fieldHeight);
    QFETCH(int, symbols);
    QFETCH(QString, note);
    QFETCH(int, afterGiveUp);
    Window w([&](TestEnvironment &env) {
        records::HistoryStore store(env.historyPath());
        QVERIFY(store.append({trainingGame(level, Outcome::Hit)}).done());
        QVERIFY(SaveTrainingMode(switchFile(), true));
    });
    if (fieldHeight > 0) {
        auto *client = w.window.findChild<QWidget *>("client");
        w.window.resize(w.window.width(), w.window.height() - client->height() + fieldHeight);
        QTRY_COMPARE(client->height(), fieldHeight);
    }
    QTRY_COMPARE(w.title(), trainingTitle(100) + note);
    w.pressStart();
    QCOMPARE(w.symbols(), symbols);
    w.pressStart(); // gives up
    QTRY_COMPARE(w.title(), trainingTitle(afterGiveUp));
    QTRY_COMPARE(w.games().size(), 2);
    QCOMPARE(w.games().last().level, symbols);
}

QTEST_MAIN(TestTraining)
#include "tst_training.moc"
