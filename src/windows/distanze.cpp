#include "distanze.h"

#include "gisimport.h"

#include "archivecommands.h"
#include "distancearchive.h"
#include "distancesprintout.h"
#include "distanzematrice.h"
#include "document.h"
#include "documentsink.h"
#include "modelcaptions.h"
#include "prompts.h"
#include "spreadsheettext.h"
#include "windowmanager.h"

#include <numbertext.h>
#include <projectstate.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

QRect twips(int left, int top, int width, int height)
{
    return {WindowFrame::twipsToPixels(left), WindowFrame::twipsToPixels(top),
            WindowFrame::twipsToPixels(width), WindowFrame::twipsToPixels(height)};
}

// Grid geometry, in twips.
constexpr int kHeadingTop = 60;
constexpr int kFirstRowTop = 600;
constexpr int kRowHeight = 285;
constexpr int kRowGap = 15;

struct Column
{
    int left;
    int width;
};
constexpr Column kNum{60, 600};
constexpr Column kLabel{720, 750};
constexpr Column kNomi{1500, 3450};
constexpr Column kDistanza{4980, 1335};
constexpr Column kP100{6345, 660};
constexpr Column kArrows{7020, 480};
constexpr Column kInterazioni{7560, 1380};
constexpr Column kVScroll{9000, 255};

const QString kFilterAll =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*");
const QString kFilterDis = QStringLiteral("File Urbaflux-dis- | Urbaflux-dis-*");

QLabel* headingLabel(QWidget* parent, const QString& name, const QString& caption,
                     const QString& tip, QRect geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return label;
}

QString arrowsTip()
{
    return QStringLiteral("cliccare sulle frecce per scegliere il grado di difficoltà del "
                          "percorso (100=massimo; 1=minimo)");
}

void setTextIfDifferent(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

// Puts a text into a box unless it already shows it: setText would also move the cursor of a
// box the user is typing in.
bool setTextIfDifferent(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return false;
    box->setText(text);
    return true;
}

// The arrows step from the weight the row shows, not from where they were left: their
// position follows the weight without running their change handling.
void showWeightOnArrows(QScrollBar* arrows, double weight)
{
    const int position = std::isfinite(weight) ? int(std::lround(std::clamp(weight, 1.0, 100.0)))
                                               : arrows->minimum();
    if (arrows->value() == position)
        return;
    const QSignalBlocker blocker(arrows);
    arrows->setValue(position);
}

} // namespace

WindowFacts Distanze::facts()
{
    WindowFacts f;
    f.id = WindowId::Distanze;
    f.objectName = QStringLiteral("distanze");
    f.modelCaption = QStringLiteral("Urbaflux: distanze e interazioni tra le aree (modello a ");
    f.designColour = QColor(240, 232, 208);
    f.contextHelp = {
        QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;"),
        QStringLiteral("- non digitare distanze più lunghe di 30 spazi;"),
        QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                       "registrati (Urbaflux-dis-);"),
        QStringLiteral("- effettuare il controllo dedi dati immessi cliccando sul tasto ABC;"),
        QStringLiteral("- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
    };
    f.helpLinkCaption = QStringLiteral("Fi&nestra n.%1 di %2");
    f.helpPages = {WindowId::GuidaDistanze};
    f.buttons = {FrameButton::Aiuto, FrameButton::CmdGuida, FrameButton::Indietro,
                 FrameButton::Avanti, FrameButton::CmdEsci};
    f.backTarget = WindowId::DatiAree;
    f.totalsBeforeShowing = {WindowId::Menu, WindowId::DatiAree, WindowId::Frontespizio};
    return f;
}

Distanze::Distanze(AppContext& context, QWidget* parent)
    : WindowFrame(facts(), context, parent), m_cache(std::make_unique<CalculationCache>())
{
    for (int r = 0; r < kRows; ++r)
        m_rowPair[static_cast<size_t>(r)] = r + 1;
    buildControls();
    addDistanceMenuItems(*this);
}

Distanze::~Distanze() = default;

void Distanze::buildControls()
{
    QWidget* grid = body();
    QFont gridFont = grid->font();
    gridFont.setPointSizeF(8.0);

    auto* label1 = headingLabel(grid, QStringLiteral("Label1"), QStringLiteral("n.ord."),
                                QStringLiteral("numero d'ordine in automatico dei dati della "
                                               "finestra"),
                                twips(kNum.left, kHeadingTop, kNum.width, 480));
    auto* num2 = headingLabel(grid, QStringLiteral("num2"), QStringLiteral("n.-n."),
                              QStringLiteral("numeri che identificano le aree in automatico"),
                              twips(kLabel.left, kHeadingTop, kLabel.width, 480));
    auto* nomeare = headingLabel(
        grid, QStringLiteral("nomeare"), QStringLiteral(" nomi delle aree (origine-destinazione)"),
        QStringLiteral("nomi in automatico: il primo come origine, il secondo come destinazione"),
        twips(kNomi.left, kHeadingTop, kNomi.width, 480));
    auto* distan = headingLabel(grid, QStringLiteral("distan"), QStringLiteral(" distanze in"),
                                QStringLiteral("valori rilevati o progettati"),
                                twips(kDistanza.left, kHeadingTop, kDistanza.width, 240));
    m_unitLabel = headingLabel(grid, QStringLiteral("Label2"), state().model.unit,
                               QStringLiteral("unità di misura indicata"),
                               twips(kDistanza.left, kHeadingTop + 240, kDistanza.width, 240));
    m_unitLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    auto* label3 = headingLabel(grid, QStringLiteral("Label3"), QStringLiteral("peso in %"),
                                QStringLiteral("misura, in percento, della difficoltà riguardante "
                                               "il percorso indicato nella distanza"),
                                twips(kP100.left, kHeadingTop, kP100.width + kArrows.width, 480));
    auto* interazioni =
        headingLabel(grid, QStringLiteral("int"), QStringLiteral(" interazioni"),
                     QStringLiteral("risultati del calcolo"),
                     twips(kInterazioni.left, kHeadingTop, kInterazioni.width, 480));
    for (QLabel* heading : {label1, num2, nomeare, distan, m_unitLabel, label3, interazioni}) {
        QFont bold = gridFont;
        bold.setBold(true);
        heading->setFont(bold);
        heading->setWordWrap(true);
    }
    m_unitLabel->setFont(gridFont);

    QWidget* previous = nullptr;
    for (int r = 1; r <= kRows; ++r) {
        Row& row = m_rows[static_cast<size_t>(r - 1)];
        const int top = kFirstRowTop + (r - 1) * (kRowHeight + kRowGap);
        const QString suffix = QLatin1Char('_') + QString::number(r);
        auto makeLabel = [&](const QString& name, Column column, Qt::Alignment alignment) {
            auto* label = new QLabel(grid);
            label->setObjectName(name + suffix);
            label->setGeometry(twips(column.left, top, column.width, kRowHeight));
            label->setAlignment(alignment | Qt::AlignVCenter);
            label->setFont(gridFont);
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            return label;
        };
        auto makeBox = [&](const QString& name, Column column) {
            auto* box = new QLineEdit(grid);
            box->setObjectName(name + suffix);
            box->setGeometry(twips(column.left, top, column.width, kRowHeight));
            box->setFont(gridFont);
            box->setTextMargins(1, 0, 1, 0);
            box->installEventFilter(this);
            return box;
        };
        row.num = makeLabel(QStringLiteral("num"), kNum, Qt::AlignRight);
        row.label = makeLabel(QStringLiteral("label"), kLabel, Qt::AlignLeft);
        row.nomi = makeLabel(QStringLiteral("nomi"), kNomi, Qt::AlignLeft);
        row.distanza = makeBox(QStringLiteral("distanza"), kDistanza);
        row.distanza->setAlignment(Qt::AlignRight);
        row.p100 = makeBox(QStringLiteral("p100"), kP100);
        row.p100->setAlignment(Qt::AlignRight);
        row.interazioni = makeLabel(QStringLiteral("interazioni"), kInterazioni, Qt::AlignRight);
        row.num->setText(QString::number(r));

        row.hscroll = new QScrollBar(Qt::Horizontal, grid);
        row.hscroll->setObjectName(QStringLiteral("HScroll1") + suffix);
        row.hscroll->setGeometry(twips(kArrows.left, top, kArrows.width, kRowHeight));
        row.hscroll->setRange(1, 100);
        row.hscroll->setSingleStep(1);
        row.hscroll->setPageStep(1);
        row.hscroll->setValue(1);
        row.hscroll->setFocusPolicy(Qt::NoFocus);

        connect(row.distanza, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { distanceEdited(r, text); });
        connect(row.p100, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { weightEdited(r, text); });
        connect(row.hscroll, &QScrollBar::valueChanged, this,
                [this, r](int position) { arrowsMoved(r, position); });

        if (previous)
            setTabOrder(previous, row.distanza);
        setTabOrder(row.distanza, row.p100);
        previous = row.p100;
    }

    m_cmdmatrice = new QPushButton(QStringLiteral("&Matrice"), grid);
    m_cmdmatrice->setObjectName(QStringLiteral("cmdmatrice"));
    m_cmdmatrice->setToolTip(QStringLiteral("cliccare per vedere e immettere le distanze come "
                                            "matrice (origini nelle righe, destinazioni nelle "
                                            "colonne), anche incollandola da un foglio di "
                                            "calcolo"));
    m_cmdmatrice->setFont(gridFont);
    m_cmdmatrice->setGeometry(twips(kVScroll.left - 60, kHeadingTop + 120, 600, 330));
    connect(m_cmdmatrice, &QPushButton::clicked, this, [this] { showMatrix(); });

    m_vscroll = new QScrollBar(Qt::Vertical, grid);
    m_vscroll->setObjectName(QStringLiteral("VScroll1"));
    m_vscroll->setGeometry(twips(kVScroll.left, kFirstRowTop, kVScroll.width,
                                 kRows * (kRowHeight + kRowGap) - kRowGap));
    m_vscroll->setRange(1, kLastTopRow);
    m_vscroll->setSingleStep(1);
    m_vscroll->setPageStep(kRows);
    m_vscroll->setValue(1);
    connect(m_vscroll, &QScrollBar::valueChanged, this, [this] { refreshGrid(); });
    grid->installEventFilter(this);
}

void Distanze::onLoad()
{
    // Every row's pair and the scroll bar start at the top, whatever the area window's grid
    // left in the shared top row.
    state().run.gridTopRow = 1;
    for (Row& row : m_rows)
        row.p100->setToolTip(arrowsTip());
    m_shownUnit = state().model.unit;
    setUnitCaption(m_shownUnit);
    refreshCaption();
    m_loaded = true;
    refreshGrid();
    // The first thing to type is the first distance.
    m_rows[0].distanza->setFocus(Qt::OtherFocusReason);
    captureLayout();
}

void Distanze::showEvent(QShowEvent* event)
{
    WindowFrame::showEvent(event);
    // Changes made while the window was out of view are shown as it comes back.
    if (m_loaded)
        refreshGrid();
}

void Distanze::dataChanged(bool own)
{
    if (!m_loaded)
        return;
    // The unit label follows the model's unit when that changes.
    if (state().model.unit != m_shownUnit) {
        m_shownUnit = state().model.unit;
        setUnitCaption(m_shownUnit);
    }
    if (m_matrix && m_matrix->isVisible())
        m_matrix->model()->refreshCells();
    if (own) {
        refreshResults();
        updateDistanceHint();
        return;
    }
    // Out of view the rows show the data, but the calculation waits for the show event: typing
    // in another window does not run it for a grid nobody sees.
    if (isVisible())
        refreshGrid();
    else
        fillRows();
}

void Distanze::setUnitCaption(const QString& unit)
{
    m_unitLabel->setText(unit);
}

void Distanze::defaultsApplied()
{
    m_shownUnit = state().model.unit;
    setUnitCaption(m_shownUnit);
}

QString Distanze::unitCaption() const
{
    return m_unitLabel->text();
}

int Distanze::topRow() const
{
    return m_vscroll->value();
}

void Distanze::scrollToPair(int pair)
{
    const int top = qBound(1, pair, kLastTopRow);
    if (m_vscroll->value() == top)
        refreshGrid();
    else
        m_vscroll->setValue(top); // its change handling refreshes the grid
}

bool Distanze::fillRows()
{
    // Whatever changed the pairs (an archive, a paste, the areas) changed the matrix too.
    if (m_matrix && m_matrix->isVisible())
        m_matrix->refresh();
    const ProjectState& st = state();
    const int top = m_vscroll->value();
    bool boxChanged = false;
    m_filling = true;
    for (int r = 1; r <= kRows; ++r) {
        Row& row = m_rows[static_cast<size_t>(r - 1)];
        const int k = top + r - 1;
        const auto at = static_cast<size_t>(k);
        m_rowPair[static_cast<size_t>(r - 1)] = k;
        setTextIfDifferent(row.num, QString::number(k));
        setTextIfDifferent(row.label, st.distances.pairNumbers[at]);
        setTextIfDifferent(row.nomi, st.distances.pairNames[at]);
        boxChanged |= setTextIfDifferent(row.distanza, st.distances.distance[at]);
        boxChanged |= setTextIfDifferent(row.p100, st.distances.weight[at].displayText());
        showWeightOnArrows(row.hscroll, st.distances.weight[at].leadingValue());
        setTextIfDifferent(row.interazioni, shortestText(st.interactions.interaction[at]));
    }
    m_filling = false;
    return boxChanged;
}

void Distanze::fillInteractions()
{
    const ProjectState& st = state();
    for (int r = 1; r <= kRows; ++r) {
        const auto at = static_cast<size_t>(m_rowPair[static_cast<size_t>(r - 1)]);
        setTextIfDifferent(m_rows[static_cast<size_t>(r - 1)].interazioni,
                           shortestText(st.interactions.interaction[at]));
    }
}

DistanzeMatrice* Distanze::showMatrix()
{
    if (!m_matrix)
        m_matrix = new DistanzeMatrice(
            state(), prompts(), [this] { matrixWritten(); }, this);
    m_matrix->refresh();
    m_matrix->show();
    m_matrix->raise();
    m_matrix->activateWindow();
    return m_matrix;
}

void Distanze::matrixWritten()
{
    // Many cells at once: the rows show them, then the one announcement recomputes.
    fillRows();
    markChanged();
}

void Distanze::refreshGrid()
{
    state().run.gridTopRow = m_vscroll->value();
    fillRows();
    refreshResults();
    updateDistanceHint();
}

void Distanze::refreshResults()
{
    ensureCurrentResults(state(), m_cache.get());
    const InteractionTable& results = state().interactions;
    if (results.calculated) {
        m_lastOutcome = results.lastOutcome;
        if (results.lastRunCompleted)
            fillInteractions();
    }
    showResultsStanding();
}

void Distanze::showResultsStanding()
{
    const InteractionTable& results = state().interactions;
    const bool stale = results.calculated && !results.lastRunCompleted;
    const QString tip = stale ? QStringLiteral("risultati dell'ultimo calcolo completo: i dati "
                                               "immessi dopo non permettono il calcolo")
                              : QString();
    for (Row& row : m_rows) {
        row.interazioni->setForegroundRole(stale ? QPalette::PlaceholderText
                                                 : QPalette::WindowText);
        row.interazioni->setToolTip(tip);
    }
}

void Distanze::distanceEdited(int row, const QString& text)
{
    if (m_filling)
        return;
    state().distances.distance[static_cast<size_t>(rowPair(row))] = text;
    // One pair changed: the calculation redoes only what it feeds.
    notePairEdit(state(), rowPair(row));
    markChanged(); // the calculation and the hint follow in dataChanged
}

void Distanze::weightEdited(int row, const QString& text)
{
    if (m_filling)
        return;
    state().distances.weight[static_cast<size_t>(rowPair(row))] = FieldValue::fromText(text);
    showWeightOnArrows(m_rows[static_cast<size_t>(row - 1)].hscroll, leadingNumber(text));
    notePairEdit(state(), rowPair(row));
    markChanged();
}

void Distanze::stopArrowRepeat(QScrollBar* arrows)
{
    const QPointF inside(arrows->width() / 2.0, arrows->height() / 2.0);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, arrows->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(arrows, &release);
}

void Distanze::arrowsMoved(int row, int position)
{
    Row& r = m_rows[static_cast<size_t>(row - 1)];
    setTextIfDifferent(r.p100, QString::number(position)); // runs the weight's change handling
    if (r.p100->text() == QStringLiteral("50")) {
        // A press held on the arrow would go on stepping while the message is open (the
        // release reaches the message, not the arrows): the held press ends here, at 50.
        stopArrowRepeat(r.hscroll);
        const ProjectState& st = state();
        prompts().inform(MessageIcon::Question, st.run.checkTitle,
                         QStringLiteral("Attenzione: la distanza ") +
                             st.distances.pairNames[static_cast<size_t>(rowPair(row))] +
                             QStringLiteral(" verrà considerata alla metà della sua misura."));
    }
}

int Distanze::firstEmptyDistancePair() const
{
    const ProjectState& st = state();
    const int pairs = qBound(0, st.areas.count, kMaxAreas) * qBound(0, st.areas.count, kMaxAreas);
    for (int k = 1; k <= pairs; ++k)
        if (st.distances.distance[static_cast<size_t>(k)].isEmpty())
            return k;
    return 0;
}

void Distanze::updateDistanceHint()
{
    const ProjectState& st = state();
    if (st.areas.count == 0) {
        setPasso(QStringLiteral("mancano i dati delle aree: aprire un file archiviato o tornare "
                                "alla finestra precedente"));
        return;
    }
    // Areas added or taken out since the pairs were listed: until "Avanti" of the area window
    // lists them again, a pair here would not be the pair its position means.
    const int listed = st.distances.listedCount;
    if (listed > 0 && listed != qBound(0, st.areas.count, kMaxAreas)) {
        setPasso(QStringLiteral("le aree sono cambiate: tornare alla finestra precedente e "
                                "cliccare su Avanti per aggiornare le coppie"));
        return;
    }
    if (m_rows[0].distanza->text().isEmpty()) {
        setPasso(QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
        return;
    }

    const ResultsGap gap = resultsGap(st);
    if (!gap.none()) {
        setPasso(describeResultsGap(gap));
        return;
    }
    setPasso(QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o andare "
                            "Avanti con i grafici"));
}

QString Distanze::resultsSummary() const
{
    const ProjectState& st = state();
    QStringList lines;
    lines << QStringLiteral("Modello a ") + st.model.kindLabel;
    lines << QString(51, QLatin1Char('*'));
    switch (st.model.modelKind()) {
    case ModelKind::OriginAndDestinationConstrained:
        lines << QStringLiteral("- totale origini=totale destinazioni......= ") +
                     numberText(st.areas.totalOrigins);
        break;
    case ModelKind::DestinationConstrained:
        lines << QStringLiteral("- totale destinazione.....................= ") +
                     numberText(st.areas.totalDestinations);
        break;
    case ModelKind::OriginConstrained:
        lines << QStringLiteral("- totale origine..........................= ") +
                     numberText(st.areas.totalOrigins);
        break;
    case ModelKind::NoModel:
    default:
        lines << QString();
        break;
    }
    const double total = st.interactions.totalInteractions;
    lines << QStringLiteral("- totale interazioni.....................= ") + numberText(total);
    const double reference = st.model.modelKind() == ModelKind::DestinationConstrained
                                 ? st.areas.totalDestinations
                                 : st.areas.totalOrigins;
    lines << QStringLiteral("- arrotondamento nel calcolo....= ") +
                 numberText(std::fabs(total - reference));
    if (m_lastOutcome && !m_lastOutcome->completed()) {
        lines << QString(51, QLatin1Char('*'));
        if (const auto divergent = asDivergence(*m_lastOutcome, st.model.modelKind()))
            lines << QStringLiteral("ATTENZIONE: i risultati non convergono e sono quelli "
                                    "dell'ultimo calcolo riuscito:")
                  << describeOutcome(*divergent) + QLatin1Char('.');
        else
            lines << QStringLiteral("ATTENZIONE: i risultati sono quelli dell'ultimo calcolo "
                                    "riuscito, perché")
                  << describeOutcome(*m_lastOutcome) + QLatin1Char('.');
    }
    return lines.join(QChar(13));
}

void Distanze::avanti_Click()
{
    // The summary and the charts tell the results of the data as they stand.
    refreshResults();
    updateDistanceHint();
    const ProjectState& st = state();
    if (checkOnly() == 1) {
        prompts().inform(MessageIcon::Information,
                         st.run.checkTitle + QStringLiteral(" (risultati)"), resultsSummary());
        setCheckOnly(0);
        return;
    }
    if (st.areas.count == 0) {
        prompts().inform(
            MessageIcon::Critical, st.run.checkTitle,
            QStringLiteral("Impossibile proseguire: non esistono risultati (tornare indietro)."));
        return;
    }
    // No chart of results that are not those of the data: what is missing is named instead.
    if (const ResultsGap gap = resultsGap(st); !gap.none()) {
        prompts().inform(MessageIcon::Critical, st.run.checkTitle,
                         QStringLiteral("Impossibile proseguire: ") + describeResultsGap(gap) +
                             QLatin1Char('.'));
        return;
    }
    // The charts window draws its bar chart of the largest interactions before it shows.
    if (auto* charts = windows().touchAs<WindowFrame>(WindowId::Grafici))
        charts->enteredByAvanti();
    windows().showWindow(WindowId::Grafici);
}

void Distanze::clearData()
{
    bool anything = false;
    for (int k = 1; k <= kMaxPairs && !anything; ++k)
        anything = !state().distances.distance[static_cast<size_t>(k)].isEmpty();
    if (!mayClear(*this, DataKind::Distances, anything, [this] { salva_Click(); }))
        return;
    ProjectState& st = state();
    m_filling = true;
    for (int r = 1; r <= kRows; ++r) {
        Row& row = m_rows[static_cast<size_t>(r - 1)];
        row.label->clear();
        row.nomi->clear();
        row.distanza->clear();
        // Emptying the box is an edit of the row's pair, even beyond the pairs of the areas.
        st.distances.distance[static_cast<size_t>(rowPair(r))] = QString();
    }
    m_filling = false;
    const int n = qBound(0, st.areas.count, kMaxAreas);
    for (int k = 1; k <= n * n; ++k) {
        const auto at = static_cast<size_t>(k);
        st.distances.pairNumbers[at].clear();
        st.distances.pairNames[at].clear();
        st.distances.distance[at].clear();
    }
    markChanged();
}

// --- Spreadsheet paste and keyboard movement ---

bool Distanze::pastePairs(int firstPair, const QString& text, bool startAtWeight)
{
    ProjectState& st = state();
    const QList<QStringList> lines = spreadsheetRows(text);
    if (lines.isEmpty())
        return true;

    const int n = qBound(0, st.areas.count, kMaxAreas);
    const int lastPair = n > 0 ? n * n : kMaxPairs;
    const int room = lastPair - firstPair + 1;
    if (room < lines.size()) {
        prompts().inform(MessageIcon::Exclamation, st.run.checkTitle,
                         QStringLiteral("Impossibile incollare: le righe copiate sono") +
                             numberText(static_cast<long long>(lines.size())) +
                             QStringLiteral(", ma dalla coppia n.") + numberText(firstPair) +
                             QStringLiteral(" alla coppia n.") + numberText(lastPair) +
                             QStringLiteral(" le righe disponibili sono") +
                             numberText(qMax(0, room)) + QStringLiteral("."));
        return false;
    }

    for (int i = 0; i < lines.size(); ++i) {
        const auto at = static_cast<size_t>(firstPair + i);
        const QStringList& cells = lines[i];
        if (startAtWeight) {
            st.distances.weight[at] = FieldValue::fromText(cells[0]);
        } else {
            st.distances.distance[at] = cells[0];
            if (cells.size() > 1)
                st.distances.weight[at] = FieldValue::fromText(cells[1]);
        }
    }
    fillRows();
    markChanged();
    return true;
}

bool Distanze::pasteIntoRow(int row, bool weightColumn, const QString& text)
{
    if (!isSpreadsheetBlock(text)) {
        // One value, as the area window takes it: without the line end a spreadsheet puts
        // after a single cell.
        const QList<QStringList> rows = spreadsheetRows(text);
        if (rows.isEmpty())
            return false;
        Row& target = m_rows[static_cast<size_t>(row - 1)];
        (weightColumn ? target.p100 : target.distanza)->insert(rows.first().first());
        return true;
    }
    pastePairs(rowPair(row), text, weightColumn);
    return true;
}

bool Distanze::moveFocus(QLineEdit* box, int rowStep, bool toWeight)
{
    for (int r = 1; r <= kRows; ++r) {
        Row& row = m_rows[static_cast<size_t>(r - 1)];
        if (row.distanza != box && row.p100 != box)
            continue;
        int target = r + rowStep;
        if (target < 1 || target > kRows) {
            const int top = m_vscroll->value() + rowStep;
            if (top < 1 || top > kLastTopRow)
                return false;
            m_vscroll->setValue(top);
            target = qBound(1, target, kRows);
        }
        QLineEdit* next = toWeight ? m_rows[static_cast<size_t>(target - 1)].p100
                                   : m_rows[static_cast<size_t>(target - 1)].distanza;
        next->setFocus(Qt::OtherFocusReason);
        next->selectAll();
        return true;
    }
    return false;
}

bool Distanze::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == body() && event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(m_vscroll, event);
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || watched == body())
        return WindowFrame::eventFilter(watched, event);
    int row = 0;
    bool weightColumn = false;
    for (int r = 1; r <= kRows; ++r) {
        if (m_rows[static_cast<size_t>(r - 1)].distanza == box ||
            m_rows[static_cast<size_t>(r - 1)].p100 == box) {
            row = r;
            weightColumn = m_rows[static_cast<size_t>(r - 1)].p100 == box;
        }
    }
    if (row == 0)
        return WindowFrame::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return pasteIntoRow(row, weightColumn, QGuiApplication::clipboard()->text());
        switch (key->key()) {
        case Qt::Key_Down:
            return moveFocus(box, 1, weightColumn);
        case Qt::Key_Up:
            return moveFocus(box, -1, weightColumn);
        case Qt::Key_PageDown:
            m_vscroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return true;
        case Qt::Key_PageUp:
            m_vscroll->triggerAction(QAbstractSlider::SliderPageStepSub);
            return true;
        case Qt::Key_Tab:
            // Past the last row the grid moves on, so that every pair can be typed by TAB.
            if (weightColumn && row == kRows && key->modifiers() == Qt::NoModifier)
                return moveFocus(box, 1, false);
            break;
        case Qt::Key_Backtab:
            if (!weightColumn && row == 1)
                return moveFocus(box, -1, true);
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QStringLiteral("edit-paste"))
                continue;
            action->disconnect();
            connect(action, &QAction::triggered, this, [this, box, row, weightColumn] {
                if (!pasteIntoRow(row, weightColumn, QGuiApplication::clipboard()->text()))
                    box->paste();
            });
        }
        menu->exec(menuEvent->globalPos());
        return true;
    }
    return WindowFrame::eventFilter(watched, event);
}

// --- Archive and printout ---

QString Distanze::archiveFailureTitle() const
{
    return state().run.programName + QStringLiteral(": archivio (distanze tra le aree)");
}

void Distanze::apri_Click()
{
    if (!mayDiscard(*this, DataKind::Distances, [this] { salva_Click(); }))
        return;
    FileRequest request;
    request.title = QStringLiteral("Apri file (distanze tra le aree)");
    request.filter = kFilterAll;
    request.selectedFilter = 2;
    const Parsed<DistanceRecords> parsed =
        openArchiveFile(*this, request, m_dialogFileName, archiveFailureTitle(), readDistanceFile);
    // A refused file is not made the current file either: a following "Salva" must not
    // overwrite a file that is not a distances archive.
    if (!parsed.ok())
        return;
    m_currentFile = m_dialogFileName;
    // The grid shows the pairs read from the top, as the announcement of the change finds it.
    if (m_vscroll->value() != 1) {
        const QSignalBlocker blocker(m_vscroll);
        m_vscroll->setValue(1);
    }
    state().run.gridTopRow = 1;
    applyDistances(*parsed.value, state());
    refreshGrid();
    markSaved(state(), DataKind::Distances);
}

void Distanze::saveDistances(const QString& dialogTitle)
{
    if (firstEmptyDistancePair() > 0) {
        avanti_Click();
        return;
    }
    const QString path = saveArchiveFile(
        *this, m_currentFile, {dialogTitle, kFilterDis, 1, m_dialogFileName, QString()},
        m_dialogFileName, archiveFailureTitle(),
        [this](const QString& p) { return writeDistanceFile(p, state()); });
    if (!path.isEmpty()) {
        m_currentFile = path;
        markSaved(state(), DataKind::Distances);
    }
}

void Distanze::salva_Click()
{
    saveDistances(QStringLiteral("Salva file (distanze tra le aree)"));
}

void Distanze::salvanome_Click()
{
    // A cancelled dialog or a failed write leaves the file known before; a save that goes on
    // to the charts for an empty distance has already given it up.
    const QString known = firstEmptyDistancePair() > 0 ? QString() : m_currentFile;
    m_currentFile.clear();
    saveDistances(QStringLiteral("Salva file con nome (distanze tra le aree)"));
    if (m_currentFile.isEmpty())
        m_currentFile = known;
}

void Distanze::eliminare_click()
{
    FileRequest request;
    request.title = state().run.deleteTitle;
    request.filter = kFilterAll;
    request.selectedFilter = 2;
    trashArchiveFile(*this, request, archiveFailureTitle(), m_dialogFileName, m_currentFile);
}

void Distanze::stampa_Click()
{
    const QString first = m_rows[0].distanza->text();
    if (first.isEmpty() || leadingNumber(first) == 0.0) {
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Immettere prima i dati."));
        return;
    }
    // The printout lists the interactions: only those of the data as they stand.
    if (const ResultsGap gap = currentResultsGap(state(), m_cache.get()); !gap.none()) {
        refreshGrid();
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Impossibile stampare: ") + describeResultsGap(gap) +
                             QLatin1Char('.'));
        return;
    }
    setPasso(QStringLiteral("sto caricando WORD"));
    context().documents.present(printDistances(state(), unitCaption()));
}

} // namespace urbaflux
