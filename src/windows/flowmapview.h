#pragma once

// The flow map on screen: paints the FlowMapData it is given, laid out at the widget's size,
// the same painting the pictures and the report use. Without geometry it says how to get zones
// instead of showing an empty frame.

#include <flowmap.h>

#include <QWidget>

namespace urbaflux {

class FlowMapView : public QWidget
{
    Q_OBJECT

public:
    explicit FlowMapView(QWidget* parent = nullptr);

    void setData(FlowMapData data);
    const FlowMapData& data() const { return m_data; }
    // What the last painting drew.
    const FlowMapDrawing& drawing() const { return m_drawing; }

    // The sentence shown when the elaboration has no zones.
    static QString noGeometryText();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FlowMapData m_data;
    FlowMapDrawing m_drawing;
};

} // namespace urbaflux
