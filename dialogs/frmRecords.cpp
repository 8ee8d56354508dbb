#include "dialogs/frmRecords.h"

#include "dialogs/RecordsTableModel.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Translation.h"
#include "records/RecordWriter.h"
#include "records/ShownGames.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

using records::ChartBucket;
using records::GameRecord;
using records::ShownGames;

namespace {

// Buckets the chart draws at most when the view is filled, two points each: more could not be told apart.
constexpr int ChartBuckets = 200;
// Interface-thread time one slice of filling the views may take, well inside a screen's interval.
constexpr qint64 SliceNs = 2'000'000;
// Games a day may add to the games shown before the list of them has to grow.
constexpr qsizetype NewGamesRoom = 1000;
constexpr qint64 DayMs = 24 * 60 * 60 * 1000;
// Days of each period choice; 0 is all time.
constexpr std::array<int, 3> PeriodDays = {7, 30, 0};
enum SeriesIndex { HitSeries, SlowSeries, TrendSeries, GiveUpSeries, LevelSeries };

const char *const Loading = QT_TRANSLATE_NOOP("frmRecords", "読み込み中…");
const char *const AllItems = QT_TRANSLATE_NOOP("frmRecords", "すべて");
const std::array<const char *, 3> PeriodTexts = {QT_TRANSLATE_NOOP("frmRecords", "過去7日"),
                                                 QT_TRANSLATE_NOOP("frmRecords", "過去30日"),
                                                 QT_TRANSLATE_NOOP("frmRecords", "すべて")};

QTableView *newTable(const QString &name, RecordsTableModel *model, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // Room for the six kinds without scrolling.
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height()
                            + records::KindCount * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth());
    return table;
}

QGroupBox *framed(QWidget *content, QWidget *parent)
{
    auto *box = new QGroupBox(parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

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

qint64 midnightOf(const QDateTime &now)
{
    return QDateTime(now.date(), QTime(0, 0), now.timeSpec(), now.offsetFromUtc()).toMSecsSinceEpoch();
}

} // namespace

frmRecords::frmRecords(records::RecordWriter &history, QWidget *parent)
    : QMainWindow(parent)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmRecords"));
    setWindowFlag(Qt::Window);
    setFont(platform::gothicFont(10));
    // Before the chart, which fills its first, empty picture through them.
    timBuild = new QTimer(this);
    timBuild->setObjectName(QStringLiteral("timBuild"));
    timBuild->setInterval(0);
    connect(timBuild, &QTimer::timeout, this, &frmRecords::BuildSome);
    timChart = new QTimer(this);
    timChart->setObjectName(QStringLiteral("timChart"));
    timChart->setInterval(0);
    connect(timChart, &QTimer::timeout, this, &frmRecords::FillChartSome);
    CreateChart();
    CreateControls();
    RetranslateUi();

    timMidnight = new QTimer(this);
    timMidnight->setObjectName(QStringLiteral("timMidnight"));
    timMidnight->setSingleShot(true);
    connect(timMidnight, &QTimer::timeout, this, &frmRecords::timMidnight_Timer);

    // Before any request: every game recorded after the answer comes through recorded().
    connect(&m_history, &records::RecordWriter::recorded, this, &frmRecords::Recorded);
    connect(&m_history, &records::RecordWriter::historyRead, this, &frmRecords::HistoryRead);
    connect(&m_history, &records::RecordWriter::historyChanged, this, &frmRecords::Reload);
    connect(&m_history, &records::RecordWriter::exported, this, &frmRecords::Exported);
    connect(&m_history, &records::RecordWriter::problemChanged, this, &frmRecords::ShowStatus);
}

frmRecords::~frmRecords()
{
    // The views outlive the statistics they show (they go with the widget, after the members).
    for (RecordsTableModel *model : {m_kinds, m_best, m_today})
        model->showStats(nullptr);
}

void frmRecords::CreateControls()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *filters = new QHBoxLayout;
    layout->addLayout(filters);

    cmbItems = new QComboBox(central);
    cmbItems->setObjectName(QStringLiteral("cmbItems"));
    cmbItems->addItem(QString(), 0);
    cmbPeriod = new QComboBox(central);
    cmbPeriod->setObjectName(QStringLiteral("cmbPeriod"));
    for (size_t i = 0; i < PeriodTexts.size(); ++i)
        cmbPeriod->addItem(QString());
    cmbPeriod->setCurrentIndex(static_cast<int>(PeriodDays.size()) - 1);
    cmdExport = new QPushButton(central);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    lblItems = new QLabel(central);
    lblItems->setObjectName(QStringLiteral("lblItems"));
    filters->addWidget(lblItems);
    filters->addWidget(cmbItems);
    filters->addSpacing(16);
    lblPeriod = new QLabel(central);
    lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
    filters->addWidget(lblPeriod);
    filters->addWidget(cmbPeriod);
    filters->addStretch();
    filters->addWidget(cmdExport);
    connect(cmbItems, &QComboBox::activated, this, &frmRecords::cmbItems_Click);
    connect(cmbPeriod, &QComboBox::activated, this, &frmRecords::cmbPeriod_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmRecords::cmdExport_Click);

    // Given at construction: a chart view made without one makes a chart of its own, which nobody would free.
    chtTimes = new QChartView(m_chart, central);
    chtTimes->setObjectName(QStringLiteral("chtTimes"));
    chtTimes->setRenderHint(QPainter::Antialiasing);
    chtTimes->setMinimumHeight(320);
    layout->addWidget(chtTimes, 1);

    using Table = RecordsTableModel::Table;
    // The headers come with the words of the language, in RetranslateUi.
    m_kinds = new RecordsTableModel(Table::Kinds, {}, this);
    m_best = new RecordsTableModel(Table::Best, {}, this);
    m_today = new RecordsTableModel(Table::Today, {}, this);
    grdKinds = newTable(QStringLiteral("grdKinds"), m_kinds, central);
    grdBest = newTable(QStringLiteral("grdBest"), m_best, central);
    grdToday = newTable(QStringLiteral("grdToday"), m_today, central);
    auto *tables = new QHBoxLayout;
    layout->addLayout(tables);
    fraKinds = framed(grdKinds, central);
    fraBest = framed(grdBest, central);
    fraToday = framed(grdToday, central);
    tables->addWidget(fraKinds, 5);
    tables->addWidget(fraBest, 2);
    tables->addWidget(fraToday, 4);

    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("staRecords"));
    resize(1080, 720);
}

void frmRecords::CreateChart()
{
    m_chart = new QChart;
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
            connect(series, &QXYSeries::hovered, this, &frmRecords::ShowPoint);
    }
    // After the chart's theme has coloured them.
    for (QScatterSeries *series : {m_hits, m_slow, m_giveUps})
        useLightMarker(series);
    ViewChart();
}

void frmRecords::RetranslateUi()
{
    setWindowTitle(tr("Ivok２の記録"));
    lblItems->setText(tr("記号の数"));
    lblPeriod->setText(tr("期間"));
    cmbItems->setItemText(0, tr(AllItems));
    for (size_t i = 0; i < PeriodTexts.size(); ++i)
        cmbPeriod->setItemText(static_cast<int>(i), tr(PeriodTexts[i]));
    cmdExport->setText(tr("CSVに書き出す"));
    //: The columns of the table per kind of change.
    m_kinds->showWords({tr("種類"), tr("ゲーム数"), tr("正解"), tr("ギブアップ"), tr("中断"), tr("正解率"),
                        tr("中央値（秒）"), tr("最高（秒）")});
    m_best->showWords({tr("記号の数"), tr("最高（秒）")});
    m_today->showWords({tr("時刻"), tr("結果"), tr("秒"), tr("記号の数"), tr("種類")});
    fraKinds->setTitle(tr("種類ごとの成績"));
    fraBest->setTitle(tr("記号の数ごとの自己ベスト"));
    fraToday->setTitle(tr("今日のゲーム"));
    m_chart->setTitle(tr("正解までの時間"));
    m_hits->setName(tr("正解"));
    m_slow->setName(tr("上端より遅い正解"));
    //: The line of the median of the last hits; %1 is how many.
    m_trend->setName(tr("直近%1回の中央値").arg(platform::displayLocale().toString(ShownGames::TrendWindow)));
    m_giveUps->setName(tr("ギブアップ"));
    m_levels->setName(tr("レベル"));
    m_secondsAxis->setTitleText(tr("秒"));
    m_levelAxis->setTitleText(tr("レベル"));
    for (int i = 1; i < cmbItems->count(); ++i)
        cmbItems->setItemText(i, platform::displayLocale().toString(cmbItems->itemData(i).toInt()));
    ViewGameAxis();
}

void frmRecords::changeEvent(QEvent *event)
{
    // Before the chart and the views exist, the constructor sets their words itself.
    if (event->type() == QEvent::LanguageChange && m_levelAxis)
        RetranslateUi();
    QMainWindow::changeEvent(event);
}

void frmRecords::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    m_history.setWatching(true);
    ArmMidnight();
    Reload();
}

void frmRecords::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    if (event->spontaneous())
        return;
    m_history.setWatching(false);
    timMidnight->stop();
}

void frmRecords::Reload()
{
    m_request = m_history.requestHistory();
    statusBar()->showMessage(tr(Loading));
}

void frmRecords::HistoryRead(quint64 request, const QList<GameRecord> &games, const QString &problem)
{
    if (request != m_request)
        return;
    m_request = 0;
    m_all = games;
    // Whatever came in before this answer was written before it was read, so it is in games already.
    m_incoming.clear();
    if (statusBar()->currentMessage() == tr(Loading))
        statusBar()->clearMessage();
    // A game that could not be written before the window opened is still the player's concern.
    ShowStatus(problem.isEmpty() ? m_history.problem() : problem);
    Rebuild();
}

void frmRecords::Recorded(const GameRecord &record)
{
    // A read under way covers it; a hidden window reads afresh when shown.
    if (m_request != 0 || !isVisible())
        return;
    m_incoming.append(record);
    if (m_flickering && m_flickering())
        m_waitingForSwitch = true;
    else
        TakeIn();
}

void frmRecords::Switched()
{
    if (!m_waitingForSwitch)
        return;
    m_waitingForSwitch = false;
    // Queued, so that the switch is drawn first.
    QMetaObject::invokeMethod(this, &frmRecords::TakeIn, Qt::QueuedConnection);
}

void frmRecords::TakeIn()
{
    const QList<GameRecord> games = std::exchange(m_incoming, {});
    for (const GameRecord &record : games) {
        m_all.append(record);
        // A build under way reaches it by itself.
        if (timBuild->isActive() || !m_stats)
            continue;
        if (m_itemCounts.insert(record.items).second)
            FillItemCounts();
        if (!m_filter.accepts(record))
            continue;
        m_shown.append(record);
        ShowChange(m_stats->add(record));
    }
}

void frmRecords::cmbItems_Click()
{
    Rebuild();
}

void frmRecords::cmbPeriod_Click()
{
    Rebuild();
}

void frmRecords::Rebuild()
{
    const QDateTime now = platform::clock().localDateTime();
    m_filter = {};
    m_filter.items = cmbItems->currentData().toInt();
    const int days = PeriodDays[static_cast<size_t>(std::max(0, cmbPeriod->currentIndex()))];
    if (days > 0)
        m_filter.sinceMs = now.toMSecsSinceEpoch() - days * DayMs;
    const auto bucketSize = static_cast<int>((m_all.size() + ChartBuckets - 1) / ChartBuckets);
    m_building = std::make_unique<ShownGames>(bucketSize, midnightOf(now));
    m_buildingShown.clear();
    // Room for every game and the day's new ones at once: a long list that grows later is copied in one go.
    m_buildingShown.reserve(m_all.size() + NewGamesRoom);
    m_buildingCounts.clear();
    m_buildPosition = 0;
    BuildSome();
    if (m_building)
        timBuild->start();
}

void frmRecords::BuildSome()
{
    // A slice at a time, so that a long history never holds up the interface thread (nor the flicker).
    QElapsedTimer slice;
    slice.start();
    while (m_buildPosition < m_all.size()) {
        // Read only: the list may still share its games with the reading that brought them.
        const GameRecord &record = std::as_const(m_all)[m_buildPosition++];
        m_buildingCounts.insert(record.items);
        if (m_filter.accepts(record)) {
            m_buildingShown.append(record);
            m_building->add(record);
        }
        if (m_buildPosition % 256 == 0 && slice.nsecsElapsed() > SliceNs)
            return;
    }
    // Filling the views (the chart above all) takes a turn of its own after a slice that used much of its time.
    if (timBuild->isActive() && slice.nsecsElapsed() > SliceNs / 2)
        return;
    timBuild->stop();
    // The old statistics go only once no view shows them.
    const std::unique_ptr<ShownGames> shown = std::exchange(m_stats, std::move(m_building));
    for (RecordsTableModel *model : {m_kinds, m_best, m_today})
        model->showStats(m_stats.get());
    m_shown = std::exchange(m_buildingShown, {});
    m_itemCounts = std::exchange(m_buildingCounts, {});
    FillItemCounts();
    ViewChart();
}

void frmRecords::ArmMidnight()
{
    const QDateTime now = platform::clock().localDateTime();
    const qint64 untilMidnight = midnightOf(now) + DayMs - now.toMSecsSinceEpoch();
    // A second after, so that the clock has surely turned.
    timMidnight->start(static_cast<int>(std::min<qint64>(untilMidnight + 1000, DayMs)));
}

void frmRecords::timMidnight_Timer()
{
    Rebuild();
    ArmMidnight();
}

void frmRecords::FillItemCounts()
{
    const QVariant chosen = cmbItems->currentData();
    cmbItems->clear();
    cmbItems->addItem(tr(AllItems), 0);
    for (int count : m_itemCounts)
        cmbItems->addItem(platform::displayLocale().toString(count), count);
    cmbItems->setCurrentIndex(std::max(0, cmbItems->findData(chosen)));
}

void frmRecords::ShowChange(const records::ShownChange &change)
{
    if (change.kind == static_cast<int>(records::Kind::None) && change.kindAdded)
        m_kinds->rowInserted(change.kind);
    else
        m_kinds->rowChanged(change.kind);
    if (change.bestAdded)
        m_best->rowInserted(change.bestRow);
    else if (change.bestRow >= 0)
        m_best->rowChanged(change.bestRow);
    if (change.today)
        m_today->rowInserted(0);

    // A new scale moves every point; a chart still being filled takes the game with all the others.
    if (change.scaleChanged || timChart->isActive()) {
        ViewChart();
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

void frmRecords::ViewChart()
{
    const double top = m_stats ? m_stats->scaleTop() : ShownGames::roundedTop(0);
    ViewScale(top);
    // Collected first: a series redraws on every change, once for a whole list.
    for (QList<QPointF> &points : m_chartPoints)
        points.clear();
    if (m_stats) {
        for (const ChartBucket &bucket : m_stats->buckets()) {
            const auto added = pointsOf(bucket, top);
            for (size_t i = 0; i < m_chartPoints.size(); ++i) {
                m_chartPoints[i] += added[i];
                m_tail[i] = added[i].size();
            }
        }
    }
    m_chartStep = 0;
    FillChartSome();
    timChart->start();
}

void frmRecords::FillChartSome()
{
    // One series a turn, then the axis: filling an empty series builds an item for each of its points, and all
    // five at once held up the interface thread for some ten milliseconds with a long history.
    if (m_chartStep < m_series.size()) {
        m_series[m_chartStep]->replace(std::exchange(m_chartPoints[m_chartStep], {}));
        ++m_chartStep;
        return;
    }
    timChart->stop();
    ViewGameAxis();
}

void frmRecords::ViewScale(double top)
{
    // Never a long scale at a small step between the two changes: every tick is a label the chart lays out.
    const double step = ShownGames::stepOf(top);
    if (step > m_secondsAxis->tickInterval()) {
        m_secondsAxis->setTickInterval(step);
        m_secondsAxis->setRange(0, top);
    } else {
        m_secondsAxis->setRange(0, top);
        m_secondsAxis->setTickInterval(step);
    }
}

void frmRecords::ViewGameAxis()
{
    // The n-th game shown sits at n. A long run of games leaves a little room at the right, so that the axis
    // (and with it every point) moves only every few dozen new games.
    const auto count = m_shown.size();
    const qsizetype room = std::max<qsizetype>(1, count / 50);
    const auto end = static_cast<double>((count + room) / room * room);
    if (m_gameAxis->max() != end || m_gameAxis->min() != 0) {
        m_gameAxis->setRange(0, end);
        m_gameAxis->setStartValue(0);
    }
    // The first and the last game's dates stand under the axis.
    QStringList labels;
    if (count > 0) {
        const QDateTime first = QDateTime::fromMSecsSinceEpoch(m_shown.first().startedMs);
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(m_shown.last().startedMs);
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
    m_gameAxis->setTitleText(tr("ゲーム（%1 回）").arg(platform::displayLocale().toString(count)));
    m_levelAxis->setVisible(m_stats && m_stats->hasTraining());
}

void frmRecords::ShowPoint(const QPointF &point, bool shown)
{
    const auto index = qRound(point.x()) - 1;
    if (!shown || index < 0 || index >= m_shown.size()) {
        QToolTip::hideText();
        return;
    }
    const GameRecord &game = m_shown[index];
    const QLocale locale = platform::displayLocale();
    //: A game under the pointer: its start, kind of change, number of symbols and outcome.
    QString text = tr("%1\n%2　%3 個\n%4")
                       .arg(platform::shownMoment(QDateTime::fromMSecsSinceEpoch(game.startedMs)), kindText(game.kind),
                            locale.toString(game.items), outcomeText(game.outcome));
    if (game.outcome == records::Outcome::Hit)
        text += tr(" %1 秒").arg(locale.toString(static_cast<double>(game.elapsedMs) / 1000, 'f', 2));
    if (game.mode == records::Mode::Training)
        text += tr("\nレベル %1").arg(locale.toString(game.level));
    QToolTip::showText(QCursor::pos(), text, chtTimes);
}

void frmRecords::cmdExport_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("CSVに書き出す"),
                                                      QDir::home().filePath(QStringLiteral("ivok2-records.csv")),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        ExportTo(path);
}

void frmRecords::ExportTo(const QString &path)
{
    // A period counts back from now, as the views after this do.
    if (PeriodDays[static_cast<size_t>(std::max(0, cmbPeriod->currentIndex()))] > 0)
        Rebuild();
    m_history.requestExport(m_filter, path);
    statusBar()->showMessage(tr("書き出し中…"));
}

void frmRecords::Exported(const QString &path, int count, const QString &problem)
{
    if (problem.isEmpty())
        statusBar()->showMessage(tr("%n 件を %1 に書き出しました", nullptr, count).arg(path));
    else
        ShowStatus(tr("%1に書き出せません（%2）").arg(path, problem));
}

void frmRecords::ShowStatus(const QString &problem)
{
    if (problem.isEmpty())
        return;
    // What the database driver adds in brackets is English for programmers; a file's path stays.
    const auto open = problem.lastIndexOf(QStringLiteral("（"));
    const bool driverText = open > 0 && problem.endsWith(QStringLiteral("）")) && problem.mid(open + 1, 1) != QStringLiteral("/");
    statusBar()->showMessage(driverText ? problem.left(open) : problem);
}
