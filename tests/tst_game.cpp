#include "core/mdlUser.h"
#include "main/FlickerCycle.h"
#include "main/frmMain.h"
#include "platform/FrameTicker.h"
#include "platform/ClickLabel.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Twips.h"
#include "records/HistoryStore.h"
#include "support/Fakes.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace {

const QColor Mark(255, 192, 192);

QColor blankColor()
{
    return platform::toQColor(platform::ButtonFace);
}

// A main window with a client area of a known size, shown offscreen.
class Game
{
public:
    explicit Game(QSize client = QSize(573, 327))
    {
        window.setWindowState(Qt::WindowNoState);
        window.show();
        resizeClient(client);
    }

    void resizeClient(QSize client)
    {
        QWidget *central = window.centralWidget();
        window.resize(client + window.size() - central->size());
        QTRY_COMPARE(central->size(), client);
    }

    ClickLabel *cell(int i) { return window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(i)); }
    QString caption() { return window.findChild<QPushButton *>("cmdStart")->text(); }
    QString status() { return window.findChild<QLabel *>("lblAns")->text(); }
    QString score(int i) { return window.findChild<QLabel *>(QStringLiteral("lblSc(%1)").arg(i))->text(); }
    QTimer *picture() { return window.findChild<QTimer *>("timMain"); }
    QTimer *watch() { return window.findChild<QTimer *>("timWatch"); }
    const Quiz &quiz() const { return window.CurrentQuiz(); }
    int answer() const { return window.CurrentQuiz().AnsNo; }

    QPoint cellOf(const QuizItem &item) const
    {
        const QuizGeometry &g = quiz().geometry;
        return QPoint(platform::toPixels(g.FieldLeft + item.PosX * g.KeyWidth),
                      platform::toPixels(g.FieldTop + item.PosY * g.KeyHeight));
    }

    void click(int i) { QTest::mouseClick(cell(i), Qt::LeftButton); }
    int someMiss() const { return answer() == 0 ? 1 : 0; }

    // Checks that every label of the quiz shows the given picture.
    void expectPicture(const std::vector<QuizItem> &items)
    {
        for (int i = 0; i < int(items.size()); ++i) {
            const QuizItem &item = items[size_t(i)];
            QVERIFY(cell(i)->isVisible());
            QCOMPARE(cell(i)->pos(), cellOf(item));
            QCOMPARE(cell(i)->text(), KigouList[item.KigouNo]);
            QCOMPARE(cell(i)->foreColor(), platform::toQColor(quint32(ColorList[item.ColorNo])));
        }
    }

    void expectBlank()
    {
        for (int i = 0; i < frmMain::KeyCount; ++i) {
            QVERIFY(cell(i)->text().isEmpty());
            QCOMPARE(cell(i)->backColor(), blankColor());
        }
    }

    TestEnvironment env;
    frmMain window;
};

// Counts the refreshes a window is given, and says so before the window handles each.
class RefreshCounter : public QObject
{
    Q_OBJECT

public:
    explicit RefreshCounter(QWindow *window) { window->installEventFilter(this); }
    int count = 0;

signals:
    void refreshed();

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::UpdateRequest) {
            ++count;
            emit refreshed();
        }
        return false;
    }
};

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    PaintCounter(QWidget *widget, int *paints)
        : m_paints(paints)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++*m_paints;
        return false;
    }

private:
    int *m_paints;
};

void enableOnly(int kind)
{
    OptRec.Koumoku = {0, 0, 0, 0, 0, 0};
    OptRec.Koumoku[kind] = True16;
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void wholeGameEndsWithAHit();
    void clicksThatDoNotCount_data();
    void clicksThatDoNotCount();
    void givingUpMarksTheAnswerOnPicturesOnly();
    void everyStartBeginsWithPictureOne_data();
    void everyStartBeginsWithPictureOne();
    void intervalsFollowTheSettingsAtEverySwitch();
    void eachKindShowsItsChange_data();
    void eachKindShowsItsChange();
    void blankingClearsAllHundredLabels();
    void leftoverLabelsNeverCoverTheQuiz();
    void blankFieldShowsNothingOfTheQuiz();
    void scoreBoard_data();
    void scoreBoard();
    void stopwatch_data();
    void stopwatch();
    void tooSmallWindowRefusesTheStart();
    void boxedInMoveWarnsOnceAndStartsAnyway();
    void realCycleRunsInOrder();
    void lateSwitchKeepsTheSchedule_data();
    void lateSwitchKeepsTheSchedule();
    void framesSwitchOnTheirRefresh();
    void windowPaintsOnTicksWhileFramesRun();
    void timerLeavesScreensUnjudged();
    void tickerHandlesTheCompositorsReports_data();
    void tickerHandlesTheCompositorsReports();
    void tickerRestsWhereTheDisplayCounts();
    void keysPressTheFocusedStartButton_data();
    void keysPressTheFocusedStartButton();
    void playerDrivesTheRealWiring();
};

void TestGame::wholeGameEndsWithAHit()
{
    Game game;
    game.env.clock.steady = 1000.0;
    game.window.cmdStart_Click();
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
    QVERIFY(game.status().isEmpty());
    QVERIFY(game.picture()->isActive());
    QCOMPARE(game.picture()->interval(), 3000);
    QVERIFY(game.watch()->isActive());
    QCOMPARE(game.window.ViewMode(), qint16(0));
    QCOMPARE(game.quiz().itemCount(), 20);

    game.window.timMain_Timer();
    game.window.timMain_Timer();

    game.env.clock.steady = 1012.4;
    game.click(game.answer());
    QVERIFY(!game.picture()->isActive());
    QVERIFY(!game.watch()->isActive());
    QCOMPARE(game.window.AnsView(), qint16(-1));
    QCOMPARE(game.env.messages.shown, QStringList{QStringLiteral("正解")});
    QCOMPARE(game.caption(), QStringLiteral("スタート"));
    QCOMPARE(game.score(0), QStringLiteral("12"));
    QCOMPARE(game.window.ViewMode(), qint16(2));
    game.expectPicture(game.quiz().Quiz2);
}

void TestGame::clicksThatDoNotCount_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("miss while running") << "running";
    QTest::newRow("answer after a hit") << "solved";
    QTest::newRow("answer after giving up") << "given up";
    QTest::newRow("answer before any game") << "no game";
}

void TestGame::clicksThatDoNotCount()
{
    QFETCH(QString, when);
    Game game;
    if (when == "no game") {
        game.window.lblKey_Click(0);
        QVERIFY(game.env.messages.shown.isEmpty());
        QCOMPARE(SCList[0], -1.0);
        return;
    }
    game.window.cmdStart_Click();
    int target = game.answer();
    if (when == "running")
        target = game.someMiss();
    else if (when == "solved")
        game.click(game.answer());
    else
        game.window.cmdStart_Click();

    const QStringList messagesBefore = game.env.messages.shown;
    const std::array<double, 6> scoresBefore = SCList;
    const bool pictureRunning = game.picture()->isActive();
    const bool watchRunning = game.watch()->isActive();
    const QString captionBefore = game.caption();
    game.click(target);
    QCOMPARE(game.env.messages.shown, messagesBefore);
    QCOMPARE(SCList, scoresBefore);
    QCOMPARE(game.picture()->isActive(), pictureRunning);
    QCOMPARE(game.watch()->isActive(), watchRunning);
    QCOMPARE(game.caption(), captionBefore);
}

void TestGame::givingUpMarksTheAnswerOnPicturesOnly()
{
    Game game;
    game.window.cmdStart_Click();
    game.env.clock.steady = 3.0;
    game.window.timWatch_Timer();
    QCOMPARE(game.status(), QStringLiteral("3 秒"));

    game.window.cmdStart_Click();
    QCOMPARE(game.caption(), QStringLiteral("スタート"));
    QCOMPARE(game.status(), QStringLiteral("解答表示中"));
    QCOMPARE(game.score(0), QStringLiteral("---"));
    QVERIFY(game.picture()->isActive());
    QVERIFY(!game.watch()->isActive());
    QCOMPARE(game.cell(game.answer())->backColor(), blankColor()); // marked from the next picture on

    const int answer = game.answer();
    const qint16 phases[] = {1, 2, 3, 0, 1};
    for (qint16 phase : phases) {
        game.window.timMain_Timer();
        QCOMPARE(game.window.ViewMode(), phase);
        if (phase % 2)
            game.expectBlank();
        else
            QCOMPARE(game.cell(answer)->backColor(), Mark);
        for (int i = 0; i < game.quiz().itemCount(); ++i)
            if (i != answer)
                QCOMPARE(game.cell(i)->backColor(), blankColor());
    }
    QCOMPARE(game.status(), QStringLiteral("解答表示中"));
}

void TestGame::everyStartBeginsWithPictureOne_data()
{
    QTest::addColumn<bool>("giveUp");
    QTest::addColumn<int>("ticks");
    QTest::newRow("after a give-up, during picture 2") << true << 2;
    QTest::newRow("after a give-up, during a blank") << true << 3;
    QTest::newRow("after a hit, during picture 2") << false << 2;
    QTest::newRow("after a hit, during a blank") << false << 1;
}

void TestGame::everyStartBeginsWithPictureOne()
{
    QFETCH(bool, giveUp);
    QFETCH(int, ticks);
    Game game;
    game.window.cmdStart_Click();
    if (giveUp)
        game.window.cmdStart_Click();
    for (int i = 0; i < ticks; ++i)
        game.window.timMain_Timer();
    if (!giveUp)
        game.click(game.answer());

    game.window.cmdStart_Click();
    QCOMPARE(game.window.ViewMode(), qint16(0));
    QCOMPARE(game.window.AnsView(), qint16(0));
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
    QVERIFY(game.status().isEmpty());
    QCOMPARE(game.picture()->interval(), 3000);
    game.expectPicture(game.quiz().Quiz1);
    for (int i = 0; i < frmMain::KeyCount; ++i)
        QCOMPARE(game.cell(i)->backColor(), blankColor());
    game.window.timMain_Timer();
    game.expectBlank();
}

void TestGame::intervalsFollowTheSettingsAtEverySwitch()
{
    Game game;
    game.window.cmdStart_Click();
    QList<int> intervals;
    for (int i = 0; i < 4; ++i) {
        game.window.timMain_Timer();
        intervals << game.picture()->interval();
    }
    QCOMPARE(intervals, (QList<int>{300, 3000, 300, 3000}));

    OptRec.BlankTime = 1.0;
    OptRec.ViewTime = 0.1;
    game.window.timMain_Timer();
    QCOMPARE(game.picture()->interval(), 1000);
    game.window.timMain_Timer();
    QCOMPARE(game.picture()->interval(), 100);

    OptRec.ViewTime = std::numeric_limits<double>::quiet_NaN(); // a damaged file must not stop the cycle
    game.window.timMain_Timer();
    game.window.timMain_Timer();
    QCOMPARE(game.picture()->interval(), 3000);
    QVERIFY(game.picture()->isActive());
}

void TestGame::eachKindShowsItsChange_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("otherNumber"); // any picture number but 1 draws picture 2
    QTest::newRow("colour") << int(KindColor) << 0;
    QTest::newRow("other symbol") << int(KindOtherSymbol) << 3;
    QTest::newRow("look-alike") << int(KindSimilarSymbol) << -1;
    QTest::newRow("vanished, still clickable") << int(KindVanish) << 2;
    QTest::newRow("moved") << int(KindMove) << 2;
}

void TestGame::eachKindShowsItsChange()
{
    QFETCH(int, kind);
    QFETCH(int, otherNumber);
    Game game;
    enableOnly(kind);
    game.window.cmdStart_Click();
    QCOMPARE(game.quiz().QuizType, qint16(kind));
    // Picture 1, blank, picture 2, blank, picture 1: every label, the answer's too, follows.
    for (int phase = 0; phase < 5; ++phase) {
        if (phase)
            game.window.timMain_Timer();
        if (phase % 2)
            game.expectBlank();
        else
            game.expectPicture(phase == 2 ? game.quiz().Quiz2 : game.quiz().Quiz1);
    }
    game.window.ClsView();
    game.window.ViewQuiz(otherNumber);
    game.expectPicture(game.quiz().Quiz2);
    game.click(game.answer());
    QCOMPARE(game.env.messages.shown, QStringList{QStringLiteral("正解")});
}

void TestGame::blankingClearsAllHundredLabels()
{
    Game game;
    OptRec.KigouNum = 100;
    game.window.cmdStart_Click();
    game.window.cmdStart_Click();
    game.window.timMain_Timer(); // answer marked on picture 2
    game.window.timMain_Timer();
    OptRec.KigouNum = 5;
    game.window.cmdStart_Click();
    QCOMPARE(game.quiz().itemCount(), 5);
    for (int i = 5; i < frmMain::KeyCount; ++i) {
        QVERIFY(game.cell(i)->isVisible());
        QVERIFY(game.cell(i)->text().isEmpty());
        QCOMPARE(game.cell(i)->backColor(), blankColor());
    }
    game.window.ClsView();
    game.expectBlank();
}

// A full 10 x 10 grid, then a small quiz on it: every cell of the new quiz holds a leftover label.
void TestGame::leftoverLabelsNeverCoverTheQuiz()
{
    Game game(QSize(280, 330));
    OptRec.KigouNum = 100;
    game.window.cmdStart_Click();
    QCOMPARE(game.quiz().geometry.ColNum * game.quiz().geometry.RowNum, 100);
    game.window.cmdStart_Click();
    OptRec.KigouNum = 20;
    game.window.cmdStart_Click();

    const QImage field = game.window.centralWidget()->grab().toImage();
    for (int i = 0; i < game.quiz().itemCount(); ++i) {
        ClickLabel *label = game.cell(i);
        // Below its top row, which the header line may cross, the field shows the label itself.
        const QRect body = label->rect().adjusted(0, 1, 0, 0);
        QCOMPARE(field.copy(body.translated(label->pos())), label->grab().toImage().copy(body));
        if (i == game.answer())
            continue;
        QSignalSpy clicked(label, &ClickLabel::clicked);
        QTest::mouseClick(game.window.windowHandle(), Qt::LeftButton, {},
                          label->mapTo(&game.window, label->rect().center()));
        QCOMPARE(clicked.size(), 1);
    }
    ClickLabel *answer = game.cell(game.answer());
    QTest::mouseClick(game.window.windowHandle(), Qt::LeftButton, {},
                      answer->mapTo(&game.window, answer->rect().center()));
    QCOMPARE(game.env.messages.shown, QStringList{QStringLiteral("正解")});
}

// Below the header controls, a blank looks exactly like the field before any game.
void TestGame::blankFieldShowsNothingOfTheQuiz()
{
    Game game;
    OptRec.KigouNum = 100;
    QWidget *client = game.window.centralWidget();
    const int headerBottom = game.window.findChild<QPushButton *>("cmdStart")->geometry().bottom() + 1;
    const QRect field(0, headerBottom, client->width(), client->height() - headerBottom);
    const QImage untouched = client->grab(field).toImage();
    for (int quiz = 0; quiz < 2; ++quiz) {
        game.window.cmdStart_Click();
        for (int phase = 1; phase <= 3; ++phase) {
            game.window.timMain_Timer();
            if (phase != 2)
                QCOMPARE(client->grab(field).toImage(), untouched);
        }
        game.window.cmdStart_Click(); // give up: the next blank must not show the answer either
        game.window.timMain_Timer();
        game.window.timMain_Timer();
        QCOMPARE(game.window.ViewMode(), qint16(1));
        QCOMPARE(client->grab(field).toImage(), untouched);
    }
}

void TestGame::scoreBoard_data()
{
    QTest::addColumn<QList<float>>("results");
    QTest::addColumn<QStringList>("board");
    QTest::newRow("under a second") << QList<float>{0.4f} << QStringList{"0", "---", "---", "---", "---"};
    QTest::newRow("zero and negative") << QList<float>{0.0f, -3.0f} << QStringList{"---", "---", "---", "---", "---"};
    QTest::newRow("give-up between") << QList<float>{5.9f, -1.0f, 7.0f} << QStringList{"7", "---", "5", "---", "---"};
    QTest::newRow("sixth pushes the oldest out")
        << QList<float>{1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f} << QStringList{"6", "5", "4", "3", "2"};
}

void TestGame::scoreBoard()
{
    QFETCH(QList<float>, results);
    QFETCH(QStringList, board);
    Game game;
    for (float result : results)
        game.window.ViewSC(result);
    QStringList shown;
    for (int i = 0; i < 5; ++i)
        shown << game.score(i);
    QCOMPARE(shown, board);
}

void TestGame::stopwatch_data()
{
    // Wall-clock readings (seconds since midnight) at the start, the tick and the hit, and the
    // seconds that really passed by then: only the latter may count.
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("now");
    QTest::addColumn<double>("passed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("hitAt");
    QTest::addColumn<double>("passedAtHit");
    QTest::addColumn<QString>("score");
    QTest::newRow("first second") << 100.0 << 101.0 << 1.0 << "1 秒" << 101.9 << 1.9 << "1";
    QTest::newRow("rounded down") << 100.0 << 159.99 << 59.99 << "59 秒" << 160.0 << 60.0 << "60";
    QTest::newRow("across midnight") << 86399.5 << 10.25 << 10.75 << "10 秒" << 25.0 << 25.5 << "25";
    QTest::newRow("hit across midnight") << 86390.0 << 86399.0 << 9.0 << "9 秒" << 25.0 << 35.0 << "35";
    QTest::newRow("clock set back an hour") << 10000.0 << 6405.0 << 5.0 << "5 秒" << 6412.3 << 12.3 << "12";
    QTest::newRow("clock set forward an hour") << 10000.0 << 13605.0 << 5.0 << "5 秒" << 13612.3 << 12.3 << "12";
}

void TestGame::stopwatch()
{
    QFETCH(double, start);
    QFETCH(double, now);
    QFETCH(double, passed);
    QFETCH(double, hitAt);
    QFETCH(double, passedAtHit);
    constexpr double SteadyAtStart = 7777.0; // the steady clock's origin is arbitrary
    Game game;
    game.env.clock.now = start;
    game.env.clock.steady = SteadyAtStart;
    game.window.cmdStart_Click();
    QVERIFY(game.status().isEmpty());
    game.env.clock.now = now;
    game.env.clock.steady = SteadyAtStart + passed;
    game.window.timWatch_Timer();
    QTEST(game.status(), "text");
    game.env.clock.now = hitAt;
    game.env.clock.steady = SteadyAtStart + passedAtHit;
    game.click(game.answer());
    QTEST(game.score(0), "score");
}

void TestGame::tooSmallWindowRefusesTheStart()
{
    Game game;
    game.window.ViewSC(4.0f);
    game.window.cmdStart_Click();
    game.window.cmdStart_Click(); // given up: "解答表示中" over the alternating pictures
    game.resizeClient(QSize(100, 70)); // 3 columns, no row
    game.window.cmdStart_Click();
    QCOMPARE(game.env.messages.shown.size(), 1);
    QVERIFY(game.env.messages.shown[0].startsWith(QStringLiteral("画面が小さすぎるため")));
    QCOMPARE(game.caption(), QStringLiteral("スタート"));
    QVERIFY(game.status().isEmpty());
    QVERIFY(!game.picture()->isActive());
    QVERIFY(!game.watch()->isActive());
    QCOMPARE(game.score(0), QStringLiteral("---"));
    QCOMPARE(game.score(1), QStringLiteral("4"));
    game.expectBlank();
    game.window.lblKey_Click(game.answer());
    QCOMPARE(game.env.messages.shown.size(), 1);

    game.resizeClient(QSize(573, 327));
    game.window.cmdStart_Click();
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
}

void TestGame::boxedInMoveWarnsOnceAndStartsAnyway()
{
    Game game;
    OptRec.KigouNum = 5;
    enableOnly(KindMove);
    game.resizeClient(QSize(160, 98)); // 5 columns, 1 row: every cell taken
    game.window.cmdStart_Click();
    QCOMPARE(game.quiz().geometry.ColNum * game.quiz().geometry.RowNum, 5);
    QCOMPARE(game.env.messages.shown.size(), 1);
    QVERIFY(game.env.messages.shown[0].startsWith(QStringLiteral("エラーが発生しました。")));
    QCOMPARE(game.quiz().QuizType, qint16(KindMove));
    QVERIFY(game.quiz().Quiz1 == game.quiz().Quiz2);
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
    QVERIFY(game.picture()->isActive());
    game.click(game.answer());
    QCOMPARE(game.env.messages.shown.last(), QStringLiteral("正解"));
}

void TestGame::realCycleRunsInOrder()
{
    Game game;
    OptRec.ViewTime = 0.1;
    OptRec.BlankTime = 0.1;
    QList<qint16> phases;
    QList<qint64> stamps;
    QElapsedTimer elapsed;
    connect(game.picture(), &QTimer::timeout, this, [&] {
        phases << game.window.ViewMode();
        stamps << elapsed.elapsed();
    });
    elapsed.start();
    game.window.cmdStart_Click();
    // Six switches take 600 ms; the deadline only ends a run whose timer stopped switching.
    QEventLoop loop;
    connect(game.picture(), &QTimer::timeout, &loop, [&] {
        if (phases.size() >= 6)
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    game.window.cmdStart_Click();

    QVERIFY2(phases.size() >= 6, qPrintable(QString::number(phases.size())));
    for (int i = 0; i < phases.size(); ++i)
        QCOMPARE(phases[i], qint16((i + 1) % 4));
    for (int i = 1; i < stamps.size(); ++i)
        QVERIFY2(stamps[i] - stamps[i - 1] >= 95, qPrintable(QString::number(stamps[i] - stamps[i - 1])));
}

void TestGame::lateSwitchKeepsTheSchedule_data()
{
    QTest::addColumn<double>("firstHandled");
    QTest::addColumn<double>("secondHandled");
    QTest::addColumn<int>("firstInterval");
    QTest::addColumn<int>("secondInterval");
    // The game starts at 10 s; 0.1 s pictures and blanks.
    QTest::newRow("on time") << 10.1 << 10.2 << 100 << 100;
    QTest::newRow("30 ms late") << 10.13 << 10.2 << 70 << 100;
    QTest::newRow("next one late too") << 10.13 << 10.23 << 70 << 70;
    QTest::newRow("held up past half a screen") << 10.16 << 10.26 << 100 << 100;
}

void TestGame::lateSwitchKeepsTheSchedule()
{
    QFETCH(double, firstHandled);
    QFETCH(double, secondHandled);
    QFETCH(int, firstInterval);
    QFETCH(int, secondInterval);
    Game game;
    OptRec.ViewTime = 0.1;
    OptRec.BlankTime = 0.1;
    game.env.clock.steady = 10.0;
    game.window.cmdStart_Click();
    QCOMPARE(game.picture()->interval(), 100);
    game.env.clock.steady = firstHandled;
    game.window.timMain_Timer();
    QCOMPARE(game.picture()->interval(), firstInterval);
    game.env.clock.steady = secondHandled;
    game.window.timMain_Timer();
    QCOMPARE(game.picture()->interval(), secondInterval);
    QCOMPARE(game.window.ViewMode(), qint16(ViewPicture2));
}

// Offscreen a repaint request is a 5 ms timer: frames asked for there are refused, with one warning.
// The cycle itself, forced to frames, gets a refresh about every 5 ms there and its screen reports 60 Hz.
void TestGame::framesSwitchOnTheirRefresh()
{
    qputenv("IVOK2_PACING", "frames");
    QTest::ignoreMessage(QtWarningMsg, "IVOK2_PACING=frames is honoured on a Wayland compositor only: the flicker "
                                       "is paced by a timer");
    Game game;
    qunsetenv("IVOK2_PACING");
    game.window.cmdStart_Click();
    QVERIFY(game.picture()->isActive());
    game.window.cmdStart_Click(); // given up: the flicker goes on, the record is written
    game.window.findChild<FlickerCycle *>()->stop();

    double view = 0.1;  // 6 refreshes
    double blank = 0.2; // 12 refreshes
    QList<ViewPhase> phases;
    int firstAt = 0; // the refresh that put up picture 1
    const RefreshCounter *counter = nullptr;
    QLabel *shown = game.window.findChild<QLabel *>("lblAns");
    FlickerCycle cycle(
        &game.window, game.window.centralWidget(), DisplayPacer::Mechanism::Frames,
        [&](ViewPhase phase) {
            if (phases.isEmpty() && counter)
                firstAt = counter->count;
            phases << phase;
            shown->setText(QString::number(phase));
        },
        [&](bool picture) { return picture ? view : blank; });
    connect(cycle.refreshTicker(), &FrameTicker::refreshed, &cycle, &FlickerCycle::refreshed);
    RefreshCounter idle(game.window.windowHandle());
    QSignalSpy idleRefreshes(&idle, &RefreshCounter::refreshed);
    QVERIFY(!idleRefreshes.wait(100));

    cycle.start();
    QVERIFY(!cycle.pictureTimer()->isActive());
    // The refreshes come to a tiny window of its own: a commit of the main window copies all of it.
    auto *beat = game.window.windowHandle()->findChild<QWindow *>("timRefreshBeat");
    QVERIFY(beat);
    QCOMPARE(beat->size(), QSize(1, 1));
    RefreshCounter refreshes(beat);
    counter = &refreshes;
    RefreshCounter mainUpdates(game.window.windowHandle());
    QList<int> switchedAt;
    connect(&refreshes, &RefreshCounter::refreshed, this, [&] {
        // The fake clock moves one period per refresh, and three at refresh 12: two callbacks missed, which
        // shorten nothing. The first update follows no commit and may come at any moment.
        game.env.clock.steady += (refreshes.count == 12 ? 3.0 : refreshes.count == 2 ? 4.0 : 1.0) / 60;
    });
    connect(&cycle, &FlickerCycle::switched, this, [&] {
        switchedAt << refreshes.count;
        if (switchedAt.size() == 1) { // the blank now showing keeps its 12; from the next switch on
            view = 0.3;               // 18
            blank = 0.1;              // and 6
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(switchedAt.size() >= 4, 20000);
    QCOMPARE(phases.first(), ViewPicture1);
    QCOMPARE(firstAt, 2);
    QCOMPARE(switchedAt.mid(0, 4), (QList<int>{8, 18, 36, 42}));
    // The main window is painted at the switches, not at every refresh.
    QVERIFY2(mainUpdates.count < refreshes.count / 4, qPrintable(QString::number(mainUpdates.count)));

    cycle.stop();
    QSignalSpy after(&refreshes, &RefreshCounter::refreshed);
    while (after.wait(100))
        QVERIFY2(after.size() <= 1, "a refresh was requested after the cycle stopped");
    // Without the compositor's word the screens are judged by the time between their switches.
    QCOMPARE(cycle.timing(), QStringLiteral("frames"));
    QVERIFY(cycle.tally().screens >= 3);
}

// While the frames run, the window's own repaints (the stopwatch) wait for the next tick's commit, so that none
// replaces a switch before it is shown; one held when the frames stop is painted then.
void TestGame::windowPaintsOnTicksWhileFramesRun()
{
    QWidget window;
    window.resize(200, 100);
    auto *label = new QLabel(QStringLiteral("0"), &window);
    int paints = 0;
    PaintCounter counter(label, &paints);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FrameTicker ticker(&window, &window);
    QSignalSpy ticks(&ticker, &FrameTicker::refreshed);
    ticker.start();
    QTRY_VERIFY(ticks.size() >= 1);
    for (const bool stopFirst : {false, true}) {
        const int before = paints;
        label->setText(label->text() + QLatin1Char('1'));
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        QCOMPARE(paints, before); // held for the tick
        if (stopFirst)
            ticker.stop();
        QTRY_VERIFY(paints > before);
    }
}

// A timer's switch drawn on time may still reach the display a refresh early or late, which nothing in the game
// sees: the record says how many screens there were and that how they came out is not known.
void TestGame::timerLeavesScreensUnjudged()
{
    QWidget window;
    window.resize(200, 100);
    FlickerCycle cycle(&window, &window, DisplayPacer::Mechanism::Timer, [](ViewPhase) {},
                       [](bool) { return 0.1; });
    cycle.start();
    for (int i = 0; i < 3; ++i)
        cycle.timerDue();
    cycle.stop();
    QCOMPARE(cycle.timing(), QStringLiteral("timer"));
    QCOMPARE(cycle.tally().screens, 3);
    QCOMPARE(cycle.tally().screensOff, -1);
    QCOMPARE(cycle.tally().worstErrorMs, -1.0);
}

namespace {

// A display that answers the ticker's requests as the compositor would, through the same handling as the
// Wayland listener, at the ticker's next dispatch.
class FakeDisplay final : public PresentationFeedback
{
public:
    struct Request
    {
        QWindow *window;
        double committedAt;
        bool field;
    };
    FakeDisplay(Presented presented, Discarded discarded)
        : PresentationFeedback(std::move(presented), std::move(discarded))
    {
    }
    void request(QWindow *window, double committedAt, bool field) override
    {
        requests.append({window, committedAt, field});
    }
    void dispatch() override
    {
        for (const auto &answer : std::exchange(answers, {}))
            answer();
    }
    void present(const Request &commit, qint64 msc, double when)
    {
        answers.append([=, this] { shown(commit.committedAt, commit.field, msc, when, 1 / 60.0); });
    }
    void discard(const Request &commit)
    {
        answers.append([=, this] { replaced(commit.committedAt, commit.field); });
    }
    QList<Request> requests;
    QList<std::function<void()>> answers;
};

// The ticker's source of the compositor's word: a fake display, kept in `display` once made.
PresentationFeedback::Factory madeInto(FakeDisplay *&display)
{
    return [&display](PresentationFeedback::Presented presented, PresentationFeedback::Discarded discarded) {
        auto made = std::make_unique<FakeDisplay>(std::move(presented), std::move(discarded));
        display = made.get();
        return made;
    };
}

} // namespace

void TestGame::tickerHandlesTheCompositorsReports_data()
{
    QTest::addColumn<qint64>("firstMsc");   // what the display says of the first commit; 0: it has no counter
    QTest::addColumn<QList<double>>("gaps"); // in periods of 17.5 ms, the period weston's headless output keeps
    QTest::addColumn<QList<qint64>>("reported");
    QTest::addColumn<bool>("beatsAsked"); // the beat's commits are still asked about afterwards
    // Without a counter every refresh is counted from the times, at the period the presentations keep, not
    // the 16.7 ms the display says (at that period a gap of 12 would count 12.6).
    QTest::newRow("no counter") << qint64(0) << QList<double>{1, 1, 1, 1, 1, 1, 1, 1, 12, 1}
                                << QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7, 8, 20, 21} << true;
    QTest::newRow("display's counter") << qint64(5000) << QList<double>{1, 1, 3}
                                       << QList<qint64>{5000, 5001, 5002, 5005} << false;
}

// The ticker hands on what the compositor says of each commit, counts the refreshes of a display without a
// counter, and asks about the beat's commits only while they are needed for that count.
void TestGame::tickerHandlesTheCompositorsReports()
{
    QFETCH(qint64, firstMsc);
    QFETCH(QList<double>, gaps);
    QFETCH(QList<qint64>, reported);
    QFETCH(bool, beatsAsked);
    QWidget window;
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FakeDisplay *display = nullptr;
    FrameTicker ticker(&window, &window, madeInto(display));
    QVERIFY(display);
    QSignalSpy ticks(&ticker, &FrameTicker::refreshed);
    QSignalSpy shown(&ticker, &FrameTicker::presented);
    QSignalSpy replaced(&ticker, &FrameTicker::discarded);
    connect(&ticker, &FrameTicker::refreshed, &ticker, &FrameTicker::fieldChanged);
    ticker.start();
    QTRY_VERIFY(display->requests.size() >= 2 * reported.size() + 1);
    const QList<FakeDisplay::Request> made = display->requests;
    QVERIFY(made[0].window != made[1].window);
    // The field's commit and the beat's, at one tick; the first update came on no refresh and asked nothing.
    QVERIFY(made[0].field && !made[1].field);
    // The beat's commits, one per refresh, the compositor shows on refreshes apart by the gaps.
    QList<FakeDisplay::Request> beats;
    for (const auto &commit : made)
        if (!commit.field)
            beats.append(commit);
    double when = 100;
    for (int i = 0; i < reported.size(); ++i) {
        display->present(beats[i], firstMsc == 0 ? 0 : reported[i], when);
        when += (i < gaps.size() ? gaps[i] : 1) * 0.0175;
    }
    const FakeDisplay::Request field = made[0];
    display->discard(field);
    QTRY_COMPARE(shown.size(), reported.size());
    QCOMPARE(replaced.size(), 1);
    QCOMPARE(replaced[0][0].toDouble(), field.committedAt);
    QCOMPARE(replaced[0][1].toBool(), true);
    for (int i = 0; i < reported.size(); ++i) {
        QCOMPARE(shown[i][0].toDouble(), beats[i].committedAt);
        QCOMPARE(shown[i][2].toLongLong(), reported[i]);
    }
    // Asked from the next tick on, after the answers were handled.
    const int before = display->requests.size();
    const int tick = ticks.size();
    QTRY_VERIFY(ticks.size() >= tick + 3);
    const QList<FakeDisplay::Request> later = display->requests.mid(before);
    QCOMPARE(std::count_if(later.cbegin(), later.cend(), [](const auto &commit) { return !commit.field; }) > 0,
             beatsAsked);
    QVERIFY(std::all_of(later.cbegin(), later.cend(),
                        [&](const auto &commit) { return commit.window == (commit.field ? field.window : beats[0].window); }));

    // An answer about a commit made before the ticker started again belongs to the game before.
    ticker.stop();
    ticker.start();
    display->present(beats.last(), 0, when);
    const int now = ticks.size();
    QTRY_VERIFY(ticks.size() >= now + 2);
    QCOMPARE(shown.size(), reported.size());
}

// Between switches the ticker rests where the display numbers its refreshes: nothing is committed and no
// refresh comes until the time set, or until the window asks to be painted. Without a counter it never rests.
void TestGame::tickerRestsWhereTheDisplayCounts()
{
    QWidget window;
    window.resize(200, 100);
    auto *label = new QLabel(QStringLiteral("0"), &window);
    int paints = 0;
    PaintCounter painted(label, &paints);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FakeDisplay *display = nullptr;
    FrameTicker ticker(&window, &window, madeInto(display));
    QSignalSpy ticks(&ticker, &FrameTicker::refreshed);
    ticker.start();
    QTRY_VERIFY(!display->requests.isEmpty());
    QVERIFY(!ticker.canRest());
    display->present(display->requests.first(), 7000, 1.0);
    QTRY_VERIFY(ticker.canRest());

    RefreshCounter beat(window.windowHandle()->findChild<QWindow *>("timRefreshBeat"));
    for (const bool paintAsked : {false, true}) {
        const double restFor = paintAsked ? 5.0 : 0.4;
        bool rested = false;
        QElapsedTimer since;
        auto once = connect(&ticker, &FrameTicker::refreshed, this, [&] {
            if (!std::exchange(rested, true)) {
                ticker.restUntil(platform::clock().steadySeconds() + restFor);
                since.start();
            }
        });
        QTRY_VERIFY(rested);
        disconnect(once);
        const int ticked = ticks.size();
        const int beats = beat.count;
        if (paintAsked) {
            const int before = paints;
            label->setText(QStringLiteral("1"));
            QTRY_VERIFY_WITH_TIMEOUT(paints > before, 1000);
            QVERIFY(since.elapsed() < 1000);
        } else {
            QTest::qWait(200);
            QCOMPARE(ticks.size(), ticked);
            QCOMPARE(beat.count, beats);
            QTRY_VERIFY_WITH_TIMEOUT(ticks.size() > ticked, 1000);
            QVERIFY2(since.elapsed() >= 400, qPrintable(QString::number(since.elapsed())));
        }
    }
    ticker.stop();
}

void TestGame::keysPressTheFocusedStartButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestGame::keysPressTheFocusedStartButton()
{
    QFETCH(int, key);
    Game game;
    QVERIFY(QTest::qWaitForWindowActive(&game.window));
    QWidget *focused = QApplication::focusWidget();
    QCOMPARE(focused, game.window.findChild<QWidget *>("cmdStart"));
    QTest::keyClick(focused, Qt::Key(key));
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
    QTest::keyClick(focused, Qt::Key(key));
    QCOMPARE(game.caption(), QStringLiteral("スタート"));
    QCOMPARE(game.status(), QStringLiteral("解答表示中"));
}

// Nothing but what the player does: a mouse click, the timers on the event loop, the menu items.
void TestGame::playerDrivesTheRealWiring()
{
    Game game;
    game.env.clock.steady = 50.0;
    QTest::mouseClick(game.window.findChild<QPushButton *>("cmdStart"), Qt::LeftButton);
    QCOMPARE(game.caption(), QStringLiteral("ギブアップ"));
    game.env.clock.steady = 57.5;
    QSignalSpy ticked(game.watch(), &QTimer::timeout);
    QVERIFY(ticked.wait(10000));
    QCOMPARE(game.status(), QStringLiteral("7 秒"));

    const QList<std::pair<const char *, const char *>> menus{{"mnuOpt", "frmOpt"}, {"mnuAbout", "frmAbout"}};
    for (const auto &[item, form] : menus) {
        QString opened;
        QWidget *owner = nullptr;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opened = dialog->objectName();
            owner = dialog->parentWidget(); // and so the owner of the message of a failed save
            dialog->reject();
        });
        poll.start(10);
        game.window.findChild<QAction *>(item)->trigger(); // returns once the modal dialog has closed
        poll.stop();
        QCOMPARE(opened, QString::fromLatin1(form));
        QCOMPARE(owner, &game.window);
    }
}

QTEST_MAIN(TestGame)
#include "tst_game.moc"
