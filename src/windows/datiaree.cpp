#include "datiaree.h"

#include "gisimport.h"

#include "archivecommands.h"
#include "areaarchive.h"
#include "areasprintout.h"
#include "document.h"
#include "documentsink.h"
#include "fullreport.h"
#include "inputvalue.h"
#include "modelcaptions.h"
#include "pairlayout.h"
#include "projectstate.h"
#include "prompts.h"
#include "spreadsheettext.h"
#include "windowmanager.h"

#include <numbertext.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>

namespace urbaflux {

namespace {

void place(QWidget* widget, int left, int top, int width, int height)
{
    WindowFrame::placeTwips(widget, left, top, width, height);
}

const QString kAreaFilter =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dat- | Urbaflux-dat-*");
const QString kAreaSaveFilter = QStringLiteral("File Urbaflux-dat- | Urbaflux-dat-*");

// Grid geometry, twips.
constexpr int kGridTop = 300;
constexpr int kRowHeight = 285;
constexpr int kNumberLeft = 60;
constexpr int kNumberWidth = 480;
constexpr int kNameLeft = 570;
constexpr int kNameWidth = 2430;
constexpr int kOriginLeft = 3030;
constexpr int kValueWidth = 1380;
constexpr int kDestinationLeft = 4440;
constexpr int kScrollLeft = 5850;
constexpr int kExplanationLeft = 6210;

} // namespace

WindowFacts DatiAree::facts()
{
    WindowFacts f;
    f.id = WindowId::DatiAree;
    f.objectName = QStringLiteral("datiaree");
    f.modelCaption =
        QStringLiteral("Urbaflux: valori delle origini e delle destinazioni (modello a ");
    f.designColour = QColor(220, 234, 214);
    f.contextHelp = {
        QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;"),
        QStringLiteral("- non digitare nomi di aree più lunghi di 30 spazi (vi sarà un invito "
                       "a rettificare);"),
        QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                       "registrati (Urbaflux-dat-);"),
        QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
        QStringLiteral("- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
    };
    f.helpLinkCaption = QStringLiteral("Fi&nestra n.%1 di %2");
    f.helpPages = {WindowId::GuidaVincolate, WindowId::GuidaDestinazione, WindowId::GuidaOrigine};
    f.buttons = {FrameButton::Aiuto, FrameButton::CmdGuida, FrameButton::Indietro,
                 FrameButton::Avanti, FrameButton::CmdEsci};
    f.backTarget = WindowId::Menu;
    f.totalsBeforeShowing = {WindowId::Menu, WindowId::Distanze, WindowId::Frontespizio};
    return f;
}

DatiAree::DatiAree(AppContext& context, QWidget* parent) : WindowFrame(facts(), context, parent)
{
    buildControls();
    addZoneMenuItems(*this);
}

DatiAree::~DatiAree() = default;

void DatiAree::buildControls()
{
    QWidget* host = body();

    auto heading = [host](const QString& name, const QString& caption, const QString& tooltip,
                          int left, int width) {
        auto* label = new QLabel(caption, host);
        label->setObjectName(name);
        label->setToolTip(tooltip);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        place(label, left, 30, width, 255);
        return label;
    };
    heading(QStringLiteral("numeroar"), QStringLiteral(" n."),
            QStringLiteral("numero d'ordine dell'area in automatico"), kNumberLeft, kNumberWidth);
    heading(QStringLiteral("nomear"), QStringLiteral("nome dell'area"),
            QStringLiteral("il nome che identifica l'area"), kNameLeft, kNameWidth);
    m_lblorigini = heading(QStringLiteral("lblorigini"), QStringLiteral("origini"),
                           QStringLiteral("valori rilevati o stimati"), kOriginLeft, kValueWidth);
    // The destination heading may use the room above the scroll bar.
    m_lbldestinazioni = heading(QStringLiteral("lbldestinazioni"), QStringLiteral("destinazioni"),
                                QStringLiteral("valori rilevati o stimati"), kDestinationLeft,
                                kExplanationLeft - 30 - kDestinationLeft);
    m_headingPointSize = m_lblorigini->font().pointSizeF();

    for (int r = 1; r <= kRows; ++r) {
        const auto at = static_cast<size_t>(r);
        const int top = kGridTop + (r - 1) * kRowHeight;

        auto* number = new QLabel(QString::number(r), host);
        number->setObjectName(QStringLiteral("label_%1").arg(r));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(number, kNumberLeft, top, kNumberWidth - 90, kRowHeight);
        m_label[at] = number;

        auto* name = new QLineEdit(host);
        name->setObjectName(QStringLiteral("nome_%1").arg(r));
        place(name, kNameLeft, top, kNameWidth, kRowHeight);
        m_nome[at] = name;

        auto* origin = new QLineEdit(QStringLiteral(" "), host);
        origin->setObjectName(QStringLiteral("origine_%1").arg(r));
        origin->setAlignment(Qt::AlignRight);
        place(origin, kOriginLeft, top, kValueWidth, kRowHeight);
        m_origine[at] = origin;

        auto* destination = new QLineEdit(host);
        destination->setObjectName(QStringLiteral("destinazione_%1").arg(r));
        destination->setAlignment(Qt::AlignRight);
        place(destination, kDestinationLeft, top, kValueWidth, kRowHeight);
        m_destinazione[at] = destination;

        for (QLineEdit* box : {name, origin, destination})
            box->installEventFilter(this);

        connect(name, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { nomeChanged(r, text); });
        connect(origin, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { origineChanged(r, text); });
        connect(destination, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { destinazioneChanged(r, text); });
    }

    m_scroll = new QScrollBar(Qt::Vertical, host);
    m_scroll->setObjectName(QStringLiteral("VScroll1"));
    m_scroll->setRange(1, kLastTopRow);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(kRows);
    m_scroll->setValue(1);
    place(m_scroll, kScrollLeft, kGridTop, 255, kRows * kRowHeight);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { showAreaRows(); });

    const int totalsTop = kGridTop + kRows * kRowHeight + 60;
    auto* total = new QLabel(QStringLiteral("totale delle origini e delle destinazioni"), host);
    total->setObjectName(QStringLiteral("totale"));
    total->setToolTip(QStringLiteral("il totale è riportato in automatico"));
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->setWordWrap(true);
    place(total, kNumberLeft, totalsTop - 60, kOriginLeft - kNumberLeft - 60, 2 * kRowHeight);

    m_totorig = new QLabel(QStringLiteral(" "), host);
    m_totorig->setObjectName(QStringLiteral("totorig"));
    m_totorig->setToolTip(QStringLiteral("totale in automatico durante l'immissione dati"));
    m_totorig->setFrameShape(QFrame::Panel);
    m_totorig->setFrameShadow(QFrame::Sunken);
    m_totorig->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(m_totorig, kOriginLeft, totalsTop, kValueWidth, kRowHeight);

    m_totdest = new QLabel(QString(), host);
    m_totdest->setObjectName(QStringLiteral("totdest"));
    m_totdest->setFrameShape(QFrame::Panel);
    m_totdest->setFrameShadow(QFrame::Sunken);
    m_totdest->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(m_totdest, kDestinationLeft, totalsTop, kValueWidth, kRowHeight);

    m_spiega = new QPlainTextEdit(host);
    m_spiega->setObjectName(QStringLiteral("spiega"));
    setExplanation(QStringLiteral(
        "Scegliere il modello di calcolo per l'elaborazione: tornare indietro.\r\n"));
    m_spiega->setReadOnly(true);
    place(m_spiega, kExplanationLeft, 30, 9510 - kExplanationLeft, totalsTop + kRowHeight - 30);
}

void DatiAree::onLoad()
{
    state().run.gridTopRow = 1;
    applyDefaults(context());
    // The frame gives a window created after the model choice the model's caption; the
    // headings and the explanation follow it.
    dataChanged(true);
    // A window loaded again (after its close box or the exit sequence) finds the areas still
    // in the state: the rows show them instead of empty boxes over a count that says otherwise.
    const AreaTable& areas = state().areas;
    bool held = false;
    for (int a = 1; a <= kMaxAreas && !held; ++a) {
        const auto at = static_cast<size_t>(a);
        held = !areas.name[at].isEmpty() || !areas.origin[at].isEmpty() ||
               !areas.destination[at].isEmpty();
    }
    if (held)
        showAreaRows();
    refreshAreaHint();
    // The first thing to type is the name of the first area.
    m_nome[1]->setFocus(Qt::OtherFocusReason);
    m_loaded = true;
    captureLayout();
}

int DatiAree::areaOfRow(int row) const
{
    return m_scroll->value() + row - 1;
}

void DatiAree::store(QString& field, const QString& text)
{
    if (field == text && !field.isNull())
        return;
    field = text;
    // Rows filled from the state store what the state holds; a text they change on the way (a
    // destination emptied with its name) is announced once the rows are filled.
    if (m_showing)
        m_changedWhileShowing = true;
    else
        markChanged();
}

void DatiAree::nomeChanged(int row, const QString& text)
{
    const auto area = static_cast<size_t>(areaOfRow(row));
    if (text.isEmpty() && !m_destinazione[static_cast<size_t>(row)]->text().isEmpty()) {
        // The destination goes with the name: one announcement for both.
        state().areas.name[area] = text;
        {
            const QScopedValueRollback<bool> showing(m_showing, true);
            m_destinazione[static_cast<size_t>(row)]->clear();
        }
        if (!m_showing)
            markChanged();
        else
            m_changedWhileShowing = true;
    } else {
        store(state().areas.name[area], text);
    }
    refreshAreaHint();
}

void DatiAree::origineChanged(int row, const QString& text)
{
    store(state().areas.origin[static_cast<size_t>(areaOfRow(row))], text);
    refreshAreaTotals();
    refreshAreaHint();
}

void DatiAree::destinazioneChanged(int row, const QString& text)
{
    // The count follows the filled destinations before anyone hears of the change.
    state().areas.destination[static_cast<size_t>(areaOfRow(row))] = text;
    recountAreas();
    if (m_showing)
        m_changedWhileShowing = true;
    else
        markChanged();
    refreshAreaTotals();
    refreshAreaHint();
}

void DatiAree::recountAreas()
{
    const AreaTable& areas = state().areas;
    int count = 0;
    for (int a = 1; a <= kMaxAreas; ++a) {
        if (!areas.destination[static_cast<size_t>(a)].isEmpty())
            ++count;
    }
    state().areas.count = count;
}

void DatiAree::refreshAreaTotals()
{
    const AreaTotalTexts totals = areaTotalTexts(state());
    m_totorig->setText(totals.origins);
    m_totdest->setText(totals.destinations);
}

void DatiAree::refreshAreaHint()
{
    const int count = state().areas.count;
    // A value the calculation could not take is named before anything else is asked for.
    if (const AreaValueIssue issue = firstAreaValueIssue(state().areas, count); issue.area > 0) {
        const QString value = (issue.destination ? QStringLiteral("il valore della destinazione")
                                                 : QStringLiteral("il valore dell'origine")) +
                              QStringLiteral(" dell'area n.") + numberText(issue.area);
        setPasso(QStringLiteral("correggere ") + value + QStringLiteral(": ") +
                 valueProblemText(issue.problem));
        return;
    }
    if (count == 0)
        setPasso(QStringLiteral(
            "iniziare a digitare il nome della prima area, i valori di origine e destinazione"));
    else if (count == 1)
        setPasso(QStringLiteral(
            "digitare il nome della seconda area, i valori di origine e destinazione"));
    else
        setPasso(QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o "
                                "andare Avanti con altri dati"));
}

void DatiAree::showAreaRows()
{
    // The shared top row is written for whoever reads it, but this window's rows follow only
    // its own scroll bar: the distances window moves gridTopRow to a pair number.
    state().run.gridTopRow = m_scroll->value();
    m_changedWhileShowing = false;
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (int r = 1; r <= kRows; ++r) {
        const auto at = static_cast<size_t>(r);
        const auto a = static_cast<size_t>(areaOfRow(r));
        m_label[at]->setText(QString::number(a));
        // Each text is read just before it is shown: emptying a name empties the row's
        // destination in the table too, and the destination box must then show that.
        const AreaTable& areas = state().areas;
        m_nome[at]->setText(QString(areas.name[a]));
        m_origine[at]->setText(QString(areas.origin[a]));
        m_destinazione[at]->setText(QString(areas.destination[a]));
    }
    recountAreas();
    refreshAreaTotals();
    refreshAreaHint();
    m_showing = false;
    if (m_changedWhileShowing) {
        m_changedWhileShowing = false;
        markChanged();
    }
}

void DatiAree::dataChanged(bool own)
{
    const ModelChoice& model = state().model;
    if (isModelKindCode(model.kind) && model.kind != m_shownKind) {
        m_shownKind = model.kind;
        const AreaHeadings headings = areaHeadings(model.modelKind());
        setColumnHeadings(headings.origins, headings.destinations);
        setExplanation(modelExplanation(model.kind));
    }
    if (own || m_showing || !m_loaded)
        return;
    // Another window read areas from a file: the rows show them, now or when this window comes
    // into view.
    if (isVisible())
        showAreaRows();
    else
        m_rowsStale = true;
}

void DatiAree::showEvent(QShowEvent* event)
{
    WindowFrame::showEvent(event);
    if (m_rowsStale) {
        m_rowsStale = false;
        showAreaRows();
    }
}

void DatiAree::setColumnHeadings(const QString& origins, const QString& destinations)
{
    fitHeading(m_lblorigini, origins);
    fitHeading(m_lbldestinazioni, destinations);
}

void DatiAree::fitHeading(QLabel* heading, const QString& text)
{
    // The longer headings of the models ("stima destinazioni") exceed their column at the
    // headings' size: a smaller size shows them whole.
    QFont font = heading->font();
    font.setPointSizeF(m_headingPointSize);
    const int room = heading->contentsRect().width();
    while (font.pointSizeF() > 6.0 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    heading->setFont(font);
    heading->setText(text);
}

void DatiAree::setExplanation(const QString& text)
{
    // The box shows line ends its own way; the printout takes the text as it was set.
    m_explanation = text;
    m_spiega->setPlainText(text);
}

QString DatiAree::explanation() const
{
    return m_explanation;
}

QString DatiAree::originsTotalText() const
{
    return m_totorig->text();
}

QString DatiAree::destinationsTotalText() const
{
    return m_totdest->text();
}

void DatiAree::avanti_Click()
{
    const QString title = state().run.checkTitle;
    const AreaTable& areas = state().areas;
    const int count = qBound(0, areas.count, kMaxAreas);
    auto fail = [&](MessageIcon icon, const QString& message) {
        prompts().inform(icon, title, message);
    };
    auto areaText = [](const QString& start, int i) {
        return start + QString::number(i) + QLatin1Char('.');
    };

    if (count == 0) {
        fail(MessageIcon::Critical,
             QStringLiteral("Impossibile proseguire: non è stato inserito nessun dato."));
        return;
    }
    for (int i = 1; i <= count; ++i) {
        const auto at = static_cast<size_t>(i);
        if (areas.name[at].isEmpty() || areas.origin[at].isEmpty() ||
            areas.destination[at].isEmpty()) {
            fail(MessageIcon::Question,
                 areaText(QStringLiteral("Inserire i dati dell'area n."), i));
            return;
        }
    }
    // Every value by the rule the calculation reads it with: commas first, as the regional
    // habit they are, then whatever else is not a number the calculation can take.
    auto problemOf = [](const QString& text) {
        ValueProblem problem = ValueProblem::None;
        readInputValue(text, &problem);
        return problem;
    };
    for (int i = 1; i <= count; ++i) {
        if (problemOf(areas.origin[static_cast<size_t>(i)]) == ValueProblem::DecimalComma) {
            fail(MessageIcon::Exclamation,
                 areaText(QStringLiteral("Sostituire la virgola con il punto nel valore "
                                         "dell'origine dell'area n."),
                          i));
            return;
        }
    }
    for (int i = 1; i <= count; ++i) {
        if (problemOf(areas.destination[static_cast<size_t>(i)]) == ValueProblem::DecimalComma) {
            fail(MessageIcon::Exclamation,
                 areaText(QStringLiteral("Sostituire la virgola con il punto nel valore della "
                                         "destinazione dell'area n."),
                          i));
            return;
        }
    }
    if (const AreaValueIssue issue = firstAreaValueIssue(areas, count); issue.area > 0) {
        fail(MessageIcon::Exclamation,
             areaText(issue.destination
                          ? QStringLiteral("Inserire un numero valido per la destinazione "
                                           "dell'area n.")
                          : QStringLiteral("Inserire un numero valido per l'origine dell'area n."),
                      issue.area));
        return;
    }
    if (state().model.modelKind() == ModelKind::OriginAndDestinationConstrained &&
        m_totorig->text() != m_totdest->text()) {
        fail(MessageIcon::Critical,
             QStringLiteral("Impossibile proseguire: con il modello scelto (a 'origine e "
                            "destinazione vincolate') il totale delle origini deve coincidere "
                            "con il totale delle destinazioni."));
        setCheckOnly(0);
        return;
    }

    if (checkOnly() == 1) {
        setCheckOnly(0);
        prompts().inform(MessageIcon::Information, title,
                         QStringLiteral("I dati sono stati immessi correttamente."));
        return;
    }

    urbaflux::buildPairList(state());
    markChanged();
    windows().showWindow(WindowId::Distanze);
}

void DatiAree::clearData()
{
    const AreaTable& held = state().areas;
    bool anything = false;
    for (int a = 1; a <= kMaxAreas && !anything; ++a) {
        const auto at = static_cast<size_t>(a);
        anything = !held.name[at].isEmpty() || !held.origin[at].trimmed().isEmpty() ||
                   !held.destination[at].isEmpty();
    }
    if (!mayClear(*this, DataKind::Areas, anything, [this] { salva_Click(); }))
        return;
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (int r = 1; r <= kRows; ++r) {
        const auto at = static_cast<size_t>(r);
        m_nome[at]->clear();
        m_origine[at]->clear();
        m_destinazione[at]->clear();
    }
    AreaTable& areas = state().areas;
    for (int a = 1; a <= kMaxAreas; ++a) {
        const auto at = static_cast<size_t>(a);
        areas.name[at] = QString();
        areas.origin[at] = QString();
        areas.destination[at] = QString();
    }
    areas.count = 0;
    markChanged();
    // The rows' change handling saw the areas out of view still filled.
    refreshAreaTotals();
    refreshAreaHint();
}

// --- Paste from a spreadsheet -----------------------------------------------------------------

bool DatiAree::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (event->type() == QEvent::KeyPress || event->type() == QEvent::ContextMenu)) {
        for (int r = 1; r <= kRows; ++r) {
            const auto at = static_cast<size_t>(r);
            const int column = box == m_nome[at]           ? 0
                               : box == m_origine[at]      ? 1
                               : box == m_destinazione[at] ? 2
                                                           : -1;
            if (column < 0)
                continue;
            if (event->type() == QEvent::KeyPress) {
                auto* key = static_cast<QKeyEvent*>(event);
                if (key->matches(QKeySequence::Paste)) {
                    pasteInto(r, column);
                    return true;
                }
                // TAB runs through name, origin and destination row after row; at the edges of
                // the grid the rows move on, so that all 180 areas can be typed with TAB.
                const bool forward =
                    key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier;
                const bool back = key->key() == Qt::Key_Backtab;
                if (forward && column == 2 && r == kRows && m_scroll->value() < kLastTopRow) {
                    m_scroll->setValue(m_scroll->value() + 1);
                    m_nome[at]->setFocus(Qt::TabFocusReason);
                    m_nome[at]->selectAll();
                    return true;
                }
                if (back && column == 0 && r == 1 && m_scroll->value() > 1) {
                    m_scroll->setValue(m_scroll->value() - 1);
                    m_destinazione[at]->setFocus(Qt::BacktabFocusReason);
                    m_destinazione[at]->selectAll();
                    return true;
                }
                return false;
            }
            // The box's menu, in Italian, with its paste item sent through the same path.
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            auto* menu = new QMenu(box);
            menu->setObjectName(QStringLiteral("menuCasella"));
            menu->setAttribute(Qt::WA_DeleteOnClose);
            const bool selected = box->hasSelectedText();
            auto add = [menu](const QString& text, QKeySequence::StandardKey key, bool enabled,
                              auto&& slot) {
                QAction* action = menu->addAction(text);
                action->setShortcut(key);
                action->setEnabled(enabled);
                QObject::connect(action, &QAction::triggered, menu, slot);
                return action;
            };
            add(QStringLiteral("&Annulla"), QKeySequence::Undo, box->isUndoAvailable(),
                [box] { box->undo(); });
            add(QStringLiteral("&Ripeti"), QKeySequence::Redo, box->isRedoAvailable(),
                [box] { box->redo(); });
            menu->addSeparator();
            add(QStringLiteral("&Taglia"), QKeySequence::Cut, selected, [box] { box->cut(); });
            add(QStringLiteral("&Copia"), QKeySequence::Copy, selected, [box] { box->copy(); });
            add(QStringLiteral("&Incolla"), QKeySequence::Paste,
                !QGuiApplication::clipboard()->text().isEmpty(),
                [this, r, column] { pasteInto(r, column); });
            add(QStringLiteral("&Elimina"), QKeySequence::Delete, selected, [box] { box->del(); });
            menu->addSeparator();
            add(QStringLiteral("&Seleziona tutto"), QKeySequence::SelectAll, !box->text().isEmpty(),
                [box] { box->selectAll(); });
            menu->addSeparator();
            QAction* insert = menu->addAction(QStringLiteral("I&nserisci un'area qui"));
            insert->setObjectName(QStringLiteral("inserisciArea"));
            connect(insert, &QAction::triggered, this, [this, r] { insertAreaAtRow(r); });
            QAction* remove =
                menu->addAction(QStringLiteral("Eli&mina l'area con le sue distanze"));
            remove->setObjectName(QStringLiteral("eliminaArea"));
            connect(remove, &QAction::triggered, this, [this, r] { removeAreaOfRow(r); });
            menu->popup(menuEvent->globalPos());
            return true;
        }
    }
    return WindowFrame::eventFilter(watched, event);
}

void DatiAree::pasteInto(int row, int column)
{
    const QString text = QGuiApplication::clipboard()->text();
    const auto at = static_cast<size_t>(row);
    QLineEdit* box = column == 0 ? m_nome[at] : column == 1 ? m_origine[at] : m_destinazione[at];
    if (!isSpreadsheetBlock(text)) {
        // A single cell copied from a spreadsheet ends with a line break of its own.
        const QList<QStringList> rows = spreadsheetRows(text);
        box->insert(rows.isEmpty() ? QString() : rows.first().first());
        return;
    }
    pasteRows(row, column, text);
}

bool DatiAree::pasteRows(int row, int column, const QString& text)
{
    const QList<QStringList> lines = spreadsheetRows(text);
    if (lines.isEmpty() || column < 0 || column > 2 || row < 1 || row > kRows)
        return false;

    const int first = areaOfRow(row);
    const int last = first + int(lines.size()) - 1;
    if (last > kMaxAreas) {
        prompts().inform(
            MessageIcon::Exclamation, state().run.checkTitle,
            QStringLiteral("Impossibile incollare %1 righe a partire dall'area n.%2: le aree "
                           "sono al massimo %3. Nessun dato è stato incollato.")
                .arg(lines.size())
                .arg(first)
                .arg(kMaxAreas));
        return false;
    }

    AreaTable& areas = state().areas;
    for (int n = 0; n < lines.size(); ++n) {
        const QStringList& cells = lines[n];
        const auto a = static_cast<size_t>(first + n);
        for (int c = column; c <= 2 && c - column < cells.size(); ++c) {
            const QString& value = cells[c - column];
            (c == 0 ? areas.name : c == 1 ? areas.origin : areas.destination)[a] = value;
        }
    }

    // The visible rows show the table again; their change handling would only store the same
    // texts, so it is held back, and the counts, totals and hint follow once.
    for (int r = 1; r <= kRows; ++r) {
        const auto at = static_cast<size_t>(r);
        const auto a = static_cast<size_t>(areaOfRow(r));
        for (QLineEdit* box : {m_nome[at], m_origine[at], m_destinazione[at]}) {
            const QSignalBlocker blocker(box);
            const QString& value = box == m_nome[at]      ? areas.name[a]
                                   : box == m_origine[at] ? areas.origin[a]
                                                          : areas.destination[a];
            if (box->text() != value)
                box->setText(value);
        }
    }
    recountAreas();
    markChanged();
    refreshAreaTotals();
    refreshAreaHint();
    return true;
}

// --- Rows taken out and put in -------------------------------------------------------------

void DatiAree::removeAreaOfRow(int row)
{
    if (row < 1 || row > kRows)
        return;
    const int area = areaOfRow(row);
    const QString& name = state().areas.name[static_cast<size_t>(area)];
    const QString question =
        QStringLiteral("Eliminare l'area n.") + QString::number(area) +
        (name.isEmpty() ? QString() : QStringLiteral(" (") + name + QLatin1Char(')')) +
        QStringLiteral(" con le sue distanze e i suoi pesi? Le aree seguenti salgono di una "
                       "posizione.");
    if (!prompts().askYesNo(MessageIcon::Question, state().run.checkTitle, question,
                            MessageAnswer::No))
        return;
    removeArea(state(), area);
    markInputsChanged(state());
    showAreaRows();
}

void DatiAree::insertAreaAtRow(int row)
{
    if (row < 1 || row > kRows)
        return;
    const int area = areaOfRow(row);
    if (!insertArea(state(), area)) {
        prompts().inform(MessageIcon::Exclamation, state().run.checkTitle,
                         QStringLiteral("Impossibile inserire un'area: l'area n.") +
                             QString::number(kMaxAreas) +
                             QStringLiteral(" contiene dati e le aree sono al massimo ") +
                             QString::number(kMaxAreas) + QLatin1Char('.'));
        return;
    }
    markInputsChanged(state());
    showAreaRows();
    m_nome[static_cast<size_t>(row)]->setFocus(Qt::OtherFocusReason);
}

// --- Archive commands -------------------------------------------------------------------------

QString DatiAree::archiveFailureTitle() const
{
    return state().run.programName + QStringLiteral(": archivio (origini e destinazioni)");
}

void DatiAree::apri_Click()
{
    // The current areas stay until a file has actually been read: a cancelled dialog or an
    // unreadable file leaves the window as it was.
    if (!mayDiscard(*this, DataKind::Areas, [this] { salva_Click(); }))
        return;
    m_dialogFileName.clear();
    const Parsed<AreaRecords> parsed =
        openArchiveFile(*this,
                        {QStringLiteral("Apri file (origini e destinazioni)"), kAreaFilter, 2,
                         QString(), QString()},
                        m_dialogFileName, archiveFailureTitle(), readAreaFile);
    if (!parsed.ok())
        return;
    m_currentFile = m_dialogFileName;
    applyAreas(*parsed.value, state());
    showAreaRows();
    markSaved(state(), DataKind::Areas);
}

void DatiAree::saveAreas(const QString& knownFile, const QString& dialogTitle)
{
    const QString path = saveArchiveFile(
        *this, knownFile, {dialogTitle, kAreaSaveFilter, 1, m_dialogFileName, QString()},
        m_dialogFileName, archiveFailureTitle(),
        [this](const QString& p) { return writeAreaFile(p, state()); });
    if (!path.isEmpty()) {
        m_currentFile = path;
        markSaved(state(), DataKind::Areas);
    }
}

void DatiAree::salva_Click()
{
    if (state().areas.count == 0) {
        setCheckOnly(1);
        avanti_Click();
        return;
    }
    saveAreas(m_currentFile, QStringLiteral("Salva file (origini e destinazioni)"));
}

void DatiAree::salvanome_Click()
{
    if (state().areas.count == 0) {
        setCheckOnly(1);
        avanti_Click();
        return;
    }
    // The current name goes only once another one has been written.
    saveAreas(QString(), QStringLiteral("Salva file con nome (origini e destinazioni)"));
}

void DatiAree::eliminare_click()
{
    const FileRequest request{state().run.deleteTitle, kAreaFilter, 2, m_dialogFileName, QString()};
    trashArchiveFile(*this, request, archiveFailureTitle(), m_dialogFileName, m_currentFile);
}

// --- Printout ---------------------------------------------------------------------------------

void DatiAree::stampa_Click()
{
    if (state().areas.count == 0) {
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Immettere prima i dati."));
        return;
    }
    setPasso(QStringLiteral("sto caricando WORD"));
    context().documents.present(
        printAreas(state(), {m_totorig->text(), m_totdest->text(), m_explanation}));
}

} // namespace urbaflux
