#include "pagelayout.h"

#include <QPainter>

namespace urbaflux {

struct PageLayout::Private
{
    const Document* document = nullptr;
};

PageLayout::PageLayout(const Document& document) : d(std::make_unique<Private>())
{
    d->document = &document;
}

PageLayout::~PageLayout() = default;

bool PageLayout::paginateSome(int)
{
    return true;
}

void PageLayout::paginateAll() {}

bool PageLayout::isComplete() const
{
    return true;
}

double PageLayout::progress() const
{
    return 1.0;
}

int PageLayout::pageCount() const
{
    return 1;
}

QSizeF PageLayout::pageSize() const
{
    const PageSetup& page = d->document->pageSetup();
    return {page.width, page.height};
}

void PageLayout::paintPage(QPainter&, int) const {}

QString PageLayout::drawingFamily(const QString& documentFamily)
{
    return documentFamily;
}

SaveResult savePdf(const Document&, const QString& path)
{
    return {false, QStringLiteral("Impossibile salvare il documento \"%1\".").arg(path)};
}

bool printDocument(const Document&, QPrinter&)
{
    return false;
}

} // namespace urbaflux
