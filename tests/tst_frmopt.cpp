#include "core/ColourPresets.h"
#include "core/ColourVision.h"
#include "core/mdlUser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOpt.h"
#include "platform/Colors.h"
#include "platform/Placement.h"
#include "support/Blend.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

template<typename T = QWidget>
T *control(const frmOpt &dialog, const QString &name)
{
    T *widget = dialog.findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

void setStored(const QString &name, double value)
{
    if (name == u"cmbViewTime")
        OptRec.ViewTime = value;
    else if (name == u"cmbBlankTime")
        OptRec.BlankTime = value;
    else if (name == u"cmbKigouNum")
        OptRec.KigouNum = qint16(value);
    else if (name == u"cmbStringLen")
        OptRec.StringLen = qint16(value);
}

double stored(const QString &name)
{
    if (name == u"cmbViewTime")
        return OptRec.ViewTime;
    if (name == u"cmbBlankTime")
        return OptRec.BlankTime;
    if (name == u"cmbKigouNum")
        return OptRec.KigouNum;
    if (name == u"cmbStringLen")
        return OptRec.StringLen;
    const int i = name.sliced(9, 1).toInt(); // "txtColor(i)"
    return OptRec.Color[i] == ColorList[i] ? OptRec.Color[i] : -1.0;
}

// The focus target the player types into: an editable combo box's own line edit.
QWidget *entry(QWidget *box)
{
    auto *combo = qobject_cast<QComboBox *>(box);
    return combo ? combo->lineEdit() : box;
}

// Japanese characters arrive from the input method, the rest as key presses.
void type(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(target, &event);
        }
    }
}

void replaceText(QWidget *box, const QString &text)
{
    QWidget *target = entry(box);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    type(target, text);
}

QColor sample(const frmOpt &dialog, int i)
{
    return control<QLabel>(dialog, QStringLiteral("lblColor(%1)").arg(i))->palette().color(QPalette::WindowText);
}

// The caption of a control and the width that its style leaves for it; no caption, no room.
std::pair<QString, int> captionAndRoom(QWidget *widget)
{
    QStyle *style = widget->style();
    QStyleOptionButton button;
    button.initFrom(widget);
    if (auto *label = qobject_cast<QLabel *>(widget))
        return {label->text(), label->contentsRect().width() - 2 * label->margin() - qMax(label->indent(), 0)};
    if (auto *check = qobject_cast<QCheckBox *>(widget)) {
        button.text = check->text();
        return {button.text, style->subElementRect(QStyle::SE_CheckBoxContents, &button, widget).width()};
    }
    if (auto *push = qobject_cast<QPushButton *>(widget)) {
        button.text = push->text();
        return {button.text, style->subElementRect(QStyle::SE_PushButtonContents, &button, widget).width()};
    }
    if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        QStyleOptionGroupBox box;
        box.initFrom(widget);
        box.text = frame->title();
        box.textAlignment = frame->alignment();
        box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, widget);
        return {box.text, widget->width() - title.left()};
    }
    return {};
}

// A fresh start, optionally changed before the dialog opens, and the dialog.
struct Options
{
    explicit Options(const std::function<void()> &preset = {})
        : ready((SetOptDefaults(OptRec), InitList(), preset ? preset() : void(), true))
    {
    }
    bool show()
    {
        dialog.show();
        return QTest::qWaitForWindowActive(&dialog);
    }
    void confirm() { control<QPushButton>(dialog, "cmdOk")->click(); }

    TestEnvironment env;
    bool ready;
    frmOpt dialog;
};

} // namespace

class tst_frmOpt : public QObject
{
    Q_OBJECT

private slots:
    void opensWithStoredValue_data();
    void opensWithStoredValue();
    void typedEntryIsForcedIntoRange_data();
    void typedEntryIsForcedIntoRange();
    void coloursShowWithoutLeadingZeros();
    void kindBoxesAndSpareEntries();
    void unchangedConfirmationWritesDefaultImage();
    void roundTripThroughSettingsFile();
    void escapeDoesNotClose_data();
    void escapeDoesNotClose();
    void closingWithoutConfirmationForgetsEverything_data();
    void closingWithoutConfirmationForgetsEverything();
    void tabOrder();
    void failedSaveKeepsValuesAndTellsThePlayer();
    void everyCaptionShowsWhole_data();
    void everyCaptionShowsWhole();
    void boxTextsAreCentred();
    void captionsGrowIntoTheirRow_data();
    void captionsGrowIntoTheirRow();
    void presetFillsTheBoxesOnly_data();
    void presetFillsTheBoxesOnly();
    void presetListNamesTheSetShown();
    void numberLabelsAreReadable_data();
    void numberLabelsAreReadable();
};

void tst_frmOpt::opensWithStoredValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("confirmed");

    QTest::newRow("display 0.1, last item") << "cmbViewTime" << 0.1 << 10 << "0.1" << 0.1;
    QTest::newRow("display 4, not listed") << "cmbViewTime" << 4.0 << -1 << "4" << 4.0;
    QTest::newRow("blank 1") << "cmbBlankTime" << 1.0 << 2 << "1" << 1.0;
    QTest::newRow("blank near 0.3 is no match") << "cmbBlankTime" << 0.1 + 0.2 << -1 << "0.3" << 0.3;
    QTest::newRow("blank 5, hand-edited") << "cmbBlankTime" << 5.0 << -1 << "5" << 3.0;
    QTest::newRow("symbols 10, last item") << "cmbKigouNum" << 10.0 << 5 << "10" << 10.0;
    QTest::newRow("symbols 200") << "cmbKigouNum" << 200.0 << -1 << "200" << 100.0;
    QTest::newRow("length 7") << "cmbStringLen" << 7.0 << 4 << "7" << 7.0;
    QTest::newRow("length 0") << "cmbStringLen" << 0.0 << -1 << "0" << 1.0;
    QTest::newRow("length 25") << "cmbStringLen" << 25.0 << -1 << "25" << 20.0;
}

void tst_frmOpt::opensWithStoredValue()
{
    QFETCH(QString, name);
    QFETCH(double, value);
    QFETCH(double, confirmed);
    Options options([&] { setStored(name, value); });
    auto *box = control<QComboBox>(options.dialog, name);
    QTEST(box->currentIndex(), "index");
    QTEST(box->currentText(), "text");

    options.confirm();
    QVERIFY(stored(name) == confirmed);
}

void tst_frmOpt::typedEntryIsForcedIntoRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("key"); // confirmed by Enter in the entry, or else by a click on OK

    QTest::newRow("display abc") << "cmbViewTime" << "abc" << 0.1 << 0;
    QTest::newRow("display 15, Return") << "cmbViewTime" << "15" << 10.0 << int(Qt::Key_Return);
    QTest::newRow("display 2.5秒") << "cmbViewTime" << "2.5秒" << 2.5 << 0;
    QTest::newRow("display ２．５秒 from the input method") << "cmbViewTime" << "２．５秒" << 2.5 << 0;
    QTest::newRow("symbols ５０ from the input method, Return") << "cmbKigouNum" << "５０" << 50.0 << int(Qt::Key_Return);
    QTest::newRow("display 1, not completed to 10") << "cmbViewTime" << "1" << 1.0 << 0;
    QTest::newRow("blank 5, Return") << "cmbBlankTime" << "5" << 3.0 << int(Qt::Key_Return);
    QTest::newRow("blank 0") << "cmbBlankTime" << "0" << 0.1 << 0;
    QTest::newRow("symbols 3") << "cmbKigouNum" << "3" << 5.0 << 0;
    QTest::newRow("symbols 150, keypad Enter") << "cmbKigouNum" << "150" << 100.0 << int(Qt::Key_Enter);
    QTest::newRow("symbols 21.5") << "cmbKigouNum" << "21.5" << 22.0 << 0;
    QTest::newRow("symbols 7, not completed to 70") << "cmbKigouNum" << "7" << 7.0 << 0;
    QTest::newRow("colour FF0000") << "txtColor(3)" << "FF0000" << double(0xFF0000) << 0;
    QTest::newRow("colour ＦＦ from the input method") << "txtColor(5)" << "ＦＦ" << double(0xFF) << 0;
    QTest::newRow("first colour 1000000, Return") << "txtColor(0)" << "1000000" << double(0xFFFFFF) << int(Qt::Key_Return);
    QTest::newRow("last colour FFFFFFFF, keypad Enter") << "txtColor(7)" << "FFFFFFFF" << 0.0 << int(Qt::Key_Enter);
}

void tst_frmOpt::typedEntryIsForcedIntoRange()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(double, expected);
    QFETCH(int, key);
    Options options;
    QVERIFY(options.show());
    control(options.dialog, "cmdCancel")->setFocus(); // once the focus has left Cancel, Enter confirms again
    replaceText(control(options.dialog, name), typed);
    if (name.startsWith(u"txtColor"))
        QCOMPARE(sample(options.dialog, name.sliced(9, 1).toInt()), platform::toQColor(quint32(expected)));
    if (key)
        QTest::keyClick(entry(control(options.dialog, name)), Qt::Key(key));
    else
        options.confirm();

    QVERIFY(!options.dialog.isVisible());
    QCOMPARE(options.dialog.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(SettingsFilePath()));
    QVERIFY2(stored(name) == expected, qPrintable(QString::number(stored(name), 'g', 17)));
}

void tst_frmOpt::coloursShowWithoutLeadingZeros()
{
    Options options([] {
        ColorList[6] = -1;
        ColorList[7] = qint32(0x80000005u);
    });
    const frmOpt &dialog = options.dialog;
    const QStringList texts{"FFFFFF", "0", "FF", "FF0000", "FF00", "FFFF", "FFFFFFFF", "80000005"};
    const std::array<quint32, 8> samples{0xFFFFFF, 0, 0xFF, 0xFF0000, 0xFF00, 0xFFFF, 0, 0};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(control<QLineEdit>(dialog, QStringLiteral("txtColor(%1)").arg(i))->text(), texts[i]);
        QCOMPARE(control<QLabel>(dialog, QStringLiteral("lblColor(%1)").arg(i))->text(), QStringLiteral("%1:").arg(i));
        QCOMPARE(sample(dialog, i), platform::toQColor(samples[i]));
    }
}

void tst_frmOpt::kindBoxesAndSpareEntries()
{
    Options options([] {
        OptRec.Koumoku = {True16, 1, False16, True16, True16, 7};
        OptRec.Color[8] = 0x123;
        ColorList[8] = 0x456;
    });
    QVERIFY(options.show());
    const frmOpt &dialog = options.dialog;
    const std::array<bool, 5> checked{true, false, false, true, true};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(control<QCheckBox>(dialog, QStringLiteral("chkKoumoku(%1)").arg(i))->isChecked(), checked[i]);
    for (int i : {0, 3, 4})
        QTest::keyClick(control(dialog, QStringLiteral("chkKoumoku(%1)").arg(i)), Qt::Key_Space);

    options.confirm();
    const std::array<qint16, 6> cleared{0, 0, 0, 0, 0, 7};
    QCOMPARE(OptRec.Koumoku, cleared);
    QCOMPARE(OptRec.Color[8], 0x123);
    QCOMPARE(ColorList[8], 0x456);
}

void tst_frmOpt::unchangedConfirmationWritesDefaultImage()
{
    Options options;
    options.confirm();
    QCOMPARE(readFile(SettingsFilePath()).toHex(' '), DefaultSettingsImage.toHex(' '));
    QVERIFY(options.env.messages.shown.isEmpty());
}

void tst_frmOpt::roundTripThroughSettingsFile()
{
    Options options;
    QVERIFY(options.show());
    replaceText(control(options.dialog, "cmbViewTime"), "0.7");
    replaceText(control(options.dialog, "cmbKigouNum"), "64");
    replaceText(control(options.dialog, "txtColor(2)"), "abc");
    QTest::keyClick(control(options.dialog, "chkKoumoku(4)"), Qt::Key_Space);
    options.confirm();
    const OptRecord confirmed = OptRec;

    OptRec = OptRecord{};
    SetOptDefaults(OptRec);
    InitList();
    QVERIFY(LoadOpt(SettingsFilePath()));
    SetColor();
    QCOMPARE(OptRec, confirmed);

    frmOpt reopened;
    QCOMPARE(control<QComboBox>(reopened, "cmbViewTime")->currentIndex(), 6);
    QCOMPARE(control<QComboBox>(reopened, "cmbKigouNum")->currentText(), QStringLiteral("64"));
    QCOMPARE(control<QLineEdit>(reopened, "txtColor(2)")->text(), QStringLiteral("ABC"));
    QVERIFY(control<QCheckBox>(reopened, "chkKoumoku(4)")->isChecked());
}

void tst_frmOpt::escapeDoesNotClose_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("display time") << "cmbViewTime";
    QTest::newRow("colour") << "txtColor(2)";
}

void tst_frmOpt::escapeDoesNotClose()
{
    QFETCH(QString, name);
    Options options;
    const OptRecord before = OptRec;
    QVERIFY(options.show());
    frmOpt &dialog = options.dialog;
    entry(control(dialog, name))->setFocus();
    QTest::keyClick(entry(control(dialog, name)), Qt::Key_Escape);

    QVERIFY(dialog.isVisible());
    QCOMPARE(OptRec, before);
    QVERIFY(!QFile::exists(SettingsFilePath()));
}

void tst_frmOpt::closingWithoutConfirmationForgetsEverything_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "click";
    QTest::newRow("close box") << "close";
    QTest::newRow("Enter on the cancel button") << "enter";
}

void tst_frmOpt::closingWithoutConfirmationForgetsEverything()
{
    QFETCH(QString, how);
    TestEnvironment env;
    SetOptDefaults(OptRec);
    InitList();
    const OptRecord before = OptRec;
    const auto colorsBefore = ColorList;
    {
        frmOpt dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        replaceText(control(dialog, "cmbViewTime"), "7");
        QTest::keyClick(control(dialog, "chkKoumoku(0)"), Qt::Key_Space);
        QWidget *color = control(dialog, "txtColor(0)");
        replaceText(color, "");
        for (quint32 expected : {0xFu, 0xF0u, 0xF00u}) {
            QTest::keyClicks(color, expected == 0xF ? "F" : "0");
            QCOMPARE(sample(dialog, 0), platform::toQColor(expected));
        }
        if (how == "close") {
            dialog.close();
        } else if (how == "enter") {
            control(dialog, "cmdCancel")->setFocus();
            QTest::keyClick(control(dialog, "cmdCancel"), Qt::Key_Return);
        } else {
            control<QPushButton>(dialog, "cmdCancel")->click();
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(OptRec, before);
    QCOMPARE(ColorList, colorsBefore);
    QVERIFY(!QFile::exists(SettingsFilePath()));

    frmOpt reopened;
    QCOMPARE(control<QLineEdit>(reopened, "txtColor(0)")->text(), QStringLiteral("FFFFFF"));
    QCOMPARE(sample(reopened, 0), platform::toQColor(0xFFFFFF));
}

void tst_frmOpt::tabOrder()
{
    Options options;
    QVERIFY(options.show());
    const frmOpt &dialog = options.dialog;
    QVERIFY(!control(dialog, "Label2")->isVisible());
    QVERIFY(!control(dialog, "cmbStringLen")->isVisible());

    const QStringList expected{"cmdOk",         "cmdCancel",     "cmbKigouNum",   "chkKoumoku(0)", "chkKoumoku(1)",
                               "chkKoumoku(2)", "chkKoumoku(3)", "chkKoumoku(4)", "cmbBlankTime",  "cmbPreset",     "txtColor(0)",
                               "txtColor(1)",   "txtColor(2)",   "txtColor(3)",   "txtColor(4)",   "txtColor(5)",
                               "txtColor(6)",   "txtColor(7)",   "chkAuto",       "cmbLanguage",   "cmbViewTime"};
    auto focused = [] {
        QWidget *widget = QApplication::focusWidget();
        if (widget && qobject_cast<QComboBox *>(widget->parentWidget()))
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QString();
    };
    QCOMPARE(focused(), QStringLiteral("cmbViewTime"));
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focused();
    }
    QCOMPARE(visited, expected);
}

void tst_frmOpt::failedSaveKeepsValuesAndTellsThePlayer()
{
    Options options;
    QVERIFY(QDir(options.env.directory()).mkdir(QStringLiteral("ivok2.ini")));
    QVERIFY(options.show());
    replaceText(control(options.dialog, "cmbViewTime"), "7");
    replaceText(control(options.dialog, "txtColor(0)"), "FF");
    options.confirm();

    QVERIFY(!options.dialog.isVisible());
    QCOMPARE(OptRec.ViewTime, 7.0);
    QCOMPARE(ColorList[0], 0xFF);
    QCOMPARE(options.env.messages.shown, QStringList{QStringLiteral("設定ファイルを保存できませんでした。\n")
                                             + QDir::toNativeSeparators(SettingsFilePath())});
}

void tst_frmOpt::everyCaptionShowsWhole_data()
{
    QTest::addColumn<bool>("options");
    QTest::addColumn<int>("captions");
    QTest::newRow("options") << true << 23; // 5 labels, 2 frames, 5 kinds, 8 colour numbers, 2 buttons, training
    QTest::newRow("version") << false << 3;
}

void tst_frmOpt::everyCaptionShowsWhole()
{
    QFETCH(bool, options);
    TestEnvironment env;
    SetOptDefaults(OptRec);
    InitList();
    std::unique_ptr<QDialog> dialog;
    if (options)
        dialog = std::make_unique<frmOpt>();
    else
        dialog = std::make_unique<frmAbout>();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    int measured = 0;
    for (QWidget *widget : dialog->findChildren<QWidget *>()) {
        const auto [caption, room] = captionAndRoom(widget);
        if (caption.isEmpty() || !widget->isVisibleTo(dialog.get()))
            continue;
        const int needed = widget->fontMetrics().horizontalAdvance(caption);
        QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 \"%2\": %3 px in %4 px")
                                                .arg(widget->objectName(), caption)
                                                .arg(needed)
                                                .arg(room)));
        ++measured;
    }
    QTEST(measured, "captions");
}

// On the pixels: a box's text has as many empty rows above its ink as below inside the frame, give or take the
// row by which hinting makes one digit taller than another.
void tst_frmOpt::boxTextsAreCentred()
{
    Options options;
    QVERIFY(options.show());
    control(options.dialog, "cmdOk")->setFocus(); // no box shows a selection or a cursor
    int measured = 0;
    for (QLineEdit *box : options.dialog.findChildren<QLineEdit *>()) {
        if (!box->isVisibleTo(&options.dialog))
            continue;
        const QImage image = box->grab().toImage();
        // The field inside the frame, from a column right of the short texts; ink is what stands out from it.
        const int free = image.width() * 3 / 4;
        const QRgb ground = image.pixel(free, image.height() / 2);
        const auto ink = [&](int x, int y) { return qAbs(qGray(image.pixel(x, y)) - qGray(ground)) > 16; };
        int first = 0, last = image.height() - 1;
        while (first < last && ink(free, first))
            ++first;
        while (last > first && ink(free, last))
            --last;
        int top = last + 1, bottom = first - 1;
        for (int y = first; y <= last; ++y)
            for (int x = 2; x < image.width() / 2; ++x)
                if (ink(x, y)) {
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
        const QString where = (box->parentWidget()->objectName() == u"Frame1" ? box : box->parentWidget())->objectName();
        const int above = top - first, below = last - bottom;
        QVERIFY2(bottom >= top && above >= 1 && below >= 1 && qAbs(above - below) <= 2,
                 qPrintable(QStringLiteral("%1 \"%2\": %3 rows above the ink, %4 below").arg(where, box->text()).arg(above).arg(below)));
        ++measured;
    }
    QCOMPARE(measured, 11); // 3 lists, 8 colours
}

void tst_frmOpt::captionsGrowIntoTheirRow_data()
{
    QTest::addColumn<int>("missing"); // what the caption lacks, in pixels
    QTest::addColumn<int>("moved");   // how far the controls right of it move, and the frame and window grow

    // The label has 20 pixels of free room before the box on its right.
    QTest::newRow("fits") << 0 << 0;
    QTest::newRow("takes the free room") << 15 << 0;
    QTest::newRow("moves the box") << 50 << 30;
}

// A caption that needs more than the layout gives widens its control, then moves the controls right of it, in
// every row, and widens what spans it and the window.
void tst_frmOpt::captionsGrowIntoTheirRow()
{
    QFETCH(int, missing);
    QFETCH(int, moved);
    QDialog window;
    window.setFixedSize(300, 100);
    auto *label = new QLabel(QStringLiteral("切替時間（0.1～3秒）"), &window);
    const int needed = label->fontMetrics().horizontalAdvance(label->text());
    label->setGeometry(10, 10, needed - missing, 17);
    const int boxLeft = label->geometry().right() + 21;
    auto *box = new QLineEdit(&window);
    box->setGeometry(boxLeft, 10, 60, 20);
    auto *below = new QLineEdit(&window);
    below->setGeometry(boxLeft, 40, 60, 20);
    auto *frame = new QGroupBox(&window);
    frame->setGeometry(5, 70, 250, 25);
    auto *left = new QLineEdit(&window);
    left->setGeometry(5, 40, 60, 20);

    platform::fitCaptions(&window);
    QCOMPARE(label->geometry(), QRect(10, 10, needed, 17));
    QCOMPARE(box->geometry(), QRect(boxLeft + moved, 10, 60, 20));
    QCOMPARE(below->geometry(), QRect(boxLeft + moved, 40, 60, 20));
    QCOMPARE(frame->geometry(), QRect(5, 70, 250 + moved, 25));
    QCOMPARE(left->geometry(), QRect(5, 40, 60, 20));
    QCOMPARE(window.size(), QSize(300 + moved, 100));
}

void tst_frmOpt::presetFillsTheBoxesOnly_data()
{
    QTest::addColumn<int>("before"); // the preset ColorList holds when the dialog opens
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("after");

    QTest::newRow("readable, confirmed") << 0 << 1 << true << 1;
    QTest::newRow("readable, cancelled") << 0 << 1 << false << 0;
    QTest::newRow("standard restores the built-ins") << 1 << 0 << true << 0;
}

void tst_frmOpt::presetFillsTheBoxesOnly()
{
    QFETCH(int, before);
    QFETCH(int, chosen);
    QFETCH(bool, confirm);
    QFETCH(int, after);
    Options options([&] { std::ranges::copy(ColourPresets[size_t(before)].colors, ColorList.begin()); });
    QVERIFY(options.show());
    const auto colorsBefore = ColorList;
    auto *presets = control<QComboBox>(options.dialog, "cmbPreset");
    QVERIFY(!presets->isEditable());
    QCOMPARE(presets->currentIndex(), before);
    presets->setFocus();
    QTest::keyClick(presets, chosen > before ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(presets->currentIndex(), chosen);

    const DrawColors &shown = ColourPresets[size_t(chosen)].colors;
    for (int i = 0; i < DrawColorCount; ++i) {
        QCOMPARE(control<QLineEdit>(options.dialog, QStringLiteral("txtColor(%1)").arg(i))->text(),
                 platform::colorText(shown[size_t(i)]));
        QCOMPARE(sample(options.dialog, i), platform::toQColor(quint32(shown[size_t(i)])));
    }
    QCOMPARE(ColorList, colorsBefore);

    if (confirm)
        options.confirm();
    else
        control<QPushButton>(options.dialog, "cmdCancel")->click();
    const DrawColors &expected = ColourPresets[size_t(after)].colors;
    QVERIFY(std::equal(expected.begin(), expected.end(), ColorList.begin()));
    QCOMPARE(QFile::exists(SettingsFilePath()), confirm);
    if (confirm)
        QVERIFY(std::equal(expected.begin(), expected.end(), OptRec.Color.begin()));
}

void tst_frmOpt::presetListNamesTheSetShown()
{
    Options options;
    QVERIFY(options.show());
    auto *presets = control<QComboBox>(options.dialog, "cmbPreset");
    QCOMPARE(presets->currentText(), QStringLiteral("標準"));
    replaceText(control(options.dialog, "txtColor(3)"), "FF0001");
    QCOMPARE(presets->currentIndex(), -1);
    replaceText(control(options.dialog, "txtColor(3)"), "ff0000");
    QCOMPARE(presets->currentText(), QStringLiteral("標準"));
}

void tst_frmOpt::numberLabelsAreReadable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<quint32>("color");

    QTest::newRow("0: white") << 0 << 0xFFFFFFu;
    QTest::newRow("1: black") << 1 << 0x000000u;
    QTest::newRow("5: yellow") << 5 << 0x00FFFFu;
    QTest::newRow("7: magenta") << 7 << 0xFF00FFu;
}

// On the pixels: the label's ground, taken from its empty corner, stands 3:1 from the colour, and the number is
// drawn in the colour itself, every pixel a blend of the ground and the colour, and well into it somewhere.
void tst_frmOpt::numberLabelsAreReadable()
{
    QFETCH(int, index);
    QFETCH(quint32, color);
    Options options([&] { ColorList[size_t(index)] = qint32(color); });
    QVERIFY(options.show());
    const QImage image = control(options.dialog, QStringLiteral("lblColor(%1)").arg(index))->grab().toImage();
    const quint32 ground = platform::colorValue(image.pixelColor(image.width() - 1, image.height() - 1));
    QVERIFY2(::contrastRatio(color, ground) >= ReadableContrast,
             qPrintable(QString::number(::contrastRatio(color, ground))));
    const double reached = blendReached(image, platform::toQColor(ground), platform::toQColor(color));
    QVERIFY2(reached >= 0.5 && reached <= 1.02, qPrintable(QString::number(reached)));
}

QTEST_MAIN(tst_frmOpt)
#include "tst_frmopt.moc"
