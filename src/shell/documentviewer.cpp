#include "documentviewer.h"

#include "document.h"
#include "documentformats.h"
#include "docxexporter.h"
#include "prompts.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace urbaflux {

namespace {

// Table rows (or text lines) paginated per turn of the event loop: a few hundredths of a
// second of work, so that scrolling and the menus stay responsive.
constexpr int kSliceBudget = 2500;
constexpr int kPageGap = 12; // pixels between pages

const QString kTitle = QStringLiteral("Urbaflux: documento");

} // namespace

bool DesktopDocumentOpener::open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// ---------------------------------------------------------------------------------------------

DocumentPagesView::DocumentPagesView(const PageLayout& layout, QWidget* parent)
    : QWidget(parent), m_layout(layout)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("pagine"));
    pagesChanged();
}

void DocumentPagesView::setZoom(double dotsPerPoint)
{
    m_zoom = dotsPerPoint;
    pagesChanged();
    update();
}

QRect DocumentPagesView::pageRect(int index) const
{
    const QSizeF size = m_layout.pageSize() * m_zoom;
    const int width = qRound(size.width());
    const int height = qRound(size.height());
    const int left = std::max(kPageGap, (this->width() - width) / 2);
    return {left, kPageGap + index * (height + kPageGap), width, height};
}

void DocumentPagesView::pagesChanged()
{
    const QSizeF size = m_layout.pageSize() * m_zoom;
    const int pages = std::max(1, m_layout.pageCount());
    setMinimumSize(qRound(size.width()) + 2 * kPageGap,
                   kPageGap + pages * (qRound(size.height()) + kPageGap));
    update();
}

void DocumentPagesView::paintEvent(QPaintEvent* event)
{
    m_lastPainted.clear();
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
    const int pageHeight = qRound(m_layout.pageSize().height() * m_zoom) + kPageGap;
    const int first = std::max(0, (event->rect().top() - kPageGap) / pageHeight);
    const int last = std::min(m_layout.pageCount() - 1, event->rect().bottom() / pageHeight);
    for (int page = first; page <= last; ++page) {
        const QRect rect = pageRect(page);
        if (!rect.intersects(event->rect()))
            continue;
        painter.fillRect(rect.translated(3, 3), QColor(0x50, 0x50, 0x50));
        painter.fillRect(rect, Qt::white);
        painter.save();
        painter.setClipRect(rect);
        painter.translate(rect.topLeft());
        painter.scale(m_zoom, m_zoom);
        m_layout.paintPage(painter, page);
        painter.restore();
        m_lastPainted << page;
    }
}

// ---------------------------------------------------------------------------------------------

DocumentViewer::DocumentViewer(std::shared_ptr<const Document> document, Prompts& prompts,
                               DocumentOpener& opener, QWidget* parent)
    : QMainWindow(parent), m_document(std::move(document)),
      m_layout(std::make_unique<PageLayout>(*m_document)), m_prompts(prompts), m_opener(opener)
{
    setObjectName(QStringLiteral("documento"));
    const QString title = m_document->title();
    setWindowTitle(title.isEmpty() ? kTitle : title);

    m_print = new QAction(QStringLiteral("&Stampa..."), this);
    m_print->setShortcut(QKeySequence::Print);
    m_save = new QAction(QStringLiteral("Salva &come..."), this);
    m_save->setShortcut(QKeySequence::SaveAs);
    m_open = new QAction(QStringLiteral("&Apri con l'elaboratore di testi"), this);
    auto* close = new QAction(QStringLiteral("&Chiudi"), this);
    close->setShortcut(QKeySequence::Close);
    connect(m_print, &QAction::triggered, this, &DocumentViewer::printDocument);
    connect(m_save, &QAction::triggered, this, &DocumentViewer::saveAs);
    connect(m_open, &QAction::triggered, this, &DocumentViewer::openInWordProcessor);
    connect(close, &QAction::triggered, this, &QWidget::close);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(m_print);
    file->addAction(m_save);
    file->addAction(m_open);
    file->addSeparator();
    file->addAction(close);
    QToolBar* tools = addToolBar(QStringLiteral("Documento"));
    tools->setObjectName(QStringLiteral("strumenti"));
    tools->addAction(m_print);
    tools->addAction(m_save);
    tools->addAction(m_open);

    m_pages = new DocumentPagesView(*m_layout);
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_pages);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->verticalScrollBar()->setSingleStep(40);
    setCentralWidget(m_scroll);

    m_status = new QLabel;
    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(200);
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_progress);

    // Keys that scroll the pages wherever the focus is in the window.
    auto scrollKey = [this](const QKeySequence& key, const char* name, auto&& move) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, move);
        addAction(action);
    };
    QScrollBar* bar = m_scroll->verticalScrollBar();
    scrollKey(QKeySequence(Qt::CTRL | Qt::Key_Home), "inizio",
              [bar] { bar->setValue(bar->minimum()); });
    scrollKey(QKeySequence(Qt::CTRL | Qt::Key_End), "fine",
              [bar] { bar->setValue(bar->maximum()); });
    scrollKey(QKeySequence(Qt::Key_PageUp), "paginaPrecedente",
              [bar] { bar->triggerAction(QAbstractSlider::SliderPageStepSub); });
    scrollKey(QKeySequence(Qt::Key_PageDown), "paginaSeguente",
              [bar] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); });

    fitToScreen();

    // The first slice now, so that the first page is there when the window shows.
    paginateSlice();
}

DocumentViewer::~DocumentViewer() = default;

void DocumentViewer::fitToScreen()
{
    // A whole page wide and as tall as the screen allows, frame and title bar included, so
    // that a 1366 x 768 screen shows the whole window with its status line.
    const QSizeF page = m_layout->pageSize() * m_pages->zoom();
    QSize wanted(qRound(page.width()) + 80, std::min(900, qRound(page.height()) + 120));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        resize(wanted);
        return;
    }
    const QRect room = screen->availableGeometry();
    constexpr int kFrame = 40; // title bar and borders the window manager adds
    wanted = wanted.boundedTo(QSize(room.width() - 16, room.height() - kFrame));
    resize(wanted);
    // At the right edge of the screen: the working window that asked for the printout keeps
    // its left part and its hint in view where the screen is wide enough.
    move(room.right() - wanted.width() - 8, room.top());
}

bool DocumentViewer::isPaginated() const
{
    return m_layout->isComplete();
}

int DocumentViewer::pageCount() const
{
    return m_layout->pageCount();
}

void DocumentViewer::paginateSlice()
{
    const bool done = m_layout->paginateSome(kSliceBudget);
    m_pages->pagesChanged();
    updateStatus();
    if (done)
        Q_EMIT paginationFinished(m_layout->pageCount());
    else
        QTimer::singleShot(0, this, &DocumentViewer::paginateSlice);
}

void DocumentViewer::paginateNow()
{
    if (m_layout->isComplete())
        return;
    m_layout->paginateAll();
    m_pages->pagesChanged();
    updateStatus();
    Q_EMIT paginationFinished(m_layout->pageCount());
}

void DocumentViewer::updateStatus()
{
    const int pages = m_layout->pageCount();
    if (m_layout->isComplete()) {
        m_status->setText(pages == 1 ? QStringLiteral("1 pagina")
                                     : QStringLiteral("%1 pagine").arg(pages));
        m_progress->hide();
    } else {
        m_status->setText(QStringLiteral("Impaginazione in corso: %1 pagine finora...").arg(pages));
        m_progress->setValue(qRound(m_layout->progress() * 1000));
        m_progress->show();
    }
}

QImage DocumentViewer::renderPage(int index, double dotsPerPoint) const
{
    const QSizeF size = m_layout->pageSize() * dotsPerPoint;
    QImage image(qRound(size.width()), qRound(size.height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(dotsPerPoint, dotsPerPoint);
    m_layout->paintPage(painter, index);
    return image;
}

void DocumentViewer::printDocument()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!m_prompts.choosePrinter(printer))
        return;
    if (!urbaflux::printDocument(*m_document, printer))
        m_prompts.inform(
            MessageIcon::Critical, kTitle,
            QStringLiteral("Impossibile stampare il documento \"%1\".").arg(windowTitle()));
}

QString DocumentViewer::suggestedName() const
{
    QString name = m_document->title();
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    name.replace(unsafe, QStringLiteral(" "));
    name = name.simplified().left(60);
    return name.isEmpty() ? QStringLiteral("documento") : name;
}

void DocumentViewer::saveAs()
{
    if (m_saving)
        return;
    FileRequest request;
    request.title = QStringLiteral("Salva come");
    request.filter = documentFilters();
    request.selectedFilter = 1;
    const QString defaultExtension = QLatin1Char('.') + documentFormats().front().extension;
    request.fileName = suggestedName() + defaultExtension;
    QString path = m_prompts.saveFile(request);
    if (path.isEmpty())
        return;
    if (!hasDocumentExtension(path))
        path += defaultExtension;
    startSave(path);
}

void DocumentViewer::startSave(const QString& path, std::function<void()> whenSaved)
{
    m_saving = true;
    m_save->setEnabled(false);
    m_open->setEnabled(false);
    statusBar()->showMessage(
        QStringLiteral("Salvataggio di %1 in corso...").arg(QDir::toNativeSeparators(path)));
    auto result = std::make_shared<DocumentSaveResult>();
    std::shared_ptr<const Document> document = m_document;
    QThread* worker =
        QThread::create([document, path, result] { *result = saveDocument(*document, path); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, result, whenSaved] {
        m_saving = false;
        m_save->setEnabled(true);
        m_open->setEnabled(true);
        statusBar()->clearMessage();
        if (!result->ok)
            m_prompts.inform(MessageIcon::Critical, kTitle, result->error);
        else if (whenSaved)
            whenSaved();
        Q_EMIT saveFinished(result->ok);
    });
    worker->start();
}

void DocumentViewer::openInWordProcessor()
{
    if (m_saving)
        return;
    // One folder for the whole run: the word processor may still be reading a file when its
    // viewer closes.
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/urbaflux-XXXXXX"));
    if (!folder.isValid()) {
        m_prompts.inform(MessageIcon::Critical, kTitle,
                         QStringLiteral("Impossibile creare una cartella temporanea per il "
                                        "documento."));
        return;
    }
    QString path = folder.filePath(suggestedName() + QStringLiteral(".docx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(suggestedName() + QStringLiteral(" (%1).docx").arg(n));
    // Written on the worker thread, as "Salva come..." writes: a long table takes a second.
    startSave(path, [this, path] {
        if (!m_opener.open(path))
            m_prompts.inform(MessageIcon::Exclamation, kTitle,
                             QStringLiteral("Nessun elaboratore di testi ha potuto aprire il "
                                            "documento \"%1\". Il file resta salvato lì.")
                                 .arg(QDir::toNativeSeparators(path)));
    });
}

// ---------------------------------------------------------------------------------------------

DocumentViewerSink::DocumentViewerSink(Prompts& prompts, DocumentOpener* opener)
    : m_prompts(prompts), m_opener(opener ? opener : &m_desktop)
{
}

DocumentViewerSink::~DocumentViewerSink()
{
    for (const QPointer<DocumentViewer>& viewer : std::as_const(m_viewers))
        delete viewer.data();
}

void DocumentViewerSink::present(std::unique_ptr<Document> document)
{
    if (!document)
        return;
    auto* viewer = new DocumentViewer(std::shared_ptr<const Document>(std::move(document)),
                                      m_prompts, *m_opener);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    m_viewers.removeAll(nullptr);
    m_viewers << viewer;
    viewer->show();
    viewer->raise();
}

QList<DocumentViewer*> DocumentViewerSink::viewers() const
{
    QList<DocumentViewer*> result;
    for (const QPointer<DocumentViewer>& viewer : m_viewers) {
        if (viewer)
            result << viewer.data();
    }
    return result;
}

} // namespace urbaflux
