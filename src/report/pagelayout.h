#pragma once

// The paginated rendering of a Document: the viewer's pages, the PDF, printing and the page
// count all come from this one layout, so the count a printout states is the PDF's.
//
// A light pager of our own rather than QTextDocument: a table of 32,401 rows is measured row
// by row (each row as high as its tallest cell) and only the page boundaries are kept; a page
// is laid out again, cheaply, when it is painted. Pagination can run in slices, so that a
// window stays responsive while a long document is counted.
//
// The pages hold in every reader: a paragraph never splits and takes the lines the widest face
// a reader may draw it with needs; a heading (a paragraph that keeps with the next) goes where
// what follows it goes; a table leaves and starts a page with three rows at least, and one that
// keeps with the next takes its last rows to the page of what follows. The exporters begin every
// page the pager begins.
//
// Units are points; "Century Gothic" is drawn with a metric-compatible face when one is
// installed ("URW Gothic"), with the line spacing word processors give Century Gothic.

#include "documentwriter.h"
#include "tablegeometry.h"

#include <QFont>
#include <QSizeF>
#include <memory>
#include <utility>
#include <vector>

class QPainter;
class QPrinter;

namespace urbaflux {

class PageLayout
{
public:
    // The document must outlive the layout and stay unchanged while it is used.
    explicit PageLayout(const Document& document);
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // Lays out about `budget` more lines or table rows. True once the whole document is done.
    bool paginateSome(int budget = 2000);
    void paginateAll();
    bool isComplete() const;
    // Fraction of the document's blocks laid out so far, 0 to 1.
    double progress() const;

    // Pages known so far; the final count once isComplete().
    int pageCount() const;
    // Where each page known so far starts: the block, and the line of that paragraph or the
    // row of that table. The exporters cut long tables where pages start.
    std::vector<std::pair<int, int>> pageStarts() const;
    // The geometry of the table that is block `block` of the document.
    const TableGeometry& tableGeometry(int block) const;
    QSizeF pageSize() const; // points

    // Paints page `index` (from 0) with its top-left corner at the origin, one unit a point.
    // The painter's transform chooses the scale.
    void paintPage(QPainter& painter, int index) const;

    // The font a document font name is drawn with here.
    static QString drawingFamily(const QString& documentFamily);

    struct Private;

private:
    std::unique_ptr<Private> d;
};

// The PDF of the document, replacing an existing file only once the new one is complete.
DocumentSaveResult savePdf(const Document& document, const QString& path);
// Prints every page on an already configured printer. False when the printer fails.
bool printDocument(const Document& document, QPrinter& printer);

} // namespace urbaflux
