#include "core/mdlUser.h"
#include "support/Fakes.h"

#include <QTest>

#include <set>

class TestTables : public QObject
{
    Q_OBJECT

private slots:
    void symbolsAreTheFiftyFiveSigns();
    void lookAlikes();
    void storedColoursReplaceBuiltInOnes();
    void rndSelReseedsThenPicksUniformly_data();
    void rndSelReseedsThenPicksUniformly();
};

void TestTables::symbolsAreTheFiftyFiveSigns()
{
    TestEnvironment env;
    InitList();
    QCOMPARE(KigouList[0], QString(QChar(0x3000)));
    QCOMPARE(KigouList[1], QStringLiteral("○"));
    QCOMPARE(KigouList[12], QStringLiteral("♂"));
    QCOMPARE(KigouList[45], QStringLiteral("♪"));
    QCOMPARE(KigouList[55], QStringLiteral("☆"));
    QVERIFY(KigouList[56].isEmpty());
    std::set<QString> distinct;
    for (int i = 0; i <= SymbolCount; ++i) {
        QCOMPARE(KigouList[i].size(), 1);
        distinct.insert(KigouList[i]);
    }
    QCOMPARE(distinct.size(), size_t(SymbolCount + 1));
}

// Each symbol has one to four look-alikes, other symbols that list it back; the blank lists only ○.
void TestTables::lookAlikes()
{
    TestEnvironment env;
    InitList();
    auto lists = [](int a, int b) {
        for (int m = 1; m <= SimilarList[a][0]; ++m)
            if (SimilarList[a][m] == b)
                return true;
        return false;
    };
    for (int i = 1; i <= SymbolCount; ++i) {
        const int n = SimilarList[i][0];
        QVERIFY2(n >= 1 && n <= 4, qPrintable(QString::number(i)));
        for (int m = 1; m <= n; ++m) {
            const int other = SimilarList[i][m];
            QVERIFY2(other >= 1 && other <= SymbolCount && other != i && lists(other, i),
                     qPrintable(QStringLiteral("%1 -> %2").arg(i).arg(other)));
        }
        for (int m = n + 1; m <= 5; ++m)
            QCOMPARE(SimilarList[i][m], qint16(0));
    }
    QCOMPARE(SimilarList[0], (std::array<qint16, 6>{1, 8, 0, 0, 0, 0}));
    QVERIFY(!lists(8, 0));
    QCOMPARE(SimilarList[56], (std::array<qint16, 6>{}));
    QCOMPARE(SimilarList[12], (std::array<qint16, 6>{4, 5, 13, 19, 37, 0}));
    QCOMPARE(SimilarList[27], (std::array<qint16, 6>{4, 23, 26, 29, 31, 0}));
}

void TestTables::storedColoursReplaceBuiltInOnes()
{
    TestEnvironment env;
    InitList();
    OptRec.Color = {7, 7, -1, qint32(0x8000000F), 0x00ABCDEF, 0, 1, 2, 0x55};
    SetColor();
    const std::array<qint32, 9> expected{7, 7, -1, qint32(0x8000000F), 0x00ABCDEF, 0, 1, 2, 0};
    QCOMPARE(ColorList, expected);
}

void TestTables::rndSelReseedsThenPicksUniformly_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("first") << 0.0f << 3 << 10;
    QTest::newRow("just below a third") << 0.3333f << 3 << 10;
    QTest::newRow("a third") << 0.33334f << 3 << 20;
    QTest::newRow("largest draw") << 0.99999994f << 3 << 30;
    QTest::newRow("count limits the list") << 0.99999994f << 2 << 20;
}

void TestTables::rndSelReseedsThenPicksUniformly()
{
    QFETCH(float, draw);
    QFETCH(int, count);
    QFETCH(int, expected);
    FakeRandom random({draw});
    const std::array<qint16, 4> list{10, 20, 30, 40};
    QCOMPARE(int(RndSel(random, list, count)), expected);
    QCOMPARE(random.reseeds, 1);
    QCOMPARE(random.draws, 1);
}

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
