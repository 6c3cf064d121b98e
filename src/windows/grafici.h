#pragma once

// Window 4 of 5: the 20 main gravitations of the elaboration as horizontal bars or as a pie,
// the chart printout and its picture file (shared with the full report), a picture of the chart
// for the user's own documents, and the interactions archive ("Urbaflux-int-").
//
// The chart shows the 20 largest interactions of the data as they stand: a change of the data
// redraws it (at once while the window is in view, otherwise before it is next shown or used),
// and data the calculation cannot take give an empty chart with the hint naming what is
// missing, so that neither the report nor the printout ever shows a meaningless picture.

#include "windowframe.h"

#include <chartpicture.h>
#include <chartslots.h>

#include <QString>
#include <functional>

class QAction;
class QChartView;
class QComboBox;
class QPoint;
class QPushButton;
class QSpinBox;

namespace urbaflux {

class DocumentWriter;
class FlowMapView;
class GravitationChart;

class Grafici : public WindowFrame
{
    Q_OBJECT

public:
    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Grafici(AppContext& context, QWidget* parent = nullptr);
    ~Grafici() override;

    // The buttons: the bars or the pie of the current results (virtual: tests stand in for the
    // charts window).
    virtual void cmdbarre_Click();
    virtual void cmdtorta_Click();
    // Selects the 20 largest interactions and draws them; without computed interactions it
    // empties the chart, says so and shows the model-choice window.
    void drawChart(ChartKind kind);

    // The chart as last drawn.
    ChartKind currentKind() const;
    const ChartSlots& chartSlots() const;
    GravitationChart* chart() const { return m_chart; }
    QChartView* chartView() const { return m_view; }
    QPushButton* barsButton() const { return m_cmdbarre; }
    QPushButton* pieButton() const { return m_cmdtorta; }

    // Renders the chart as shown to chartPicturePath(); false with the reason on failure.
    bool writeChartPicture(QString* error) override;
    // The distances window's Avanti: the bars of the current results.
    void enteredByAvanti() override { cmdbarre_Click(); }

    // The chart's own context menu: the picture to the clipboard, or to a PNG, SVG or PDF file.
    void copyChart();
    void saveChartImageAs();

    // The map view: the zones with the largest interactions between areas as arrows (button,
    // toolbar and Ctrl+M); the bars and the pie bring the chart back.
    virtual void cmdmappa_Click();
    bool mapShown() const;
    FlowMapView* mapView() const { return m_mapView; }
    QPushButton* mapButton() const { return m_cmdmappa; }
    QSpinBox* mapFlowsBox() const { return m_mapFlows; }
    QComboBox* mapCirclesBox() const { return m_mapCircles; }
    QAction* mapAction() const { return m_mapAction; }
    // The map's own context menu, as the chart's.
    void copyMap();
    void saveMapImageAs();
    // The save dialog of a picture ("del grafico", "della mappa") and its message on failure.
    void savePictureAs(const QString& what, const QString& proposed,
                       const std::function<bool(const QString&, QString*)>& save);

    // The full name of the archive file last chosen in a file dialog of this window.
    QString currentFile() const { return m_currentFile; }

    // Operations the frame dispatches to.
    void apri_Click() override;
    void salva_Click() override;
    void salvanome_Click() override;
    void eliminare_click() override;
    void stampa_Click() override;

protected:
    void onLoad() override;
    // A change of the data leaves the drawing behind: redrawn at once while in view, else when
    // the window is shown or its picture is used.
    void dataChanged(bool own) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Draws the current kind of chart from the results of the data as they stand; an empty
    // chart, with the hint saying why, when the data give none.
    void refreshChart();
    void showChartMenu(const QPoint& at);
    void saveInteractions(const QString& dialogTitle);
    QString archiveFailureTitle() const;
    void buildMapControls();
    void showMap(bool shown);
    void refreshMap();
    void showMapMenu(const QPoint& at);
    bool appendMapToPrintout(DocumentWriter& writer);

    QChartView* m_view = nullptr;
    GravitationChart* m_chart = nullptr;
    QPushButton* m_cmdbarre = nullptr;
    QPushButton* m_cmdtorta = nullptr;
    bool m_chartStale = false;
    FlowMapView* m_mapView = nullptr;
    QPushButton* m_cmdmappa = nullptr;
    QSpinBox* m_mapFlows = nullptr;
    QComboBox* m_mapCircles = nullptr;
    QAction* m_mapAction = nullptr;
    bool m_redrawQueued = false;
    QString m_currentFile;
    QString m_dialogFileName = QStringLiteral("Urbaflux-int-");
};

} // namespace urbaflux
