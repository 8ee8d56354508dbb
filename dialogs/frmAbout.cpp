#include "dialogs/frmAbout.h"

#include "platform/Controls.h"
#include "platform/LineControl.h"
#include "platform/Placement.h"
#include "platform/ProgramIcon.h"
#include "platform/ProgramInfo.h"

#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFont(platform::gothicFont(9));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(platform::toPixels(5730), platform::toPixels(3555));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    platform::placeInTwips(cmdOK, 4245, 2625, 1380, 345);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(platform::programIcon().pixmap(32, 32));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::placeInTwips(picIcon, 240, 240, 540, 540);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::placeInTwips(lblTitle, 1050, 240, 3885, 480);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::placeInTwips(lblVersion, 1050, 780, 3885, 225);

    // The grey line just above the white one etches a rule above the button.
    Line1_1 = new LineControl(90, 2445, 5654, 2445, this);
    Line1_1->setObjectName(QStringLiteral("Line1(1)"));
    Line1_1->setLineColor(QColor(0x80, 0x80, 0x80));
    Line1_0 = new LineControl(105, 2460, 5654, 2460, this);
    Line1_0->setObjectName(QStringLiteral("Line1(0)"));
    Line1_0->setLineColor(Qt::white);
    Line1_0->setLineWidth(2);

    Form_Load();
    platform::fitCaptions(this);
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(platform::ProgramTitle);
    setWindowTitle(tr("%1のﾊﾞｰｼﾞｮﾝ情報").arg(title));
    lblVersion->setText(tr("ﾊﾞｰｼﾞｮﾝ %1").arg(QString::fromLatin1(platform::Version)));
    lblTitle->setText(title);
}

void frmAbout::cmdOK_Click()
{
    accept();
}
