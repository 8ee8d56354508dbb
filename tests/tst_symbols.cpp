#include "core/mdlUser.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "support/Fakes.h"

#include <QPainter>
#include <QTest>

namespace {

// The ink of black text on white: how many pixels' worth of black the image holds.
double ink(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    return sum / 255;
}

QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 255)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The cell painted as a display with this many device pixels per pixel gets it.
QImage cellImage(ClickLabel *cell, double scale)
{
    QImage image(cell->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    cell->render(&image);
    return image;
}

// The same text in the same font with room all around it, so that none of its ink is lost.
QImage freeImage(const QString &text, const QFont &font, QSize cell, double scale)
{
    const QSize room = cell * 4;
    QImage image(room * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(), room), Qt::AlignCenter, text);
    return image;
}

} // namespace

class tst_Symbols : public QObject
{
    Q_OBJECT

private slots:
    void everySymbolShowsWholeInItsCell_data();
    void everySymbolShowsWholeInItsCell();
};

void tst_Symbols::everySymbolShowsWholeInItsCell_data()
{
    QTest::addColumn<double>("scale"); // the display's device pixels per pixel, as QT_SCALE_FACTOR sets it
    for (double scale : {1.0, 1.25, 1.5, 2.0})
        QTest::addRow("scale %g", scale) << scale;
}

// The field's own cell, as the game lays it out, shows at least 99 % of each symbol's ink. A symbol whose ink
// is larger than the cell is drawn smaller, just small enough to fit; any other in the cell's own font.
void tst_Symbols::everySymbolShowsWholeInItsCell()
{
    QFETCH(double, scale);
    TestEnvironment env;
    frmMain window;
    auto *cell = window.findChild<ClickLabel *>(QStringLiteral("lblKey(0)"));
    QVERIFY(cell);
    cell->setForeColor(Qt::black);
    cell->setBackColor(Qt::white);

    // A device pixel that the cell covers only in part, at 1.25 or 1.5, may belong to its neighbour.
    const QSize whole(int(cell->width() * scale), int(cell->height() * scale));
    QStringList faults;
    double worst = 2;
    QString worstSymbol;
    for (int i = 1; i <= SymbolCount; ++i) {
        const QString &symbol = KigouList[size_t(i)];
        cell->setText(symbol);
        const QImage shown = cellImage(cell, scale);
        const QSize room = inkBox(freeImage(symbol, cell->font(), cell->size(), scale)).size();
        const bool fits = room.width() <= whole.width() && room.height() <= whole.height();
        const QFont drawn = cell->drawnFont(scale);
        const double share = ink(shown) / ink(freeImage(symbol, drawn, cell->size(), scale));
        if (share < worst) {
            worst = share;
            worstSymbol = symbol;
        }
        const QSize used = inkBox(shown).size();
        if (share < 0.99)
            faults << QStringLiteral("%1 shows %2 % of its ink").arg(symbol).arg(share * 100, 0, 'f', 1);
        else if (fits && drawn != cell->font())
            faults << QStringLiteral("%1 drawn smaller, though it fits").arg(symbol);
        else if (!fits && used.width() < whole.width() - 2 && used.height() < whole.height() - 2)
            faults << QStringLiteral("%1 drawn %2 × %3 in %4 px").arg(symbol).arg(used.width()).arg(used.height()).arg(whole.width());
    }
    qInfo("%s: the least shown is %s, %.1f %% of its ink", qPrintable(QFontInfo(cell->font()).family()),
          qPrintable(worstSymbol), worst * 100);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u", ")));
}

QTEST_MAIN(tst_Symbols)
#include "tst_symbols.moc"
