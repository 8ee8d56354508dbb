#include "main/frmMain.h"

#include "core/mdlUser.h"
#include "dialogs/frmAbout.h"
#include "platform/ClickLabel.h"
#include "platform/Colors.h"
#include "platform/LineControl.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QStringList GothicFamilies{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                                 QStringLiteral("Noto Sans CJK JP")};

QFont gothicFont(double points)
{
    QFont font;
    font.setFamilies(GothicFamilies);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(platform::ProgramTitle));
    setWindowIcon(QIcon(QStringLiteral(":/ivok2.xpm")));
    setFont(gothicFont(9));
    CreateControls();
    CreateMenus();
    Form_Load();
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
    m_client->setMinimumSize(0, 0);
    resize(platform::toPixels(8595), platform::toPixels(4905));

    cmdStart = new QPushButton(QStringLiteral("スタート"), m_client);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setFont(gothicFont(12));
    platform::placeInTwips(cmdStart, 2400, 120, 1575, 495);
    connect(cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);

    lblAns = new QLabel(m_client);
    lblAns->setObjectName(QStringLiteral("lblAns"));
    lblAns->setFont(gothicFont(20.25));
    lblAns->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblAns->setAlignment(Qt::AlignCenter);
    QPalette red = lblAns->palette();
    red.setColor(QPalette::WindowText, platform::toQColor(0x000000FF));
    lblAns->setPalette(red);
    platform::placeInTwips(lblAns, 120, 120, 2175, 495);

    for (int i = 0; i < ScoreCount; ++i) {
        lblSc[i] = new QLabel(m_client);
        lblSc[i]->setObjectName(indexedName("lblSc", i));
        lblSc[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
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
}

void frmMain::Form_Load()
{
    SetOptDefaults(OptRec);
    m_AnsView = False16;
    InitSC();
    InitList();
    InitSoftKey();
    if (LoadOpt(SettingsFilePath()))
        SetColor();
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::InitSoftKey()
{
    for (int i = 0; i < KeyCount; ++i) {
        ClickLabel *label = new ClickLabel(m_client);
        label->setObjectName(indexedName("lblKey", i));
        label->setFont(gothicFont(20.25));
        label->setAutoFillBackground(true);
        label->setFrameStyle(QFrame::NoFrame);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        platform::placeInTwips(label, 4080, 1800, 375, 375);
        label->setVisible(false);
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
}

void frmMain::timMain_Timer()
{
}

void frmMain::timWatch_Timer()
{
}

void frmMain::lblKey_Click(int)
{
}

void frmMain::mnuEnd_Click()
{
    close();
}

void frmMain::mnuOpt_Click()
{
}

void frmMain::mnuAbout_Click()
{
    frmAbout dialog;
    dialog.exec();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    timMain->stop();
}
