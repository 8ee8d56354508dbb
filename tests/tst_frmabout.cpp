#include "dialogs/frmAbout.h"
#include "platform/LineControl.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void captionsAreTheSameAtEveryOpening();
    void layoutInPixels();
    void keysClose_data();
    void keysClose();
};

void TestFrmAbout::captionsAreTheSameAtEveryOpening()
{
    for (int opening = 0; opening < 2; ++opening) {
        frmAbout dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Ivok２のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(dialog.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Ivok２"));
        QCOMPARE(dialog.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0"));
        QCOMPARE(dialog.findChild<QPushButton *>("cmdOK")->text(), QStringLiteral("OK"));
        QVERIFY(!dialog.findChild<QLabel *>("picIcon")->pixmap().isNull());
    }
}

void TestFrmAbout::layoutInPixels()
{
    frmAbout dialog;
    QCOMPARE(dialog.size(), QSize(382, 237));
    QCOMPARE(dialog.findChild<QPushButton *>("cmdOK")->geometry(), QRect(283, 175, 92, 23));
    QCOMPARE(dialog.findChild<QLabel *>("lblTitle")->geometry(), QRect(70, 16, 259, 32));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
    auto *grey = dialog.findChild<LineControl *>("Line1(1)");
    auto *white = dialog.findChild<LineControl *>("Line1(0)");
    QVERIFY(grey && white);
    QVERIFY(grey->geometry().top() < white->geometry().top());
}

void TestFrmAbout::keysClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
    QTest::newRow("Space on OK") << int(Qt::Key_Space);
}

void TestFrmAbout::keysClose()
{
    QFETCH(int, key);
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key(key));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
