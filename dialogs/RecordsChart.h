#pragma once

#include "records/GameRecord.h"

#include <QChartView>
#include <QList>
#include <QPointF>

#include <array>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QTimer;
class QValueAxis;
class QXYSeries;

namespace records {
class ShownGames;
struct ShownChange;
} // namespace records

// The records window's chart: the time of every hit, game after game, the give-ups, the moving median and the
// training level. A whole chart is filled a series a turn, so that a long history never holds up the interface
// thread; a game added afterwards redraws only its own bucket.
class RecordsChart : public QChartView
{
    Q_OBJECT

public:
    explicit RecordsChart(QWidget *parent = nullptr);

    // Draws these statistics and the games they sum up (the n-th game at n), or nothing for none. Both must
    // stay as they are, but for add(), until the next view().
    void view(const records::ShownGames *stats, const QList<records::GameRecord> *shown);
    // Draws what the game last added to the statistics viewed changed.
    void add(const records::ShownChange &change);

signals:
    // The chart shows all that the last view() gave it.
    void filled();

protected:
    void changeEvent(QEvent *event) override;

private:
    void CreateChart();
    void RetranslateUi();
    void FillSome();
    void ViewScale(double top);
    void ViewGameAxis();
    void ShowPoint(const QPointF &point, bool shown);

    const records::ShownGames *m_stats = nullptr;
    const QList<records::GameRecord> *m_shown = nullptr;
    // Points the last bucket put into each series, which a game added to that bucket replaces.
    std::array<qsizetype, 5> m_tail{};
    // A whole chart's points, given to one series a turn; then the game axis.
    std::array<QList<QPointF>, 5> m_points;
    size_t m_step = 0;

    QTimer *timChart = nullptr;
    QChart *m_chart = nullptr;
    QScatterSeries *m_hits = nullptr;
    QScatterSeries *m_slow = nullptr; // hits beyond the top of the scale, drawn on it
    QLineSeries *m_trend = nullptr;
    QScatterSeries *m_giveUps = nullptr;
    QLineSeries *m_levels = nullptr;
    std::array<QXYSeries *, 5> m_series{};
    QCategoryAxis *m_gameAxis = nullptr;
    QValueAxis *m_secondsAxis = nullptr;
    QValueAxis *m_levelAxis = nullptr;
};
