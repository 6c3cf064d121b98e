#include "confronto.h"

#include <zonepackage.h>

#include "comparisonmodels.h"
#include "flowmapview.h"
#include "prompts.h"

#include <archivefile.h>
#include <calculation.h>
#include <changechart.h>
#include <completearchive.h>
#include <flowmap.h>
#include <fullreport.h>
#include <projectstate.h>
#include <statenotifier.h>
#include <titlepage.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

namespace urbaflux {

namespace {

const QString kFilterTot =
    QStringLiteral("File Urbaflux-tot- | Urbaflux-tot-*|Tutti i file (*.*)|*.*");

class ChangeChartView : public QWidget
{
public:
    using QWidget::QWidget;
    void setBars(std::vector<AreaChange> bars)
    {
        m_bars = std::move(bars);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paintChangeChart(painter, QRectF(rect()), m_bars);
    }

private:
    std::vector<AreaChange> m_bars;
};

QTableView* newTable(QWidget* parent, QAbstractItemModel* model, const QString& name)
{
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSortingEnabled(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    // Uniform rows: the pair table holds up to 32,400 of them.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    return table;
}

// The zones of the base from its companion file (PATH.gpkg). One that is missing or does not fit
// leaves the base without geometry: the tables compare all the same, only the map is left out.
void loadBaseZones(const QString& archivePath, ProjectState& base)
{
    const Parsed<ZoneSet> zones =
        readZonePackage(companionPackagePath(archivePath), base.areas.count);
    base.zones = zones.ok() ? *zones.value : ZoneSet();
}

} // namespace

WindowFacts Confronto::facts()
{
    WindowFacts f;
    f.id = WindowId::Confronto;
    f.objectName = QStringLiteral("confronto");
    f.fixedCaption = QStringLiteral("Urbaflux: confronto con uno scenario di base");
    f.designColour = QColor(255, 255, 255);
    f.contextHelp = {
        QStringLiteral("- Aprire come base un archivio completo (Urbaflux-tot-) con le stesse "
                       "aree dell'elaborazione;"),
        QStringLiteral("- le tabelle si ordinano cliccando sulle intestazioni delle colonne;"),
        QStringLiteral("- 'solo le variazioni maggiori' mostra le righe che cambiano di più;"),
        QStringLiteral("- il confronto entra nella relazione come sezione dopo le tabelle."),
    };
    f.helpLinkCaption = QStringLiteral("Fi&nestra confronto");
    f.helpPages = {WindowId::GuidaGrafici};
    f.buttons = {FrameButton::Aiuto, FrameButton::CmdEsci};
    f.separatorAfterOpen = false;
    return f;
}

Confronto::Confronto(AppContext& context, QWidget* parent) : WindowFrame(facts(), context, parent)
{
    buildControls();
    if (StateNotifier* notifier = state().notifier)
        connect(notifier, &StateNotifier::inputsChanged, this, [this] {
            if (!m_base)
                return;
            if (isVisible())
                refreshComparison();
            else
                m_stale = true;
        });
}

Confronto::~Confronto() = default;

void Confronto::buildControls()
{
    QWidget* area = body();
    m_cmdbase = new QPushButton(QStringLiteral("Apri scenario di &base..."), area);
    m_cmdbase->setObjectName(QStringLiteral("cmdbase"));
    m_cmdbase->setToolTip(QStringLiteral("scegliere l'archivio completo dello scenario di base"));
    placeTwips(m_cmdbase, 90, 60, 2400, 400);
    connect(m_cmdbase, &QPushButton::clicked, this, [this] { cmdbase_Click(); });

    m_heading = new QLabel(area);
    m_heading->setObjectName(QStringLiteral("intestazione"));
    m_heading->setWordWrap(true);
    m_heading->setText(QStringLiteral("Nessuno scenario di base: aprire un archivio completo "
                                      "(Urbaflux-tot-) con le stesse aree."));
    placeTwips(m_heading, 2640, 30, 6840, 480);

    m_filter = new QCheckBox(QStringLiteral("solo le &variazioni maggiori:"), area);
    m_filter->setObjectName(QStringLiteral("filtro"));
    placeTwips(m_filter, 90, 560, 2800, 330);
    m_filterCount = new QSpinBox(area);
    m_filterCount->setObjectName(QStringLiteral("quantevariazioni"));
    m_filterCount->setRange(1, kMaxPairs);
    m_filterCount->setValue(20);
    placeTwips(m_filterCount, 2900, 560, 1100, 330);
    connect(m_filter, &QCheckBox::toggled, this, [this] { applyFilter(); });
    connect(m_filterCount, &QSpinBox::valueChanged, this, [this] { applyFilter(); });

    m_inReport = new QCheckBox(QStringLiteral("includi nella &relazione"), area);
    m_inReport->setObjectName(QStringLiteral("nellarelazione"));
    m_inReport->setChecked(true);
    placeTwips(m_inReport, 6600, 560, 2880, 330);

    m_areas = new AreaChangeModel(this);
    m_pairs = new PairChangeModel(this);
    m_areaFilter = new LargestChangesFilter(AreaChangeModel::kChangeColumn, this);
    m_areaFilter->setSourceModel(m_areas);
    m_pairFilter = new LargestChangesFilter(PairChangeModel::kChangeColumn, this);
    m_pairFilter->setSourceModel(m_pairs);

    m_tabs = new QTabWidget(area);
    m_tabs->setObjectName(QStringLiteral("schede"));
    m_areaTable = newTable(m_tabs, m_areaFilter, QStringLiteral("tabellaaree"));
    m_pairTable = newTable(m_tabs, m_pairFilter, QStringLiteral("tabellacoppie"));
    m_chartView = new ChangeChartView(m_tabs);
    m_chartView->setObjectName(QStringLiteral("graficovariazioni"));
    m_mapView = new FlowMapView(m_tabs);
    m_mapView->setObjectName(QStringLiteral("mappavariazioni"));
    m_tabs->addTab(m_areaTable, QStringLiteral("Aree"));
    m_tabs->addTab(m_pairTable, QStringLiteral("Coppie"));
    m_tabs->addTab(m_chartView, QStringLiteral("Variazioni maggiori"));
    m_tabs->addTab(m_mapView, QStringLiteral("Mappa delle variazioni"));
    placeTwips(m_tabs, 90, 960, 9390, 4200);
}

void Confronto::onLoad()
{
    setPasso(QStringLiteral("aprire lo scenario di base; le variazioni sono i valori del "
                            "progetto meno quelli della base"));
    captureLayout();
}

void Confronto::showEvent(QShowEvent* event)
{
    WindowFrame::showEvent(event);
    if (m_stale)
        refreshComparison();
}

QString Confronto::failureTitle() const
{
    return state().run.programName + QStringLiteral(": confronto con lo scenario di base");
}

void Confronto::cmdbase_Click()
{
    FileRequest request;
    request.title = QStringLiteral("Apri scenario di base");
    request.filter = kFilterTot;
    request.selectedFilter = 1;
    request.fileName = m_dialogFileName;
    const QString path = prompts().openFile(request);
    if (path.isEmpty())
        return;
    m_dialogFileName = path;
    openBase(path);
}

bool Confronto::openBase(const QString& path)
{
    const Parsed<CompleteRecord> archive = readCompleteFile(path);
    if (!archive.ok()) {
        prompts().inform(MessageIcon::Critical, failureTitle(), archive.error);
        return false;
    }
    auto base = std::make_unique<ProjectState>();
    applyDefaults(*base);
    TitlePage titlePage;
    applyComplete(*archive.value, *base, titlePage);
    // The base is no live state: nothing listens to it, and its writes announce nothing.
    base->notifier = nullptr;
    loadBaseZones(path, *base);
    computeAreaTotals(*base);
    const CalculationOutcome outcome = calculateInteractions(*base);
    if (!outcome.completed()) {
        prompts().inform(MessageIcon::Critical, failureTitle(),
                         QStringLiteral("Lo scenario di base %1 non si può calcolare: %2.")
                             .arg(archiveDisplayName(path), describeOutcome(outcome)));
        return false;
    }
    m_base = std::move(base);
    m_baseFile = path;
    refreshComparison();
    if (!m_comparison.comparable())
        prompts().inform(MessageIcon::Exclamation, failureTitle(),
                         QStringLiteral("Lo scenario di base %1 non ha le stesse aree "
                                        "dell'elaborazione: nessun confronto.\n")
                                 .arg(archiveDisplayName(path)) +
                             m_comparison.refusal.join(QLatin1Char('\n')));
    return true;
}

void Confronto::refreshComparison()
{
    m_stale = false;
    if (!m_base)
        return;
    ensureCurrentResults(state());
    m_comparison = compareScenarios(*m_base, state());
    m_areas->setComparison(&m_comparison);
    m_pairs->setComparison(&m_comparison);
    applyFilter();
    m_bars = changeChartBars(m_comparison);
    static_cast<ChangeChartView*>(m_chartView)->setBars(m_bars);
    const bool bothZones = m_base->zones.hasGeometry() && state().zones.hasGeometry();
    m_mapView->setData(bothZones ? differenceMapData(state(), m_comparison) : FlowMapData{});
    QString text = QStringLiteral("base: ") + baseName();
    if (!m_comparison.comparable())
        text += QStringLiteral(" - aree diverse, nessun confronto: ") +
                m_comparison.refusal.join(QStringLiteral("; "));
    else if (!m_comparison.baseNote.isEmpty())
        text += QStringLiteral(" (") + m_comparison.baseNote + QStringLiteral(")");
    m_heading->setText(text);
}

QString Confronto::baseName() const
{
    return archiveDisplayName(QFileInfo(m_baseFile).fileName());
}

void Confronto::applyFilter()
{
    const int limit = m_filter->isChecked() ? m_filterCount->value() : 0;
    m_areaFilter->setLimit(limit);
    m_pairFilter->setLimit(limit);
}

void Confronto::addToReport(FullReportInput& input)
{
    if (m_stale)
        refreshComparison();
    if (!m_base || !m_comparison.comparable() || !m_inReport->isChecked())
        return;
    input.comparison = &m_comparison;
    input.baseFileName = baseName();
}

} // namespace urbaflux
