#include "helptexts.h"

#include <modelkind.h>

#include <QFile>
#include <QStringList>

// The embedded resources of a static library are registered only when something refers to
// them; Q_INIT_RESOURCE must stand outside any namespace.
static void registerShellResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(shell);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace urbaflux {

namespace {

struct PageInfo
{
    WindowId id;
    const char* name;
    const char* title; // UTF-8
};

const PageInfo kPages[] = {
    {WindowId::Manuale, "manuale", "MANUALE D'USO RAPIDO"},
    {WindowId::GuidaFunzionamento, "guidafunzionamento", "FUNZIONAMENTO DEL PROGRAMMA"},
    {WindowId::GuidaArchivio, "guidaarchivio", "ARCHIVIO DATI"},
    {WindowId::GuidaScelta, "guidascelta", " SCELTA DEL MODELLO"},
    {WindowId::GuidaVincolate, "guidavincolate", "MODELLO A ORIGINE E DESTINAZIONE VINCOLATE"},
    {WindowId::GuidaDestinazione, "guidadestinazione", "MODELLO A DESTINAZIONE VINCOLATA"},
    {WindowId::GuidaOrigine, "guidaorigine", "MODELLO A ORIGINE VINCOLATA"},
    {WindowId::GuidaInterazioni, "guidainterazioni", " TIPOLOGIA DELLE INTERAZIONI"},
    {WindowId::GuidaDistanze, "guidadistanze", "DISTANZE TRA LE AREE"},
    {WindowId::GuidaRisultati, "guidarisultati", "RISULTATI DEL CALCOLO"},
    {WindowId::GuidaGrafici, "guidagrafici", "GRAFICI DEI RISULTATI"},
    {WindowId::GuidaFrontespizio, "guidafrontespizio", "FRONTESPIZIO PER LA RELAZIONE"},
};

const PageInfo* pageInfo(WindowId id)
{
    for (const PageInfo& page : kPages) {
        if (page.id == id)
            return &page;
    }
    return nullptr;
}

} // namespace

QList<WindowId> helpPages()
{
    QList<WindowId> pages;
    for (const PageInfo& page : kPages)
        pages.append(page.id);
    return pages;
}

bool isHelpPage(WindowId id)
{
    return pageInfo(id) != nullptr;
}

QString helpPageName(WindowId id)
{
    const PageInfo* page = pageInfo(id);
    return page ? QString::fromLatin1(page->name) : QString();
}

QString helpPageTitle(WindowId id)
{
    const PageInfo* page = pageInfo(id);
    return page ? QString::fromUtf8(page->title) : QString();
}

QString helpTextFromFile(const QByteArray& utf8)
{
    QString text = QString::fromUtf8(utf8);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString result;
    bool breakPending = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            breakPending = !result.isEmpty();
            continue;
        }
        if (breakPending)
            result += QStringLiteral("\r\n");
        else if (!result.isEmpty())
            result += QLatin1Char(' ');
        result += line;
        breakPending = false;
    }
    return result;
}

QString helpPageText(WindowId id)
{
    const PageInfo* page = pageInfo(id);
    if (!page)
        return {};
    registerShellResources();
    QFile file(QStringLiteral(":/help/%1.txt").arg(QLatin1String(page->name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return helpTextFromFile(file.readAll());
}

WindowId modelHelpPage(int kind)
{
    switch (static_cast<ModelKind>(kind)) {
    case ModelKind::OriginAndDestinationConstrained:
        return WindowId::GuidaVincolate;
    case ModelKind::DestinationConstrained:
        return WindowId::GuidaDestinazione;
    case ModelKind::OriginConstrained:
        return WindowId::GuidaOrigine;
    default:
        return WindowId::Sommario;
    }
}

} // namespace urbaflux
