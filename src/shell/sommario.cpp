#include "sommario.h"

#include "appcontext.h"
#include "contentsprintout.h"
#include "projectstate.h"
#include "prompts.h"
#include "windowmanager.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>

namespace urbaflux {

namespace {

constexpr int kWidth = 3975;
constexpr int kHeight = 6825;

struct Entry
{
    const char* text; // UTF-8, leading blank included
    WindowId target;
};

const Entry kContents[Sommario::kEntries] = {
    {" Manuale d'uso rapido", WindowId::Manuale},
    {" Funzionamento del programma", WindowId::GuidaFunzionamento},
    {" Archivio dati", WindowId::GuidaArchivio},
    {" Scelta del modello", WindowId::GuidaScelta},
    {" Origine e destinazione vincolate", WindowId::GuidaVincolate},
    {" Destinazione vincolata", WindowId::GuidaDestinazione},
    {" Origine vincolata", WindowId::GuidaOrigine},
    {" Tipologia delle interazioni", WindowId::GuidaInterazioni},
    {" Distanze tra le aree", WindowId::GuidaDistanze},
    {" Risultati del calcolo", WindowId::GuidaRisultati},
    {" Grafici dei risultati", WindowId::GuidaGrafici},
    {" Frontespizio per la relazione", WindowId::GuidaFrontespizio},
    {" Suggerimento del giorno", WindowId::TipUrbaflux},
};

void setRaised(QLabel* label, bool raised)
{
    // A single-line border at rest; none while the mouse button is down (the pressed look).
    label->setFrameShape(raised ? QFrame::Box : QFrame::NoFrame);
}

} // namespace

QString Sommario::entryText(int index)
{
    if (index < 1 || index > kEntries)
        return {};
    return QString::fromUtf8(kContents[index - 1].text);
}

WindowId Sommario::entryTarget(int index)
{
    if (index < 1 || index > kEntries)
        return WindowId::Sommario;
    return kContents[index - 1].target;
}

Sommario::Sommario(AppContext& context, QWidget* parent)
    : HelpWindow(WindowId::Sommario, context, kWidth, kHeight, parent)
{
    setObjectName(QStringLiteral("sommario"));
    setWindowTitle(QStringLiteral("Guida in linea: sommario"));

    for (int i = 1; i <= kEntries; ++i) {
        const int top = 180 + (i - 1) * 435;
        auto* label = new QLabel(entryText(i), this);
        label->setObjectName(QStringLiteral("label_%1").arg(i));
        // Condensed, so that the longest entry still fits once bold.
        QFont font = label->font();
        font.setStretch(QFont::Condensed);
        label->setFont(font);
        label->setFrameShadow(QFrame::Plain);
        label->setLineWidth(1);
        setRaised(label, true);
        label->setMouseTracking(true);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        placeTwips(label, 120, top, 3015, 345);
        m_labels[static_cast<size_t>(i)] = label;

        auto* button = new QPushButton(QStringLiteral("--->"), this);
        button->setObjectName(QStringLiteral("pulsante_%1").arg(i));
        placeTwips(button, 3225, top, 630, 345);
        connect(button, &QPushButton::clicked, this, [this, i] { openEntry(i); });
        m_buttons[static_cast<size_t>(i)] = button;
    }

    m_cmdchiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_cmdchiudi->setObjectName(QStringLiteral("cmdchiudi"));
    m_cmdchiudi->setToolTip(QStringLiteral("cliccare per chiudere la finestra"));
    m_cmdstampa = new QPushButton(QStringLiteral("&Stampa"), this);
    m_cmdstampa->setObjectName(QStringLiteral("cmdstampa"));
    m_cmdstampa->setToolTip(QStringLiteral("cliccare per avere la copia su carta del sommario"));
    m_cmdesci = new QPushButton(QStringLiteral("&USCITA"), this);
    m_cmdesci->setObjectName(QStringLiteral("cmdesci"));
    m_cmdesci->setToolTip(QStringLiteral("cliccare per uscire da Urbaflux"));
    placeTwips(m_cmdchiudi, 120, 6150, 1185, 420);
    placeTwips(m_cmdstampa, 1395, 6150, 1185, 420);
    placeTwips(m_cmdesci, 2670, 6150, 1185, 420);
    connect(m_cmdchiudi, &QPushButton::clicked, this, &Sommario::cmdchiudi_Click);
    connect(m_cmdstampa, &QPushButton::clicked, this, &Sommario::cmdstampa_Click);
    connect(m_cmdesci, &QPushButton::clicked, this, &Sommario::cmdesci_Click);
}

void Sommario::runLoad()
{
    placeWindow(kWidth, kHeight);
}

QLabel* Sommario::label(int index) const
{
    return index >= 1 && index <= kEntries ? m_labels[static_cast<size_t>(index)] : nullptr;
}

QPushButton* Sommario::pulsante(int index) const
{
    return index >= 1 && index <= kEntries ? m_buttons[static_cast<size_t>(index)] : nullptr;
}

void Sommario::openEntry(int index)
{
    if (index < 1 || index > kEntries)
        return;
    context().windows.showWindow(entryTarget(index));
}

void Sommario::highlight(int index)
{
    for (int i = 1; i <= kEntries; ++i) {
        QLabel* label = m_labels[static_cast<size_t>(i)];
        if (label->font().bold() == (i == index))
            continue;
        QFont font = label->font();
        font.setBold(i == index);
        label->setFont(font);
    }
}

bool Sommario::eventFilter(QObject* watched, QEvent* event)
{
    int index = 0;
    for (int i = 1; i <= kEntries; ++i) {
        if (watched == m_labels[static_cast<size_t>(i)])
            index = i;
    }
    if (index == 0)
        return HelpWindow::eventFilter(watched, event);
    QLabel* label = m_labels[static_cast<size_t>(index)];
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        highlight(index);
        break;
    case QEvent::MouseButtonPress:
        setRaised(label, false);
        openEntry(index);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label->rect().contains(mouse->position().toPoint()))
            setRaised(label, true);
        return true;
    }
    default:
        break;
    }
    return HelpWindow::eventFilter(watched, event);
}

void Sommario::cmdchiudi_Click()
{
    hide();
}

void Sommario::cmdstampa_Click()
{
    QPrinter printer;
    if (!context().prompts.choosePrinter(printer))
        return;
    printContentsTo(printer);
}

bool Sommario::printContentsTo(QPagedPaintDevice& device) const
{
    const RunValues& run = context().state.run;
    QStringList entries;
    for (int i = 1; i <= kEntries; ++i)
        entries.append(m_labels[static_cast<size_t>(i)]->text());
    return printContents(device, run.programName + QStringLiteral(" - ") + run.programDescription,
                         entries);
}

void Sommario::cmdesci_Click()
{
    context().windows.confirmExit();
}

void Sommario::closeEvent(QCloseEvent* event)
{
    // The close box is "&Chiudi": the contents stay loaded, hidden.
    event->accept();
    hide();
}

} // namespace urbaflux
