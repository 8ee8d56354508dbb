#include "main/frmMain.h"

#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOpt.h"
#include "dialogs/frmRecords.h"
#include "platform/CaptionFit.h"
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

const char *const StartCaption = QT_TRANSLATE_NOOP("frmMain", "スタート");
const char *const GiveUpCaption = QT_TRANSLATE_NOOP("frmMain", "ギブアップ");
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
    RetranslateUi();
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

    cmdStart = new QPushButton(m_client);
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

    timMain = new QTimer(this);
    timMain->setObjectName(QStringLiteral("timMain"));
    timMain->setTimerType(Qt::PreciseTimer);
    timMain->setInterval(0);
    connect(timMain, &QTimer::timeout, this, &frmMain::timMain_Timer);

    timWatch = new QTimer(this);
    timWatch->setObjectName(QStringLiteral("timWatch"));
    timWatch->setTimerType(Qt::PreciseTimer);
    timWatch->setInterval(1000);
    connect(timWatch, &QTimer::timeout, this, &frmMain::timWatch_Timer);

    m_pacing = RefreshPacer::chosen(QGuiApplication::platformName(), qgetenv("IVOK2_PACING"));
    timRefresh = new FrameTicker(this, m_client);
    timRefresh->setObjectName(QStringLiteral("timRefresh"));
    connect(timRefresh, &FrameTicker::refreshed, this, &frmMain::timRefresh_Timer);
    connect(timRefresh, &FrameTicker::resumed, this, [this] { m_refreshes.resume(); });

    cmdStart->setFocus();
}

void frmMain::CreateMenus()
{
    mnuEnd = menuBar()->addAction(QString());
    mnuEnd->setObjectName(QStringLiteral("mnuEnd"));
    connect(mnuEnd, &QAction::triggered, this, &frmMain::mnuEnd_Click);

    mnuOpt = menuBar()->addAction(QString());
    mnuOpt->setObjectName(QStringLiteral("mnuOpt"));
    connect(mnuOpt, &QAction::triggered, this, &frmMain::mnuOpt_Click);

    mnuAbout = menuBar()->addAction(QString());
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);

    mnuRecords = menuBar()->addAction(QString());
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
    if (cmdStart->text() == tr(StartCaption)) {
        timMain->stop();
        timRefresh->stop();
        m_AnsView = False16;
        if (!StartPrg()) {
            // The blank field must not keep the status of the previous game.
            ShowStatus({});
            return;
        }
        timWatch->start();
        cmdStart->setText(tr(GiveUpCaption));
        ShowStatus({});
        return;
    }

    timWatch->stop();
    if (m_AnsView == False16) {
        m_AnsView = True16;
        m_tracker.gaveUp();
        ViewSC(-1);
        cmdStart->setText(tr(StartCaption));
        ShowStatus([] { return tr("解答表示中"); });
    }
}

bool frmMain::StartPrg()
{
    timMain->setInterval(platform::intervalMs(UsableViewTime()));
    m_StartTime = platform::timeOfDay();
    m_startSteady = platform::clock().steadySeconds();
    if (!MakeQuiz()) {
        // No game: a blank field, and no click may count against the old quiz.
        ClsView();
        m_AnsView = True16;
        return false;
    }
    if (m_pacing == RefreshPacer::Mechanism::Frames) {
        // Picture 1 goes up on the first refresh, so that it too lasts its whole number of refreshes.
        m_firstPicturePending = true;
        m_refreshes.start();
        timRefresh->start();
    } else {
        ShowFirstPicture();
        m_schedule.start(platform::clock().steadySeconds(), UsableViewTime());
        timMain->start();
    }
    // The quiz's own count: the level may have moved while a message of MakeQuiz was open.
    if (TrainingMode)
        m_tracker.gameStarted(m_quiz, m_startSteady, records::Mode::Training, m_quiz.itemCount());
    else
        m_tracker.gameStarted(m_quiz, m_startSteady, records::Mode::Free, 0);
    return true;
}

void frmMain::ShowFirstPicture()
{
    ClsView();
    ViewQuiz(1);
    m_ViewMode = ViewPicture1;
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
        platform::messages().show(this, tr("エラーが発生しました。この問題には正解がありません。"
                                                          "画面サイズを大きくするか、文字の数を減らして、"
                                                          "新しい問題に挑戦してください。"));
        return true;
    case QuizOutcome::FieldTooSmall:
        platform::messages().show(this, tr("画面が小さすぎるため、問題を作れません。"
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
    const double handled = platform::clock().steadySeconds();
    if (!NextScreen())
        return;
    // Drawn and flushed now, not at a later turn of the event loop, so that its cost is known: a picture takes
    // longer than a blank, and the switch to each kind is timed that much ahead.
    QEvent draw(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(this, &draw);
    const double drawnAt = platform::clock().steadySeconds();
    const bool picture = PictureShown();
    // Each switch is due at a fixed time from the start, so a late tick does not make the next screen late.
    m_schedule.switched(handled, ScreenSeconds());
    m_schedule.drawn(picture ? SwitchSchedule::Screen::Picture : SwitchSchedule::Screen::Blank, drawnAt - handled);
    timMain->setInterval(
        m_schedule.intervalMs(drawnAt, picture ? SwitchSchedule::Screen::Blank : SwitchSchedule::Screen::Picture));
    emit switched();
}

void frmMain::timRefresh_Timer()
{
    const double rate = timRefresh->refreshRate();
    const RefreshPacer::Tick tick = m_refreshes.refresh(platform::clock().steadySeconds(), rate);
    if (tick.dropped > 0)
        m_tracker.refreshesDropped(tick.dropped);
    if (!tick.switchNow)
        return;
    // The refresh count is read at every switch, like the times, so a move to another screen is followed.
    if (m_firstPicturePending) {
        m_firstPicturePending = false;
        ShowFirstPicture();
        m_refreshes.switched(ScreenSeconds(), rate);
        return;
    }
    if (!NextScreen())
        return;
    m_refreshes.switched(ScreenSeconds(), rate);
    emit switched();
}

// Draws the next screen of the cycle and moves ViewMode on; false for a phase that is none of the four.
bool frmMain::NextScreen()
{
    switch (m_ViewMode) {
    case ViewPicture1:
        ClsView();
        m_ViewMode = ViewBlankAfter1;
        return true;
    case ViewBlankAfter1:
        ViewQuiz(2);
        m_ViewMode = ViewPicture2;
        return true;
    case ViewPicture2:
        ClsView();
        m_ViewMode = ViewBlankAfter2;
        return true;
    case ViewBlankAfter2:
        ViewQuiz(1);
        m_ViewMode = ViewPicture1;
        return true;
    default:
        return false;
    }
}

bool frmMain::PictureShown() const
{
    return m_ViewMode == ViewPicture1 || m_ViewMode == ViewPicture2;
}

// How long the screen now showing stays, read from the settings afresh.
double frmMain::ScreenSeconds() const
{
    return PictureShown() ? UsableViewTime() : UsableBlankTime();
}

float frmMain::ElapsedSeconds() const
{
    // The time of day restarts at midnight and steps with clock corrections; the steady clock does neither.
    return static_cast<float>(platform::clock().steadySeconds() - m_startSteady);
}

void frmMain::timWatch_Timer()
{
    const int seconds = platform::floorToInt(ElapsedSeconds());
    ShowStatus([seconds] { return tr("%1 秒").arg(platform::numberText(seconds)); });
}

void frmMain::lblKey_Click(int index)
{
    if (m_quiz.itemCount() == 0 || index != m_quiz.AnsNo || m_AnsView == True16) {
        m_tracker.missed();
        return;
    }
    timMain->stop();
    timRefresh->stop();
    timWatch->stop();
    m_tracker.hit();
    m_AnsView = True16;
    ViewSC(ElapsedSeconds());
    platform::messages().show(this, tr("正解"));
    cmdStart->setText(tr(StartCaption));
}

void frmMain::ViewSC(float SCtime)
{
    AddSC(SCtime);
    ShowScores();
}

void frmMain::ShowScores()
{
    for (int i = 0; i < ScoreCount; ++i) {
        //: The score board's mark for a game given up (a row of dashes where a time would stand).
        lblSc[i]->setText(SCList[i] > 0 ? platform::numberText(platform::floorToInt(SCList[i])) : tr("---"));
    }
}

void frmMain::ShowStatus(std::function<QString()> text)
{
    m_status = std::move(text);
    lblAns->setText(m_status ? m_status() : QString());
}

void frmMain::RetranslateUi()
{
    mnuEnd->setText(tr("終了"));
    mnuOpt->setText(tr("設定"));
    mnuAbout->setText(tr("バージョン"));
    mnuRecords->setText(tr("記録"));
    cmdStart->setText(timWatch->isActive() ? tr(GiveUpCaption) : tr(StartCaption));
    lblAns->setText(m_status ? m_status() : QString());
    FitHeader();
    // The board stays empty until the first game ends.
    if (!lblSc[0]->text().isEmpty())
        ShowScores();
    ViewCaption();
}

void frmMain::FitHeader()
{
    // The status box shows the seconds and the answer's notice by turns, the button both its captions.
    platform::setOtherCaptions(lblAns, {tr("解答表示中"), tr("%1 秒").arg(platform::numberText(9999))});
    platform::setOtherCaptions(cmdStart, {tr(StartCaption), tr(GiveUpCaption)});
    QList<QWidget *> header{lblAns, cmdStart};
    for (QLabel *score : lblSc)
        header.append(score);
    // The rules that close the header off move out as far as it grew.
    const double end = 7800 + platform::toTwips(platform::fitCaptions(header));
    Line1->setPoints(0, 720, end, 720);
    Line2->setPoints(end, 720, end, 0);
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        RetranslateUi();
    QMainWindow::changeEvent(event);
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
    //: The window title in training mode: the program's name, then the number of symbols of the level.
    setWindowTitle(TrainingMode ? tr("%1 トレーニング %2 個").arg(title, platform::numberText(m_staircase.level))
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
        m_records->PaceBy([this] { return timMain->isActive() || timRefresh->isActive(); });
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
    timMain->stop();
    timRefresh->stop();
    m_tracker.windowClosed();
    // The records window is the main window's child: it goes with it, so the program still ends.
    if (m_records)
        m_records->close();
}
