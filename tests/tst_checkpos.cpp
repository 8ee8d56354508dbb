#include "quiz/QuizGenerator.h"

#include <QtTest>

namespace {

// A picture 1 drawn as rows of the whole grid: 'o' the examined symbol, 'x' another symbol, '.' free.
struct Layout
{
    std::vector<QuizItem> quiz1;
    QuizGeometry geometry;
    int examined = -1;
};

Layout parse(const QStringList &rows)
{
    Layout layout;
    layout.geometry.RowNum = static_cast<qint32>(rows.size());
    layout.geometry.ColNum = static_cast<qint32>(rows.first().size());
    for (qsizetype y = 0; y < rows.size(); ++y) {
        for (qsizetype x = 0; x < rows[y].size(); ++x) {
            const QChar cell = rows[y][x];
            if (cell == u'.')
                continue;
            if (cell == u'o')
                layout.examined = static_cast<int>(layout.quiz1.size());
            layout.quiz1.push_back({static_cast<qint16>(x), static_cast<qint16>(y), 1, 0});
        }
    }
    return layout;
}

} // namespace

class TestCheckPos : public QObject
{
    Q_OBJECT

private slots:
    void freeNeighbours_data();
    void freeNeighbours();
};

void TestCheckPos::freeNeighbours_data()
{
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<QList<qint16>>("codes");

    QTest::newRow("open middle") << QStringList{".....", "x....", "..o..", ".....", "....x"}
                                 << QList<qint16>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("top-left corner") << QStringList{"o..", "...", "..."} << QList<qint16>{5, 7, 8};
    QTest::newRow("top-right corner") << QStringList{"..o", "...", "..."} << QList<qint16>{4, 6, 7};
    QTest::newRow("bottom-left corner") << QStringList{"...", "...", "o.."} << QList<qint16>{2, 3, 5};
    QTest::newRow("bottom-right corner") << QStringList{"...", "...", "..o"} << QList<qint16>{1, 2, 4};
    QTest::newRow("top edge") << QStringList{"..o..", ".....", "....."} << QList<qint16>{4, 5, 6, 7, 8};
    QTest::newRow("left edge") << QStringList{"...", "o..", "..."} << QList<qint16>{2, 3, 5, 7, 8};
    QTest::newRow("diagonals taken") << QStringList{"x.x", ".o.", "x.x"} << QList<qint16>{2, 4, 5, 7};
    QTest::newRow("straight sides taken") << QStringList{".x.", "xox", ".x."} << QList<qint16>{1, 3, 6, 8};
    QTest::newRow("one gap below right") << QStringList{"xxx", "xox", "xx."} << QList<qint16>{8};
    QTest::newRow("corner, two of three taken") << QStringList{"ox.", "x..", "..."} << QList<qint16>{8};
    QTest::newRow("far symbols do not count") << QStringList{"x...x", "..o..", "x...x"}
                                              << QList<qint16>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("one column, middle") << QStringList{".", "o", "."} << QList<qint16>{2, 7};
    QTest::newRow("one column, top") << QStringList{"o", ".", "x"} << QList<qint16>{7};
    QTest::newRow("one column, below taken") << QStringList{".", "o", "x"} << QList<qint16>{2};
    QTest::newRow("one row, middle") << QStringList{".o."} << QList<qint16>{4, 5};
    QTest::newRow("one row, right end") << QStringList{"x.o"} << QList<qint16>{4};
    QTest::newRow("one row, left taken") << QStringList{"xo.."} << QList<qint16>{5};
    QTest::newRow("boxed in, surrounded") << QStringList{".....", ".xxx.", ".xox.", ".xxx.", "....."} << QList<qint16>{};
    QTest::newRow("boxed in, corner") << QStringList{"ox.", "xx.", "..."} << QList<qint16>{};
    QTest::newRow("boxed in, edge") << QStringList{"xox", "xxx", "..."} << QList<qint16>{};
    QTest::newRow("boxed in, one column") << QStringList{"x", "o", "x"} << QList<qint16>{};
    QTest::newRow("boxed in, one row") << QStringList{"..xox"} << QList<qint16>{};
    QTest::newRow("boxed in, single cell") << QStringList{"o"} << QList<qint16>{};
}

void TestCheckPos::freeNeighbours()
{
    QFETCH(QStringList, grid);
    QFETCH(QList<qint16>, codes);

    const Layout layout = parse(grid);
    // A longer list than any answer: replaced, not appended to; left alone when nothing is free.
    const QList<qint16> passed(9, qint16(-7));
    QList<qint16> iPos = passed;
    const qint16 PosNum = CheckPos(layout.quiz1, layout.geometry, layout.examined, iPos);
    QCOMPARE(int(PosNum), int(codes.size()));
    QCOMPARE(iPos, codes.isEmpty() ? passed : codes);
}

QTEST_GUILESS_MAIN(TestCheckPos)
#include "tst_checkpos.moc"
