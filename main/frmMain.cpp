#include "main/frmMain.h"

#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOpt.h"
#include "dialogs/frmRecords.h"
#include "platform/ClickLabel.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Controls.h"
#include "platform/FrameTicker.h"
#include "platform/LineControl.h"
#include "platform/MessageBox.h"
#include "platform/Numbers.h"
#include "platform/Placement.h"
#include "platform/ProgramIcon.h"
#include "platform/ProgramInfo.h"
#include "platform/Random.h"
#include "quiz/QuizGenerator.h"
#include "records/HistoryLocation.h"
#include "records/RecordWriter.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QString StartCaption = QStringLiteral("スタート");
const QString GiveUpCaption = QStringLiteral("ギブアップ");
constexpr quint32 AnswerMark = 0x00C0C0FF;

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_history(std::make_unique<records::RecordWriter>(records::historyPath()))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(platform::ProgramTitle));
    setWindowIcon(platform::programIcon());
    setFont(platform::gothicFont(9));
    CreateControls();
    CreateMenus();
    // The design size is the client area's, below the menu bar: what a restored window shows, and
    // what a window manager that ignores maximising leaves.
    const int clientWidth = platform::toPixels(8595);
    resize(clientWidth, platform::toPixels(4905) + menuBar()->heightForWidth(clientWidth));
    connect(m_history.get(), &records::RecordWriter::recorded, this, &frmMain::FollowGame);
    connect(m_history.get(), &records::RecordWriter::historyRead, this, &frmMain::TakeHistory);
    Form_Load();
}

frmMain::~frmMain()
{
    delete m_records;
}

void frmMain::CreateControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setAutoFillBackground(true);
    QPalette background = m_client->palette();
    background.setColor(QPalette::Window, platform::toQColor(platform::ButtonFace, background));
    m_client->setPalette(background);
    setCentralWidget(m_client);

    cmdStart = new QPushButton(StartCaption, m_client);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setFont(platform::gothicFont(12));
    // Outside a dialog a button ignores Enter; players expect Enter, like Space, to press the focused one.
    cmdStart->setAutoDefault(true);
    platform::placeInTwips(cmdStart, 2400, 120, 1575, 495);
    connect(cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);

    lblAns = new QLabel(m_client);
    lblAns->setObjectName(QStringLiteral("lblAns"));
    lblAns->setFont(platform::gothicFont(20.25));
    lblAns->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblAns->setAlignment(Qt::AlignCenter);
    QPalette red = lblAns->palette();
    red.setColor(QPalette::WindowText, platform::toQColor(0x000000FF));
    lblAns->setPalette(red);
    platform::placeInTwips(lblAns, 120, 120, 2175, 495);

    for (int i = 0; i < ScoreCount; ++i) {
        lblSc[i] = new QLabel(m_client);
        lblSc[i]->setObjectName(platform::indexedName("lblSc", i));
        lblSc[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblSc[i]->setAlignment(Qt::AlignCenter);
        platform::placeInTwips(lblSc[i], 4200 + 720 * i, 240, 615, 255);
    }

    Line1 = new LineControl(0, 720, 7800, 720, m_client);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line2 = new LineControl(7800, 720, 7800, 0, m_client);
    Line2->setObjectName(QStringLiteral("Line2"));

    const DisplayPacer::Choice pacing = DisplayPacer::chosen(QGuiApplication::platformName(), qgetenv("IVOK2_PACING"));
    if (pacing.refused)
        qWarning("IVOK2_PACING=frames is honoured on a Wayland compositor only: the flicker is paced by a timer");
    m_cycle = new FlickerCycle(
        this, m_client, pacing.mechanism, [this](ViewPhase phase) { DrawPhase(phase); },
        [](bool picture) { return picture ? UsableViewTime() : UsableBlankTime(); });
    connect(m_cycle->pictureTimer(), &QTimer::timeout, this, &frmMain::timMain_Timer);
    connect(m_cycle->watchTimer(), &QTimer::timeout, this, &frmMain::timWatch_Timer);
    connect(m_cycle->refreshTicker(), &FrameTicker::refreshed, this, &frmMain::timRefresh_Timer);
    connect(m_cycle, &FlickerCycle::switched, this, &frmMain::switched);

    cmdStart->setFocus();
}

void frmMain::CreateMenus()
{
    mnuEnd = menuBar()->addAction(QStringLiteral("終了"));
    mnuEnd->setObjectName(QStringLiteral("mnuEnd"));
    connect(mnuEnd, &QAction::triggered, this, &frmMain::mnuEnd_Click);

    mnuOpt = menuBar()->addAction(QStringLiteral("設定"));
    mnuOpt->setObjectName(QStringLiteral("mnuOpt"));
    connect(mnuOpt, &QAction::triggered, this, &frmMain::mnuOpt_Click);

    mnuAbout = menuBar()->addAction(QStringLiteral("バージョン"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);

    mnuRecords = menuBar()->addAction(QStringLiteral("記録"));
    mnuRecords->setObjectName(QStringLiteral("mnuRecords"));
    connect(mnuRecords, &QAction::triggered, this, &frmMain::mnuRecords_Click);
}

void frmMain::Form_Load()
{
    SetOptDefaults(OptRec);
    m_AnsView = False16;
    InitSC();
    InitList();
    InitSoftKey();
    if (LoadOpt(ChooseOptFile()))
        SetColor();
    TrainingMode = LoadTrainingMode(TrainingFilePath());
    if (TrainingMode)
        AskLevel();
    ViewCaption();
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::InitSoftKey()
{
    for (int i = 0; i < KeyCount; ++i) {
        ClickLabel *label = new ClickLabel(m_client);
        label->setObjectName(platform::indexedName("lblKey", i));
        label->setFont(platform::gothicFont(20.25));
        platform::placeInTwips(label, 4080, 1800, 375, 375);
        label->setVisible(false);
        // Each label goes beneath all earlier ones and beneath the header lines. A quiz of n symbols
        // uses labels 0 to n-1, so a label left over from a larger quiz lies under every current
        // one and never hides or catches its click, and the lines stay whole in every phase.
        label->lower();
        connect(label, &ClickLabel::clicked, this, [this, i] { lblKey_Click(i); });
        lblKey[i] = label;
    }
}

double frmMain::ScaleWidth() const
{
    return platform::toTwips(m_client->width());
}

double frmMain::ScaleHeight() const
{
    return platform::toTwips(m_client->height());
}

void frmMain::cmdStart_Click()
{
    if (cmdStart->text() == StartCaption) {
        m_cycle->stop();
        m_AnsView = False16;
        if (!StartPrg()) {
            // The blank field must not keep the status of the previous game.
            lblAns->setText(QString());
            return;
        }
        m_cycle->startStopwatch();
        cmdStart->setText(GiveUpCaption);
        lblAns->setText(QString());
        return;
    }

    m_cycle->stopStopwatch();
    if (m_AnsView == False16) {
        m_AnsView = True16;
        FinishGame();
        m_tracker.gaveUp();
        ViewSC(-1);
        cmdStart->setText(StartCaption);
        lblAns->setText(QStringLiteral("解答表示中"));
    }
}

bool frmMain::StartPrg()
{
    m_StartTime = platform::timeOfDay();
    m_cycle->resetStopwatch();
    if (!MakeQuiz()) {
        // No game: a blank field, and no click may count against the old quiz.
        ClsView();
        m_AnsView = True16;
        return false;
    }
    m_cycle->start();
    // The quiz's own count: the level may have moved while a message of MakeQuiz was open.
    if (TrainingMode)
        m_tracker.gameStarted(m_quiz, m_cycle->stopwatchOrigin(), records::Mode::Training, m_quiz.itemCount());
    else
        m_tracker.gameStarted(m_quiz, m_cycle->stopwatchOrigin(), records::Mode::Free, 0);
    return true;
}

// Puts up the screen of a phase of the flicker.
void frmMain::DrawPhase(ViewPhase phase)
{
    ClsView();
    if (phase == ViewPicture1 || phase == ViewPicture2)
        ViewQuiz(phase == ViewPicture1 ? 1 : 2);
}

// The flicker's own account of the game goes with its record.
void frmMain::FinishGame()
{
    m_tracker.screensShown(m_cycle->tally(), m_cycle->timing());
}

bool frmMain::MakeQuiz()
{
    QuizRequest request;
    request.keyHeight = platform::toTwips(lblKey[0]->height());
    request.keyWidth = platform::toTwips(lblKey[0]->width());
    request.fieldTop = Line1->y1();
    request.scaleWidth = ScaleWidth();
    request.scaleHeight = ScaleHeight();
    request.kigouNum = TrainingMode ? m_staircase.level : UsableKigouNum();
    request.koumoku = OptRec.Koumoku;

    switch (generateQuiz(request, platform::random(), m_quiz)) {
    case QuizOutcome::Complete:
        return true;
    case QuizOutcome::NoMovePossible:
        platform::messages().show(this, QStringLiteral("エラーが発生しました。この問題には正解がありません。"
                                                       "画面サイズを大きくするか、文字の数を減らして、"
                                                       "新しい問題に挑戦してください。"));
        return true;
    case QuizOutcome::FieldTooSmall:
        platform::messages().show(this, QStringLiteral("画面が小さすぎるため、問題を作れません。"
                                                       "画面サイズを大きくするか、文字の数を減らしてください。"));
        return false;
    }
    return false;
}

qint16 frmMain::CheckPos(int No, QList<qint16> &iPos) const
{
    return ::CheckPos(m_quiz.Quiz1, m_quiz.geometry, No, iPos);
}

void frmMain::ViewQuiz(int No)
{
    const QuizGeometry &g = m_quiz.geometry;
    const std::vector<QuizItem> &source = No == 1 ? m_quiz.Quiz1 : m_quiz.Quiz2;
    const int n = m_quiz.itemCount();
    for (int i = 0; i < n; ++i) {
        const QuizItem &item = source[static_cast<size_t>(i)];
        ClickLabel *label = lblKey[i];
        const auto top = static_cast<float>(g.FieldTop + static_cast<qint32>(item.PosY * g.KeyHeight));
        const auto left = static_cast<float>(g.FieldLeft + static_cast<qint32>(item.PosX * g.KeyWidth));
        label->move(platform::toPixels(left), platform::toPixels(top));
        label->setText(KigouList[item.KigouNo]);
        label->setForeColor(platform::toQColor(static_cast<quint32>(ColorList[item.ColorNo])));
        label->setVisible(true);
    }
    if (m_AnsView == True16)
        lblKey[m_quiz.AnsNo]->setBackColor(platform::toQColor(AnswerMark));
}

void frmMain::ClsView()
{
    const QColor blank = platform::toQColor(platform::ButtonFace);
    for (ClickLabel *label : lblKey) {
        label->setText(QString());
        label->setBackColor(blank);
    }
}

void frmMain::timMain_Timer()
{
    m_cycle->timerDue();
}

void frmMain::timRefresh_Timer()
{
    m_cycle->refreshed();
}

void frmMain::timWatch_Timer()
{
    lblAns->setText(platform::numberText(platform::floorToInt(m_cycle->elapsedSeconds())) + QStringLiteral(" 秒"));
}

void frmMain::lblKey_Click(int index)
{
    if (m_quiz.itemCount() == 0 || index != m_quiz.AnsNo || m_AnsView == True16) {
        m_tracker.missed();
        return;
    }
    m_cycle->stop();
    m_cycle->stopStopwatch();
    FinishGame();
    m_tracker.hit();
    m_AnsView = True16;
    ViewSC(m_cycle->elapsedSeconds());
    platform::messages().show(this, QStringLiteral("正解"));
    cmdStart->setText(StartCaption);
}

void frmMain::ViewSC(float SCtime)
{
    AddSC(SCtime);
    for (int i = 0; i < ScoreCount; ++i) {
        lblSc[i]->setText(SCList[i] > 0 ? platform::numberText(platform::floorToInt(SCList[i]))
                                        : QStringLiteral("---"));
    }
}

void frmMain::mnuEnd_Click()
{
    close();
}

void frmMain::mnuOpt_Click()
{
    const bool wasTraining = TrainingMode;
    frmOpt dialog(this);
    dialog.exec();
    if (TrainingMode == wasTraining)
        return;
    // Another copy may have trained in the meantime: the level comes from the history as it stands now.
    if (TrainingMode)
        AskLevel();
    ViewCaption();
}

void frmMain::AskLevel()
{
    m_levelRequest = m_history->requestHistory();
}

void frmMain::TakeHistory(quint64 request, const QList<records::GameRecord> &games, const QString &problem)
{
    if (request != m_levelRequest)
        return;
    // A history that cannot be read tells nothing new: the level stays the last one known.
    if (problem.isEmpty())
        m_staircase = records::replay(games);
    ViewCaption();
}

void frmMain::FollowGame(const records::GameRecord &game)
{
    m_staircase = m_staircase.after(game);
    ViewCaption();
}

void frmMain::ViewCaption()
{
    const QString title = QString::fromUtf8(platform::ProgramTitle);
    // In the title, so that the status box keeps the stopwatch.
    setWindowTitle(TrainingMode ? title + QStringLiteral(" トレーニング ") + platform::numberText(m_staircase.level)
                                      + QStringLiteral(" 個")
                                : title);
}

void frmMain::mnuAbout_Click()
{
    frmAbout dialog(this);
    dialog.exec();
}

void frmMain::mnuRecords_Click()
{
    if (!m_records) {
        m_records = new frmRecords(*m_history, this);
        // While the pictures flicker, the records window does its work right after a switch.
        m_records->PaceBy([this] { return m_cycle->isRunning(); });
        connect(this, &frmMain::switched, m_records, &frmRecords::Switched);
    }
    m_records->show();
    m_records->raise();
    m_records->activateWindow();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    m_cycle->stop();
    FinishGame();
    m_tracker.windowClosed();
    // The records window is the main window's child: it goes with it, so the program still ends.
    if (m_records)
        m_records->close();
}
