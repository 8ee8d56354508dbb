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
#include "records/HistoryLocation.h"
#include "records/RecordWriter.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

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
    connect(m_history.get(), &records::RecordWriter::levelRead, this, &frmMain::TakeLevel);
    // Another copy trained meanwhile: the level is worked out again before the next game.
    connect(m_history.get(), &records::RecordWriter::levelOutdated, this, [this] {
        if (TrainingMode)
            AskLevel();
    });
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
    if (TrainingMode) {
        AskLevel();
        m_history->setWatchingLevel(true);
    }
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
    if (m_startWaiting)
        return;
    if (cmdStart->text() == tr(StartCaption)) {
        // Training never plays at a guessed level: the start waits for the history's, typically milliseconds.
        if (TrainingMode && m_levelRequest != 0) {
            m_startWaiting = true;
            cmdStart->setText(tr("準備中…"));
            return;
        }
        m_cycle->stop();
        m_AnsView = False16;
        if (!StartPrg()) {
            // The blank field must not keep the status of the previous game.
            ShowStatus({});
            return;
        }
        m_cycle->startStopwatch();
        cmdStart->setText(tr(GiveUpCaption));
        ShowStatus({});
        return;
    }

    m_cycle->stopStopwatch();
    if (m_AnsView == False16) {
        m_AnsView = True16;
        FinishGame();
        FollowGame(m_tracker.gaveUp());
        ViewSC(-1);
        cmdStart->setText(tr(StartCaption));
        ShowStatus([] { return tr("解答表示中"); });
    }
}

bool frmMain::StartPrg()
{
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

QuizRequest frmMain::FieldRequest() const
{
    QuizRequest request;
    request.keyHeight = platform::toTwips(lblKey[0]->height());
    request.keyWidth = platform::toTwips(lblKey[0]->width());
    request.fieldTop = Line1->y1();
    request.scaleWidth = ScaleWidth();
    request.scaleHeight = ScaleHeight();
    return request;
}

int frmMain::TrainingSymbols() const
{
    const QuizGeometry field = computeGeometry(FieldRequest());
    const qint64 cells = field.ColNum < 1 || field.RowNum < 1 ? 0 : qint64{field.ColNum} * field.RowNum;
    const qint64 fits = cells / records::LevelStep * records::LevelStep;
    // A field too small even for the lowest level refuses the game with its own message.
    if (fits < records::LowestLevel)
        return m_staircase.level;
    return static_cast<int>(std::min<qint64>(m_staircase.level, fits));
}

bool frmMain::MakeQuiz()
{
    QuizRequest request = FieldRequest();
    request.kigouNum = TrainingMode ? TrainingSymbols() : UsableKigouNum();
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
    m_cycle->timerDue();
}

void frmMain::timRefresh_Timer()
{
    m_cycle->refreshed();
}

void frmMain::timWatch_Timer()
{
    const int seconds = platform::floorToInt(m_cycle->elapsedSeconds());
    ShowStatus([seconds] { return tr("%1 秒").arg(platform::numberText(seconds)); });
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
    FollowGame(m_tracker.hit());
    m_AnsView = True16;
    ViewSC(m_cycle->elapsedSeconds());
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
    cmdStart->setText(m_startWaiting                        ? tr("準備中…")
                      : m_cycle->watchTimer()->isActive() ? tr(GiveUpCaption)
                                                          : tr(StartCaption));
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
    platform::setOtherCaptions(cmdStart, {tr(StartCaption), tr(GiveUpCaption), tr("準備中…")});
    QList<QWidget *> header{lblAns, cmdStart};
    for (QLabel *score : lblSc)
        header.append(score);
    // The rules that close the header off move out as far as it grew.
    const double end = 7800 + platform::toTwips(platform::refitCaptions(header));
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
    m_history->setWatchingLevel(TrainingMode);
    // Another copy may have trained in the meantime: the level comes from the history as it stands now.
    if (TrainingMode)
        AskLevel();
    ViewCaption();
    StartWhenReady();
}

void frmMain::AskLevel()
{
    m_levelRequest = m_history->requestLevel();
    // The answer counts every game finished before.
    m_unasked.clear();
}

void frmMain::TakeLevel(quint64 request, const records::Staircase &staircase, records::StoreStatus status)
{
    if (request != m_levelRequest)
        return;
    m_levelRequest = 0;
    m_levelKnown = true;
    m_levelUnread = status;
    // A history that cannot be read tells nothing new: the level stays where this copy's own games led.
    if (status == records::StoreStatus::Done) {
        m_staircase = staircase;
        for (const records::GameRecord &game : std::as_const(m_unasked))
            m_staircase = m_staircase.after(game);
    }
    m_unasked.clear();
    ViewCaption();
    StartWhenReady();
}

void frmMain::FollowGame(const std::optional<records::GameRecord> &game)
{
    if (!game)
        return;
    // At once, whether the history takes the game now, later or never.
    m_staircase = m_staircase.after(*game);
    if (m_levelRequest != 0)
        m_unasked.append(*game);
    ViewCaption();
}

void frmMain::StartWhenReady()
{
    if (!m_startWaiting || (TrainingMode && m_levelRequest != 0))
        return;
    m_startWaiting = false;
    cmdStart->setText(tr(StartCaption));
    cmdStart_Click();
}

void frmMain::ViewCaption()
{
    QString title = QString::fromUtf8(platform::ProgramTitle);
    // In the title, so that the status box keeps the stopwatch.
    if (TrainingMode && !m_levelKnown) {
        title += QLatin1Char(' ') + tr("トレーニング（記録を読み込み中…）");
    } else if (TrainingMode) {
        title += QLatin1Char(' ') + tr("トレーニング %1 個").arg(platform::numberText(m_staircase.level));
        const int symbols = TrainingSymbols();
        if (symbols < m_staircase.level)
            title += tr("（この画面では %1 個まで）").arg(platform::numberText(symbols));
        if (m_levelUnread == records::StoreStatus::Newer)
            title += tr("（新しい版の記録は読めないため、今回のゲームから）");
        else if (m_levelUnread == records::StoreStatus::Busy)
            title += tr("（記録を別のプログラムが使っているため、今回のゲームから）");
        else if (m_levelUnread != records::StoreStatus::Done)
            title += tr("（記録を読めないため、今回のゲームから）");
    }
    setWindowTitle(title);
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

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (TrainingMode)
        ViewCaption();
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
