#pragma once

// A straight line drawn between two end points of its parent's coordinates, the counterpart of
// the old toolkit's line control: the resizer moves its end points rather than a rectangle.

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace urbaflux {

class LineControl : public QWidget
{
    Q_OBJECT

public:
    explicit LineControl(QWidget* parent = nullptr);

    // End points in the parent's pixels.
    void setPoints(QPoint first, QPoint second);
    QPoint firstPoint() const { return m_first; }
    QPoint secondPoint() const { return m_second; }

    void setLineColour(const QColor& colour);
    void setLineWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateGeometryFromPoints();

    QPoint m_first;
    QPoint m_second;
    QColor m_colour = Qt::black;
    int m_width = 1;
};

} // namespace urbaflux
