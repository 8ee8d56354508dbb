#include "dialogs/frmOpt.h"

#include "core/ColourPresets.h"
#include "core/ColourVision.h"
#include "core/InterfaceLanguage.h"
#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "platform/CentredText.h"
#include "platform/Colors.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/Numbers.h"
#include "platform/Placement.h"
#include "platform/Translation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace {

struct KindBox
{
    const char *caption;
    const char *toolTip;
    int left;
    int top;
    int width;
};

constexpr KindBox KindBoxes[frmOpt::KindBoxCount] = {
    {QT_TRANSLATE_NOOP("frmOpt", "色違い"), QT_TRANSLATE_NOOP("frmOpt", "記号の色が異なります"), 240, 360, 1095},
    {QT_TRANSLATE_NOOP("frmOpt", "置き換え１"), QT_TRANSLATE_NOOP("frmOpt", "全く別の記号に置き換えられます"), 1560, 360,
     1215},
    {QT_TRANSLATE_NOOP("frmOpt", "置き換え２"), QT_TRANSLATE_NOOP("frmOpt", "似た記号に置き換えられます"), 1560, 600,
     1215},
    {QT_TRANSLATE_NOOP("frmOpt", "消滅"), QT_TRANSLATE_NOOP("frmOpt", "記号が消えます"), 240, 600, 1095},
    {QT_TRANSLATE_NOOP("frmOpt", "移動"), QT_TRANSLATE_NOOP("frmOpt", "記号が移動します"), 240, 840, 1095},
};

QLabel *newLabel(const QString &name, QWidget *parent)
{
    QLabel *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QComboBox *newComboBox(const QString &name, QWidget *parent)
{
    QComboBox *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "1" into the listed "10" before Enter confirms it.
    box->setCompleter(nullptr);
    new CentredText(box->lineEdit());
    return box;
}

// The sample shows its number in its own colour; where that colour would vanish into the dialog, the number
// stands on a chip that it can be read on.
void setForeColor(QLabel *label, quint32 color)
{
    QPalette palette = label->palette();
    const QColor fore = platform::toQColor(color, palette);
    const QColor dialog = label->parentWidget()->palette().color(QPalette::Window);
    const quint32 backing = readableBacking(platform::colorValue(fore), platform::colorValue(dialog));
    palette.setColor(QPalette::WindowText, fore);
    palette.setColor(QPalette::Window, platform::toQColor(backing));
    label->setPalette(palette);
    label->setAutoFillBackground(backing != platform::colorValue(dialog));
}

qint32 colorOf(const QLineEdit *box)
{
    return platform::colorInRange(platform::readHex(box->text()));
}

QString itemText(double seconds)
{
    return platform::timeText(seconds);
}

QString itemText(qint16 number)
{
    return platform::numberText(number);
}

// Lists the items, then selects the first one equal to value, or shows value with no item selected.
template<typename T, size_t N>
void showList(QComboBox *box, const std::array<T, N> &items, T value)
{
    for (T item : items)
        box->addItem(itemText(item));
    const auto match = std::find(items.begin(), items.end(), value);
    if (match != items.end()) {
        box->setCurrentIndex(int(match - items.begin()));
        return;
    }
    box->setCurrentIndex(-1);
    box->setEditText(itemText(value));
}

} // namespace

frmOpt::frmOpt(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmOpt"));
    // Taller than the settings alone need, for the training switch and the language below them.
    setFixedSize(platform::toPixels(5010), platform::toPixels(6000));
    setFont(platform::gothicFont(9));

    CreateControls();
    RetranslateUi();
    SetTabOrder();
    Form_Load();
    platform::fitCaptions(this);
    cmbViewTime->setFocus();
}

void frmOpt::CreateControls()
{
    Label1 = newLabel(QStringLiteral("Label1"), this);
    // Wide enough up to the combo box: with the Gothic faces we install, the caption needs more than 1695 twips.
    platform::placeInTwips(Label1, 360, 360, 1920, 255);
    cmbViewTime = newComboBox(QStringLiteral("cmbViewTime"), this);
    platform::placeInTwips(cmbViewTime, 2280, 360, 855, 300);

    Label3 = newLabel(QStringLiteral("Label3"), this);
    platform::placeInTwips(Label3, 360, 840, 1695, 255);
    cmbBlankTime = newComboBox(QStringLiteral("cmbBlankTime"), this);
    platform::placeInTwips(cmbBlankTime, 2280, 840, 855, 300);

    Label4 = newLabel(QStringLiteral("Label4"), this);
    platform::placeInTwips(Label4, 360, 1320, 1695, 255);
    cmbKigouNum = newComboBox(QStringLiteral("cmbKigouNum"), this);
    platform::placeInTwips(cmbKigouNum, 2280, 1320, 855, 300);

    // The length setting has no effect on play, so the player never sees it.
    Label2 = newLabel(QStringLiteral("Label2"), this);
    platform::placeInTwips(Label2, 3240, 2040, 1695, 255);
    Label2->setVisible(false);
    cmbStringLen = newComboBox(QStringLiteral("cmbStringLen"), this);
    platform::placeInTwips(cmbStringLen, 3840, 2640, 855, 300);
    cmbStringLen->setVisible(false);

    CreateKindBoxes();
    CreateColorBoxes();
    CreatePresetList();

    chkAuto = new QCheckBox(this);
    chkAuto->setObjectName(QStringLiteral("chkAuto"));
    platform::placeInTwips(chkAuto, 240, 5160, 4575, 255);

    CreateLanguageList();

    cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    platform::placeInTwips(cmdOk, 3720, 360, 1095, 375);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmOpt::cmdOk_Click);

    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    platform::placeInTwips(cmdCancel, 3720, 960, 1095, 375);
    // Enter presses the focused button, as players expect; from any box it confirms.
    cmdCancel->setAutoDefault(true);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOpt::cmdCancel_Click);
}

void frmOpt::CreateKindBoxes()
{
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    platform::placeInTwips(Frame2, 240, 1800, 2895, 1215);

    for (int i = 0; i < KindBoxCount; ++i) {
        const KindBox &kind = KindBoxes[i];
        chkKoumoku[i] = new QCheckBox(Frame2);
        chkKoumoku[i]->setObjectName(platform::indexedName("chkKoumoku", i));
        platform::placeInTwips(chkKoumoku[i], kind.left, kind.top, kind.width, 255);
    }
}

void frmOpt::CreateColorBoxes()
{
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    platform::placeInTwips(Frame1, 240, 3240, 4575, 1815);

    for (int i = 0; i < ColorBoxCount; ++i) {
        const bool leftColumn = i < 4;
        const int top = 360 + 360 * (i % 4);

        lblColor[i] = newLabel(platform::indexedName("lblColor", i), Frame1);
        platform::placeInTwips(lblColor[i], leftColumn ? 240 : 2400, top, 255, 255);

        txtColor[i] = new QLineEdit(Frame1);
        txtColor[i]->setObjectName(platform::indexedName("txtColor", i));
        new CentredText(txtColor[i]);
        platform::placeInTwips(txtColor[i], leftColumn ? 600 : 2880, top, 1215, 270);
        connect(txtColor[i], &QLineEdit::textChanged, this, [this, i] { txtColor_Change(i); });
    }
}

void frmOpt::CreatePresetList()
{
    // In the free corner above the colour frame, so that no control moves and the bottom stays free.
    Label5 = newLabel(QStringLiteral("Label5"), this);
    platform::placeInTwips(Label5, 3360, 2400, 1455, 255);
    cmbPreset = new QComboBox(this);
    cmbPreset->setObjectName(QStringLiteral("cmbPreset"));
    platform::placeInTwips(cmbPreset, 3360, 2700, 1455, 300);
    for (size_t i = 0; i < ColourPresets.size(); ++i)
        cmbPreset->addItem(QString());
    // Only the player's choice fills the boxes; showing which set they hold must not.
    connect(cmbPreset, &QComboBox::activated, this, &frmOpt::cmbPreset_Click);
}

void frmOpt::CreateLanguageList()
{
    // Below the training switch, where the dialog grew for it, so that no control moves.
    Label6 = newLabel(QStringLiteral("Label6"), this);
    platform::placeInTwips(Label6, 360, 5580, 1695, 255);
    cmbLanguage = new QComboBox(this);
    cmbLanguage->setObjectName(QStringLiteral("cmbLanguage"));
    platform::placeInTwips(cmbLanguage, 2280, 5580, 1455, 300);
    cmbLanguage->addItem(QString(), QString::fromLatin1(AutomaticLanguage));
    // Each language by its own name, so that a player who cannot read the current one still finds theirs.
    for (const QString &language : platform::interfaceLanguages())
        cmbLanguage->addItem(platform::languageName(language), language);
}

void frmOpt::RetranslateUi()
{
    setWindowTitle(tr("設定"));
    Label1->setText(tr("表示時間（0.1～10秒）"));
    Label3->setText(tr("切替時間（0.1～3秒）"));
    Label4->setText(tr("記号の数（5～100）"));
    Label2->setText(tr("文字の長さ（１～20）"));
    Frame2->setTitle(tr("間違いの項目"));
    for (int i = 0; i < KindBoxCount; ++i) {
        chkKoumoku[i]->setText(tr(KindBoxes[i].caption));
        chkKoumoku[i]->setToolTip(tr(KindBoxes[i].toolTip));
    }
    Frame1->setTitle(tr("色　（色の指定は16進数で行ってください）"));
    Label5->setText(tr("配色"));
    for (size_t i = 0; i < ColourPresets.size(); ++i)
        cmbPreset->setItemText(int(i), tr(ColourPresets[i].name));
    chkAuto->setText(tr("難しさを自動で調整する"));
    //: The list of languages; the languages themselves are named each in its own.
    Label6->setText(tr("言語"));
    //: The language of the desktop.
    cmbLanguage->setItemText(0, tr("自動"));
    cmdOk->setText(tr("変更"));
    cmdCancel->setText(tr("キャンセル"));
}

void frmOpt::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        RetranslateUi();
    QDialog::changeEvent(event);
}

void frmOpt::SetTabOrder()
{
    // Labels and frames hold tab numbers too but never take the focus, so only these count.
    const std::array<QWidget *, 22> order{
        cmbViewTime,   cmbStringLen,  cmdOk,         cmdCancel,     cmbKigouNum,
        chkKoumoku[0], chkKoumoku[1], chkKoumoku[2], chkKoumoku[3], chkKoumoku[4],
        cmbBlankTime,  cmbPreset,     txtColor[0],   txtColor[1],   txtColor[2],
        txtColor[3],   txtColor[4],   txtColor[5],   txtColor[6],   txtColor[7],
        chkAuto,       cmbLanguage,
    };
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmOpt::Form_Load()
{
    ViewTimeList();
    ViewStringLen();
    BlankTimeList();
    ViewKigouNum();
    ViewKoumoku();
    ViewColor();
    ViewTraining();
    ViewLanguage();
}

void frmOpt::ViewTimeList()
{
    showList(cmbViewTime, ViewTimeItems, OptRec.ViewTime);
}

void frmOpt::ViewStringLen()
{
    showList(cmbStringLen, StringLenItems, OptRec.StringLen);
}

void frmOpt::BlankTimeList()
{
    showList(cmbBlankTime, BlankTimeItems, OptRec.BlankTime);
}

void frmOpt::ViewKigouNum()
{
    showList(cmbKigouNum, KigouNumItems, OptRec.KigouNum);
}

void frmOpt::ViewKoumoku()
{
    for (int i = 0; i < KindBoxCount; ++i)
        chkKoumoku[i]->setChecked(OptRec.Koumoku[i] == True16);
}

void frmOpt::ViewColor()
{
    for (int i = 0; i < ColorBoxCount; ++i) {
        lblColor[i]->setText(platform::numberText(i) + QLatin1Char(':'));
        setForeColor(lblColor[i], quint32(ColorList[i]));
        txtColor[i]->setText(platform::colorText(ColorList[i]));
    }
}

void frmOpt::ViewTraining()
{
    chkAuto->setChecked(TrainingMode);
}

void frmOpt::ViewLanguage()
{
    const int index = cmbLanguage->findData(LoadInterfaceLanguage(TrainingFilePath()));
    cmbLanguage->setCurrentIndex(index < 0 ? 0 : index);
}

void frmOpt::txtColor_Change(int Index)
{
    setForeColor(lblColor[Index], quint32(colorOf(txtColor[Index])));
    ShowPreset();
}

void frmOpt::cmbPreset_Click()
{
    const int index = cmbPreset->currentIndex();
    if (index < 0)
        return;
    const DrawColors &colors = ColourPresets[size_t(index)].colors;
    for (int i = 0; i < ColorBoxCount; ++i)
        txtColor[i]->setText(platform::colorText(colors[size_t(i)]));
}

// The list names the set the boxes hold, or nothing once they hold a set of the player's own.
void frmOpt::ShowPreset()
{
    DrawColors shown{};
    for (int i = 0; i < ColorBoxCount; ++i)
        shown[size_t(i)] = colorOf(txtColor[i]);
    const auto match = std::find_if(ColourPresets.begin(), ColourPresets.end(),
                                     [&](const ColourPreset &preset) { return preset.colors == shown; });
    cmbPreset->setCurrentIndex(match == ColourPresets.end() ? -1 : int(match - ColourPresets.begin()));
}

void frmOpt::cmdOk_Click()
{
    OptRec.ViewTime = ViewTimeRange.clamp(platform::readDecimal(cmbViewTime->currentText()));
    OptRec.StringLen = platform::wholeInRange(platform::readDecimal(cmbStringLen->currentText()), StringLenRange.low,
                                              StringLenRange.high);
    OptRec.BlankTime = BlankTimeRange.clamp(platform::readDecimal(cmbBlankTime->currentText()));
    OptRec.KigouNum = platform::wholeInRange(platform::readDecimal(cmbKigouNum->currentText()), KigouNumRange.low,
                                             KigouNumRange.high);
    for (int i = 0; i < KindBoxCount; ++i)
        OptRec.Koumoku[i] = chkKoumoku[i]->isChecked() ? True16 : False16;
    for (int i = 0; i < ColorBoxCount; ++i) {
        const qint32 color = colorOf(txtColor[i]);
        OptRec.Color[i] = color;
        ColorList[i] = color;
    }

    TrainingMode = chkAuto->isChecked();
    const QString language = cmbLanguage->currentData().toString();

    const QString path = SettingsFilePath();
    const QString trainingPath = TrainingFilePath();
    const bool saved = SaveOpt(path);
    const bool trainingSaved = SaveTrainingMode(trainingPath, TrainingMode)
                               && SaveInterfaceLanguage(trainingPath, language);
    accept();
    const QString spoken = platform::chosenLanguage(language, QLocale::system().uiLanguages());
    if (spoken != platform::currentLanguage())
        platform::applyLanguage(spoken);
    // The values are already in force; the player only needs to know they will not survive a restart.
    if (!saved || !trainingSaved)
        platform::messages().show(parentWidget(), tr("設定ファイルを保存できませんでした。\n%1")
                                                      .arg(QDir::toNativeSeparators(saved ? trainingPath : path)));
}

void frmOpt::cmdCancel_Click()
{
    reject();
}

void frmOpt::keyPressEvent(QKeyEvent *event)
{
    // Neither button is a cancel button, so Esc must not reach QDialog, which would reject.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
