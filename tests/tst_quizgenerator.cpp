#include "core/mdlUser.h"
#include "quiz/QuizGenerator.h"
#include "support/Fakes.h"
#include "support/QuizChecks.h"

#include <QtTest>

#include <initializer_list>
#include <utility>

namespace {

// The program's generator with its reseeds reading a clock frozen at seed: every draw repeats.
struct SeededRandom
{
    explicit SeededRandom(double seed)
    {
        clock.now = seed;
        rng.reseedFromTimeOfDay();
    }
    FakeClock clock;
    platform::Rng rng{&clock};
};

// Rows of the grid, '.' for a free cell and 'a' + i for item i.
QStringList diagram(const std::vector<QuizItem> &items, const QuizGeometry &geometry)
{
    QStringList rows(geometry.RowNum, QString(geometry.ColNum, u'.'));
    for (size_t i = 0; i < items.size(); ++i)
        rows[items[i].PosY][items[i].PosX] = QChar(u'a' + static_cast<char16_t>(i));
    return rows;
}

// "KigouNo/ColorNo" of each item, in index order.
QString looks(const std::vector<QuizItem> &items)
{
    QStringList parts;
    for (const QuizItem &item : items)
        parts << QStringLiteral("%1/%2").arg(item.KigouNo).arg(item.ColorNo);
    return parts.join(u' ');
}

// Draws that FakeRandom replays: r = the middle of the wanted index's interval.
float pick(int index, int n)
{
    return static_cast<float>((index + 0.5) / n);
}

void appendCells(std::vector<float> &script, int cols, int rows, std::initializer_list<std::pair<int, int>> cells)
{
    for (auto [x, y] : cells) {
        script.push_back(pick(x, cols));
        script.push_back(pick(y, rows));
    }
}

void appendLooks(std::vector<float> &script, std::initializer_list<std::pair<int, int>> symbolsAndColors)
{
    for (auto [symbol, color] : symbolsAndColors) {
        script.push_back(pick(symbol - 1, SymbolCount));
        script.push_back(pick(color, DrawColorCount));
    }
}

// Columns shared by the tables that pin a whole quiz: picture 1 and the one change.
void addQuizColumns()
{
    QTest::addColumn<QStringList>("picture1");
    QTest::addColumn<QString>("looks1");
    QTest::addColumn<int>("QuizType");
    QTest::addColumn<int>("AnsNo");
    QTest::addColumn<QString>("changedTo");
}

// The current row's picture 1, kind, answer and change, after every invariant of the quiz.
void compareQuiz(const QuizRequest &request, const Quiz &quiz, QuizOutcome outcome)
{
    QFETCH(QStringList, picture1);
    QFETCH(int, AnsNo);
    const QString error = quizFault(request, quiz, outcome);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(diagram(quiz.Quiz1, quiz.geometry), picture1);
    QTEST(looks(quiz.Quiz1), "looks1");
    QTEST(int(quiz.QuizType), "QuizType");
    QCOMPARE(quiz.AnsNo, AnsNo);
    QTEST(describe(quiz.Quiz2[static_cast<size_t>(AnsNo)]), "changedTo");
}

} // namespace

class TestQuizGenerator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InitList(); }
    void geometry_data();
    void geometry();
    void golden_data();
    void golden();
    void drawOrder_data();
    void drawOrder();
    void properties_data();
    void properties();
    void noKindEnabled_data();
    void noKindEnabled();
    void fieldTooSmall_data();
    void fieldTooSmall();
    void lookAlikesFromTheRequest();
};

// Key size and client area in twips; "KeyWidth x KeyHeight, FieldRight x FieldBottom, ColNum x RowNum".
void TestQuizGenerator::geometry_data()
{
    QTest::addColumn<QSizeF>("key");
    QTest::addColumn<QSizeF>("scale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("design size") << QSizeF(375, 375) << QSizeF(8595, 4905) << "375x375 8220x4530 21x10";
    QTest::newRow("exact multiple keeps the last column")
        << QSizeF(375, 375) << QSizeF(8250, 4845) << "375x375 7875x4470 21x10";
    QTest::newRow("one twip short loses it") << QSizeF(375, 375) << QSizeF(8249, 4844) << "375x375 7874x4469 20x9";
    QTest::newRow("half twip ties to even, down")
        << QSizeF(374.5, 376.5) << QSizeF(8595, 4905) << "374x376 8221x4529 21x10";
    QTest::newRow("half twip ties to even, up")
        << QSizeF(375.5, 373.5) << QSizeF(8595, 4905) << "376x374 8219x4531 21x10";
    QTest::newRow("field above the header floors below zero")
        << QSizeF(375, 375) << QSizeF(8595, 1000) << "375x375 8220x625 21x-1";
}

void TestQuizGenerator::geometry()
{
    QFETCH(QSizeF, key);
    QFETCH(QSizeF, scale);

    QuizRequest request;
    request.keyWidth = key.width();
    request.keyHeight = key.height();
    request.fieldTop = HeaderTwips;
    request.scaleWidth = scale.width();
    request.scaleHeight = scale.height();
    const QuizGeometry g = computeGeometry(request);

    QTEST(QStringLiteral("%1x%2 %3x%4 %5x%6")
              .arg(g.KeyWidth).arg(g.KeyHeight).arg(g.FieldRight).arg(g.FieldBottom).arg(g.ColNum).arg(g.RowNum),
          "expected");
    QCOMPARE(g.FieldLeft, 0.0);
    QCOMPARE(g.FieldTop, HeaderTwips);
}

// Ten symbols on the design grid with every kind enabled; the seed picks the kind.
void TestQuizGenerator::golden_data()
{
    QTest::addColumn<double>("seed");
    addQuizColumns();

    QTest::newRow("colour") << 4.0
                            << QStringList{".........f...........",
                                           "....h.............c..",
                                           "......g.......d......",
                                           "i....................",
                                           "....j................",
                                           "............a.e......",
                                           ".......b.............",
                                           ".....................",
                                           ".....................",
                                           "....................."}
                            << "40/3 17/3 40/2 29/0 38/0 23/4 16/0 7/5 16/6 11/6" << 0 << 6 << "6,2 16/4";
    QTest::newRow("other symbol") << 1.0
                                  << QStringList{".................c...",
                                                 ".....................",
                                                 "...............i.....",
                                                 "..d..h...............",
                                                 ".....................",
                                                 ".....................",
                                                 "........b...........f",
                                                 "..........a..........",
                                                 "...................j.",
                                                 ".........g.....e....."}
                                  << "32/2 13/2 29/5 3/4 3/2 9/6 44/3 46/0 26/7 40/0" << 1 << 7 << "5,3 53/0";
    QTest::newRow("similar symbol") << 5.0
                                    << QStringList{"......e..............",
                                                   ".....................",
                                                   ".........c...........",
                                                   "....................h",
                                                   ".....................",
                                                   "................g....",
                                                   ".j..........d........",
                                                   ".........b.........a.",
                                                   ".....................",
                                                   "i..f................."}
                                    << "31/4 44/2 13/0 48/0 43/3 52/4 36/0 17/2 17/2 25/2" << 2 << 4 << "6,0 44/3";
    QTest::newRow("vanish") << 7.0
                            << QStringList{".....................",
                                           "...............b.....",
                                           "e.....j....i.........",
                                           ".....................",
                                           ".............g.......",
                                           "...................ah",
                                           "d....................",
                                           ".....................",
                                           ".f...................",
                                           ".......c............."}
                            << "12/5 49/2 34/4 35/6 28/0 48/1 16/6 46/4 26/7 1/0" << 3 << 9 << "6,2 0/0";
    QTest::newRow("move") << 6.0
                          << QStringList{"..............h......",
                                         ".....................",
                                         ".b................f..",
                                         ".....................",
                                         ".........d...........",
                                         ".....j....g..........",
                                         ".........a...........",
                                         "...c...i.............",
                                         "...e.................",
                                         "....................."}
                          << "49/3 10/3 25/5 18/2 20/4 24/0 17/0 36/7 38/2 14/2" << 4 << 6 << "10,4 17/0";
}

void TestQuizGenerator::golden()
{
    QFETCH(double, seed);

    SeededRandom random(seed);
    const QuizRequest request = gridRequest(21, 10, 10, AllKinds);
    Quiz quiz;
    QCOMPARE(generateQuiz(request, random.rng, quiz), QuizOutcome::Complete);
    compareQuiz(request, quiz, QuizOutcome::Complete);
}

// Scripted draws pin each step's draws and their order on a 3 x 2 or 5 x 1 grid.
void TestQuizGenerator::drawOrder_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<std::vector<float>>("script");
    QTest::addColumn<QuizOutcome>("outcome");
    addQuizColumns();
    QTest::addColumn<int>("draws");
    QTest::addColumn<int>("reseeds");

    // Item 1 shares item 0's column only; item 2 first hits item 0's cell and draws x and y anew.
    std::vector<float> picture;
    appendCells(picture, 3, 2, {{0, 0}, {0, 1}, {0, 0}, {2, 1}, {1, 0}, {1, 1}});
    appendLooks(picture, {{1, 0}, {55, 7}, {12, 3}, {30, 4}, {8, 2}});
    const QStringList cells{"ad.", "bec"};
    const QString symbols = "1/0 55/7 12/3 30/4 8/2";

    std::vector<float> script = picture;
    script.insert(script.end(), {pick(0, 2), pick(2, 5), pick(3, 8), pick(3, 8), pick(6, 8)});
    QTest::newRow("colour redrawn until new") << 3 << 2 << QList<int>{KindColor, KindVanish} << script
                                              << QuizOutcome::Complete << cells << symbols << 0 << 2
                                              << "2,1 12/6" << 27 << 1;

    script = picture;
    script.insert(script.end(), {pick(1, 2), pick(4, 5)});
    QTest::newRow("vanish draws nothing more") << 3 << 2 << QList<int>{KindColor, KindVanish} << script
                                               << QuizOutcome::Complete << cells << symbols << 3 << 4
                                               << "1,1 0/2" << 24 << 1;

    script = picture;
    script.insert(script.end(), {pick(0, 1), pick(4, 5), pick(7, 55), pick(7, 55), pick(54, 55)});
    QTest::newRow("other symbol redrawn until new") << 3 << 2 << QList<int>{KindOtherSymbol} << script
                                                    << QuizOutcome::Complete << cells << symbols << 1 << 4
                                                    << "1,1 55/2" << 27 << 1;

    // ♂ has four look-alikes, in the table's order 〆 ♀ ↑ ∂ (5, 13, 19, 37).
    script = picture;
    script.insert(script.end(), {pick(0, 1), pick(2, 5), pick(2, 4)});
    QTest::newRow("look-alike from the drawn column") << 3 << 2 << QList<int>{KindSimilarSymbol} << script
                                                      << QuizOutcome::Complete << cells << symbols << 2 << 2
                                                      << "2,1 19/3" << 25 << 1;

    // Item 0 is boxed in; item 2 can only go up into the free cell.
    script = picture;
    script.insert(script.end(), {pick(0, 1), pick(0, 5), pick(2, 5), pick(0, 1)});
    QTest::newRow("move redraws a boxed-in answer") << 3 << 2 << QList<int>{KindMove} << script
                                                    << QuizOutcome::Complete << cells << symbols << 4 << 2
                                                    << "2,0 12/3" << 26 << 2;

    script.clear();
    appendCells(script, 5, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    appendLooks(script, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}});
    script.push_back(pick(0, 1));
    for (int answer : {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 2})
        script.push_back(pick(answer, 5));
    QTest::newRow("ten checks, then the untested answer stays")
        << 5 << 1 << QList<int>{KindMove} << script << QuizOutcome::NoMovePossible << QStringList{"abcde"}
        << "1/0 2/1 3/2 4/3 5/4" << 4 << 2 << "2,0 3/2" << 32 << 1;
}

void TestQuizGenerator::drawOrder()
{
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(QList<int>, kinds);
    QFETCH(std::vector<float>, script);
    QFETCH(QuizOutcome, outcome);
    QFETCH(QStringList, picture1);

    const int kigouNum = int(picture1.join(QString()).remove(u'.').size());
    FakeRandom random(script);
    const QuizRequest request = gridRequest(cols, rows, kigouNum, kinds);
    Quiz quiz;
    QCOMPARE(generateQuiz(request, random, quiz), outcome);
    QTEST(random.draws, "draws");
    QTEST(random.reseeds, "reseeds");
    QCOMPARE(random.position, script.size());
    compareQuiz(request, quiz, outcome);
}

// On a full grid a move must be given up: quizFault never lets a symbol land on another.
void TestQuizGenerator::properties_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("kigouNum");
    QTest::addColumn<QList<int>>("kinds");

    const QList<int> moveOnly{KindMove};
    QTest::newRow("one column") << 1 << 40 << 20 << AllKinds;
    QTest::newRow("one row, exactly full") << 5 << 1 << 5 << AllKinds;
    QTest::newRow("exactly full 10 x 10") << 10 << 10 << 100 << AllKinds;
    QTest::newRow("design grid, 20 symbols") << 21 << 10 << 20 << AllKinds;
    QTest::newRow("roomy") << 80 << 50 << 100 << AllKinds;
    QTest::newRow("move, crowded design grid") << 21 << 10 << 100 << moveOnly;
    QTest::newRow("move, one free cell") << 3 << 3 << 8 << moveOnly;
    QTest::newRow("move, one row") << 30 << 1 << 10 << moveOnly;
    QTest::newRow("move, exactly full 1 x 5") << 1 << 5 << 5 << moveOnly;
    QTest::newRow("move, exactly full 4 x 3") << 4 << 3 << 12 << moveOnly;
    QTest::newRow("colour and look-alike") << 21 << 10 << 50 << QList<int>{KindColor, KindSimilarSymbol};
}

void TestQuizGenerator::properties()
{
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(int, kigouNum);
    QFETCH(QList<int>, kinds);

    constexpr int Seeds = 3000;
    const QuizRequest request = gridRequest(cols, rows, kigouNum, kinds);
    QSet<int> kindsSeen;
    for (int seed = 1; seed <= Seeds; ++seed) {
        SeededRandom random(seed);
        Quiz quiz;
        const QuizOutcome outcome = generateQuiz(request, random.rng, quiz);
        const QString error = quizFault(request, quiz, outcome);
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(error)));
        QCOMPARE(quiz.geometry.ColNum, cols);
        QCOMPARE(quiz.geometry.RowNum, rows);
        QVERIFY2(kinds.contains(quiz.QuizType), qPrintable(QStringLiteral("seed %1").arg(seed)));
        kindsSeen.insert(quiz.QuizType);
    }
    QCOMPARE(kindsSeen, QSet<int>(kinds.begin(), kinds.end()));
}

void TestQuizGenerator::noKindEnabled_data()
{
    QTest::addColumn<QList<int>>("flags");

    QTest::newRow("all false") << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("true only in the spare slot") << QList<int>{0, 0, 0, 0, 0, -1};
    QTest::newRow("other non-zero values, +1 too") << QList<int>{-2, 1, 255, -256, 32767, 0};
}

void TestQuizGenerator::noKindEnabled()
{
    QFETCH(QList<int>, flags);

    QuizRequest request = gridRequest(21, 10, 40, {});
    for (size_t i = 0; i < request.koumoku.size(); ++i)
        request.koumoku[i] = static_cast<qint16>(flags[static_cast<qsizetype>(i)]);
    FakeRandom random;
    for (int game = 0; game < 300; ++game) {
        Quiz quiz;
        const QuizOutcome outcome = generateQuiz(request, random, quiz);
        QCOMPARE(quiz.QuizType, qint16(KindColor));
        const QString error = quizFault(request, quiz, outcome); // refuses any other outcome
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    QCOMPARE(random.reseeds, 0);
}

void TestQuizGenerator::fieldTooSmall_data()
{
    QTest::addColumn<QuizRequest>("request");

    QTest::newRow("no column") << gridRequest(0, 10, 5, AllKinds);
    QTest::newRow("no row") << gridRequest(10, 0, 5, AllKinds);
    QTest::newRow("negative columns and rows") << gridRequest(-2, -10, 5, AllKinds);
    QTest::newRow("one cell short") << gridRequest(3, 3, 10, AllKinds);
    QTest::newRow("100 symbols, 99 cells") << gridRequest(9, 11, 100, AllKinds);

    QuizRequest zeroWidth = gridRequest(21, 10, 20, AllKinds);
    zeroWidth.keyWidth = 0.4;
    QTest::newRow("cell rounds to zero width") << zeroWidth;
    QuizRequest tooWide = gridRequest(21, 10, 20, AllKinds);
    tooWide.keyWidth = 1;
    tooWide.scaleWidth = 40000;
    QTest::newRow("more columns than 16 bits can number") << tooWide;
}

void TestQuizGenerator::fieldTooSmall()
{
    QFETCH(QuizRequest, request);

    Quiz before;
    {
        SeededRandom earlier(3);
        QCOMPARE(generateQuiz(gridRequest(21, 10, 20, AllKinds), earlier.rng, before), QuizOutcome::Complete);
    }
    Quiz quiz = before;
    FakeRandom random;
    QCOMPARE(generateQuiz(request, random, quiz), QuizOutcome::FieldTooSmall);
    QVERIFY(quiz.geometry == before.geometry && quiz.Quiz1 == before.Quiz1 && quiz.Quiz2 == before.Quiz2);
    QVERIFY(quiz.AnsNo == before.AnsNo && quiz.QuizType == before.QuizType);
    QCOMPARE(random.draws, 0);
    QCOMPARE(random.reseeds, 0);
}

void TestQuizGenerator::lookAlikesFromTheRequest()
{
    // Each symbol's one look-alike is the next symbol: the program's own table gives others for most.
    SimilarTable nextSymbol{};
    for (qint16 k = 1; k <= SymbolCount; ++k)
        nextSymbol[size_t(k)] = {1, qint16(k % SymbolCount + 1)};
    QuizRequest request = gridRequest(21, 10, 20, {KindSimilarSymbol});
    request.similarList = &nextSymbol;
    for (int seed = 1; seed <= 20; ++seed) {
        SeededRandom random(seed);
        Quiz quiz;
        QCOMPARE(generateQuiz(request, random.rng, quiz), QuizOutcome::Complete);
        const qint16 before = quiz.Quiz1[size_t(quiz.AnsNo)].KigouNo;
        QCOMPARE(quiz.Quiz2[size_t(quiz.AnsNo)].KigouNo, qint16(before % SymbolCount + 1));
    }
}

QTEST_GUILESS_MAIN(TestQuizGenerator)
#include "tst_quizgenerator.moc"
