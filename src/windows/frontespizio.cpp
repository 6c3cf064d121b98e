#include "frontespizio.h"

#include <savedmarks.h>
#include <zonepackage.h>

#include "archivecommands.h"
#include "calculation.h"
#include "completearchive.h"
#include "document.h"
#include "documentsink.h"
#include "officedialog.h"
#include "projectstate.h"
#include "prompts.h"
#include "reportcommand.h"
#include "technicaloffice.h"
#include "titledataprintout.h"
#include "titlepagearchive.h"
#include "windowmanager.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace urbaflux {

namespace {

struct FieldText
{
    const char16_t* box;
    const char16_t* caption;
    const char16_t* tooltip;
    const char16_t* hint; // asked for while the box is empty
};

// In archive order.
const FieldText kFields[TitlePage::kFieldCount] = {
    {u"progetto", u" progetto....................:", u"il tipo di progetto che si sta elaborando",
     u"digitare il nome del progetto"},
    {u"località", u" località......................:",
     u"denominazione dei luoghi oggetto dello studio",
     u"digitare il nome della località oggetto di studio"},
    {u"tipostudio", u" tipologia di studio......:",
     u"ad esempio: 'analisi urbanistica periodo estivo'; 'ipotesi con strada a scorrimento "
     u"veloce'; ecc.",
     u"digitare la tipologia di studio"},
    {u"fornituradati", u" fornitura dati..............:",
     u"chi ha fornito i dati urbanistici necessari alla elaborazione",
     u"digitare la fonte dei dati utilizzati nella elaborazione"},
    {u"committente", u" committente..............:", u"chi ha commissionato lo studio",
     u"digitare il nome del committente"},
    {u"luogo", u" luogo elaborazione...:",
     u"località in cui viene effettuata la elaborazione dei dati",
     u"digitare il nome del luogo della redazione del progetto"},
    {u"data", u" data elaborazione.....:",
     u"la data della elaborazione è importante per la formulazione di ipotesi e per il "
     u"riferimento temporale delle analisi",
     u"digitare la data della elaborazione"},
    {u"allegati", u" allegati alla relazione:", u"grafici, disegni, planimetrie, foto, ecc.",
     u"digitare la tipologia degli eventuali allegati"},
};

constexpr int kLuogo = 5;
constexpr int kData = 6;

const QString kTitleFilter =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-fro- | Urbaflux-fro-*");
const QString kTitleSaveFilter = QStringLiteral("File Urbaflux-fro- | Urbaflux-fro-*");

QString text16(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

QString titlePageDate(const QDate& date)
{
    // Qt's "MMM" is the abbreviated month name that the pattern's "mmm" stands for.
    return QLocale(QLocale::Italian, QLocale::Italy)
        .toString(date, QStringLiteral("dddd, d MMM yyyy"));
}

Frontespizio::Frontespizio(AppContext& context, QWidget* parent)
    : WindowFrame(facts(), context, parent)
{
    buildControls();
}

Frontespizio::~Frontespizio() = default;

void Frontespizio::buildControls()
{
    QWidget* host = body();

    m_label1 = new QLabel(QStringLiteral("       MODELLO GRAVITAZIONALE URBANISTICO"), host);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = m_label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    m_label1->setFont(heading);
    placeTwips(m_label1, 120, 60, 9240, 390);

    QFont captionFont = font();
    captionFont.setBold(true);
    constexpr int kTop = 540;
    constexpr int kStep = 390;
    for (int i = 0; i < TitlePage::kFieldCount; ++i) {
        const FieldText& texts = kFields[i];
        const int top = kTop + i * kStep;
        auto* caption = new QLabel(text16(texts.caption), host);
        caption->setObjectName(QStringLiteral("lbl") + text16(texts.box));
        caption->setToolTip(text16(texts.tooltip));
        caption->setFont(captionFont);
        placeTwips(caption, 240, top + 15, 2640, 300);

        auto* box = new QLineEdit(host);
        box->setObjectName(text16(texts.box));
        placeTwips(box, 2940, top, 6300, 330);
        caption->setBuddy(box);
        m_boxes[static_cast<size_t>(i)] = box;
        connect(box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            *state().titlePage.fields()[static_cast<size_t>(i)] = text;
            refreshTitleHint();
        });
    }
    for (int i = 1; i < TitlePage::kFieldCount; ++i)
        setTabOrder(m_boxes[static_cast<size_t>(i - 1)], m_boxes[static_cast<size_t>(i)]);

    const int officeTop = kTop + TitlePage::kFieldCount * kStep + 120;
    auto* officeCaption = new QLabel(QStringLiteral(" studio tecnico...........:"), host);
    officeCaption->setObjectName(QStringLiteral("lblstudio"));
    officeCaption->setToolTip(QStringLiteral("lo studio che ha effettuato la elaborazione"));
    officeCaption->setFont(captionFont);
    placeTwips(officeCaption, 240, officeTop + 15, 2640, 300);

    // Read-only: the office is the user's setting, changed in its dialog (double click or the
    // button beside the labels), never typed here.
    const QString officeTip =
        QStringLiteral("doppio clic per impostare il nome e l'indirizzo dello studio tecnico");
    m_labelstudio = new QLabel(host);
    m_labelstudio->setObjectName(QStringLiteral("Labelstudio"));
    m_labelindirizzo = new QLabel(host);
    m_labelindirizzo->setObjectName(QStringLiteral("labelindirizzo"));
    int labelTop = officeTop;
    for (QLabel* label : {m_labelstudio, m_labelindirizzo}) {
        label->setToolTip(officeTip);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->installEventFilter(this);
        placeTwips(label, 2940, labelTop, 5850, 315);
        labelTop += 345;
    }

    m_officeButton = new QPushButton(QStringLiteral("..."), host);
    m_officeButton->setObjectName(QStringLiteral("cmdstudio"));
    m_officeButton->setToolTip(
        QStringLiteral("cliccare per impostare il nome e l'indirizzo dello studio tecnico"));
    placeTwips(m_officeButton, 8850, officeTop, 390, 315);
    connect(m_officeButton, &QPushButton::clicked, this, [this] { editTechnicalOffice(); });

    m_stampa = new QPushButton(QStringLiteral(" &Stampa"), host);
    m_stampa->setObjectName(QStringLiteral("stampa"));
    m_stampa->setToolTip(QStringLiteral("cliccare per stampare la relazione"));
    placeTwips(m_stampa, 7500, officeTop + 780, 1740, 420);
    connect(m_stampa, &QPushButton::clicked, this, [this] { stampatutto_Click(); });
}

const TitlePage& Frontespizio::titlePage() const
{
    return state().titlePage;
}

void Frontespizio::onLoad()
{
    // A window loaded again shows the texts the state kept; a new title page gets today's
    // date, which is no change the user made.
    if (titlePage() == TitlePage()) {
        const bool untouched = !hasUnsavedChanges(state(), DataKind::TitlePage);
        m_boxes[kData]->setText(titlePageDate(QDate::currentDate()));
        if (untouched)
            markSaved(state(), DataKind::TitlePage);
    } else {
        setTitlePage(titlePage());
    }
    showTechnicalOffice();
    refreshTitleHint();
    m_boxes[0]->setFocus(Qt::OtherFocusReason);
    captureLayout();
}

QLineEdit* Frontespizio::box(int field) const
{
    return field >= 0 && field < TitlePage::kFieldCount ? m_boxes[static_cast<size_t>(field)]
                                                        : nullptr;
}

void Frontespizio::setTitlePage(TitlePage page)
{
    const auto texts = page.fields();
    for (size_t i = 0; i < texts.size(); ++i)
        m_boxes[i]->setText(*texts[i]);
}

void Frontespizio::refreshTitleHint()
{
    const auto texts = titlePage().fields();
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i]->isEmpty()) {
            setPasso(text16(kFields[i].hint));
            return;
        }
    }
    setPasso(QStringLiteral(
        "i dati sono formalmente corretti: archiviarli o stampare la relazione completa"));
}

void Frontespizio::checkTitlePage()
{
    const auto texts = titlePage().fields();
    bool allEmpty = true;  // the place of the elaboration and the date take no part here
    bool anyEmpty = false; // nor the place here
    for (size_t i = 0; i < texts.size(); ++i) {
        if (static_cast<int>(i) == kLuogo)
            continue;
        if (static_cast<int>(i) != kData && !texts[i]->isEmpty())
            allEmpty = false;
        if (texts[i]->isEmpty())
            anyEmpty = true;
    }
    const QString& title = state().run.checkTitle;
    if (allEmpty)
        prompts().inform(MessageIcon::Question, title,
                         QStringLiteral("Non è stato immesso alcun dato."));
    else if (anyEmpty)
        prompts().inform(MessageIcon::Information, title,
                         QStringLiteral("Inserire dati per ogni campo."));
    else
        prompts().inform(MessageIcon::Information, title,
                         QStringLiteral("I dati sono stati immessi correttamente."));
}

void Frontespizio::clearTitlePage()
{
    if (!mayClear(*this, DataKind::TitlePage, !(titlePage() == TitlePage()),
                  [this] { saveTitleFile(); }))
        return;
    for (QLineEdit* box : m_boxes)
        box->clear();
}

void Frontespizio::printTitleData()
{
    setPasso(QStringLiteral("sto caricando WORD"));
    context().documents.present(
        urbaflux::printTitleData(state(), titlePage(), loadTechnicalOffice()));
}

void Frontespizio::stampatutto_Click()
{
    printReport(*this, titlePage());
}

// --- Archives ---------------------------------------------------------------------------------

QString Frontespizio::archiveFailureTitle() const
{
    return state().run.programName + QStringLiteral(": archivio (frontespizio)");
}

void Frontespizio::openTitleFile()
{
    if (!mayDiscard(*this, DataKind::TitlePage, [this] { saveTitleFile(); }))
        return;
    m_dialogFileName.clear();
    // The boxes change only once the whole file has been read and found sound.
    const Parsed<TitlePageRecord> parsed = openArchiveFile(
        *this, {QStringLiteral("Apri file (frontespizio)"), kTitleFilter, 2, QString(), QString()},
        m_dialogFileName, archiveFailureTitle(), readTitlePageFile);
    if (!parsed.ok())
        return;
    m_currentFile = m_dialogFileName;
    setTitlePage(*parsed.value);
    markSaved(state(), DataKind::TitlePage);
}

void Frontespizio::writeTitleFile(const QString& knownFile, const QString& dialogTitle)
{
    // A known name that cannot be written stays the current one: the user may free it.
    const QString path = saveArchiveFile(
        *this, knownFile,
        {dialogTitle, kTitleSaveFilter, 1,
         m_dialogFileName.isEmpty() ? QStringLiteral("Urbaflux-fro-") : m_dialogFileName,
         QString()},
        m_dialogFileName, archiveFailureTitle(),
        [this](const QString& p) { return writeTitlePageFile(p, titlePage()); });
    if (!path.isEmpty()) {
        m_currentFile = path;
        markSaved(state(), DataKind::TitlePage);
    }
}

void Frontespizio::saveTitleFile()
{
    writeTitleFile(m_currentFile, QStringLiteral("Salva file (frontespizio)"));
}

void Frontespizio::saveTitleFileAs()
{
    // The current name goes only once another one has been written.
    writeTitleFile(QString(), QStringLiteral("Salva file con nome (frontespizio)"));
}

bool Frontespizio::saveCompleteArchive()
{
    // The archive holds the results beside the data: only results of the data as they stand.
    if (const ResultsGap gap = currentResultsGap(state()); !gap.none() && state().areas.count > 0) {
        prompts().inform(MessageIcon::Critical,
                         state().run.programName + QStringLiteral(": archivio (tutti i dati)"),
                         QStringLiteral("Impossibile archiviare tutti i dati: ") +
                             describeResultsGap(gap) + QLatin1Char('.'));
        return false;
    }
    // The title-page archive's current name stays: this file is not one.
    const QString path = saveArchiveFile(
        *this, QString(),
        {QStringLiteral("Salva con nome (tutti i dati)"),
         QStringLiteral("File Urbaflux-tot-| Urbaflux-tot-*"), 1, QStringLiteral("Urbaflux-tot-"),
         QString()},
        m_completeDialogName, state().run.programName + QStringLiteral(": archivio (tutti i dati)"),
        [this](const QString& p) {
            // The geometry goes beside the archive, whose layout older copies read.
            return writeArchiveWithZones(p, state(), [this](const QString& target) {
                return writeCompleteFile(target, state(), titlePage());
            });
        });
    if (path.isEmpty())
        return false;
    markAllSaved(state());
    return true;
}

void Frontespizio::deleteTitleFile()
{
    const FileRequest request{state().run.deleteTitle, kTitleFilter, 2, m_dialogFileName,
                              QString()};
    trashArchiveFile(*this, request, archiveFailureTitle(), m_dialogFileName, m_currentFile);
}

// --- Technical office -------------------------------------------------------------------------

void Frontespizio::showTechnicalOffice()
{
    const TechnicalOffice office = loadTechnicalOffice();
    m_labelstudio->setText(office.name);
    m_labelindirizzo->setText(office.address);
}

void Frontespizio::editTechnicalOffice()
{
    if (m_officeDialog) {
        m_officeDialog->raise();
        m_officeDialog->activateWindow();
        return;
    }
    auto* dialog = new OfficeDialog(loadTechnicalOffice(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_officeDialog = dialog;
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        saveTechnicalOffice(dialog->office());
        showTechnicalOffice();
    });
    dialog->open();
}

bool Frontespizio::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_labelstudio || watched == m_labelindirizzo)) {
        editTechnicalOffice();
        return true;
    }
    return WindowFrame::eventFilter(watched, event);
}

bool saveWholeElaboration(AppContext& context)
{
    auto* page = context.windows.touchAs<Frontespizio>(WindowId::Frontespizio);
    return page && page->saveCompleteArchive();
}

} // namespace urbaflux
