#pragma once

#include "core/Limits.h"
#include "main/FlickerCycle.h"
#include "quiz/Quiz.h"
#include "quiz/QuizGenerator.h"
#include "records/GameTracker.h"
#include "records/HistoryStore.h"
#include "records/Staircase.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class ClickLabel;
class frmRecords;
class LineControl;
class QAction;
class QLabel;
class QPushButton;
namespace records {
class RecordWriter;
}

class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int KeyCount = ::KeyCount; // lblKey(0) to lblKey(KeyCount - 1)

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override; // the records window goes before the history service it uses

    // The game's state, read by tests and by nobody else outside the window.
    qint16 AnsView() const { return m_AnsView; }
    qint16 ViewMode() const { return m_cycle->phase(); }
    const Quiz &CurrentQuiz() const { return m_quiz; }

    // Client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    bool MakeQuiz();
    qint16 CheckPos(int No, QList<qint16> &iPos) const;
    void ViewQuiz(int No);
    void ClsView();
    void ViewSC(float SCtime);

signals:
    // The field has just switched to the next screen of the flicker: a quiet moment for other work.
    void switched();

public slots:
    void cmdStart_Click();
    void timMain_Timer();
    void timWatch_Timer();
    void timRefresh_Timer();
    void lblKey_Click(int index);
    void mnuEnd_Click();
    void mnuOpt_Click();
    void mnuAbout_Click();
    void mnuRecords_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override; // the title tells when the field holds fewer than the level

private:
    void Form_Load();
    void Form_Unload();
    void CreateControls();
    void CreateMenus();
    void InitSoftKey();
    bool StartPrg();
    QuizRequest FieldRequest() const; // the field at the window's size, without the settings
    int TrainingSymbols() const;      // the level, or the highest level the field holds where that is less
    void AskLevel();
    void TakeLevel(quint64 request, const records::Staircase &staircase, records::StoreStatus status);
    void FollowGame(const std::optional<records::GameRecord> &game);
    void StartWhenReady();
    void ViewCaption();
    void ShowScores();
    // The status box's text, kept as a function so that a change of language reads it again.
    void ShowStatus(std::function<QString()> text);
    void RetranslateUi();
    void FitHeader();
    void DrawPhase(ViewPhase phase);
    void FinishGame();

    QWidget *m_client = nullptr;
    QPushButton *cmdStart = nullptr;
    QLabel *lblAns = nullptr;
    std::array<QLabel *, ScoreCount> lblSc{};
    LineControl *Line1 = nullptr;
    LineControl *Line2 = nullptr;
    std::array<ClickLabel *, KeyCount> lblKey{};
    // The flicker and the stopwatch: timMain, timWatch and timRefresh, which takes timMain's place where the
    // display's refreshes can be counted.
    FlickerCycle *m_cycle = nullptr;
    QAction *mnuEnd = nullptr;
    QAction *mnuOpt = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuRecords = nullptr;
    frmRecords *m_records = nullptr;

    qint16 m_AnsView = 0;
    Quiz m_quiz;
    std::unique_ptr<records::RecordWriter> m_history;
    GameTracker m_tracker{*m_history};
    std::function<QString()> m_status;
    records::Staircase m_staircase; // the last known level of training, stepped by each game finished here
    quint64 m_levelRequest = 0;     // the level asked for and not answered yet; 0 when none is
    bool m_levelKnown = false;      // an answer came since the program started
    records::StoreStatus m_levelUnread = records::StoreStatus::Done; // why the last answer could not read the history
    QList<records::GameRecord> m_unasked; // games finished here since the level was asked for
    bool m_startWaiting = false;          // スタート was pressed before the level was known
};
