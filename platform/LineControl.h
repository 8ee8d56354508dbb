#pragma once

#include <QColor>
#include <QWidget>

// A straight line between two points given in twips, drawn inside its own bounds.
class LineControl : public QWidget
{
    Q_OBJECT

public:
    LineControl(double x1, double y1, double x2, double y2, QWidget *parent = nullptr);

    double x1() const { return m_x1; }
    double y1() const { return m_y1; }

    void setPoints(double x1, double y1, double x2, double y2);
    void setLineColor(const QColor &color);
    void setLineWidth(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateGeometryFromPoints();

    double m_x1;
    double m_y1;
    double m_x2;
    double m_y2;
    QColor m_color = Qt::black;
    int m_width = 1;
};
