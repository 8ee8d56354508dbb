#pragma once

#include "core/Limits.h"
#include "core/RefreshPacer.h"
#include "core/SwitchSchedule.h"
#include "quiz/Quiz.h"
#include "records/GameTracker.h"
#include "records/Staircase.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class ClickLabel;
class FrameTicker;
class frmRecords;
class LineControl;
class QAction;
class QLabel;
class QPushButton;
class QTimer;
namespace records {
class RecordWriter;
}

// ViewMode: what the field shows now. Each tick of the picture timer moves on to the next phase.
enum ViewPhase : qint16 {
    ViewPicture1 = 0,
    ViewBlankAfter1 = 1,
    ViewPicture2 = 2,
    ViewBlankAfter2 = 3,
};

class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int KeyCount = ::KeyCount; // lblKey(0) to lblKey(KeyCount - 1)

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override; // the records window goes before the history service it uses

    // The game's state, read by tests and by nobody else outside the window.
    qint16 AnsView() const { return m_AnsView; }
    qint16 ViewMode() const { return m_ViewMode; }
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

private:
    void Form_Load();
    void Form_Unload();
    void CreateControls();
    void CreateMenus();
    void InitSoftKey();
    bool StartPrg();
    float ElapsedSeconds() const;
    void AskLevel();
    void TakeHistory(quint64 request, const QList<records::GameRecord> &games, const QString &problem);
    void FollowGame(const records::GameRecord &game);
    void ViewCaption();
    void ShowScores();
    // The status box's text, kept as a function so that a change of language reads it again.
    void ShowStatus(std::function<QString()> text);
    void RetranslateUi();
    void FitHeader();
    void ShowFirstPicture();
    bool NextScreen();
    bool PictureShown() const;
    double ScreenSeconds() const;

    QWidget *m_client = nullptr;
    QPushButton *cmdStart = nullptr;
    QLabel *lblAns = nullptr;
    std::array<QLabel *, ScoreCount> lblSc{};
    LineControl *Line1 = nullptr;
    LineControl *Line2 = nullptr;
    std::array<ClickLabel *, KeyCount> lblKey{};
    QTimer *timMain = nullptr;
    QTimer *timWatch = nullptr;
    // Takes timMain's place where the display's refreshes can be counted.
    FrameTicker *timRefresh = nullptr;
    QAction *mnuEnd = nullptr;
    QAction *mnuOpt = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuRecords = nullptr;
    frmRecords *m_records = nullptr;

    qint16 m_AnsView = 0;
    float m_StartTime = 0;
    double m_startSteady = 0; // steady-clock reading at the start, for the elapsed time
    qint16 m_ViewMode = ViewPicture1;
    RefreshPacer::Mechanism m_pacing = RefreshPacer::Mechanism::Timer;
    SwitchSchedule m_schedule;
    RefreshPacer m_refreshes;
    bool m_firstPicturePending = false;
    Quiz m_quiz;
    std::unique_ptr<records::RecordWriter> m_history;
    GameTracker m_tracker{*m_history};
    records::Staircase m_staircase; // the last known level of training
    quint64 m_levelRequest = 0;     // the last history read asked for the level
    std::function<QString()> m_status;
};
