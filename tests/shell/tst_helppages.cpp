// The help contents, the twelve help pages and their printouts, through their widgets.

#include "document.h"
#include "frmtipurbaflux.h"
#include "helppage.h"
#include "helptexts.h"
#include "sommario.h"
#include "windowtestfixture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

QRect screenGeometry()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// The words of a PDF with their boxes in points, as pdftotext reads them back.
struct PdfWord
{
    QString text;
    double xMin = 0;
    double yMin = 0;
    double yMax = 0;
};

QList<PdfWord> pdfWords(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
        words.append({m.captured(4).replace(QStringLiteral("&apos;"), QStringLiteral("'")),
                      m.captured(1).toDouble(), m.captured(2).toDouble(),
                      m.captured(3).toDouble()});
    }
    return words;
}

// The printed lines: words of one line joined by a blank, lines top to bottom, with the x of
// each line's first word and its height.
struct PdfLine
{
    QString text;
    double x = 0;
    double height = 0;
};

QList<PdfLine> pdfLines(const QList<PdfWord>& words)
{
    QList<PdfLine> lines;
    double lastTop = -1000;
    for (const PdfWord& w : words) {
        if (qAbs(w.yMin - lastTop) > 2 || lines.isEmpty()) {
            lines.append({w.text, w.xMin, w.yMax - w.yMin});
            lastTop = w.yMin;
        } else {
            lines.last().text += QLatin1Char(' ') + w.text;
        }
    }
    return lines;
}

void clickHelpLink(WindowFrame* w)
{
    auto* corner = qobject_cast<QMenuBar*>(w->menuBar()->cornerWidget(Qt::TopRightCorner));
    QVERIFY(corner);
    QTest::mouseClick(corner, Qt::LeftButton, {},
                      corner->actionGeometry(w->helpLinkAction()).center());
}

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contentsWindow()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QVERIFY(s);
        QCOMPARE(s->windowTitle(), QStringLiteral("Guida in linea: sommario"));
        const QStringList expected = {QStringLiteral(" Manuale d'uso rapido"),
                                      QStringLiteral(" Funzionamento del programma"),
                                      QStringLiteral(" Archivio dati"),
                                      QStringLiteral(" Scelta del modello"),
                                      QStringLiteral(" Origine e destinazione vincolate"),
                                      QStringLiteral(" Destinazione vincolata"),
                                      QStringLiteral(" Origine vincolata"),
                                      QStringLiteral(" Tipologia delle interazioni"),
                                      QStringLiteral(" Distanze tra le aree"),
                                      QStringLiteral(" Risultati del calcolo"),
                                      QStringLiteral(" Grafici dei risultati"),
                                      QStringLiteral(" Frontespizio per la relazione"),
                                      QStringLiteral(" Suggerimento del giorno")};
        for (int i = 1; i <= 13; ++i) {
            QCOMPARE(s->label(i)->text(), expected[i - 1]);
            QCOMPARE(s->pulsante(i)->text(), QStringLiteral("--->"));
            QVERIFY(!s->label(i)->font().bold());
        }
        QCOMPARE(s->cmdchiudi()->text(), QStringLiteral("&Chiudi"));
        QCOMPARE(s->cmdchiudi()->toolTip(), QStringLiteral("cliccare per chiudere la finestra"));
        QCOMPARE(s->cmdstampa()->text(), QStringLiteral("&Stampa"));
        QCOMPARE(s->cmdstampa()->toolTip(),
                 QStringLiteral("cliccare per avere la copia su carta del sommario"));
        QCOMPARE(s->cmdesci()->text(), QStringLiteral("&USCITA"));
        QCOMPARE(s->cmdesci()->toolTip(), QStringLiteral("cliccare per uscire da Urbaflux"));
        // 3975 x 6825 twips, one eighth of the screen in from the left and the top.
        // (Outer sizes: the offscreen platform draws a frame of its own.)
        QCOMPARE(s->frameGeometry().size(), QSize(265, 455));
        QCOMPARE(s->frameGeometry().topLeft(),
                 QPoint(screenGeometry().width() / 8, screenGeometry().height() / 8));
        // The resizer scales from the design layout (265 x 455 inside, "&USCITA" at 178, 410).
        s->resize(2 * 265, 455);
        QCOMPARE(s->cmdesci()->geometry().topLeft(), QPoint(2 * 178, 410));
        QCOMPARE(s->cmdesci()->geometry().width(), 2 * 79);
    }

    void hoverMovesTheBoldAndKeepsTheLast()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        auto boldOnes = [s] {
            QList<int> bold;
            for (int i = 1; i <= Sommario::kEntries; ++i) {
                if (s->label(i)->font().bold())
                    bold.append(i);
            }
            return bold;
        };
        QTest::mouseMove(s->label(3)); // " Archivio dati"
        QCOMPARE(boldOnes(), QList<int>{3});
        QTest::mouseMove(s->label(9));
        QCOMPARE(boldOnes(), QList<int>{9});
        QTest::mouseMove(s->cmdchiudi()); // off every entry
        QTest::mouseMove(s->pulsante(2));
        QCOMPARE(boldOnes(), QList<int>{9});
    }

    void pressOnALabelOpensWithoutRelease()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QLabel* tips = s->label(13);
        QCOMPARE(tips->frameShape(), QFrame::Box);
        QTest::mousePress(tips, Qt::LeftButton);
        auto* window = f.window<FrmTipUrbaflux>(WindowId::TipUrbaflux);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(tips->frameShape(), QFrame::NoFrame); // pressed look until the release
        QTest::mouseRelease(tips, Qt::LeftButton);
        QCOMPARE(tips->frameShape(), QFrame::Box);
        QVERIFY(f.prompts.verifyDone());
    }

    void eachEntryOpensItsTarget_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 1; i <= Sommario::kEntries; ++i)
            QTest::newRow(qPrintable(Sommario::entryText(i))) << i;
    }
    void eachEntryOpensItsTarget()
    {
        QFETCH(int, index);
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QTest::mouseClick(s->pulsante(index), Qt::LeftButton);
        const WindowId target = Sommario::entryTarget(index);
        QWidget* opened = f.windows.existing(target);
        QVERIFY(opened);
        QVERIFY(opened->isVisible());
        if (index == 13) {
            QVERIFY(qobject_cast<FrmTipUrbaflux*>(opened));
            return;
        }
        QCOMPARE(helpPages().at(index - 1), target); // the contents follow the pages' order
        QCOMPARE(qobject_cast<HelpPage*>(opened)->title(), helpPageTitle(target));
        QVERIFY(s->isVisible()); // the contents stay open beside the page
    }

    void chiudiHidesTheContentsAsTheyWere()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QPointer<Sommario> s = f.show<Sommario>(WindowId::Sommario);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QTest::mouseMove(s->label(4));
        QTest::mouseClick(s->cmdchiudi(), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QVERIFY(f.windows.isLoaded(WindowId::Sommario));
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        QTest::mouseClick(menu->button(WindowFrame::Button::CmdGuida), Qt::LeftButton);
        QCOMPARE(f.window<Sommario>(WindowId::Sommario), s.data());
        QVERIFY(s->isVisible());
        QVERIFY(s->label(4)->font().bold());
    }

    void uscitaAsksAndUnloadsEveryHelpWindow()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);
        QTest::mouseClick(s->pulsante(1), Qt::LeftButton);
        QTest::mouseClick(s->pulsante(13), Qt::LeftButton);
        f.windows.showWindow(WindowId::Informa);

        f.prompts.expectMessage(MessageAnswer::No);
        QTest::mouseClick(s->cmdesci(), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text, QStringLiteral("Vuoi uscire da Urbaflux?"));
        QCOMPARE(f.windows.loadedWindows(),
                 (QList<WindowId>{WindowId::Sommario, WindowId::Manuale, WindowId::TipUrbaflux,
                                  WindowId::Informa}));

        f.prompts.expectMessage(MessageAnswer::Yes);
        QTest::mouseClick(s->cmdesci(), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.windows.loadedWindows(), QList<WindowId>{WindowId::Splash});
        WindowTestFixture::flushDeletes();
        QVERIFY(f.prompts.verifyDone());
    }

    void contentsPrintout()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the printout back");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sommario.pdf"));
        WindowTestFixture f(&makeRecordingWindow);
        auto* s = f.show<Sommario>(WindowId::Sommario);

        f.prompts.expectPrinter(false, pdf);
        QTest::mouseClick(s->cmdstampa(), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(!QFile::exists(pdf)); // cancelled: nothing printed

        f.prompts.expectPrinter(true, pdf);
        QTest::mouseClick(s->cmdstampa(), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.printerRequests(), 2);

        const QList<PdfLine> lines = pdfLines(pdfWords(pdf));
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines[0].text, QStringLiteral("Urbaflux - modelli gravitazionali urbanistici"));
        for (int i = 1; i <= 13; ++i)
            QCOMPARE(lines[i].text, Sommario::entryText(i).mid(1));

        // Columns in character cells of Courier (0.6 em wide): the heading from column 7 at
        // 18 points, the entries from column 10 at 12 points, their leading blank included.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        const double margin = printer.pageLayout().margins(QPageLayout::Point).left();
        QVERIFY(qAbs(lines[0].x - (margin + 6 * 0.6 * 18)) < 1.0);
        for (int i = 1; i <= 13; ++i)
            QVERIFY2(qAbs(lines[i].x - (margin + 10 * 0.6 * 12)) < 1.0,
                     qPrintable(QString::number(lines[i].x)));
        QVERIFY(qAbs(lines[0].height / lines[1].height - 1.5) < 0.05);
        // Between the heading and the first entry: the heading's line and three empty lines at
        // 12 points; between two entries, an empty line.
        const QList<PdfWord> words = pdfWords(pdf);
        auto topOf = [&words](const QString& text) {
            for (const PdfWord& w : words) {
                if (w.text == text)
                    return w.yMin;
            }
            return -1.0;
        };
        const double entryStep =
            topOf(QStringLiteral("Funzionamento")) - topOf(QStringLiteral("Manuale"));
        const double lineAt12 = entryStep / 2;
        QVERIFY(lineAt12 > 12 && lineAt12 < 16);
        QVERIFY(qAbs((topOf(QStringLiteral("Archivio")) - topOf(QStringLiteral("Funzionamento"))) -
                     entryStep) < 0.5);
        QVERIFY(topOf(QStringLiteral("Manuale")) - topOf(QStringLiteral("Urbaflux")) >
                3 * lineAt12 + 18);
        QVERIFY(f.prompts.verifyDone());
    }

    void pageWindows_data()
    {
        QTest::addColumn<WindowId>("id");
        for (WindowId id : helpPages())
            QTest::newRow(qPrintable(helpPageName(id))) << id;
    }
    void pageWindows()
    {
        QFETCH(WindowId, id);
        WindowTestFixture f(&makeRecordingWindow);
        auto* page = f.show<HelpPage>(id);
        QVERIFY(page);
        QCOMPARE(page->windowTitle(), QStringLiteral("Guida in linea"));
        QCOMPARE(page->titleLabel()->text(), helpPageTitle(id));
        QCOMPARE(page->title(), helpPageTitle(id));
        QCOMPARE(page->cmdchiudi()->text(), QStringLiteral("&Chiudi"));
        QCOMPARE(page->cmdsommario()->text(), QStringLiteral("&Sommario"));
        QCOMPARE(page->cmdstampa()->text(), QStringLiteral("S&tampa"));
        // Our texts: one paragraph of 1,000 to 2,300 characters each.
        const QString text = page->text();
        QVERIFY2(text.size() >= 1000 && text.size() <= 2300,
                 qPrintable(QString::number(text.size())));
        QVERIFY(!text.contains(QLatin1Char('\n')));
        QCOMPARE(page->textLabel()->text(), text);
        if (id == WindowId::Manuale) {
            QCOMPARE(page->frameGeometry().size(), QSize(640, 455));
            QCOMPARE(page->frameGeometry().topLeft(),
                     QPoint(screenGeometry().width() / 8, screenGeometry().height() / 8));
            QCOMPARE(page->cmdchiudi()->toolTip(),
                     QStringLiteral("cliccare per chiudere la finestra"));
            QCOMPARE(
                page->cmdstampa()->toolTip(),
                QStringLiteral("cliccare per avere la copia su carta del MANUALE D'USO RAPIDO"));
            QCOMPARE(page->cmdsommario()->toolTip(),
                     QStringLiteral("cliccare per tornare al sommario"));
        } else {
            QCOMPARE(page->frameGeometry().size(), QSize(376, 455));
            QCOMPARE(page->frameGeometry().topLeft(), QPoint(364, screenGeometry().height() / 8));
            QVERIFY(page->cmdchiudi()->toolTip().isEmpty());
        }
    }

    void sommarioLeavesThePageOpenAndChiudiUnloadsIt()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QPointer<HelpPage> page = f.show<HelpPage>(WindowId::GuidaArchivio);
        QTest::mouseClick(page->cmdsommario(), Qt::LeftButton);
        auto* s = f.window<Sommario>(WindowId::Sommario);
        QVERIFY(s && s->isVisible());
        QVERIFY(page->isVisible());
        // Opening a page that is open brings the same page to the front.
        QTest::mouseClick(s->pulsante(3), Qt::LeftButton);
        QCOMPARE(f.window<HelpPage>(WindowId::GuidaArchivio), page.data());

        QTest::mouseClick(page->cmdchiudi(), Qt::LeftButton);
        QVERIFY(!f.windows.isLoaded(WindowId::GuidaArchivio));
        WindowTestFixture::flushDeletes();
        QVERIFY(page.isNull());
        QVERIFY(s->isVisible());
    }

    void pagePrintoutKeepsTheTitlesLeadingBlank()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* page = f.show<HelpPage>(WindowId::GuidaScelta);
        QTest::mouseClick(page->cmdstampa(), Qt::LeftButton);
        QCOMPARE(f.documents.count(), 1);
        const Document& doc = *f.documents.last();
        const QStringList paragraphs = DocumentRecorder::paragraphTexts(doc);
        QCOMPARE(paragraphs,
                 (QStringList{QStringLiteral("Urbaflux"),
                              QStringLiteral("modelli gravitazionali urbanistici"), QString(),
                              QString(), QStringLiteral("Guida:  SCELTA DEL MODELLO"), QString(),
                              page->text(), QString()}));
        struct Expected
        {
            int paragraph;
            double size;
        };
        const Expected sizes[] = {{0, 20}, {1, 16}, {4, 16}, {6, 12}};
        int index = 0;
        for (const auto& block : doc.blocks()) {
            const auto* paragraph = std::get_if<Paragraph>(&block);
            QVERIFY(paragraph);
            QCOMPARE(paragraph->alignment, Alignment::Justify);
            for (const Expected& e : sizes) {
                if (e.paragraph != index)
                    continue;
                QCOMPARE(paragraph->runs.size(), size_t(1));
                QCOMPARE(paragraph->runs.front().size, e.size);
                QCOMPARE(paragraph->runs.front().font, QStringLiteral("Century Gothic"));
            }
            ++index;
        }
        QVERIFY(f.prompts.verifyDone());
    }

    void frameLinksOpenTheirPages_data()
    {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("page"); // -1: none
        QTest::newRow("n.1") << WindowId::Menu << 0 << int(WindowId::GuidaScelta);
        QTest::newRow("n.2, no model") << WindowId::DatiAree << 0 << -1;
        QTest::newRow("n.2, model 1") << WindowId::DatiAree << 1 << int(WindowId::GuidaVincolate);
        QTest::newRow("n.2, model 2")
            << WindowId::DatiAree << 2 << int(WindowId::GuidaDestinazione);
        QTest::newRow("n.2, model 3") << WindowId::DatiAree << 3 << int(WindowId::GuidaOrigine);
        QTest::newRow("n.3") << WindowId::Distanze << 1 << int(WindowId::GuidaDistanze);
        QTest::newRow("n.4") << WindowId::Grafici << 2 << int(WindowId::GuidaGrafici);
        QTest::newRow("n.5") << WindowId::Frontespizio << 3 << int(WindowId::GuidaFrontespizio);
    }
    void frameLinksOpenTheirPages()
    {
        QFETCH(WindowId, window);
        QFETCH(int, kind);
        QFETCH(int, page);
        WindowTestFixture f(&makeRecordingWindow);
        f.state.model.kind = kind;
        auto* w = f.show<RecordingWindow>(window);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        clickHelpLink(w);
        if (page < 0) {
            QCOMPARE(f.windows.loadedWindows(), QList<WindowId>{window});
            return;
        }
        auto* opened = f.window<HelpPage>(static_cast<WindowId>(page));
        QVERIFY(opened);
        QVERIFY(opened->isVisible());
        QCOMPARE(opened->titleLabel()->text(), helpPageTitle(static_cast<WindowId>(page)));
    }

    void helpFileFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrapped lines") << QByteArray("Una riga\n  e la sua   \ncontinuazione.\n")
                                       << QStringLiteral("Una riga e la sua continuazione.");
        QTest::newRow("CR LF and a byte order mark")
            << QByteArray("\xEF\xBB\xBFPrima\r\nseconda\r\n") << QStringLiteral("Prima seconda");
        QTest::newRow("empty line keeps a break")
            << QByteArray("Uno.\n\n\nDue.\n") << QStringLiteral("Uno.\r\nDue.");
        QTest::newRow("accents") << QByteArray("Perch\xC3\xA9 s\xC3\xAC")
                                 << QString::fromUtf8("Perché sì");
    }
    void helpFileFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QCOMPARE(helpTextFromFile(file), text);
    }
};

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
