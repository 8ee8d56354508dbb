#include "dialogs/frmRecords.h"

#include "dialogs/RecordsChart.h"
#include "dialogs/RecordsTableModel.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Translation.h"
#include "records/RecordWriter.h"
#include "records/ShownGames.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <array>

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

const char *const Loading = QT_TRANSLATE_NOOP("frmRecords", "読み込み中…");
const char *const AllItems = QT_TRANSLATE_NOOP("frmRecords", "すべて");
const std::array<const char *, 3> PeriodTexts = {QT_TRANSLATE_NOOP("frmRecords", "過去7日"),
                                                 QT_TRANSLATE_NOOP("frmRecords", "過去30日"),
                                                 QT_TRANSLATE_NOOP("frmRecords", "すべて")};

// Room for the six kinds without scrolling.
int wantedHeight(const QTableView *table)
{
    return table->horizontalHeader()->sizeHint().height()
           + records::RecordedKindCount * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
}

QTableView *newTable(const QString &name, RecordsTableModel *model, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // The header and a row at least: on a small screen the rest scrolls. No more than the six kinds: the chart
    // takes the rest.
    table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->defaultSectionSize()
                            + 2 * table->frameWidth());
    table->setMaximumHeight(wantedHeight(table));
    return table;
}

// Room for every column, whatever the font: each column as wide as its texts, and a scroll bar for a long list.
int wantedWidth(const QTableView *table)
{
    const QAbstractItemView *view = table; // where sizeHintForColumn() is public
    int width = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < table->model()->columnCount(); ++column)
        width += std::max(table->horizontalHeader()->sectionSizeHint(column), view->sizeHintForColumn(column));
    return width;
}

// A box's table and its title on one line.
int wantedWidth(const QGroupBox *box, const QTableView *table)
{
    const QMargins around = box->contentsMargins() + box->layout()->contentsMargins();
    return std::max(wantedWidth(table), box->findChild<QLabel *>()->sizeHint().width()) + around.left() + around.right();
}


// The title is a label of its own, which wraps where the box is narrower than it (a box's title would be cut).
QGroupBox *framed(const QString &name, QWidget *content, QWidget *parent)
{
    auto *box = new QGroupBox(parent);
    box->setObjectName(QStringLiteral("fra") + name);
    auto *layout = new QVBoxLayout(box);
    auto *title = new QLabel(box);
    title->setObjectName(QStringLiteral("lbl") + name);
    title->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(content);
    return box;
}

void setTitle(QGroupBox *box, const QString &title)
{
    box->findChild<QLabel *>()->setText(title);
}

// The start of the day so many days from now's, in now's zone: from the calendar, for a day may last 23 or 25
// hours where the clocks change, and may start later than 00:00.
qint64 midnightOf(const QDateTime &now, int days = 0)
{
    const QDate day = now.date().addDays(days);
    const QDateTime start = now.timeSpec() == Qt::TimeZone ? day.startOfDay(now.timeZone())
                                                           : day.startOfDay(now.timeSpec(), now.offsetFromUtc());
    return start.toMSecsSinceEpoch();
}

} // namespace

frmRecords::frmRecords(records::RecordWriter &history, QWidget *parent)
    : QMainWindow(parent)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmRecords"));
    setWindowFlag(Qt::Window);
    setFont(platform::gothicFont(10));
    timBuild = new QTimer(this);
    timBuild->setObjectName(QStringLiteral("timBuild"));
    timBuild->setInterval(0);
    connect(timBuild, &QTimer::timeout, this, &frmRecords::BuildSome);
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
    // The tables go with the widget, after this window has stopped being one: their last resizes reach nobody.
    for (QTableView *table : {grdKinds, grdBest, grdToday})
        disconnect(table->horizontalHeader(), nullptr, this, nullptr);
    lblStatus->removeEventFilter(this);
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

    chtTimes = new RecordsChart(central);
    layout->addWidget(chtTimes, 1);
    connect(chtTimes, &RecordsChart::filled, this, &frmRecords::ChartFilled);

    using Table = RecordsTableModel::Table;
    // The headers come with the words of the language, in RetranslateUi.
    m_kinds = new RecordsTableModel(Table::Kinds, {}, this);
    m_best = new RecordsTableModel(Table::Best, {}, this);
    m_today = new RecordsTableModel(Table::Today, {}, this);
    grdKinds = newTable(QStringLiteral("grdKinds"), m_kinds, central);
    grdBest = newTable(QStringLiteral("grdBest"), m_best, central);
    grdToday = newTable(QStringLiteral("grdToday"), m_today, central);
    m_tables = new QHBoxLayout;
    layout->addLayout(m_tables);
    fraKinds = framed(QStringLiteral("Kinds"), grdKinds, central);
    fraBest = framed(QStringLiteral("Best"), grdBest, central);
    fraToday = framed(QStringLiteral("Today"), grdToday, central);
    for (QGroupBox *box : {fraKinds, fraBest, fraToday})
        m_tables->addWidget(box, 1);
    // The sections follow their texts, so the tables' shares do too.
    for (QTableView *table : {grdKinds, grdBest, grdToday})
        connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, &frmRecords::ShareWidth);

    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("staRecords"));
    // A label rather than the bar's own message, which is cut where the bar ends: a problem's reason and advice
    // come last, and a path can be long.
    lblStatus = new QLabel(statusBar());
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    lblStatus->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(lblStatus, 1);
    lblStatus->installEventFilter(this);
}

int frmRecords::TablesWidth() const
{
    int width = m_tables->spacing() * (m_tables->count() - 1);
    for (const auto &[box, table] : {std::pair{fraKinds, grdKinds}, {fraBest, grdBest}, {fraToday, grdToday}})
        width += wantedWidth(box, table);
    return width;
}

void frmRecords::ShareWidth()
{
    // Each table's share is the room it wants: once the window is as wide as their sum every column shows whole;
    // a narrower window narrows each as much, and each scrolls within itself.
    int i = 0;
    for (const auto &[box, table] : {std::pair{fraKinds, grdKinds}, {fraBest, grdBest}, {fraToday, grdToday}})
        m_tables->setStretch(i++, wantedWidth(box, table));
}

void frmRecords::FitWindow()
{
    // The minimum follows the texts of now, not those of the last layout.
    layout()->invalidate();
    layout()->activate();
    const QMargins around = centralWidget()->layout()->contentsMargins();
    const int tablesHeight = std::max({wantedHeight(grdKinds), wantedHeight(grdBest), wantedHeight(grdToday)});
    resize(QSize(1080, 720).expandedTo(QSize(TablesWidth() + around.left() + around.right(),
                                             minimumHeight() - grdKinds->minimumHeight() + tablesHeight)));
    KeepOnScreen();
}

void frmRecords::KeepOnScreen()
{
    // The frame the desktop draws around a window, as around the main window: none before a window is shown.
    const QWidget *framed = parentWidget() ? parentWidget()->window() : this;
    const QSize frame = framed->frameGeometry().size() - framed->size();
    const QRect free = screen()->availableGeometry();
    // Never larger than the screen, frame and all inside it.
    resize(size().boundedTo(free.size() - frame));
    const QSize outer = size() + frame;
    move(std::clamp(x(), free.left(), std::max(free.left(), free.right() + 1 - outer.width())),
         std::clamp(y(), free.top(), std::max(free.top(), free.bottom() + 1 - outer.height())));
}

bool frmRecords::event(QEvent *event)
{
    const bool done = QMainWindow::event(event);
    // The layout grows the window for longer texts (a long message wraps into more lines): never out of the screen.
    if (event->type() == QEvent::LayoutRequest && isVisible())
        KeepOnScreen();
    return done;
}

bool frmRecords::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblStatus && event->type() == QEvent::Resize)
        FitStatus();
    return QMainWindow::eventFilter(watched, event);
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
    setTitle(fraKinds, tr("種類ごとの成績"));
    setTitle(fraBest, tr("記号の数ごとの自己ベスト"));
    setTitle(fraToday, tr("今日のゲーム"));
    for (int i = 1; i < cmbItems->count(); ++i)
        cmbItems->setItemText(i, platform::displayLocale().toString(cmbItems->itemData(i).toInt()));
    if (m_loading)
        ShowLoading();
    ShareWidth();
    if (isVisible())
        FitWindow();
}

void frmRecords::changeEvent(QEvent *event)
{
    // Before the views exist, the constructor sets their words itself.
    if (event->type() == QEvent::LanguageChange && m_today)
        RetranslateUi();
    QMainWindow::changeEvent(event);
}

void frmRecords::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    FitWindow();
    m_fitOnFill = true;
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
    ShowLoading();
}

void frmRecords::HistoryRead(quint64 request, const QList<GameRecord> &games, const QString &problem)
{
    if (request != m_request)
        return;
    m_request = 0;
    m_all = games;
    // Whatever came in before this answer was written before it was read, so it is in games already.
    m_incoming.clear();
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
    chtTimes->view(m_stats.get(), &m_shown);
}

void frmRecords::ArmMidnight()
{
    const QDateTime now = platform::clock().localDateTime();
    const qint64 untilMidnight = midnightOf(now, 1) - now.toMSecsSinceEpoch();
    // A second after, so that the clock has surely turned.
    timMidnight->start(static_cast<int>(untilMidnight + 1000));
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
    if (change.kind == KindNone && change.kindAdded)
        m_kinds->rowInserted(change.kind);
    else
        m_kinds->rowChanged(change.kind);
    if (change.bestAdded)
        m_best->rowInserted(change.bestRow);
    else if (change.bestRow >= 0)
        m_best->rowChanged(change.bestRow);
    if (change.today)
        m_today->rowInserted(0);

    chtTimes->add(change);
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
    ShowNote(tr("書き出し中…"));
}

void frmRecords::Exported(const QString &path, int count, const QString &problem)
{
    if (problem.isEmpty())
        ShowNote(tr("%n 件を %1 に書き出しました", nullptr, count).arg(path));
    else
        ShowNote(tr("%1に書き出せません（%2）").arg(path, problem));
}

void frmRecords::FitStatus()
{
    // The status bar takes the height of the lines the status wraps into at its width (none before it has one).
    lblStatus->setMinimumHeight(std::max(0, lblStatus->heightForWidth(lblStatus->width())));
}

void frmRecords::ChartFilled()
{
    // Loading lasts until the chart shows what was read.
    if (m_loading && m_request == 0 && !timBuild->isActive()) {
        ShowNote({});
        // The tables' columns are as wide as the games just read make them (longer words than the headers').
        if (std::exchange(m_fitOnFill, false))
            FitWindow();
    }
}

void frmRecords::ShowStatus(const QString &problem)
{
    m_problem = problem;
    ViewStatus();
}

void frmRecords::ShowNote(const QString &note)
{
    m_loading = false;
    m_note = note;
    ViewStatus();
}

void frmRecords::ShowLoading()
{
    ShowNote(tr(Loading));
    m_loading = true;
}

void frmRecords::ViewStatus()
{
    QStringList lines;
    for (const QString &line : {m_problem, m_note}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    lblStatus->setText(lines.join(QLatin1Char('\n')));
    FitStatus();
}
