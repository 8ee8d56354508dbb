#include "dialogs/RecordsChart.h"

#include "dialogs/RecordsTableModel.h"
#include "platform/Controls.h"
#include "platform/Translation.h"
#include "records/ShownGames.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using records::ChartBucket;
using records::GameRecord;
using records::ShownGames;

namespace {

enum SeriesIndex { HitSeries, SlowSeries, TrendSeries, GiveUpSeries, LevelSeries };

// The points of one bucket per series, hits slower than the top drawn on it.
std::array<QList<QPointF>, 5> pointsOf(const ChartBucket &bucket, double top)
{
    std::array<QList<QPointF>, 5> points;
    std::vector<QPointF> hits;
    if (bucket.fastest)
        hits.push_back(*bucket.fastest);
    if (bucket.slowest && bucket.slowest != bucket.fastest)
        hits.push_back(*bucket.slowest);
    std::sort(hits.begin(), hits.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    for (const QPointF &hit : hits) {
        if (hit.y() > top)
            points[SlowSeries].append(QPointF(hit.x(), top));
        else
            points[HitSeries].append(hit);
    }
    if (bucket.trend)
        points[TrendSeries].append(QPointF(bucket.trend->x(), std::min(bucket.trend->y(), top)));
    if (bucket.giveUp)
        points[GiveUpSeries].append(*bucket.giveUp);
    if (bucket.level)
        points[LevelSeries].append(*bucket.level);
    return points;
}

// A marker drawn as one image at every point: far cheaper than an item per point.
QImage markerImage(QScatterSeries::MarkerShape shape, const QColor &colour, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QRectF box(0.5, 0.5, size - 1, size - 1);
    if (shape == QScatterSeries::MarkerShapeRectangle)
        painter.drawRect(box);
    else if (shape == QScatterSeries::MarkerShapeTriangle)
        painter.drawPolygon(QPolygonF{QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
    else
        painter.drawEllipse(box);
    return image;
}

void useLightMarker(QScatterSeries *series)
{
    series->setLightMarker(markerImage(series->markerShape(), series->color(), static_cast<int>(series->markerSize())));
}

} // namespace

// Given at construction: a chart view made without one makes a chart of its own, which nobody would free.
RecordsChart::RecordsChart(QWidget *parent)
    : QChartView(new QChart, parent)
    , m_chart(chart())
{
    setObjectName(QStringLiteral("chtTimes"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(130);
    // A shorter plot holds fewer labels.
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        if (m_secondsAxis && m_levelAxis)
            ViewScale(m_secondsAxis->max());
    });
    timChart = new QTimer(this);
    timChart->setObjectName(QStringLiteral("timChart"));
    timChart->setInterval(0);
    connect(timChart, &QTimer::timeout, this, &RecordsChart::FillSome);
    CreateChart();
    RetranslateUi();
    view(nullptr, nullptr);
}

void RecordsChart::CreateChart()
{
    m_chart->setFont(font());
    m_chart->setTitleFont(platform::gothicFont(11));
    m_chart->legend()->setFont(font());
    m_chart->legend()->setAlignment(Qt::AlignBottom);

    m_hits = new QScatterSeries(m_chart);
    m_hits->setMarkerSize(6);
    m_hits->setBorderColor(Qt::transparent);
    m_slow = new QScatterSeries(m_chart);
    m_slow->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    m_slow->setMarkerSize(10);
    m_slow->setColor(QColor(0x80, 0x20, 0xA0));
    m_slow->setBorderColor(Qt::transparent);
    m_trend = new QLineSeries(m_chart);
    QPen trendPen(QColor(0xE0, 0x70, 0x10));
    trendPen.setWidth(2);
    m_trend->setPen(trendPen);
    m_giveUps = new QScatterSeries(m_chart);
    m_giveUps->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_giveUps->setMarkerSize(7);
    m_giveUps->setColor(Qt::red);
    m_giveUps->setBorderColor(Qt::transparent);
    m_levels = new QLineSeries(m_chart);
    m_levels->setPointsVisible(true);
    QPen levelPen(QColor(0x20, 0x90, 0x40));
    levelPen.setWidth(2);
    m_levels->setPen(levelPen);
    m_series = {m_hits, m_slow, m_trend, m_giveUps, m_levels};

    m_gameAxis = new QCategoryAxis(m_chart);
    m_gameAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_gameAxis->setLabelsFont(font());
    m_gameAxis->setTitleFont(font());
    m_secondsAxis = new QValueAxis(m_chart);
    m_secondsAxis->setTitleFont(font());
    m_secondsAxis->setLabelsFont(font());
    m_secondsAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_secondsAxis->setTickType(QValueAxis::TicksDynamic);
    m_secondsAxis->setTickAnchor(0);
    m_levelAxis = new QValueAxis(m_chart);
    m_levelAxis->setTitleFont(font());
    m_levelAxis->setLabelsFont(font());
    m_levelAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_levelAxis->setRange(0, 100);
    m_levelAxis->setTickCount(6);
    m_levelAxis->setGridLineVisible(false);
    m_chart->addAxis(m_gameAxis, Qt::AlignBottom);
    m_chart->addAxis(m_secondsAxis, Qt::AlignLeft);
    m_chart->addAxis(m_levelAxis, Qt::AlignRight);
    for (QXYSeries *series : m_series) {
        m_chart->addSeries(series);
        series->attachAxis(m_gameAxis);
        series->attachAxis(series == m_levels ? m_levelAxis : m_secondsAxis);
        if (auto *scatter = qobject_cast<QScatterSeries *>(series); scatter || series == m_levels)
            connect(series, &QXYSeries::hovered, this, &RecordsChart::ShowPoint);
    }
    // After the chart's theme has coloured them.
    for (QScatterSeries *series : {m_hits, m_slow, m_giveUps})
        useLightMarker(series);
}

void RecordsChart::RetranslateUi()
{
    m_chart->setTitle(tr("正解までの時間"));
    m_hits->setName(tr("正解"));
    m_slow->setName(tr("上端より遅い正解"));
    //: The line of the median of the last hits; %1 is how many.
    m_trend->setName(tr("直近%1回の中央値").arg(platform::displayLocale().toString(ShownGames::TrendWindow)));
    m_giveUps->setName(tr("ギブアップ"));
    m_levels->setName(tr("レベル"));
    m_secondsAxis->setTitleText(tr("秒"));
    m_levelAxis->setTitleText(tr("レベル"));
    ViewGameAxis();
}

void RecordsChart::changeEvent(QEvent *event)
{
    // Before the chart exists, the constructor sets its words itself.
    if (event->type() == QEvent::LanguageChange && m_levelAxis)
        RetranslateUi();
    QChartView::changeEvent(event);
}

void RecordsChart::view(const ShownGames *stats, const QList<GameRecord> *shown)
{
    m_stats = stats;
    m_shown = shown;
    const double top = m_stats ? m_stats->scaleTop() : ShownGames::roundedTop(0);
    ViewScale(top);
    // Collected first: a series redraws on every change, once for a whole list.
    for (QList<QPointF> &points : m_points)
        points.clear();
    if (m_stats) {
        for (const ChartBucket &bucket : m_stats->buckets()) {
            const auto added = pointsOf(bucket, top);
            for (size_t i = 0; i < m_points.size(); ++i) {
                m_points[i] += added[i];
                m_tail[i] = added[i].size();
            }
        }
    }
    m_step = 0;
    FillSome();
    timChart->start();
}

void RecordsChart::add(const records::ShownChange &change)
{
    // A new scale moves every point; a chart still being filled takes the game with all the others.
    if (change.scaleChanged || timChart->isActive()) {
        view(m_stats, m_shown);
        return;
    }
    if (!change.bucketAdded) {
        for (size_t i = 0; i < m_series.size(); ++i) {
            if (m_tail[i] > 0)
                m_series[i]->removePoints(static_cast<int>(m_series[i]->count() - m_tail[i]), static_cast<int>(m_tail[i]));
        }
    }
    const auto points = pointsOf(m_stats->buckets().back(), m_stats->scaleTop());
    for (size_t i = 0; i < m_series.size(); ++i) {
        m_tail[i] = points[i].size();
        m_series[i]->append(points[i]);
    }
    ViewGameAxis();
}

void RecordsChart::FillSome()
{
    // One series a turn, then the axis: filling an empty series builds an item for each of its points, and all
    // five at once held up the interface thread for some ten milliseconds with a long history.
    if (m_step < m_series.size()) {
        m_series[m_step]->replace(std::exchange(m_points[m_step], {}));
        ++m_step;
        return;
    }
    timChart->stop();
    ViewGameAxis();
    emit filled();
}

void RecordsChart::ViewScale(double top)
{
    // No more labels than the plot's height holds one above the other: the chart shows a crowded label as "…".
    const double room = m_chart->plotArea().height() / (1.5 * QFontMetricsF(m_secondsAxis->labelsFont()).height());
    double step = ShownGames::stepOf(top);
    while (top / step > std::max(1.0, room)) {
        const double power = std::pow(10, std::floor(std::log10(step)));
        step = step / power < 1.5 ? 2 * power : step / power < 3.5 ? 5 * power : 10 * power;
    }
    m_levelAxis->setTickCount(room >= 5 ? 6 : room >= 2 ? 3 : 2);
    // Never a long scale at a small step between the two changes: every tick is a label the chart lays out.
    if (step > m_secondsAxis->tickInterval()) {
        m_secondsAxis->setTickInterval(step);
        m_secondsAxis->setRange(0, top);
    } else {
        m_secondsAxis->setRange(0, top);
        m_secondsAxis->setTickInterval(step);
    }
}

void RecordsChart::ViewGameAxis()
{
    // The n-th game shown sits at n. A long run of games leaves a little room at the right, so that the axis
    // (and with it every point) moves only every few dozen new games.
    const qsizetype count = m_shown ? m_shown->size() : 0;
    const qsizetype room = std::max<qsizetype>(1, count / 50);
    const auto end = static_cast<double>((count + room) / room * room);
    if (m_gameAxis->max() != end || m_gameAxis->min() != 0) {
        m_gameAxis->setRange(0, end);
        m_gameAxis->setStartValue(0);
    }
    // The first and the last game's dates stand under the axis.
    QStringList labels;
    if (count > 0) {
        const QDateTime first = QDateTime::fromMSecsSinceEpoch(m_shown->first().startedMs);
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(m_shown->last().startedMs);
        const auto shown = [sameDay = first.date() == last.date()](const QDateTime &moment) {
            return sameDay ? platform::shownMinute(moment) : platform::shownDate(moment.date());
        };
        labels.append(shown(first));
        if (count > 1 && shown(last) != labels.first())
            labels.append(shown(last));
    }
    if (labels != m_gameAxis->categoriesLabels() || (labels.size() == 2 && m_gameAxis->endValue(labels[1]) != count)) {
        for (const QString &label : m_gameAxis->categoriesLabels())
            m_gameAxis->remove(label);
        if (!labels.isEmpty())
            m_gameAxis->append(labels.first(), 1);
        if (labels.size() == 2)
            m_gameAxis->append(labels[1], static_cast<double>(count));
    }
    // Before the first statistics the chart knows of no games yet, not of none. Games kept before their screens
    // were counted are unknown, not games whose screens all came out right.
    QString title = tr("読み込み中…");
    if (m_stats && m_shown) {
        const QLocale locale = platform::displayLocale();
        qsizetype off = 0;
        qsizetype unknown = 0;
        for (const GameRecord &game : *m_shown) {
            off += game.screensOff > 0;
            unknown += game.screensOff < 0;
        }
        title = unknown > 0 ? tr("ゲーム（%1 回、画面がずれたゲーム %2 回、不明 %3 回）")
                                  .arg(locale.toString(count), locale.toString(off), locale.toString(unknown))
                            : tr("ゲーム（%1 回、画面がずれたゲーム %2 回）").arg(locale.toString(count), locale.toString(off));
    }
    m_gameAxis->setTitleText(title);
    m_levelAxis->setVisible(m_stats && m_stats->hasTraining());
}

void RecordsChart::ShowPoint(const QPointF &point, bool shown)
{
    const auto index = qRound(point.x()) - 1;
    if (!shown || !m_shown || index < 0 || index >= m_shown->size()) {
        QToolTip::hideText();
        return;
    }
    const GameRecord &game = (*m_shown)[index];
    const QLocale locale = platform::displayLocale();
    //: A game under the pointer: its start, kind of change, number of symbols and outcome.
    QString text = tr("%1\n%2　%3 個\n%4")
                       .arg(platform::shownMoment(QDateTime::fromMSecsSinceEpoch(game.startedMs)), kindText(game.kind),
                            locale.toString(game.items), outcomeText(game.outcome));
    if (game.outcome == records::Outcome::Hit)
        text += tr(" %1 秒").arg(locale.toString(static_cast<double>(game.elapsedMs) / 1000, 'f', 2));
    if (game.mode == records::Mode::Training)
        text += tr("\nレベル %1").arg(locale.toString(game.level));
    text += game.screensOff < 0 ? tr("\nずれた画面 不明") : tr("\nずれた画面 %1").arg(locale.toString(game.screensOff));
    QToolTip::showText(QCursor::pos(), text, this);
}
