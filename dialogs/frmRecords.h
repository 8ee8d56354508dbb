#pragma once

#include "records/GameRecord.h"

#include <QList>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <set>

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;
class RecordsChart;
class RecordsTableModel;

namespace records {
class RecordWriter;
class ShownGames;
struct ShownChange;
} // namespace records

// The player's training record: every game kept in the history, charted, summed up and exportable.
// Not modal: it may stay open beside the game and takes in each game as it is recorded. It never reads the
// file itself: the writer reads and exports on its own thread and answers through signals.
class frmRecords : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmRecords(records::RecordWriter &history, QWidget *parent = nullptr);
    ~frmRecords() override;

    // While flickering() holds, a new game waits for the next Switched(), so that taking it in fits into the
    // screen's interval and delays no switch.
    void PaceBy(std::function<bool()> flickering) { m_flickering = std::move(flickering); }

    // The games that the chart, the tables and the export cover now.
    const QList<records::GameRecord> &Shown() const { return m_shown; }
    // Writes the games shown as CSV; the status bar tells when it is done.
    void ExportTo(const QString &path);

public slots:
    void cmbItems_Click();
    void cmbPeriod_Click();
    void cmdExport_Click();
    // The field has just switched: games that waited are taken in now.
    void Switched();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void CreateControls();
    void RetranslateUi();
    void Reload();
    void HistoryRead(quint64 request, const QList<records::GameRecord> &games, const QString &problem);
    void Recorded(const records::GameRecord &record);
    void TakeIn();
    void Rebuild();
    void BuildSome();
    void timMidnight_Timer();
    void ArmMidnight();
    void FillItemCounts();
    void ShowChange(const records::ShownChange &change);
    void Exported(const QString &path, int count, const QString &problem);
    void ChartFilled();
    // The status line: the history's problem, if any, over what the window is doing or has just done.
    void ShowStatus(const QString &problem);
    void ShowNote(const QString &note);
    void ShowLoading();
    void ViewStatus();
    void FitStatus();
    // The room every table wants across, side by side.
    int TablesWidth() const;
    void ShareWidth();
    // As large as the texts want and the screen allows, inside the screen.
    void FitWindow();
    void KeepOnScreen();

    records::RecordWriter &m_history;
    std::function<bool()> m_flickering;
    quint64 m_request = 0; // the history read this window waits for; 0 when none
    // What the charts and tables need of every game, in order of start (the export reads the rest).
    QList<records::GameRecord> m_all;
    QList<records::GameRecord> m_incoming; // recorded, waiting for a quiet moment
    bool m_waitingForSwitch = false;
    std::set<int> m_itemCounts;
    records::RecordFilter m_filter;

    // The views show m_stats and m_shown; a change of filter or a reload builds the next ones a slice at a time.
    std::unique_ptr<records::ShownGames> m_stats;
    QList<records::GameRecord> m_shown;
    std::unique_ptr<records::ShownGames> m_building;
    QList<records::GameRecord> m_buildingShown;
    std::set<int> m_buildingCounts;
    qsizetype m_buildPosition = 0;
    QString m_problem;
    QString m_note;
    bool m_loading = false; // the note says the history is being read, in the language of the moment
    bool m_fitOnFill = false; // the first filling since shown sets the window's width to the tables' words

    QLabel *lblItems = nullptr;
    QComboBox *cmbItems = nullptr;
    QLabel *lblPeriod = nullptr;
    QComboBox *cmbPeriod = nullptr;
    QGroupBox *fraKinds = nullptr;
    QGroupBox *fraBest = nullptr;
    QGroupBox *fraToday = nullptr;
    QHBoxLayout *m_tables = nullptr;
    QPushButton *cmdExport = nullptr;
    QLabel *lblStatus = nullptr;
    RecordsChart *chtTimes = nullptr;
    QTableView *grdKinds = nullptr;
    QTableView *grdBest = nullptr;
    QTableView *grdToday = nullptr;
    QTimer *timBuild = nullptr;
    QTimer *timMidnight = nullptr;
    RecordsTableModel *m_kinds = nullptr;
    RecordsTableModel *m_best = nullptr;
    RecordsTableModel *m_today = nullptr;
};
