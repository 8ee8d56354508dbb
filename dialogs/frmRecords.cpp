#include "dialogs/frmRecords.h"

#include "platform/Clock.h"
#include "platform/Controls.h"
#include "records/RecordWriter.h"
#include "records/Statistics.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>
#include <set>

using records::GameRecord;
using records::Outcome;

namespace {

constexpr int TrendWindow = 10;
// Points per series the chart draws at most, twice this: more could not be told apart on a screen.
constexpr int ChartBuckets = 1000;
constexpr qint64 DayMs = 24 * 60 * 60 * 1000;
// Days of each period choice; 0 is all time.
constexpr std::array<int, 3> PeriodDays = {7, 30, 0};

const std::array<QString, records::KindCount> KindTexts = {
    QStringLiteral("色"),     QStringLiteral("別の記号"), QStringLiteral("似た記号"),
    QStringLiteral("消える"), QStringLiteral("移動"),     QStringLiteral("なし")};
const std::array<QString, 3> OutcomeTexts = {QStringLiteral("正解"), QStringLiteral("ギブアップ"),
                                             QStringLiteral("中断")};
const QString NoValue = QStringLiteral("---");

QString secondsText(double ms)
{
    return QString::number(ms / 1000, 'f', 2);
}

QTableWidget *newTable(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
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

void setRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto *item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        table->setItem(row, column, item);
    }
}

QGroupBox *framed(const QString &title, QWidget *content, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

frmRecords::frmRecords(records::RecordWriter &history, QWidget *parent)
    : QMainWindow(parent)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmRecords"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Ivok２の記録"));
    setFont(platform::gothicFont(10));
    CreateChart();
    CreateControls();
    LoadHistory();
}

void frmRecords::CreateControls()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    auto *filters = new QHBoxLayout;
    layout->addLayout(filters);

    cmbItems = new QComboBox(central);
    cmbItems->setObjectName(QStringLiteral("cmbItems"));
    cmbPeriod = new QComboBox(central);
    cmbPeriod->setObjectName(QStringLiteral("cmbPeriod"));
    cmbPeriod->addItems({QStringLiteral("過去7日"), QStringLiteral("過去30日"), QStringLiteral("すべて")});
    cmbPeriod->setCurrentIndex(static_cast<int>(PeriodDays.size()) - 1);
    cmdExport = new QPushButton(QStringLiteral("CSVに書き出す"), central);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    filters->addWidget(new QLabel(QStringLiteral("記号の数"), central));
    filters->addWidget(cmbItems);
    filters->addSpacing(16);
    filters->addWidget(new QLabel(QStringLiteral("期間"), central));
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

    auto *tables = new QHBoxLayout;
    layout->addLayout(tables);
    grdKinds = newTable(QStringLiteral("grdKinds"),
                        {QStringLiteral("種類"), QStringLiteral("ゲーム数"), QStringLiteral("正解"),
                         QStringLiteral("ギブアップ"), QStringLiteral("正解率"), QStringLiteral("中央値（秒）"),
                         QStringLiteral("最高（秒）")},
                        central);
    grdKinds->setRowCount(records::KindCount);
    grdBest = newTable(QStringLiteral("grdBest"), {QStringLiteral("記号の数"), QStringLiteral("最高（秒）")}, central);
    grdToday = newTable(QStringLiteral("grdToday"),
                        {QStringLiteral("時刻"), QStringLiteral("結果"), QStringLiteral("秒"),
                         QStringLiteral("記号の数"), QStringLiteral("種類")},
                        central);
    tables->addWidget(framed(QStringLiteral("種類ごとの成績"), grdKinds, central), 5);
    tables->addWidget(framed(QStringLiteral("記号の数ごとの自己ベスト"), grdBest, central), 2);
    tables->addWidget(framed(QStringLiteral("今日のゲーム"), grdToday, central), 4);

    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("staRecords"));
    resize(1080, 720);
}

void frmRecords::CreateChart()
{
    m_chart = new QChart;
    m_chart->setFont(font());
    m_chart->setTitleFont(platform::gothicFont(11));
    m_chart->setTitle(QStringLiteral("正解までの時間"));
    m_chart->legend()->setFont(font());
    m_chart->legend()->setAlignment(Qt::AlignBottom);

    m_hits = new QScatterSeries(m_chart);
    m_hits->setName(QStringLiteral("正解"));
    m_hits->setMarkerSize(6);
    m_hits->setBorderColor(Qt::transparent);
    m_trend = new QLineSeries(m_chart);
    m_trend->setName(QStringLiteral("直近%1回の中央値").arg(TrendWindow));
    QPen trendPen(QColor(0xE0, 0x70, 0x10));
    trendPen.setWidth(2);
    m_trend->setPen(trendPen);
    m_giveUps = new QScatterSeries(m_chart);
    m_giveUps->setName(QStringLiteral("ギブアップ"));
    m_giveUps->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_giveUps->setMarkerSize(7);
    m_giveUps->setColor(Qt::red);
    m_giveUps->setBorderColor(Qt::transparent);

    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat(QStringLiteral("MM/dd"));
    m_timeAxis->setLabelsFont(font());
    m_secondsAxis = new QValueAxis(m_chart);
    m_secondsAxis->setTitleText(QStringLiteral("秒"));
    m_secondsAxis->setTitleFont(font());
    m_secondsAxis->setLabelsFont(font());
    m_secondsAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_secondsAxis, Qt::AlignLeft);
    for (QXYSeries *series : {static_cast<QXYSeries *>(m_hits), static_cast<QXYSeries *>(m_trend),
                              static_cast<QXYSeries *>(m_giveUps)}) {
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_secondsAxis);
    }
}

void frmRecords::LoadHistory()
{
    // Connected before the request: every game recorded before the answer is in it, every later one comes
    // through recorded() after it.
    connect(&m_history, &records::RecordWriter::recorded, this, &frmRecords::AddRecord);
    connect(&m_history, &records::RecordWriter::problemChanged, this, &frmRecords::ShowStatus);
    connect(&m_history, &records::RecordWriter::exported, this,
            [this](const QString &path, int count, const QString &problem) {
                ShowStatus(problem.isEmpty() ? QStringLiteral("%1 件を %2 に書き出しました").arg(count).arg(path)
                                             : QStringLiteral("CSVに書き出せません（%1）").arg(problem));
            });
    auto request = std::make_shared<quint64>(0);
    connect(&m_history, &records::RecordWriter::historyRead, this,
            [this, request](quint64 answered, const QList<GameRecord> &games, const QString &problem) {
                if (answered != *request)
                    return;
                m_all = games;
                ShowStatus(problem);
                Refresh();
            });
    *request = m_history.requestHistory();
    ShowStatus(m_history.problem());
    Refresh();
}

void frmRecords::AddRecord(const GameRecord &record)
{
    m_all.append(record);
    m_stale = true;
    // A hidden window catches up when it is shown again, rather than work while the player plays.
    if (!isVisible())
        return;
    if (!m_switches || !m_switches->isActive()) {
        Refresh();
        return;
    }
    if (m_refreshAfterSwitch)
        return;
    m_refreshAfterSwitch = true;
    // Queued, so it runs once the switch has been drawn.
    connect(
        m_switches, &QTimer::timeout, this,
        [this] {
            m_refreshAfterSwitch = false;
            if (m_stale && isVisible())
                Refresh();
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

void frmRecords::showEvent(QShowEvent *event)
{
    if (m_stale)
        Refresh();
    QMainWindow::showEvent(event);
}

void frmRecords::Refresh()
{
    FillItemCounts();
    ViewRecords();
    m_stale = false;
}

void frmRecords::FillItemCounts()
{
    const QVariant chosen = cmbItems->currentData();
    std::set<int> counts;
    for (const GameRecord &record : m_all)
        counts.insert(record.items);
    cmbItems->clear();
    cmbItems->addItem(QStringLiteral("すべて"), 0);
    for (int count : counts)
        cmbItems->addItem(QString::number(count), count);
    cmbItems->setCurrentIndex(std::max(0, cmbItems->findData(chosen)));
}

void frmRecords::cmbItems_Click()
{
    ViewRecords();
}

void frmRecords::cmbPeriod_Click()
{
    ViewRecords();
}

void frmRecords::ViewRecords()
{
    m_filter = {};
    m_filter.items = cmbItems->currentData().toInt();
    const int days = PeriodDays[static_cast<size_t>(std::max(0, cmbPeriod->currentIndex()))];
    if (days > 0)
        m_filter.sinceMs = platform::clock().localDateTime().toMSecsSinceEpoch() - days * DayMs;
    m_shown.clear();
    std::copy_if(m_all.cbegin(), m_all.cend(), std::back_inserter(m_shown),
                 [this](const GameRecord &record) { return m_filter.accepts(record); });
    ViewChart();
    ViewKinds();
    ViewBest();
    ViewToday();
}

void frmRecords::ViewChart()
{
    QList<QPointF> hits;
    QList<QPointF> giveUps;
    std::vector<double> hitSeconds;
    for (const GameRecord &record : m_shown) {
        const auto x = static_cast<double>(record.startedMs);
        if (record.outcome == Outcome::Hit) {
            hitSeconds.push_back(static_cast<double>(record.elapsedMs) / 1000);
            hits.append(QPointF(x, hitSeconds.back()));
        } else if (record.outcome == Outcome::GiveUp) {
            giveUps.append(QPointF(x, 0));
        }
    }
    const std::vector<double> medians = records::movingMedian(hitSeconds, TrendWindow);
    QList<QPointF> trend;
    trend.reserve(hits.size());
    for (qsizetype i = 0; i < hits.size(); ++i)
        trend.append(QPointF(hits[i].x(), medians[static_cast<size_t>(i)]));

    m_hits->replace(records::thinned(hits, ChartBuckets));
    m_trend->replace(records::thinned(trend, ChartBuckets));
    m_giveUps->replace(records::thinned(giveUps, ChartBuckets));

    const QDateTime now = platform::clock().localDateTime();
    const qint64 first = m_shown.isEmpty() ? now.toMSecsSinceEpoch() - DayMs : m_shown.first().startedMs;
    const qint64 last = m_shown.isEmpty() ? now.toMSecsSinceEpoch() : m_shown.last().startedMs;
    // A margin on both sides keeps the first and the last game off the plot's edges.
    const qint64 margin = std::max<qint64>((last - first) / 40, 60 * 60 * 1000);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(first - margin), QDateTime::fromMSecsSinceEpoch(last + margin));
    m_timeAxis->setFormat(last - first < 2 * DayMs ? QStringLiteral("MM/dd hh:mm") : QStringLiteral("MM/dd"));
    const double slowest = hitSeconds.empty() ? 0 : *std::max_element(hitSeconds.begin(), hitSeconds.end());
    m_secondsAxis->setRange(0, std::max(10.0, slowest * 1.05));
    m_secondsAxis->applyNiceNumbers();
}

void frmRecords::ViewKinds()
{
    const auto table = records::kindTable(m_shown);
    for (int kind = 0; kind < records::KindCount; ++kind) {
        const records::KindSummary &row = table[static_cast<size_t>(kind)];
        setRow(grdKinds, kind,
               {KindTexts[static_cast<size_t>(kind)], QString::number(row.games), QString::number(row.hits),
                QString::number(row.giveUps),
                row.hitRate ? QStringLiteral("%1%").arg(qRound(*row.hitRate * 100)) : NoValue,
                row.medianMs ? secondsText(*row.medianMs) : NoValue,
                row.bestMs ? secondsText(static_cast<double>(*row.bestMs)) : NoValue});
    }
}

void frmRecords::ViewBest()
{
    const auto best = records::bestPerCount(m_all);
    grdBest->setRowCount(static_cast<int>(best.size()));
    int row = 0;
    for (const auto &[count, ms] : best)
        setRow(grdBest, row++, {QString::number(count), secondsText(static_cast<double>(ms))});
}

void frmRecords::ViewToday()
{
    const QDateTime now = platform::clock().localDateTime();
    const qint64 midnight = QDateTime(now.date(), QTime(0, 0), now.timeSpec(), now.offsetFromUtc()).toMSecsSinceEpoch();
    const auto firstToday = std::lower_bound(m_all.cbegin(), m_all.cend(), midnight,
                                             [](const GameRecord &record, qint64 ms) { return record.startedMs < ms; });
    grdToday->setRowCount(static_cast<int>(m_all.cend() - firstToday));
    int row = 0;
    // Newest first.
    for (auto record = m_all.cend(); record != firstToday; ++row) {
        --record;
        const QDateTime started = QDateTime::fromMSecsSinceEpoch(record->startedMs, now.timeSpec(), now.offsetFromUtc());
        setRow(grdToday, row,
               {started.toString(QStringLiteral("hh:mm:ss")), OutcomeTexts[static_cast<size_t>(record->outcome)],
                secondsText(static_cast<double>(record->elapsedMs)), QString::number(record->items),
                KindTexts[static_cast<size_t>(record->kind)]});
    }
}

void frmRecords::cmdExport_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSVに書き出す"),
                                                      QDir::home().filePath(QStringLiteral("ivok2-records.csv")),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        ExportTo(path);
}

void frmRecords::ExportTo(const QString &path)
{
    // The window holds only what it shows; the export reads every field of the same games afresh.
    m_history.requestExport(m_filter, path);
}

void frmRecords::ShowStatus(const QString &problem)
{
    if (!problem.isEmpty())
        statusBar()->showMessage(problem);
}
