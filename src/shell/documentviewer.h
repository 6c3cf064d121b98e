#pragma once

// The window a printout opens: the document page by page, as its PDF and its printout will
// look, with "Stampa...", "Salva come..." (DOCX, ODT or PDF) and "Apri con l'elaboratore di testi".
//
// A long document is paginated in slices on the user-interface thread (a timer hands out a few
// thousand table rows at a time), so the first page shows at once and the window stays usable
// while the rest is counted; only the pages in view are painted. Saving runs on a worker
// thread over the same, never again changed, document.

#include "documentsink.h"
#include "pagelayout.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QProgressBar;
class QScrollArea;

namespace urbaflux {

class Document;
class Prompts;

// Hands a saved file to the desktop's program for its type. True means the request was made,
// not that a program opened the file (desktops say yes even when none is associated).
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    virtual bool open(const QString& path) = 0;
};

// The desktop's own: QDesktopServices.
class DesktopDocumentOpener : public DocumentOpener
{
public:
    bool open(const QString& path) override;
};

class DocumentPagesView;

class DocumentViewer : public QMainWindow
{
    Q_OBJECT

public:
    DocumentViewer(std::shared_ptr<const Document> document, Prompts& prompts,
                   DocumentOpener& opener, QWidget* parent = nullptr);
    ~DocumentViewer() override;

    const Document& document() const { return *m_document; }
    const PageLayout& layout() const { return *m_layout; }
    bool isPaginated() const;
    int pageCount() const;
    // Finishes the pagination at once (tests, and before printing).
    void paginateNow();
    // Page `index` drawn at `dotsPerPoint` device pixels per point, as the view paints it.
    QImage renderPage(int index, double dotsPerPoint) const;

    // The three commands, as their actions run them.
    void printDocument();
    void saveAs();
    void openInWordProcessor();
    // True while a save (or the file for the word processor) is written on the worker thread.
    bool isSaving() const { return m_saving; }

    QAction* printAction() const { return m_print; }
    QAction* saveAction() const { return m_save; }
    QAction* openAction() const { return m_open; }
    DocumentPagesView* pagesView() const { return m_pages; }

Q_SIGNALS:
    void paginationFinished(int pages);
    // After a "Salva come..." or the file for the word processor is written (ok false: its
    // message was shown).
    void saveFinished(bool ok);

private:
    void paginateSlice();
    void updateStatus();
    // Writes the file on a worker thread; `whenSaved` runs on this thread once it is written.
    void startSave(const QString& path, std::function<void()> whenSaved = {});
    QString suggestedName() const;
    void fitToScreen();

    std::shared_ptr<const Document> m_document;
    std::unique_ptr<PageLayout> m_layout;
    Prompts& m_prompts;
    DocumentOpener& m_opener;
    DocumentPagesView* m_pages = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QAction* m_print = nullptr;
    QAction* m_save = nullptr;
    QAction* m_open = nullptr;
    bool m_saving = false;
};

// The pages, one under the other; paints only those the paint event asks for.
class DocumentPagesView : public QWidget
{
    Q_OBJECT

public:
    explicit DocumentPagesView(const PageLayout& layout, QWidget* parent = nullptr);

    void setZoom(double dotsPerPoint);
    double zoom() const { return m_zoom; }
    // Call when more pages are known.
    void pagesChanged();
    QRect pageRect(int index) const;
    // Pages painted by the last paint event (tests check that only those in view are).
    const QList<int>& lastPainted() const { return m_lastPainted; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PageLayout& m_layout;
    double m_zoom = 1.25;
    QList<int> m_lastPainted;
};

// The program's DocumentSink: each document presented opens its own viewer window, which
// stays until the user closes it.
class DocumentViewerSink : public DocumentSink
{
public:
    // Without an opener the desktop's is used.
    explicit DocumentViewerSink(Prompts& prompts, DocumentOpener* opener = nullptr);
    ~DocumentViewerSink() override;

    void present(std::unique_ptr<Document> document) override;

    // Viewers still open, oldest first.
    QList<DocumentViewer*> viewers() const;

private:
    Prompts& m_prompts;
    DesktopDocumentOpener m_desktop;
    DocumentOpener* m_opener;
    QList<QPointer<DocumentViewer>> m_viewers;
};

} // namespace urbaflux
