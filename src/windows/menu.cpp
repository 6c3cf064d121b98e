#include "menu.h"

#include <zonepackage.h>

#include "archivecommands.h"
#include "calibrationdialog.h"
#include "completearchive.h"
#include "document.h"
#include "documentsink.h"
#include "modelcaptions.h"
#include "modelchoicearchive.h"
#include "modelchoicecheck.h"
#include "modelchoiceprintout.h"
#include "projectstate.h"
#include "prompts.h"
#include "windowmanager.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace urbaflux {

namespace {

struct OptionText
{
    const char16_t* caption;
    const char16_t* tooltip;
    const char16_t* memo;
    const char16_t* memoTooltip;
};

// Index 1 to 3 is the kind code of the option.
const OptionText kOptions[] = {
    {u"ORIGINE E DESTINAZIONE VINCOLATE",
     u"cliccare qui  per optare per il modello a 'origine e destinazione vincolate'",
     u"il totale dei valori immessi nei dati coincide con il totale dei valori valutati con il "
     u"modello: il risultato sarà la misura delle interazioni tra le zone",
     u"breve pro-memoria del modello gravitazionale a \"origine e destinazione vincolata\""},
    {u"DESTINAZIONE VINCOLATA",
     u"cliccare qui  per iniziare il calcolo con il modello a 'destinazione vincolata'",
     u"la quantità dell'attrazione è vincolata ai valori immessi per la destinazione; i dati "
     u"relativi all'origine sono stime libere, ma proporzionali alla realtà delle zone",
     u"breve pro-memoria del modello gravitazionale a \"destinazione vincolata\""},
    {u"ORIGINE VINCOLATA",
     u"cliccare qui per iniziare il calcolo con il modello a 'origine vincolata'",
     u"i dati riguardanti l'origine sono quelli osservati e ad essi viene commisurata nel "
     u"modello l'attrazione; i dati della destinazione sono valori stimati ma proporzionali",
     u"breve pro-memoria del modello gravitazionale a \"origine vincolatra\""},
};

const QString kModelFilter =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-mod- | Urbaflux-mod-*");
const QString kModelSaveFilter = QStringLiteral("File Urbaflux-mod- | Urbaflux-mod-*");

QString text16(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

WindowFacts Menu::facts()
{
    WindowFacts f;
    f.id = WindowId::Menu;
    f.objectName = QStringLiteral("menu");
    f.fixedCaption = QStringLiteral("Urbaflux - Scelta del modello di calcolo");
    f.designColour = QColor(214, 228, 240);
    f.contextHelp = {
        QStringLiteral("- Scegliere il modello di calcolo pertinente;"),
        QStringLiteral("- digitare la tipologia delle origini;"),
        QStringLiteral("- digitare la tipologia delle destinazioni;"),
        QStringLiteral("- modificare la tipologia delle interazioni, se necessario;"),
        QStringLiteral("- modificare, se necessario, la tipologia della distanza;"),
        QStringLiteral("- modificare il valore di alfa preimpostato, se necessario;"),
        QStringLiteral(
            "- modificare il valore preimpostato dello scarto nel calcolo, se necessario;"),
        QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                       "registrati (Urbaflux-mod-);"),
        QStringLiteral("- è possibile prelevare dal disco 'tutti i dati' di una elaborazione "
                       "cliccando su File;"),
        QStringLiteral("- cliccare sui tasti laterali (sulla destra) per avere delucidazioni "
                       "inerenti e più dettagliate;"),
        QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
        QStringLiteral("- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
    };
    f.helpLinkCaption = QStringLiteral("Fi&nestra n.%1 di %2");
    f.helpPages = {WindowId::GuidaScelta};
    f.buttons = {FrameButton::Aiuto, FrameButton::CmdGuida, FrameButton::Indietro,
                 FrameButton::Avanti, FrameButton::CmdEsci};
    f.openAllData = true;
    // The charts keep their own colour.
    f.greyTogether = {WindowId::Menu, WindowId::DatiAree, WindowId::Distanze,
                      WindowId::Frontespizio};
    return f;
}

Menu::Menu(AppContext& context, QWidget* parent) : WindowFrame(facts(), context, parent)
{
    buildControls();
}

Menu::~Menu() = default;

void Menu::buildControls()
{
    QWidget* host = body();

    m_frame1 = new QGroupBox(QStringLiteral("Tipo di modello"), host);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    placeTwips(m_frame1, 120, 60, 4950, 4980);

    QFont memoFont = font();
    memoFont.setPointSizeF(memoFont.pointSizeF() * 0.9);
    QFont optionFont = font();
    optionFont.setBold(true);

    for (int i = 1; i <= 3; ++i) {
        const OptionText& texts = kOptions[i - 1];
        const int top = 330 + (i - 1) * 1560;

        auto* option = new QRadioButton(text16(texts.caption), m_frame1);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setToolTip(text16(texts.tooltip));
        option->setFont(optionFont);
        // Unselecting all three must stay possible (the clear command), so the options are
        // exclusive by hand rather than by Qt.
        option->setAutoExclusive(false);
        placeTwips(option, 150, top, 4200, 300);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        m_options[static_cast<size_t>(i)] = option;

        auto* memo = new QLabel(text16(texts.memo), m_frame1);
        memo->setObjectName(QStringLiteral("Label1_%1").arg(i));
        memo->setToolTip(text16(texts.memoTooltip));
        memo->setWordWrap(true);
        memo->setFont(memoFont);
        memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        placeTwips(memo, 450, top + 360, 4380, 1140);
        m_memos[static_cast<size_t>(i)] = memo;

        auto* help = new QPushButton(QStringLiteral("?"), m_frame1);
        help->setObjectName(QStringLiteral("help_%1").arg(i));
        help->setToolTip(QStringLiteral("cliccare per avere informazioni sul modello a %1")
                             .arg(modelKindLabel(i)));
        placeTwips(help, 4440, top - 15, 390, 330);
        m_help[static_cast<size_t>(i)] = help;
    }

    struct FieldDesign
    {
        QLineEdit** box;
        const char16_t* boxName;
        const char16_t* labelName;
        const char16_t* caption;
        const char16_t* labelTooltip;
        const char16_t* defaultText;
        const char16_t* boxTooltip;
    };
    const FieldDesign fields[] = {
        {&m_tipoor, u"tipoor", u"Label9", u" Tipologia delle origini",
         u"ad esempio: residenze degli operai, abitanti della zona, turisti estivi, ecc.", u"",
         u"digitare la tipologia appropriata delle origini"},
        {&m_tipode, u"tipode", u"Label4", u" Tipologia delle destinazioni",
         u"ad esempio: posti di lavoro, attrezzature sportive, centri commerciali, ecc.", u"",
         u"digitare la tipologia appropriata delle destinazioni"},
        {&m_tipoin, u"tipoin", u"Label5", u" Tipologia delle interazioni tra le aree",
         u"la tipologia preimpostata è modificabile da tastiera", u"spostamenti degli utenti",
         u"modificare mediante tastiera la tipologia se non coincide con quella desiderata dal "
         u"calcolo"},
        {&m_unitamisura, u"unitamisura", u"Label8", u" Tipologia della distanza",
         u"la tipologia preimpostata è modificabile da tastiera", u"chilometri",
         u"può misurarsi anche il tempo di percorrenza o altro ancora"},
        {&m_al, u"al", u"Label6", u" Valore alfa (esponente della distanza)",
         u"il valore preimpostato di alfa è modificabile da tastiera", u"2",
         u"il valore normale è 2"},
        {&m_sc, u"sc", u"label7", u" Valore dello scarto nel calcolo (iterazioni)",
         u"il valore preimpostato dello scarto è modificabile da tastiera", u"0.0001",
         u"è consigliabile uno scarto di un'unità"},
    };

    int top = 120;
    for (const FieldDesign& field : fields) {
        auto* label = new QLabel(text16(field.caption), host);
        label->setObjectName(text16(field.labelName));
        label->setToolTip(text16(field.labelTooltip));
        placeTwips(label, 5160, top, 4380, 285);

        auto* box = new QLineEdit(text16(field.defaultText), host);
        box->setObjectName(text16(field.boxName));
        box->setToolTip(text16(field.boxTooltip));
        placeTwips(box, 5220, top + 285, 3780, 330);
        *field.box = box;
        top += 825;
    }

    // Alpha is a short number: its box leaves room for the calibration beside it.
    placeTwips(m_al, 5220, 120 + 4 * 825 + 285, 1500, 330);
    m_taraAlfa = new QPushButton(QStringLiteral("Tara alfa su dati osservati..."), host);
    m_taraAlfa->setObjectName(QStringLiteral("taraAlfa"));
    m_taraAlfa->setToolTip(QStringLiteral("cerca il valore alfa che meglio riproduce le "
                                          "interazioni osservate"));
    placeTwips(m_taraAlfa, 6810, 120 + 4 * 825 + 270, 2670, 360);
    connect(m_taraAlfa, &QPushButton::clicked, this, &Menu::taraAlfa_Click);

    // The fourth help button stands beside the interaction typology, the first of the values
    // it explains.
    auto* help4 = new QPushButton(QStringLiteral("?"), host);
    help4->setObjectName(QStringLiteral("help_4"));
    help4->setToolTip(QStringLiteral("cliccare per avere informazioni sulle interazioni, sulla "
                                     "distanza, sul valore alfa e sul valore dello scarto"));
    placeTwips(help4, 9090, 120 + 2 * 825 + 285, 390, 330);
    m_help[4] = help4;

    const std::array<WindowId, 5> helpPages = {WindowId::GuidaScelta, WindowId::GuidaVincolate,
                                               WindowId::GuidaDestinazione, WindowId::GuidaOrigine,
                                               WindowId::GuidaInterazioni};
    for (int i = 1; i <= 4; ++i) {
        const WindowId page = helpPages[static_cast<size_t>(i)];
        connect(m_help[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, page] { windows().showWindow(page); });
    }

    // The boxes got their default texts above, before these connections: the load step, not
    // the boxes, sets the defaults of the state. A box filled from a state that was already
    // announced (m_showing) stores its text as typing would, without a second announcement.
    auto follow = [this](QLineEdit* box, void (*store)(ProjectState&, const QString&),
                         bool hinted) {
        connect(box, &QLineEdit::textChanged, this, [this, store, hinted](const QString& text) {
            store(state(), text);
            if (!m_showing)
                markChanged();
            if (hinted)
                refreshModelHint();
        });
    };
    follow(
        m_tipoor, [](ProjectState& st, const QString& text) { st.model.originType = text; }, true);
    follow(
        m_tipode, [](ProjectState& st, const QString& text) { st.model.destinationType = text; },
        true);
    follow(
        m_tipoin, [](ProjectState& st, const QString& text) { st.model.interactionType = text; },
        true);
    follow(
        m_unitamisura, [](ProjectState& st, const QString& text) { st.model.unit = text; }, true);
    follow(
        m_al,
        [](ProjectState& st, const QString& text) { st.model.alpha = FieldValue::fromText(text); },
        true);
    // The tolerance is kept as the number it reads as; the hint does not depend on it.
    follow(
        m_sc,
        [](ProjectState& st, const QString& text) {
            st.model.tolerance = FieldValue::fromNumber(leadingNumber(text));
        },
        false);
}

void Menu::taraAlfa_Click()
{
    if (state().areas.count < 1) {
        prompts().inform(
            MessageIcon::Exclamation, CalibrationDialog::messageTitle(),
            QStringLiteral("Impossibile tarare alfa: non ci sono ancora aree (immettere "
                           "i dati delle aree e le distanze)."));
        return;
    }
    auto* dialog = new CalibrationDialog(context(), m_al, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void Menu::onLoad()
{
    applyDefaults(context());
    // A window loaded again after the exit sequence finds the elaboration still in the state;
    // it shows it rather than boxes and options that say nothing was chosen while the other
    // windows compute with the held model.
    const ModelChoice& model = state().model;
    if (QRadioButton* option = modelOption(model.kind))
        option->setChecked(true);
    {
        const QScopedValueRollback<bool> showing(m_showing, true);
        m_tipoor->setText(QString(model.originType));
        m_tipode->setText(QString(model.destinationType));
    }
    refreshModelHint();
    // The first step is the choice of the model: the keyboard starts on the options.
    const int focused = isModelKindCode(model.kind) ? model.kind : 1;
    modelOption(focused)->setFocus(Qt::OtherFocusReason);
    captureLayout();
}

QRadioButton* Menu::modelOption(int index) const
{
    return isModelKindCode(index) ? m_options[static_cast<size_t>(index)] : nullptr;
}

QString Menu::modelMemo(int index) const
{
    return isModelKindCode(index) ? m_memos[static_cast<size_t>(index)]->text() : QString();
}

void Menu::Option1_Click(int index)
{
    if (!isModelKindCode(index))
        return;
    for (int i = 1; i <= 3; ++i)
        m_options[static_cast<size_t>(i)]->setChecked(i == index);
    ModelChoice& model = state().model;
    model.kind = static_cast<qint16>(index);
    model.kindLabel = modelKindLabel(index);
    // The captions of the other windows and the area window's headings follow the state; the
    // area window, whose headings and explanation name the model, is made now if need be.
    if (!m_showing)
        markChanged();
    windows().touch(WindowId::DatiAree);
    refreshModelHint();
}

void Menu::selectModelOption(int index)
{
    QRadioButton* option = modelOption(index);
    if (option && !option->isChecked())
        Option1_Click(index);
}

void Menu::refreshModelHint()
{
    // The hint does not depend on the tolerance.
    QString hint;
    switch (firstMissingModelField(state().model, true)) {
    case ModelField::Kind:
        hint = QStringLiteral("scegliere il tipo do modello");
        break;
    case ModelField::OriginType:
        hint = QStringLiteral("digitare la tipologia delle origini");
        break;
    case ModelField::DestinationType:
        hint = QStringLiteral("digitare la tipologia delle destinazioni");
        break;
    case ModelField::InteractionType:
        hint = QStringLiteral("digitare la tipologia delle interazioni tra le aree");
        break;
    case ModelField::Alpha:
        hint = QStringLiteral(
            "digitare il valore alfa (se non si conoscono altri valori lasciarlo come 2)");
        break;
    case ModelField::Unit:
        hint = QStringLiteral("digitare la tipologia della distanza");
        break;
    case ModelField::Tolerance:
    case ModelField::None:
        hint = QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o andare "
                              "Avanti con altri dati");
        break;
    }
    setPasso(hint);
}

void Menu::defaultsApplied()
{
    keepStateWithBoxes();
}

void Menu::dataChanged(bool own)
{
    if (own)
        return;
    // Another window read a file that holds the model (the interactions archive): the options
    // show the state's model.
    const ModelChoice& model = state().model;
    const QScopedValueRollback<bool> showing(m_showing, true);
    for (int i = 1; i <= 3; ++i)
        m_options[static_cast<size_t>(i)]->setChecked(i == model.kind);
    refreshModelHint();
}

void Menu::showModelChoice(const ModelChoice& model)
{
    m_al->setText(model.alpha.displayText());
    m_sc->setText(model.tolerance.displayText());
    m_unitamisura->setText(model.unit);
    m_tipoor->setText(model.originType);
    m_tipode->setText(model.destinationType);
    m_tipoin->setText(model.interactionType);
}

void Menu::keepStateWithBoxes()
{
    ModelChoice& model = state().model;
    // A box that shows what the state holds keeps the state's form (a default stays a number).
    if (m_tipoin->text() != model.interactionType)
        model.interactionType = m_tipoin->text();
    if (m_unitamisura->text() != model.unit)
        model.unit = m_unitamisura->text();
    if (m_al->text() != model.alpha.displayText())
        model.alpha = FieldValue::fromText(m_al->text());
    const double tolerance = leadingNumber(m_sc->text());
    if (tolerance != model.tolerance.leadingValue())
        model.tolerance = FieldValue::fromNumber(tolerance);
}

QString Menu::checkTitle() const
{
    return state().run.checkTitle + QStringLiteral(" (scelta modello)");
}

void Menu::avanti_Click()
{
    const char16_t* message = nullptr;
    switch (firstMissingModelField(state().model, !m_sc->text().isEmpty())) {
    case ModelField::Kind:
        message = u"Scegliere il tipo di modello per il calcolo.";
        break;
    case ModelField::OriginType:
        message = u"Digitare la tipologia delle origini.";
        break;
    case ModelField::DestinationType:
        message = u"Digitare la tipologia delle destinazioni.";
        break;
    case ModelField::InteractionType:
        message = u"Digitare la tipologia delle interazioni da calcolare.";
        break;
    case ModelField::Alpha:
        message = u"Digitare il valore alfa.";
        break;
    case ModelField::Tolerance:
        message = u"Digitare il valore dello scarto.";
        break;
    case ModelField::Unit:
        message = u"Digitare l'unità di misura delle distanze.";
        break;
    case ModelField::None:
        break;
    }
    if (message) {
        prompts().inform(MessageIcon::Question, checkTitle(), text16(message));
        return;
    }
    if (checkOnly() == 1) {
        setCheckOnly(0);
        prompts().inform(MessageIcon::Information, checkTitle(),
                         QStringLiteral("I dati sono stati immessi correttamente."));
        return;
    }
    windows().showWindow(WindowId::DatiAree);
}

void Menu::clearData()
{
    ModelChoice& model = state().model;
    model.kindLabel = QString();
    model.kind = 0;
    model.originType.clear();
    model.destinationType.clear();
    model.interactionType.clear();
    model.unit.clear();
    model.alpha = FieldValue::fromText(QString());
    model.tolerance = FieldValue::fromNumber(0);
    {
        const QScopedValueRollback<bool> showing(m_showing, true);
        for (QLineEdit* box : {m_tipoor, m_tipode, m_tipoin, m_al, m_sc, m_unitamisura})
            box->clear();
        for (int i = 1; i <= 3; ++i)
            m_options[static_cast<size_t>(i)]->setChecked(false);
    }
    // One announcement for the whole command.
    markChanged();
    refreshModelHint();
}

QString Menu::archiveFailureTitle() const
{
    return state().run.programName + QStringLiteral(": archivio (scelta del modello)");
}

void Menu::apri_Click()
{
    if (!mayDiscard(*this, DataKind::ModelChoice, [this] { salva_Click(); }))
        return;
    m_dialogFileName.clear();
    const Parsed<ModelChoiceRecord> parsed = openArchiveFile(
        *this,
        {QStringLiteral("Apri file (scelta del modello)"), kModelFilter, 2, QString(), QString()},
        m_dialogFileName, archiveFailureTitle(), readModelChoiceFile);
    if (!parsed.ok())
        return;
    m_currentFile = m_dialogFileName;
    applyModelChoice(*parsed.value, state());
    showStateModel();
    markSaved(state(), DataKind::ModelChoice);
}

void Menu::showStateModel()
{
    // The state holds what was read and has been announced: the options and boxes show it
    // (a copy: showing one box changes the state the next one would read).
    const ModelChoice read = state().model;
    const QScopedValueRollback<bool> showing(m_showing, true);
    showModelChoice(read);
    for (int i = 1; i <= 3; ++i)
        m_options[static_cast<size_t>(i)]->setChecked(i == read.kind);
    // As a click on the option would, the model read makes the area window.
    if (isModelKindCode(read.kind))
        windows().touch(WindowId::DatiAree);
    refreshModelHint();
}

void Menu::apritutto_Click()
{
    if (hasUnsavedChanges(state())) {
        const MessageAnswer answer = prompts().askSaveChanges(
            state().run.programName,
            QStringLiteral("Salvare le modifiche?\nI dati immessi non ancora archiviati saranno "
                           "sostituiti da quelli del file."));
        if (answer == MessageAnswer::Cancel ||
            (answer == MessageAnswer::Save && !windows().saveElaboration()))
            return;
    }
    QString chosen;
    const Parsed<CompleteRecord> parsed = openArchiveFile(
        *this,
        {QStringLiteral("Apri file (tutti i dati)"),
         QStringLiteral("File Urbaflux-tot-| Urbaflux-tot-*"), 1, QStringLiteral("Urbaflux-tot-"),
         QString()},
        chosen, state().run.programName + QStringLiteral(": archivio (tutti i dati)"),
        [](const QString& path) { return readCompleteFile(path); });
    if (!parsed.ok())
        return;
    // A complete archive is not a model-choice file: the next "Salva" asks for a name rather
    // than write one record over the whole elaboration.
    m_currentFile.clear();
    m_dialogFileName.clear();
    // The zones' geometry, when the archive has its companion; a companion that does not fit
    // is told and left out, as the archive itself is sound.
    const Parsed<ZoneSet> zones =
        readZonePackage(companionPackagePath(chosen), parsed.value->count);
    if (!zones.ok())
        prompts().inform(MessageIcon::Exclamation,
                         state().run.programName + QStringLiteral(": archivio (tutti i dati)"),
                         zones.error);
    state().zones = zones.ok() ? *zones.value : ZoneSet();
    showCompleteRecord(*parsed.value);
    markAllSaved(state());
}

void Menu::showCompleteRecord(const CompleteRecord& record)
{
    applyComplete(record, state(), m_titlePageRead);
    state().titlePage = m_titlePageRead;
    showStateModel();
    // The archive fills every window: those not made yet are made now and show the state as
    // they load; the others follow the announcement.
    for (WindowId id : {WindowId::DatiAree, WindowId::Distanze})
        windows().touch(id);
    // The title page is not part of the state: the title-page window is handed it.
    if (auto* titlePage = windows().touchAs<WindowFrame>(WindowId::Frontespizio))
        titlePage->titlePageRead(m_titlePageRead);
}

void Menu::saveModelChoice(bool askName)
{
    if (firstMissingModelField(state().model, !m_sc->text().isEmpty()) != ModelField::None) {
        prompts().inform(MessageIcon::Critical, checkTitle(),
                         QStringLiteral("Inserire prima tutti i dati."));
        return;
    }
    // The file holds the boxes as they read now; the state takes the same texts only once the
    // file is written, so a refused save changes nothing.
    ModelChoiceRecord record = modelChoiceRecordOf(state());
    record.interactionType = m_tipoin->text();
    record.alpha = FieldValue::fromText(m_al->text());
    record.tolerance = FieldValue::fromText(m_sc->text());
    record.unit = m_unitamisura->text();
    const QString title = askName ? QStringLiteral("Salva file con nome (scelta del modello)")
                                  : QStringLiteral("Salva file (scelta del modello)");
    const QString path =
        saveArchiveFile(*this, askName ? QString() : m_currentFile,
                        {title, kModelSaveFilter, 1, m_dialogFileName, QString()}, m_dialogFileName,
                        archiveFailureTitle(),
                        [&record](const QString& p) { return writeModelChoiceFile(p, record); });
    if (path.isEmpty())
        return;
    m_currentFile = path;
    ModelChoice& model = state().model;
    model.alpha = record.alpha;
    model.tolerance = record.tolerance;
    model.unit = record.unit;
    model.interactionType = record.interactionType;
    markSaved(state(), DataKind::ModelChoice);
}

void Menu::salva_Click()
{
    saveModelChoice(false);
}

void Menu::salvanome_Click()
{
    saveModelChoice(true);
}

void Menu::eliminare_click()
{
    const FileRequest request{state().run.deleteTitle, kModelFilter, 2, m_dialogFileName,
                              QString()};
    trashArchiveFile(*this, request, archiveFailureTitle(), m_dialogFileName, m_currentFile);
}

void Menu::stampa_Click()
{
    const ModelChoice& model = state().model;
    if (firstMissingModelField(model, !m_sc->text().isEmpty(), false) != ModelField::None) {
        prompts().inform(MessageIcon::Exclamation, QStringLiteral("Urbaflux: stampa dati finestra"),
                         QStringLiteral("Immettere prima tutti i dati."));
        return;
    }
    setPasso(QStringLiteral("sto caricando WORD"));
    context().documents.present(printModelChoice(
        state(), {m_al->text(), m_sc->text(), m_unitamisura->text(), modelMemo(model.kind)}));
    setPasso(QStringLiteral("ho visualizzato i dati su Word"));
}

} // namespace urbaflux
