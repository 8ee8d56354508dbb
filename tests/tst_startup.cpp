#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "platform/LineControl.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartUsesDefaultsAndWritesNothing();
    void hundredHiddenCellLabels();
    void headerBandInPixels_data();
    void headerBandInPixels();
    void restoredClientAreaHasTheDesignSize();
    void captionsAndMenus();
    void timersStartDisabled();
    void closingStopsThePictureTimerAndWritesNothing();
};

void TestStartup::firstStartUsesDefaultsAndWritesNothing()
{
    TestEnvironment env;
    frmMain window;
    // The default times, counts and kinds; no stored colour.
    QCOMPARE(optToBytes(OptRec), DefaultSettingsImage.left(32) + QByteArray(36, '\0'));
    QCOMPARE(ColorList[2], qint32(0x000000FF));
    QCOMPARE(window.AnsView(), qint16(0));
    for (int i = 0; i <= 4; ++i)
        QCOMPARE(SCList[i], -1.0);
    QVERIFY(window.windowState() & Qt::WindowMaximized);
    QVERIFY(QDir(env.directory()).isEmpty());
}

void TestStartup::hundredHiddenCellLabels()
{
    TestEnvironment env;
    frmMain window;
    window.show();
    const QList<ClickLabel *> cells = window.findChildren<ClickLabel *>();
    QCOMPARE(cells.size(), 100);
    for (int i = 0; i < 100; ++i) {
        auto *cell = window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(i));
        QVERIFY2(cell, qPrintable(QString::number(i)));
        QVERIFY(!cell->isVisible());
        QCOMPARE(cell->geometry(), QRect(272, 120, 25, 25));
        QCOMPARE(cell->font().families().value(1), QStringLiteral("IPAPGothic"));
        QCOMPARE(cell->font().pointSizeF(), 20.25);
    }
}

void TestStartup::headerBandInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("start") << "cmdStart" << QRect(160, 8, 105, 33);
    QTest::newRow("status") << "lblAns" << QRect(8, 8, 145, 33);
    QTest::newRow("newest score") << "lblSc(0)" << QRect(280, 16, 41, 17);
    QTest::newRow("oldest score") << "lblSc(4)" << QRect(472, 16, 41, 17);
}

void TestStartup::headerBandInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TestEnvironment env;
    frmMain window;
    auto *widget = window.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
}

void TestStartup::restoredClientAreaHasTheDesignSize()
{
    TestEnvironment env;
    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.centralWidget()->size(), QSize(573, 327)); // 8595 x 4905 twips, menu bar excluded
}

void TestStartup::captionsAndMenus()
{
    TestEnvironment env;
    frmMain window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Ivok２"));
    QCOMPARE(window.findChild<QPushButton *>("cmdStart")->text(), QStringLiteral("スタート"));
    QVERIFY(window.findChild<QLabel *>("lblAns")->text().isEmpty());
    for (int i = 0; i < 5; ++i)
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("lblSc(%1)").arg(i))->text().isEmpty());
    QCOMPARE(window.findChild<LineControl *>("Line1")->y1(), 720.0);

    const QList<QAction *> items = window.menuBar()->actions();
    QCOMPARE(items.size(), 3);
    const QStringList names{"mnuEnd", "mnuOpt", "mnuAbout"};
    const QStringList captions{"終了", "設定", "バージョン"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(items[i]->objectName(), names[i]);
        QCOMPARE(items[i]->text(), captions[i]);
        QVERIFY(!items[i]->menu());
        QVERIFY(items[i]->isEnabled());
    }
}

void TestStartup::timersStartDisabled()
{
    TestEnvironment env;
    frmMain window;
    auto *picture = window.findChild<QTimer *>("timMain");
    auto *watch = window.findChild<QTimer *>("timWatch");
    QVERIFY(!picture->isActive());
    QCOMPARE(picture->interval(), 0);
    QVERIFY(!watch->isActive());
    QCOMPARE(watch->interval(), 1000);
    QCOMPARE(picture->timerType(), Qt::PreciseTimer);
    QCOMPARE(watch->timerType(), Qt::PreciseTimer);
}

void TestStartup::closingStopsThePictureTimerAndWritesNothing()
{
    TestEnvironment env;
    frmMain window;
    window.show();
    window.cmdStart_Click();
    auto *picture = window.findChild<QTimer *>("timMain");
    QVERIFY(picture->isActive());
    window.findChild<QAction *>("mnuEnd")->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(!picture->isActive());
    QVERIFY(QDir(env.directory()).isEmpty());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
