// Through the five windows to a filled title page, saved as a title-page archive and as a
// complete archive, and both reopened into a fresh run: the complete archive of two areas
// holds its eleven records, fills every window again, and is written back byte for byte.

#include "completearchive.h"
#include "datiaree.h"
#include "distanze.h"
#include "frontespizio.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

QWidget* makeWindow(WindowId id, AppContext& context)
{
    return sequenceNumber(id) > 0 ? createWindow(id, context) : new QWidget;
}

QLineEdit* box(QWidget* window, const QString& name)
{
    return window->findChild<QLineEdit*>(name);
}

void typeInto(QLineEdit* edit, const QString& text)
{
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWalkTitlePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void walk();
};

void TestWalkTitlePage::walk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString titleFile = dir.filePath(QStringLiteral("Urbaflux-fro-studio"));
    const QString completeFile = dir.filePath(QStringLiteral("Urbaflux-tot-studio"));
    const QStringList texts{QStringLiteral("Piano, servizi"), QStringLiteral("Nord e Sud"),
                            QStringLiteral("analisi estiva"), QStringLiteral("Comune"),
                            QStringLiteral("Regione"),        QStringLiteral("Roma"),
                            QStringLiteral("8 dic 2026"),     QStringLiteral("tavole 1-3")};
    QStringList interactions;
    {
        WindowTestFixture f(&makeWindow);
        auto* menu = f.show<Menu>(WindowId::Menu);
        QTest::mouseClick(menu->modelOption(3), Qt::LeftButton);
        typeInto(box(menu, QStringLiteral("tipoor")), QStringLiteral("residenti"));
        typeInto(box(menu, QStringLiteral("tipode")), QStringLiteral("posti di lavoro"));
        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        auto* areas = f.window<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas);
        const QStringList names{QStringLiteral("Nord"), QStringLiteral("Sud")};
        for (int r = 1; r <= 2; ++r) {
            typeInto(box(areas, QStringLiteral("nome_%1").arg(r)), names[r - 1]);
            typeInto(box(areas, QStringLiteral("origine_%1").arg(r)), QStringLiteral("100"));
            typeInto(box(areas, QStringLiteral("destinazione_%1").arg(r)), QStringLiteral("1"));
        }
        QTest::mouseClick(areas->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        auto* distances = f.window<Distanze>(WindowId::Distanze);
        QVERIFY(distances);
        for (int r = 1; r <= 4; ++r)
            typeInto(box(distances, QStringLiteral("distanza_%1").arg(r)), QString::number(r * 10));
        for (int r = 1; r <= 4; ++r)
            interactions
                << distances->findChild<QLabel*>(QStringLiteral("interazioni_%1").arg(r))->text();
        UF_VERIFY_PROMPTS(f.prompts);
        distances->toolbarAction(12)->trigger();
        auto* page = f.window<Frontespizio>(WindowId::Frontespizio);
        QVERIFY(page && page->isVisible());
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            typeInto(page->box(i), texts[i]);
        QCOMPARE(page->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli "
                                                   "o stampare la relazione completa"));

        f.prompts.expectSaveFile(titleFile);
        page->menuAction(QStringLiteral("mnuSalva"))->trigger();
        f.prompts.expectSaveFile(completeFile);
        page->menuAction(QStringLiteral("mnuSalvaTutto"))->trigger();
        QVERIFY(f.prompts.verifyDone());
    }
    const QByteArray written = readAll(completeFile);
    QCOMPARE(written.count("\r\n"), 11);
    // What urbaflux-calc and "&tutti i dati" read gives the same bytes again.
    {
        const Parsed<CompleteRecord> parsed = parseCompleteBytes(written, completeFile);
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        auto state = std::make_unique<ProjectState>();
        TitlePage read;
        applyComplete(*parsed.value, *state, read);
        QCOMPARE(writeCompleteBytes(*state, read), written);
    }

    // A fresh run: the complete archive into every window.
    WindowTestFixture g(&makeWindow);
    auto* menu = g.show<Menu>(WindowId::Menu);
    g.prompts.expectOpenFile(completeFile);
    menu->menuAction(QStringLiteral("mnuApriTutti"))->trigger();
    UF_VERIFY_PROMPTS(g.prompts);
    QVERIFY(menu->modelOption(3)->isChecked());
    QCOMPARE(box(menu, QStringLiteral("tipode"))->text(), QStringLiteral("posti di lavoro"));
    auto* areas = g.window<DatiAree>(WindowId::DatiAree);
    QVERIFY(areas && !areas->isVisible());
    QCOMPARE(box(areas, QStringLiteral("nome_2"))->text(), QStringLiteral("Sud"));
    auto* distances = g.window<Distanze>(WindowId::Distanze);
    QVERIFY(distances);
    QCOMPARE(box(distances, QStringLiteral("distanza_4"))->text(), QStringLiteral("40"));
    for (int r = 1; r <= 4; ++r)
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("interazioni_%1").arg(r))->text(),
                 interactions[r - 1]);
    auto* page = g.window<Frontespizio>(WindowId::Frontespizio);
    QVERIFY(page && !page->isVisible());
    for (int i = 0; i < TitlePage::kFieldCount; ++i)
        QCOMPARE(page->box(i)->text(), texts[i]);

    // Saved again from the fresh run, the complete archive is the same file.
    const QString again = dir.filePath(QStringLiteral("Urbaflux-tot-ancora"));
    g.prompts.expectSaveFile(again);
    page->menuAction(QStringLiteral("mnuSalvaTutto"))->trigger();
    UF_VERIFY_PROMPTS(g.prompts);
    QCOMPARE(readAll(again), written);

    // And the title-page archive into a title page cleared first.
    g.prompts.expectMessage(MessageAnswer::Yes); // "Cancellare tutti i dati della finestra?"
    page->toolbarAction(21)->trigger();
    // The texts cleared differ from those saved: opening over them asks first.
    g.prompts.expectMessage(MessageAnswer::Discard);
    g.prompts.expectOpenFile(titleFile);
    page->menuAction(QStringLiteral("mnuApri"))->trigger();
    QVERIFY(g.prompts.verifyDone());
    QCOMPARE(page->titlePage().progetto, texts[0]);
    QCOMPARE(page->titlePage().allegati, texts[7]);
}

QTEST_MAIN(TestWalkTitlePage)
#include "tst_walk_titlepage.moc"
