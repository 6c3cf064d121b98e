#include "grafici.h"

#include "archivecommands.h"
#include "flowmapview.h"
#include "prompts.h"
#include "windowmanager.h"

#include <archivefile.h>
#include <calculation.h>
#include <documentsink.h>
#include <documentwriter.h>
#include <gravitationchart.h>
#include <interactionarchive.h>
#include <projectstate.h>

#include <QAction>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <memory>

namespace urbaflux {

namespace {

const QString kFilterAll =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-int- | Urbaflux-int-*");
const QString kFilterInt = QStringLiteral("File Urbaflux-int- | Urbaflux-int-*");
const QString kFilterPicture = QStringLiteral(
    "Immagine PNG (*.png)|*.png|Immagine SVG (*.svg)|*.svg|Documento PDF (*.pdf)|*.pdf");

QString chartHint()
{
    return QStringLiteral("scegliere il grafico a barre o a torta; con il tasto destro del mouse "
                          "sul grafico lo si copia o lo si salva come immagine");
}

} // namespace

Grafici::Grafici(AppContext& context, QWidget* parent) : WindowFrame(facts(), context, parent)
{
    buildControls();
}

Grafici::~Grafici() = default;

void Grafici::buildControls()
{
    QWidget* area = body();
    m_chart = new GravitationChart;
    m_view = new QChartView(m_chart, area);
    m_view->setObjectName(QStringLiteral("MSChart1"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showChartMenu(at); });
    placeTwips(m_view, 90, 60, 7830, 5080);

    m_cmdbarre = new QPushButton(QStringLiteral("Grafico a &barre"), area);
    m_cmdbarre->setObjectName(QStringLiteral("cmdbarre"));
    m_cmdbarre->setToolTip(
        QStringLiteral("cliccare per disegnare le gravitazioni principali con le barre"));
    placeTwips(m_cmdbarre, 8040, 600, 1440, 450);
    connect(m_cmdbarre, &QPushButton::clicked, this, [this] { cmdbarre_Click(); });

    m_cmdtorta = new QPushButton(QStringLiteral("Grafico a t&orta"), area);
    m_cmdtorta->setObjectName(QStringLiteral("cmdtorta"));
    m_cmdtorta->setToolTip(
        QStringLiteral("cliccare per disegnare le gravitazioni principali in percentuale"));
    placeTwips(m_cmdtorta, 8040, 1200, 1440, 450);
    connect(m_cmdtorta, &QPushButton::clicked, this, [this] { cmdtorta_Click(); });
    buildMapControls();
}

void Grafici::onLoad()
{
    refreshCaption();
    m_chart->showSlots(ChartSlots{}, ChartKind::Bars);
    refreshChart();
    captureLayout();
}

void Grafici::refreshChart()
{
    m_chartStale = false;
    // The largest interactions of the data as they stand, or none: never those of a last
    // complete run that the data have since left behind.
    const ResultsGap gap = currentResultsGap(state());
    const ChartSlots slots = gap.none() ? selectChartSlots(state()) : ChartSlots{};
    m_chart->showSlots(hasChartResults(slots) ? slots : ChartSlots{}, currentKind());
    setPasso(gap.none() || state().areas.count == 0
                 ? chartHint()
                 : QStringLiteral("grafico non disponibile: ") + describeResultsGap(gap));
}

void Grafici::dataChanged(bool own)
{
    Q_UNUSED(own)
    m_chartStale = true;
    // Redrawn once the change has been handled (the distances window computes the results
    // with its cache first), and once for a burst of keystrokes.
    if (isVisible() && !m_redrawQueued) {
        m_redrawQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_redrawQueued = false;
            if (m_chartStale && isVisible())
                refreshChart();
        });
    }
}

void Grafici::showEvent(QShowEvent* event)
{
    WindowFrame::showEvent(event);
    if (m_chartStale)
        refreshChart();
}

void Grafici::cmdbarre_Click()
{
    drawChart(ChartKind::Bars);
}

void Grafici::cmdtorta_Click()
{
    drawChart(ChartKind::Pie);
}

void Grafici::drawChart(ChartKind kind)
{
    showMap(false);
    // Never the largest interactions of other data: a changed model or area runs the
    // calculation first, and data the calculation cannot take give no chart.
    m_chartStale = false;
    const ResultsGap gap = currentResultsGap(state());
    if (!gap.none() && state().areas.count > 0) {
        m_chart->showSlots(ChartSlots{}, kind);
        prompts().inform(MessageIcon::Critical, state().run.checkTitle,
                         QStringLiteral("Impossibile disegnare il grafico: ") +
                             describeResultsGap(gap) + QLatin1Char('.'));
        return;
    }
    const ChartSlots slots = selectChartSlots(state());
    if (!hasChartResults(slots)) {
        // No share of a total that does not exist: an empty chart, never the last results.
        m_chart->showSlots(ChartSlots{}, kind);
        prompts().inform(MessageIcon::Critical, state().run.checkTitle,
                         QStringLiteral("Non esistono dati corretti da graficizzare: effettuare "
                                        "il 'controllo dati immessi', con il tasto ABC, in ogni "
                                        "finestra."));
        windows().showWindow(WindowId::Menu);
        return;
    }
    m_chart->showSlots(slots, kind);
}

ChartKind Grafici::currentKind() const
{
    return m_chart->kind();
}

const ChartSlots& Grafici::chartSlots() const
{
    return m_chart->shownSlots();
}

bool Grafici::writeChartPicture(QString* error)
{
    if (m_chartStale)
        refreshChart();
    return renderChartPicture(chartSlots(), currentKind(), chartPicturePath(), error);
}

// --- The chart's context menu ---

void Grafici::showChartMenu(const QPoint& at)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copia grafico"));
    QAction* save = menu.addAction(QStringLiteral("Salva immagine..."));
    QAction* chosen = menu.exec(m_view->mapToGlobal(at));
    if (chosen == copy)
        copyChart();
    else if (chosen == save)
        saveChartImageAs();
}

void Grafici::copyChart()
{
    const QImage picture = renderChartImage(chartSlots(), currentKind(), chartPrintLayoutSize(),
                                            kChartPrintDpi / 96.0);
    if (!picture.isNull())
        QGuiApplication::clipboard()->setImage(picture);
}

void Grafici::saveChartImageAs()
{
    savePictureAs(QStringLiteral("del grafico"), QStringLiteral("graficoGravitazioni.png"),
                  [this](const QString& path, QString* error) {
                      return saveChartImage(chartSlots(), currentKind(), path, error);
                  });
}

void Grafici::savePictureAs(const QString& what, const QString& proposed,
                            const std::function<bool(const QString&, QString*)>& save)
{
    FileRequest request;
    request.title = QStringLiteral("Salva immagine ") + what;
    request.filter = kFilterPicture;
    request.selectedFilter = 1;
    request.fileName = proposed;
    QString path = prompts().saveFile(request);
    if (path.isEmpty())
        return;
    // A name without one of the three kinds is a PNG, the filter's first.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("pdf"))
        path += QStringLiteral(".png");
    QString error;
    if (!save(path, &error))
        prompts().inform(MessageIcon::Critical,
                         state().run.programName + QStringLiteral(": immagine ") + what, error);
}

// --- Printout ---

void Grafici::stampa_Click()
{
    if (const ResultsGap gap = currentResultsGap(state()); !gap.none() && state().areas.count > 0) {
        refreshChart();
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Impossibile stampare: ") + describeResultsGap(gap) +
                             QLatin1Char('.'));
        return;
    }
    if (m_chartStale)
        refreshChart();
    if (!hasChartPairs(chartSlots())) {
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Mancano i dati da stampare: tornare indietro o aprire un "
                                        "file (Urbaflux-gra-)."));
        return;
    }
    QString error;
    if (!writeChartPicture(&error)) {
        prompts().inform(MessageIcon::Critical, QStringLiteral("Urbaflux: stampa dati finestra"),
                         error);
        return;
    }
    const ProjectState& st = state();
    const QChar cr(13);
    DocumentWriter writer;
    writer.StartDocument();
    writer.SetFont(QStringLiteral("Century Gothic"));
    writer.SetFontSize(20);
    writer.TypeText(st.run.programName + cr);
    writer.SetFontSize(16);
    writer.TypeText(st.run.programDescription + cr + cr);
    writer.AppendParagraph();
    if (!writer.InsertPicture(chartPicturePath())) {
        prompts().inform(MessageIcon::Critical, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Impossibile leggere l'immagine del grafico %1.")
                             .arg(archiveDisplayName(chartPicturePath())));
        return;
    }
    if (mapShown() && !appendMapToPrintout(writer))
        return;
    context().documents.present(writer.takeDocument());
}

// --- The flow map ---

namespace {

// A small picture of a curved arrow between two circles, for the toolbar.
QIcon mapIcon()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 120, 120));
    painter.drawEllipse(QPointF(4, 15), 3, 3);
    painter.drawEllipse(QPointF(16, 5), 3, 3);
    QPainterPath curve(QPointF(6, 13));
    curve.quadTo(QPointF(7, 4), QPointF(12, 5));
    painter.setPen(QPen(QColor(31, 78, 140), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(31, 78, 140));
    painter.drawPolygon(QPolygonF{QPointF(13.5, 5), QPointF(10, 2), QPointF(10, 8)});
    return QIcon(pixmap);
}

} // namespace

void Grafici::buildMapControls()
{
    QWidget* area = body();
    m_mapView = new FlowMapView(area);
    m_mapView->setObjectName(QStringLiteral("mappa"));
    m_mapView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_mapView->hide();
    connect(m_mapView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showMapMenu(at); });
    placeTwips(m_mapView, 90, 60, 7830, 5080);

    m_cmdmappa = new QPushButton(QStringLiteral("&Mappa"), area);
    m_cmdmappa->setObjectName(QStringLiteral("cmdmappa"));
    m_cmdmappa->setToolTip(QStringLiteral("cliccare per disegnare le gravitazioni principali "
                                          "sulla mappa delle zone (Ctrl+M)"));
    placeTwips(m_cmdmappa, 8040, 1800, 1440, 450);
    connect(m_cmdmappa, &QPushButton::clicked, this, [this] { cmdmappa_Click(); });

    m_mapFlows = new QSpinBox(area);
    m_mapFlows->setObjectName(QStringLiteral("relazionimappa"));
    m_mapFlows->setRange(kMinMapFlows, kMaxMapFlows);
    m_mapFlows->setValue(kDefaultMapFlows);
    m_mapFlows->setSuffix(QStringLiteral(" relazioni"));
    m_mapFlows->setToolTip(QStringLiteral("quante relazioni tra aree diverse la mappa mostra"));
    placeTwips(m_mapFlows, 8040, 2400, 1440, 330);
    connect(m_mapFlows, &QSpinBox::valueChanged, this, [this] {
        if (mapShown())
            refreshMap();
    });

    m_mapCircles = new QComboBox(area);
    m_mapCircles->setObjectName(QStringLiteral("cerchimappa"));
    m_mapCircles->addItem(QStringLiteral("cerchi: origini"));
    m_mapCircles->addItem(QStringLiteral("cerchi: interne"));
    m_mapCircles->setToolTip(QStringLiteral("l'area dei cerchi segue le origini stimate "
                                            "o l'interazione interna di ogni area"));
    placeTwips(m_mapCircles, 8040, 2850, 1440, 330);
    connect(m_mapCircles, &QComboBox::currentIndexChanged, this, [this] {
        if (mapShown())
            refreshMap();
    });

    // A toolbar position of this window's own after the frame's, and a shortcut that no edit
    // command uses.
    m_mapAction = new QAction(mapIcon(), QStringLiteral("mappa delle gravitazioni"), this);
    m_mapAction->setObjectName(QStringLiteral("tbrMappa"));
    m_mapAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    m_mapAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_mapAction, &QAction::triggered, this, [this] { cmdmappa_Click(); });
    if (auto* toolbar = findChild<QToolBar*>(QStringLiteral("Toolbar1"))) {
        toolbar->addSeparator();
        toolbar->addAction(m_mapAction);
    } else {
        addAction(m_mapAction);
    }
}

void Grafici::cmdmappa_Click()
{
    ensureCurrentResults(state());
    refreshMap();
    showMap(true);
}

bool Grafici::mapShown() const
{
    return m_mapView && m_mapView->isVisibleTo(body());
}

void Grafici::showMap(bool shown)
{
    if (!m_mapView)
        return;
    m_mapView->setVisible(shown);
    m_view->setVisible(!shown);
}

void Grafici::refreshMap()
{
    FlowMapOptions options;
    options.flows = m_mapFlows->value();
    options.circles =
        m_mapCircles->currentIndex() == 1 ? CircleMeasure::Intrazonal : CircleMeasure::Origins;
    m_mapView->setData(flowMapData(state(), options));
}

void Grafici::showMapMenu(const QPoint& at)
{
    if (!m_mapView->data().hasGeometry())
        return;
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copia mappa"));
    QAction* save = menu.addAction(QStringLiteral("Salva immagine della mappa..."));
    QAction* chosen = menu.exec(m_mapView->mapToGlobal(at));
    if (chosen == copy)
        copyMap();
    else if (chosen == save)
        saveMapImageAs();
}

void Grafici::copyMap()
{
    const QImage picture =
        renderFlowMapImage(m_mapView->data(), flowMapPrintLayoutSize(), kFlowMapPrintDpi / 96.0);
    if (!picture.isNull())
        QGuiApplication::clipboard()->setImage(picture);
}

void Grafici::saveMapImageAs()
{
    savePictureAs(QStringLiteral("della mappa"), QStringLiteral("mappaGravitazioni.png"),
                  [this](const QString& path, QString* error) {
                      return saveFlowMapImage(m_mapView->data(), path, error);
                  });
}

bool Grafici::appendMapToPrintout(DocumentWriter& writer)
{
    if (!m_mapView->data().hasGeometry())
        return true;
    QString error;
    const QString path = flowMapPicturePath();
    if (!saveFlowMapImage(m_mapView->data(), path, &error) || !writer.InsertPicture(path)) {
        prompts().inform(MessageIcon::Critical, QStringLiteral("Urbaflux: stampa dati finestra"),
                         error.isEmpty() ? QStringLiteral("Impossibile leggere l'immagine della "
                                                          "mappa %1.")
                                               .arg(archiveDisplayName(path))
                                         : error);
        return false;
    }
    writer.AppendParagraph();
    return true;
}

// --- The interactions archive ---

QString Grafici::archiveFailureTitle() const
{
    return state().run.programName + QStringLiteral(": archivio (interazioni)");
}

void Grafici::apri_Click()
{
    FileRequest request;
    request.title = QStringLiteral("Apri file (interazioni)");
    request.filter = kFilterAll;
    request.selectedFilter = 2;
    // The pairs stay as they are until a file has been read whole: a cancelled or refused open
    // loses nothing.
    const Parsed<InteractionRecords> parsed = openArchiveFile(
        *this, request, m_dialogFileName, archiveFailureTitle(), readInteractionFile);
    // A refused file is not made the current file either: a following "Salva" must not
    // overwrite a file that is not an interactions archive.
    if (!parsed.ok())
        return;
    m_currentFile = m_dialogFileName;
    state().run.gridTopRow = 1;
    // The windows that show pairs or results follow the announcement of the change; the
    // distances grid shows the pairs read from the top.
    applyInteractions(*parsed.value, state());
    if (auto* distances = windows().existingAs<WindowFrame>(WindowId::Distanze))
        distances->showFromFirstRow();
}

void Grafici::saveInteractions(const QString& dialogTitle)
{
    if (const ResultsGap gap = currentResultsGap(state()); !gap.none() && state().areas.count > 0) {
        prompts().inform(MessageIcon::Critical, state().run.checkTitle,
                         QStringLiteral("Impossibile archiviare le interazioni: ") +
                             describeResultsGap(gap) + QLatin1Char('.'));
        return;
    }
    const ProjectState& st = state();
    if (st.interactions.totalInteractions == 0) {
        prompts().inform(MessageIcon::Critical, st.run.checkTitle,
                         QStringLiteral("Non esistono interazioni da archiviare: tornare "
                                        "indietro."));
        return;
    }
    const QString path = saveArchiveFile(
        *this, m_currentFile, {dialogTitle, kFilterInt, 1, m_dialogFileName, QString()},
        m_dialogFileName, archiveFailureTitle(),
        [&st](const QString& p) { return writeInteractionFile(p, st); });
    if (!path.isEmpty())
        m_currentFile = path;
}

void Grafici::salva_Click()
{
    saveInteractions(QStringLiteral("Salva file (interazioni)"));
}

void Grafici::salvanome_Click()
{
    // A cancelled dialog or a failed write keeps the file known before.
    const QString known = m_currentFile;
    m_currentFile.clear();
    saveInteractions(QStringLiteral("Salva file con nome (interazioni)"));
    if (m_currentFile.isEmpty())
        m_currentFile = known;
}

void Grafici::eliminare_click()
{
    FileRequest request;
    request.title = state().run.deleteTitle;
    request.filter = kFilterAll;
    request.selectedFilter = 2;
    trashArchiveFile(*this, request, archiveFailureTitle(), m_dialogFileName, m_currentFile);
}

} // namespace urbaflux
