#include "flowmapview.h"

#include <QPainter>

namespace urbaflux {

FlowMapView::FlowMapView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FlowMapView::setData(FlowMapData data)
{
    m_data = std::move(data);
    update();
}

QString FlowMapView::noGeometryText()
{
    return QStringLiteral("Le aree non hanno ancora una geometria: per disegnare la mappa "
                          "importare le zone con \"Importa zone da file GIS...\" nel menu File "
                          "della finestra delle origini e destinazioni.");
}

void FlowMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFlowMap(painter, QRectF(rect()), m_data, &m_drawing);
    if (m_data.hasGeometry())
        return;
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(rect().adjusted(40, 40, -40, -40), Qt::AlignCenter | Qt::TextWordWrap,
                     noGeometryText());
}

} // namespace urbaflux
