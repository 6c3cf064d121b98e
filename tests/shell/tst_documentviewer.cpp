// The document viewer: its pages painted offscreen, pagination in slices, and its three
// commands answered by scripted prompts.

#include "../report/sampledocuments.h"
#include "documentrecorder.h"
#include "documentviewer.h"
#include "documentwriter.h"
#include "scriptedprompts.h"

#include <QFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace urbaflux;

namespace {

class RecordingOpener : public DocumentOpener
{
public:
    bool answer = true;
    QStringList opened;
    bool open(const QString& path) override
    {
        opened << path;
        return answer;
    }
};

std::shared_ptr<const Document> distances(int rows)
{
    DocumentWriter writer;
    samples::buildDistancesPrintout(writer, rows);
    return std::shared_ptr<const Document>(writer.takeDocument());
}

QByteArray head(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

int countColour(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

} // namespace

class TestDocumentViewer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void paintsThePagesOffscreen()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(301), prompts, opener);
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Urbaflux"));
        viewer.paginateNow();
        QVERIFY(viewer.pageCount() >= 4);

        const QImage first = viewer.renderPage(0, 1.0);
        QCOMPARE(first.size(), QSize(595, 842));
        // Heading row shaded, banded rows, and black text somewhere on the page.
        QVERIFY(countColour(first, QColor(0x1F, 0x4E, 0x79)) > 200);
        QVERIFY(countColour(first, QColor(0xDC, 0xE8, 0xF4)) > 1000);
        int dark = 0;
        for (int y = 0; y < first.height(); ++y)
            for (int x = 0; x < first.width(); ++x)
                dark += qGray(first.pixel(x, y)) < 80;
        QVERIFY(dark > 500);
        // Margins stay blank.
        for (int y = 0; y < 842; y += 7)
            QCOMPARE(first.pixelColor(10, y), QColor(Qt::white));

        // The window, grabbed as the user sees it, shows the first page.
        viewer.resize(700, 600);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QImage shown = viewer.grab().toImage();
        QVERIFY(countColour(shown, QColor(0x1F, 0x4E, 0x79)) > 100);
        QVERIFY(!viewer.pagesView()->lastPainted().isEmpty());
        QCOMPARE(viewer.pagesView()->lastPainted().first(), 0);
        QVERIFY(viewer.pagesView()->lastPainted().size() <= 2);
        QVERIFY(prompts.verifyDone());
    }

    void paintsOnlyThePagesInView()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(2001), prompts, opener);
        viewer.paginateNow();
        viewer.resize(700, 600);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        auto* scroll = viewer.findChild<QScrollArea*>();
        QVERIFY(scroll);
        const QRect target = viewer.pagesView()->pageRect(20);
        scroll->ensureVisible(target.center().x(), target.top() + 100, 0, 0);
        viewer.pagesView()->repaint();
        const QList<int> painted = viewer.pagesView()->lastPainted();
        QVERIFY(!painted.isEmpty());
        QVERIFY2(painted.contains(20) || painted.contains(19),
                 qPrintable(QString::number(painted.first())));
        QVERIFY(painted.size() <= 2);
    }

    // The whole window fits the screen it opens on, and the keys of a reader scroll it.
    void fitsTheScreenAndScrollsByKeys()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(2001), prompts, opener);
        viewer.paginateNow();
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QRect room = viewer.screen()->availableGeometry();
        QVERIFY2(room.contains(viewer.geometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                  .arg(viewer.width())
                                                                  .arg(viewer.height())
                                                                  .arg(room.width())
                                                                  .arg(room.height())));
        QVERIFY(viewer.height() <= room.height() - 40); // room for the title bar

        QScrollBar* bar = viewer.findChild<QScrollArea*>()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QWidget* focus = viewer.findChild<QToolBar*>()->widgetForAction(viewer.printAction());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(focus, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(focus, Qt::Key_PageDown);
        QCOMPARE(bar->value(), bar->pageStep());
        QTest::keyClick(focus, Qt::Key_PageUp);
        QCOMPARE(bar->value(), 0);
    }

    void paginatesInSlices()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        auto document = distances(10001);
        DocumentViewer viewer(document, prompts, opener);
        // The first pages are there at once; the rest comes while the window is usable.
        QVERIFY(viewer.pageCount() >= 1);
        QVERIFY(!viewer.isPaginated());
        QSignalSpy finished(&viewer, &DocumentViewer::paginationFinished);
        QVERIFY(finished.wait(30000));
        QVERIFY(viewer.isPaginated());
        PageLayout whole(*document);
        whole.paginateAll();
        QCOMPARE(viewer.pageCount(), whole.pageCount());
        QCOMPARE(finished.first().first().toInt(), whole.pageCount());
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("docx") << QStringLiteral("stampa.docx") << QStringLiteral("stampa.docx")
                              << QByteArray("PK");
        QTest::newRow("odt") << QStringLiteral("stampa.odt") << QStringLiteral("stampa.odt")
                             << QByteArray("PK\x03\x04");
        QTest::newRow("pdf") << QStringLiteral("stampa.pdf") << QStringLiteral("stampa.pdf")
                             << QByteArray("%PDF");
        QTest::newRow("no extension")
            << QStringLiteral("stampa") << QStringLiteral("stampa.docx") << QByteArray("PK");
    }
    void saveAs()
    {
        QFETCH(QString, name);
        QFETCH(QString, saved);
        QFETCH(QByteArray, magic);
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(31), prompts, opener);
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        prompts.expectSaveFile(folder + QLatin1Char('/') + name);
        QSignalSpy finished(&viewer, &DocumentViewer::saveFinished);
        viewer.saveAction()->trigger();
        QVERIFY(prompts.verifyDone());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(head(folder + QLatin1Char('/') + saved, magic.size()), magic);
        const FileRequest request = prompts.fileRequests().first();
        QCOMPARE(request.filter,
                 QStringLiteral("Documento Word (*.docx)|*.docx|Documento OpenDocument "
                                "(*.odt)|*.odt|Documento PDF (*.pdf)|*.pdf"));
        QCOMPARE(request.fileName, QStringLiteral("Urbaflux.docx"));
    }

    void saveCancelledOrFailing()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(11), prompts, opener);
        prompts.expectSaveFile(QString());
        QSignalSpy finished(&viewer, &DocumentViewer::saveFinished);
        viewer.saveAs();
        QVERIFY(prompts.verifyDone());
        QVERIFY(!viewer.isSaving());

        const QString blocker = m_dir.filePath(QStringLiteral("file"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        prompts.expectSaveFile(blocker + QStringLiteral("/stampa.docx"));
        prompts.expectMessage();
        viewer.saveAs();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(prompts.verifyDone());
        QCOMPARE(prompts.lastMessage().icon, MessageIcon::Critical);
        QVERIFY(prompts.lastMessage().text.contains(QStringLiteral("stampa.docx")));
    }

    void opensInTheWordProcessor()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(11), prompts, opener);
        QSignalSpy finished(&viewer, &DocumentViewer::saveFinished);
        viewer.openAction()->trigger();
        // The file is written on the worker thread: the window goes on meanwhile, and the
        // word processor gets the file once it is complete.
        QVERIFY(viewer.isSaving());
        QVERIFY(!viewer.openAction()->isEnabled());
        QCOMPARE(opener.opened.size(), 0);
        QVERIFY(finished.wait(10000));
        QVERIFY(prompts.verifyDone());
        QCOMPARE(opener.opened.size(), 1);
        QVERIFY(opener.opened.first().endsWith(QStringLiteral(".docx")));
        QCOMPARE(head(opener.opened.first(), 2), QByteArray("PK"));

        // No program took it: the user is told where the file is.
        opener.answer = false;
        prompts.expectMessage();
        viewer.openInWordProcessor();
        QVERIFY(finished.wait(10000));
        QVERIFY(prompts.verifyDone());
        QCOMPARE(opener.opened.size(), 2);
        QVERIFY(opener.opened[0] != opener.opened[1]);
        QCOMPARE(prompts.lastMessage().icon, MessageIcon::Exclamation);
    }

    void printCancelled()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewer viewer(distances(11), prompts, opener);
        prompts.expectPrinter(false);
        viewer.printAction()->trigger();
        QVERIFY(prompts.verifyDone());
        QCOMPARE(prompts.printerRequests(), 1);
    }

    void eachDocumentOpensItsOwnWindow()
    {
        ScriptedPrompts prompts;
        RecordingOpener opener;
        DocumentViewerSink sink(prompts, &opener);
        DocumentWriter writer;
        writer.StartDocument();
        writer.TypeText(QStringLiteral("Primo") + samples::cr());
        sink.present(writer.takeDocument());
        writer.StartDocument();
        writer.TypeText(samples::cr() + QStringLiteral("Secondo"));
        sink.present(writer.takeDocument());
        const QList<DocumentViewer*> viewers = sink.viewers();
        QCOMPARE(viewers.size(), 2);
        QCOMPARE(viewers[0]->windowTitle(), QStringLiteral("Primo"));
        QCOMPARE(viewers[1]->windowTitle(), QStringLiteral("Secondo"));
        QVERIFY(viewers[0]->isVisible() && viewers[1]->isVisible());
        viewers[0]->close();
        QTRY_COMPARE(sink.viewers().size(), 1);
    }
};

QTEST_MAIN(TestDocumentViewer)
#include "tst_documentviewer.moc"
