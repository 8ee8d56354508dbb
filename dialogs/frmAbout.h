#pragma once

#include <QDialog>

class LineControl;
class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

public slots:
    void cmdOK_Click();

private:
    void Form_Load();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    LineControl *Line1_1 = nullptr;
    LineControl *Line1_0 = nullptr;
    QPushButton *cmdOK = nullptr;
};
