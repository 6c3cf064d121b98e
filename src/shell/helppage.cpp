#include "helppage.h"

#include "appcontext.h"
#include "document.h"
#include "documentsink.h"
#include "helppageprintout.h"
#include "helptexts.h"
#include "windowmanager.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace urbaflux {

namespace {

// The manual is as wide as a working window; the other pages take its right-hand part.
constexpr int kPageWidth = 5640;
constexpr int kManualWidth = 9600;
constexpr int kHeight = 6825;
constexpr int kPageLeft = 5467;

int widthOf(WindowId id)
{
    return id == WindowId::Manuale ? kManualWidth : kPageWidth;
}

} // namespace

HelpPage::HelpPage(WindowId id, AppContext& context, QWidget* parent)
    : HelpWindow(id, context, widthOf(id), kHeight, parent)
{
    setObjectName(helpPageName(id));
    setWindowTitle(QStringLiteral("Guida in linea"));
    const int width = widthOf(id);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = m_label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 2);
    m_label1->setFont(titleFont);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeTwips(m_label1, 180, 120, width - 360, 480);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scroll"));
    m_scroll->setFrameShape(QFrame::StyledPanel);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_label2 = new QLabel;
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setWordWrap(true);
    // Left-aligned on screen: a narrow column justified opens wide gaps; the printout justifies.
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label2->setTextFormat(Qt::PlainText);
    m_label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label2->setContentsMargins(8, 6, 8, 6);
    m_scroll->setWidget(m_label2);
    placeTwips(m_scroll, 180, 660, width - 360, 5400);

    m_cmdsommario = new QPushButton(QStringLiteral("&Sommario"), this);
    m_cmdsommario->setObjectName(QStringLiteral("cmdsommario"));
    m_cmdstampa = new QPushButton(QStringLiteral("S&tampa"), this);
    m_cmdstampa->setObjectName(QStringLiteral("cmdstampa"));
    m_cmdchiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_cmdchiudi->setObjectName(QStringLiteral("cmdchiudi"));
    const int buttonWidth = 1380;
    const int gap = (width - 360 - 3 * buttonWidth) / 2;
    placeTwips(m_cmdsommario, 180, 6210, buttonWidth, 420);
    placeTwips(m_cmdstampa, 180 + buttonWidth + gap, 6210, buttonWidth, 420);
    placeTwips(m_cmdchiudi, width - 180 - buttonWidth, 6210, buttonWidth, 420);
    if (id == WindowId::Manuale) {
        m_cmdchiudi->setToolTip(QStringLiteral("cliccare per chiudere la finestra"));
        m_cmdstampa->setToolTip(
            QStringLiteral("cliccare per avere la copia su carta del MANUALE D'USO RAPIDO"));
        m_cmdsommario->setToolTip(QStringLiteral("cliccare per tornare al sommario"));
    }

    connect(m_cmdchiudi, &QPushButton::clicked, this, &HelpPage::cmdchiudi_Click);
    connect(m_cmdsommario, &QPushButton::clicked, this, &HelpPage::cmdsommario_Click);
    connect(m_cmdstampa, &QPushButton::clicked, this, &HelpPage::cmdstampa_Click);
}

void HelpPage::runLoad()
{
    m_title = helpPageTitle(windowId());
    m_text = helpPageText(windowId());
    m_label1->setText(m_title);
    QString shown = m_text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_label2->setText(shown);
    if (windowId() == WindowId::Manuale)
        placeWindow(kManualWidth, kHeight);
    else
        placeWindow(kPageWidth, kHeight, kPageLeft);
}

void HelpPage::cmdchiudi_Click()
{
    context().windows.unload(windowId());
}

void HelpPage::cmdsommario_Click()
{
    context().windows.showWindow(WindowId::Sommario);
}

void HelpPage::cmdstampa_Click()
{
    context().documents.present(printHelpPage(context().state, m_title, m_text));
}

void HelpPage::closeEvent(QCloseEvent* event)
{
    // The close box is the page's "&Chiudi".
    event->accept();
    context().windows.unload(windowId());
}

} // namespace urbaflux
