#pragma once

#include <QObject>

class QLineEdit;

// Keeps a box's text vertically centred on its ink. A box centres the font's whole line, and the line of a CJK
// face reaches far above its digits, so that they sit low, on the bottom edge of a box laid out in twips. The
// box's text is moved up or down by the whole pixels that centre the digits' ink, again whenever the box is
// resized or its font changes; a face whose digits already sit in the middle is left as it is.
class CentredText : public QObject
{
    Q_OBJECT

public:
    explicit CentredText(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void centre();

    QLineEdit *m_box;
};
