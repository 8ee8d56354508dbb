#pragma once

#include "core/Limits.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmOpt : public QDialog
{
    Q_OBJECT

public:
    static constexpr int KindBoxCount = QuizKindCount;
    static constexpr int ColorBoxCount = DrawColorCount;

    explicit frmOpt(QWidget *parent = nullptr);

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    void txtColor_Change(int Index);
    void cmbPreset_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void CreateControls();
    void CreateKindBoxes();
    void CreateColorBoxes();
    void CreatePresetList();
    void CreateLanguageList();
    void RetranslateUi();
    void SetTabOrder();

    void Form_Load();
    void ViewTimeList();
    void ViewStringLen();
    void BlankTimeList();
    void ViewKigouNum();
    void ViewKoumoku();
    void ViewColor();
    void ViewTraining();
    void ViewLanguage();
    void ShowPreset();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *cmbViewTime = nullptr;
    QComboBox *cmbBlankTime = nullptr;
    QComboBox *cmbKigouNum = nullptr;
    QComboBox *cmbStringLen = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *cmbPreset = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    std::array<QCheckBox *, KindBoxCount> chkKoumoku{};
    std::array<QLabel *, ColorBoxCount> lblColor{};
    std::array<QLineEdit *, ColorBoxCount> txtColor{};
    QCheckBox *chkAuto = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *cmbLanguage = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};
