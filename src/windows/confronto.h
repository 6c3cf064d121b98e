#pragma once

// The comparison of the elaboration (the project) with a saved complete archive (the base):
// what a plan changes, area by area and pair by pair. The base is read into a state of the
// window's own, computed with its own model, alpha, distances and weights; the project is the
// live state, computed first when its results are due. Both must have the same areas (count and
// names) or the window lists the differences and compares nothing.
//
// The window shows the per-area and per-pair tables (sortable, with a filter for the largest
// changes), the diverging chart of the 20 largest increases and decreases of estimated origins,
// and, when both have zones, the flow map of the changes. Its comparison is offered to the
// full report as the optional section after the tables.

#include "windowframe.h"

#include <scenariocomparison.h>

#include <QString>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace urbaflux {

class AreaChangeModel;
class FlowMapView;
class LargestChangesFilter;
class PairChangeModel;
struct FullReportInput;

class Confronto : public WindowFrame
{
    Q_OBJECT

public:
    static WindowFacts facts();

    explicit Confronto(AppContext& context, QWidget* parent = nullptr);
    ~Confronto() override;

    // "Apri scenario di base...": the open dialog, then openBase.
    void cmdbase_Click();
    // Reads and computes the base; false (told in a message box) when it cannot be read or
    // computed. A base with other areas is kept, but nothing is compared.
    bool openBase(const QString& path);
    // Compares again (the project's results first when due).
    void refreshComparison();

    bool hasBase() const { return m_base != nullptr; }
    const ScenarioComparison& comparison() const { return m_comparison; }
    // Gives the report the comparison section, when a comparable base is open and the user
    // did not leave it out.
    void addToReport(FullReportInput& input);

    QPushButton* baseButton() const { return m_cmdbase; }
    QLabel* heading() const { return m_heading; }
    QCheckBox* filterBox() const { return m_filter; }
    QSpinBox* filterCount() const { return m_filterCount; }
    QCheckBox* reportBox() const { return m_inReport; }
    QTabWidget* tabs() const { return m_tabs; }
    QTableView* areaTable() const { return m_areaTable; }
    QTableView* pairTable() const { return m_pairTable; }
    FlowMapView* mapView() const { return m_mapView; }
    QWidget* chartView() const { return m_chartView; }
    const std::vector<AreaChange>& chartBars() const { return m_bars; }

protected:
    void onLoad() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void applyFilter();
    QString failureTitle() const;
    QString baseName() const; // the file name without its folder

    std::unique_ptr<ProjectState> m_base;
    QString m_baseFile;
    ScenarioComparison m_comparison;
    std::vector<AreaChange> m_bars;
    bool m_stale = false;

    QPushButton* m_cmdbase = nullptr;
    QLabel* m_heading = nullptr;
    QCheckBox* m_filter = nullptr;
    QSpinBox* m_filterCount = nullptr;
    QCheckBox* m_inReport = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableView* m_areaTable = nullptr;
    QTableView* m_pairTable = nullptr;
    QWidget* m_chartView = nullptr;
    FlowMapView* m_mapView = nullptr;
    AreaChangeModel* m_areas = nullptr;
    PairChangeModel* m_pairs = nullptr;
    LargestChangesFilter* m_areaFilter = nullptr;
    LargestChangesFilter* m_pairFilter = nullptr;
    QString m_dialogFileName = QStringLiteral("Urbaflux-tot-");
};

} // namespace urbaflux
