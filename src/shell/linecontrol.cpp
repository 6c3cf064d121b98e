#include "linecontrol.h"

#include <QPainter>

namespace urbaflux {

LineControl::LineControl(QWidget* parent) : QWidget(parent)
{
    // A line is decoration: clicks go to what lies below it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    updateGeometryFromPoints();
}

void LineControl::setPoints(QPoint first, QPoint second)
{
    m_first = first;
    m_second = second;
    updateGeometryFromPoints();
}

void LineControl::setLineColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

void LineControl::setLineWidth(int width)
{
    m_width = qMax(1, width);
    updateGeometryFromPoints();
}

void LineControl::updateGeometryFromPoints()
{
    const int margin = m_width;
    const QRect box =
        QRect(m_first, m_second).normalized().adjusted(-margin, -margin, margin, margin);
    setGeometry(box);
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_colour, m_width));
    const QPoint origin = pos();
    painter.drawLine(m_first - origin, m_second - origin);
}

} // namespace urbaflux
