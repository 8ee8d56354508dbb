#include "core/ColourPresets.h"
#include "core/ColourVision.h"
#include "core/mdlUser.h"
#include "dialogs/frmOpt.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "platform/Colors.h"
#include "support/Blend.h"
#include "support/Fakes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <limits>

namespace {

// Any two colours of a preset must stay at least this far apart, for every vision.
constexpr double GoalDifference = 10.0;

// The colour of the play field as the main window really paints it, read from its pixels before a game.
quint32 paintedField()
{
    TestEnvironment env;
    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window never showed");
    const QImage field = window.centralWidget()->grab().toImage();
    return platform::colorValue(field.pixelColor(field.width() / 2, field.height() * 3 / 4));
}

} // namespace

class tst_Colours : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ciede2000MatchesPublishedPairs_data();
    void ciede2000MatchesPublishedPairs();
    void contrastRatio_data();
    void contrastRatio();
    void presetOnThePaintedField_data();
    void presetOnThePaintedField();
    void readablePresetReachesTheNextGameAndTheFile();

private:
    quint32 m_field = 0;
};

void tst_Colours::initTestCase()
{
    m_field = paintedField();
    qInfo("field painted as %s", qPrintable(platform::toQColor(m_field).name()));
}

void tst_Colours::ciede2000MatchesPublishedPairs_data()
{
    QTest::addColumn<Lab>("first");
    QTest::addColumn<Lab>("second");
    QTest::addColumn<double>("expected");

    // Sharma, Wu and Dalal (2005), table 1, by pair number.
    QTest::newRow("1 blue") << Lab{50, 2.6772, -79.7751} << Lab{50, 0, -82.7485} << 2.0425;
    QTest::newRow("7 from neutral") << Lab{50, 0, 0} << Lab{50, -1, 2} << 2.3669;
    QTest::newRow("10 hues across 180, mean") << Lab{50, 2.49, -0.001} << Lab{50, -2.49, 0.0010} << 7.1792;
    QTest::newRow("15 hue difference wraps") << Lab{50, -0.001, 2.49} << Lab{50, 0.0011, -2.49} << 4.7461;
    QTest::newRow("17 large") << Lab{50, 2.5, 0} << Lab{73, 25, -18} << 27.1492;
    QTest::newRow("34 very dark") << Lab{2.0776, 0.0795, -1.135} << Lab{0.9033, -0.0636, -0.5514} << 0.9082;
}

void tst_Colours::ciede2000MatchesPublishedPairs()
{
    QFETCH(Lab, first);
    QFETCH(Lab, second);
    QFETCH(double, expected);
    QVERIFY2(qAbs(ciede2000(first, second) - expected) < 5e-5, qPrintable(QString::number(ciede2000(first, second))));
    QVERIFY2(qAbs(ciede2000(second, first) - expected) < 5e-5, qPrintable(QString::number(ciede2000(second, first))));
}

void tst_Colours::contrastRatio_data()
{
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("second");
    QTest::addColumn<double>("ratio");

    QTest::newRow("black on white") << 0x000000u << 0xFFFFFFu << 21.0;
    QTest::newRow("white on light grey") << 0xFFFFFFu << 0xEFEFEFu << 1.15;
    QTest::newRow("mid grey on white") << 0x777777u << 0xFFFFFFu << 4.48;
}

void tst_Colours::contrastRatio()
{
    QFETCH(quint32, first);
    QFETCH(quint32, second);
    QFETCH(double, ratio);
    QCOMPARE(qRound(::contrastRatio(first, second) * 100), qRound(ratio * 100));
    QCOMPARE(::contrastRatio(second, first), ::contrastRatio(first, second));
}

void tst_Colours::presetOnThePaintedField_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("distinct");

    // The built-in colours are the game's own and stay; they are what the readable set is for.
    QTest::newRow("標準") << 0 << false << false;
    QTest::newRow("見やすい") << 1 << true << true;
}

void tst_Colours::presetOnThePaintedField()
{
    QFETCH(int, preset);
    QCOMPARE(ColourPresets.size(), size_t(2)); // a new preset needs its own row
    const DrawColors &colors = ColourPresets[size_t(preset)].colors;

    QStringList contrasts;
    double lowestContrast = std::numeric_limits<double>::max();
    for (qint32 color : colors) {
        const double ratio = ::contrastRatio(quint32(color), m_field);
        lowestContrast = qMin(lowestContrast, ratio);
        contrasts << QStringLiteral("%1 %2").arg(platform::toQColor(quint32(color)).name().toUpper()).arg(ratio, 0, 'f', 2);
    }
    QStringList differences;
    double lowestDifference = std::numeric_limits<double>::max();
    for (Vision vision : AllVisions) {
        double smallest = std::numeric_limits<double>::max();
        for (size_t i = 0; i < colors.size(); ++i)
            for (size_t j = i + 1; j < colors.size(); ++j)
                smallest = qMin(smallest, seenDifference(quint32(colors[i]), quint32(colors[j]), vision));
        lowestDifference = qMin(lowestDifference, smallest);
        differences << QString::number(smallest, 'f', 1);
    }
    qInfo("contrast (as #RRGGBB): %s", qPrintable(contrasts.join(QStringLiteral(", "))));
    qInfo("smallest CIEDE2000 normal, protan, deutan, tritan: %s", qPrintable(differences.join(QStringLiteral(", "))));

    QTEST(lowestContrast >= ReadableContrast, "readable");
    QTEST(lowestDifference >= GoalDifference, "distinct");
}

void tst_Colours::readablePresetReachesTheNextGameAndTheFile()
{
    TestEnvironment env;
    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    bool chosen = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<frmOpt *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *presets = dialog->findChild<QComboBox *>(QStringLiteral("cmbPreset"));
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Down);
        chosen = presets->currentText() == QStringLiteral("見やすい");
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    });
    window.findChild<QAction *>(QStringLiteral("mnuOpt"))->trigger();
    QVERIFY(chosen);

    QFile file(SettingsFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const OptRecord saved = optFromBytes(file.readAll(), OptRecord{});
    for (int i = 0; i < DrawColorCount; ++i)
        QCOMPARE(saved.Color[size_t(i)], ReadableColors[size_t(i)]);

    // On the pixels of picture 1: each symbol is drawn in its readable colour, every pixel a blend of the field
    // and that colour, and well into it somewhere.
    window.cmdStart_Click();
    const std::vector<QuizItem> &items = window.CurrentQuiz().Quiz1;
    QVERIFY(!items.empty());
    for (int i = 0; i < int(items.size()); ++i) {
        const QImage cell = window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(i))->grab().toImage();
        const quint32 ink = quint32(ReadableColors[size_t(items[size_t(i)].ColorNo)]);
        const double reached = blendReached(cell, platform::toQColor(m_field), platform::toQColor(ink));
        QVERIFY2(reached >= 0.5 && reached <= 1.02,
                 qPrintable(QStringLiteral("%1 in %2: %3").arg(KigouList[size_t(items[size_t(i)].KigouNo)],
                                                               platform::toQColor(ink).name()).arg(reached)));
    }
}

QTEST_MAIN(tst_Colours)
#include "tst_colours.moc"
