#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QMainWindow>

class QChart;
class QChartView;
class QComboBox;
class QDateTimeAxis;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QTableWidget;
class QTimer;
class QValueAxis;

namespace records {
class RecordWriter;
}

// The player's training record: every game kept in the history, charted, summed up and exportable.
// Not modal: it may stay open beside the game and takes in each game as it is recorded.
class frmRecords : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmRecords(records::RecordWriter &history, QWidget *parent = nullptr);

    // While this timer runs (the pictures flicker after a give-up), a new game is taken into the views
    // right after one of its switches, so the work fits into the screen's interval and delays no switch.
    void PaceBy(const QTimer *switches) { m_switches = switches; }

    // The games that the chart, the table per kind and the export cover now.
    const QList<records::GameRecord> &Shown() const { return m_shown; }
    void ExportTo(const QString &path);

public slots:
    void cmbItems_Click();
    void cmbPeriod_Click();
    void cmdExport_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void CreateChart();
    void LoadHistory();
    void AddRecord(const records::GameRecord &record);
    void Refresh();
    void FillItemCounts();
    void ViewRecords();
    void ViewChart();
    void ViewKinds();
    void ViewBest();
    void ViewToday();
    void ShowStatus(const QString &problem);

    records::RecordWriter &m_history;
    // What the charts and tables need of every game, in order of start (the export reads the rest).
    QList<records::GameRecord> m_all;
    bool m_stale = false; // games have come in since the views were last filled
    const QTimer *m_switches = nullptr;
    bool m_refreshAfterSwitch = false;
    records::RecordFilter m_filter;
    QList<records::GameRecord> m_shown;

    QComboBox *cmbItems = nullptr;
    QComboBox *cmbPeriod = nullptr;
    QPushButton *cmdExport = nullptr;
    QChartView *chtTimes = nullptr;
    QTableWidget *grdKinds = nullptr;
    QTableWidget *grdBest = nullptr;
    QTableWidget *grdToday = nullptr;

    QChart *m_chart = nullptr;
    QScatterSeries *m_hits = nullptr;
    QLineSeries *m_trend = nullptr;
    QScatterSeries *m_giveUps = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    QValueAxis *m_secondsAxis = nullptr;
};
