#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "dialogs/frmOpt.h"
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
#include <QTest>
#include <QTimer>

#include <functional>

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
    void pressStart() { QTest::mouseClick(window.findChild<QPushButton *>("cmdStart"), Qt::LeftButton); }
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
};

void TestTraining::playerTrainsThroughTheWindow()
{
    Window w;
    QCOMPARE(w.title(), QStringLiteral("Ivok２"));
    w.setTraining(true);
    QCOMPARE(w.title(), trainingTitle(5));
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
        QCOMPARE(w.title(), trainingTitle(5));
        w.pressStart();
        QCOMPARE(w.symbols(), 5);
        QTRY_COMPARE(w.title(), trainingTitle(10));
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

QTEST_MAIN(TestTraining)
#include "tst_training.moc"
