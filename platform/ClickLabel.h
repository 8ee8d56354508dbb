#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

// A play-field cell: one opaque, borderless, left-aligned caption that reports a left-button click.
// It paints itself, so a tick that changes a hundred of them stays far below a frame.
class ClickLabel : public QWidget
{
    Q_OBJECT

public:
    explicit ClickLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

    // The font the text is drawn in at a number of device pixels per pixel: the label's own, or a smaller size
    // where the text's ink would not fit in the label at that one.
    QFont drawnFont(qreal pixelRatio) const;

signals:
    void clicked();

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct Placed;
    static Placed place(const QString &text, QFont font, QSize cell, qreal pixelRatio);
    const Placed &placement(qreal pixelRatio) const;

    QString m_text;
    QString m_fontKey;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
    bool m_pressed = false;
};
