// The model-choice window through its widgets: options, boxes, hint, "Avanti" checks, toolbar
// check and clear, archive commands and printout.

#include "completearchive.h"
#include "datiaree.h"
#include "distanze.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

// The real windows, with a plain widget standing for each help page.
QWidget* makeWindow(WindowId id, AppContext& context)
{
    switch (id) {
    case WindowId::GuidaVincolate:
    case WindowId::GuidaDestinazione:
    case WindowId::GuidaOrigine:
    case WindowId::GuidaInterazioni:
        return new QWidget;
    default:
        return createWindow(id, context);
    }
}

const QString kCheckTitle =
    QStringLiteral("Urbaflux: controllo dati immessi nella finestra attiva (scelta modello)");
const QString kCorrectHint = QStringLiteral(
    "i dati sono formalmente corretti: archiviarli, stamparli o andare Avanti con altri dati");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size();
}

} // namespace

class TestMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowTestFixture> f;
    Menu* menu = nullptr;
    QTemporaryDir dir;

    QLineEdit* box(const char* name) const
    {
        return menu->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    // Replaces the text of a box as the user would: select everything, then type over it.
    void type(const char* name, const QString& text) const
    {
        QLineEdit* edit = box(name);
        QVERIFY(edit);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    void clickOption(int index) const
    {
        QRadioButton* option =
            menu->findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(index));
        QVERIFY(option);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    void clickAvanti() const
    {
        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    }
    void fillEverything() const
    {
        clickOption(2);
        type("tipoor", QStringLiteral("residenti"));
        type("tipode", QStringLiteral("uffici"));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Runs "&tutti i dati" from the File menu.
    void openEverything() const
    {
        auto* action = menu->findChild<QAction*>(QStringLiteral("mnuApriTutti"));
        QVERIFY(action);
        action->trigger();
    }
    // A complete archive of two areas under the origin-constrained model, written by the
    // archive writer from a state of its own.
    QString writeCompleteArchive(const QString& name) const
    {
        auto source = std::make_unique<ProjectState>();
        applyDefaults(*source);
        ModelChoice& m = source->model;
        m.kind = 3;
        m.kindLabel = modelKindLabel(3);
        m.originType = QStringLiteral("residenti");
        m.destinationType = QStringLiteral("negozi");
        m.interactionType = QStringLiteral("acquisti");
        m.unit = QStringLiteral("minuti");
        m.alpha = FieldValue::fromText(QStringLiteral("1.5"));
        AreaTable& a = source->areas;
        a.count = 2;
        a.name[1] = QStringLiteral("Centro");
        a.origin[1] = QStringLiteral("100");
        a.destination[1] = QStringLiteral("40");
        a.name[2] = QStringLiteral("Borgo, nord");
        a.origin[2] = QStringLiteral("50");
        a.destination[2] = QStringLiteral("60");
        buildPairList(*source);
        for (size_t k = 1; k <= 4; ++k)
            source->distances.distance[k] = QString::number(k * 2 + 1);
        TitlePage page;
        page.progetto = QStringLiteral("Piano dei servizi");
        page.allegati = QStringLiteral("tavole 1-3");
        const QString file = path(name);
        return writeCompleteFile(file, *source, page).ok ? file : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // The trash of these tests lives in the temporary folder, in a data folder that does
        // not exist yet, as on a fresh account.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data-home"))));
    }

    void init()
    {
        f = std::make_unique<WindowTestFixture>(&makeWindow);
        menu = f->show<Menu>(WindowId::Menu);
        QVERIFY(menu);
    }

    void cleanup()
    {
        if (!QTest::currentTestFailed())
            QVERIFY(f->prompts.verifyDone());
        f.reset();
    }

    void startsWithDefaultsAndNoModel()
    {
        QCOMPARE(menu->objectName(), QStringLiteral("menu"));
        QCOMPARE(menu->windowTitle(), QStringLiteral("Urbaflux - Scelta del modello di calcolo"));
        QCOMPARE(menu->passoText(), QStringLiteral("scegliere il tipo do modello"));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(!menu->modelOption(i)->isChecked());
        // The keyboard starts on the first step, the model options.
        QCOMPARE(menu->focusWidget(), menu->modelOption(1));
        QCOMPARE(box("tipoor")->text(), QString());
        QCOMPARE(box("tipode")->text(), QString());
        QCOMPARE(box("tipoin")->text(), QStringLiteral("spostamenti degli utenti"));
        QCOMPARE(box("unitamisura")->text(), QStringLiteral("chilometri"));
        QCOMPARE(box("al")->text(), QStringLiteral("2"));
        QCOMPARE(box("sc")->text(), QStringLiteral("0.0001"));
        QVERIFY(f->state.model.alpha == FieldValue::fromNumber(2));
        QVERIFY(f->state.model.tolerance == FieldValue::fromNumber(0.0001));
        QCOMPARE(f->state.model.kind, qint16(0));

        QCOMPARE(menu->modelOption(1)->toolTip(),
                 QStringLiteral("cliccare qui  per optare per il modello a 'origine e "
                                "destinazione vincolate'"));
        auto* memo3 = menu->findChild<QLabel*>(QStringLiteral("Label1_3"));
        QVERIFY(memo3);
        QCOMPARE(memo3->toolTip(), QStringLiteral("breve pro-memoria del modello gravitazionale "
                                                  "a \"origine vincolatra\""));
        auto* label7 = menu->findChild<QLabel*>(QStringLiteral("label7"));
        QVERIFY(label7);
        QCOMPARE(label7->text(), QStringLiteral(" Valore dello scarto nel calcolo (iterazioni)"));
    }

    void avantiWithoutModelAsksForOne()
    {
        f->prompts.expectMessage();
        clickAvanti();
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.title, kCheckTitle);
        QCOMPARE(m.text, QStringLiteral("Scegliere il tipo di modello per il calcolo."));
        QVERIFY(!f->windows.isLoaded(WindowId::DatiAree));
    }

    void modelClickSetsKindCaptionsAndHint_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("origins");
        QTest::addColumn<QString>("destinations");
        QTest::newRow("1") << 1 << QStringLiteral("'origine e destinazione vincolate'")
                           << QStringLiteral("origini") << QStringLiteral("destinazioni");
        QTest::newRow("2") << 2 << QStringLiteral("'destinazione vincolata'")
                           << QStringLiteral("stima origini") << QStringLiteral("destinazioni");
        QTest::newRow("3") << 3 << QStringLiteral("'origine vincolata'")
                           << QStringLiteral("origini") << QStringLiteral("stima destinazioni");
    }
    void modelClickSetsKindCaptionsAndHint()
    {
        QFETCH(int, index);
        QFETCH(QString, label);
        QFETCH(QString, origins);
        QFETCH(QString, destinations);

        clickOption(index);
        QCOMPARE(int(f->state.model.kind), index);
        QCOMPARE(f->state.model.kindLabel, label);
        QVERIFY(menu->modelOption(index)->isChecked());
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(menu->modelOption(i)->isChecked(), i == index);
        QCOMPARE(menu->passoText(), QStringLiteral("digitare la tipologia delle origini"));

        auto* areas = f->window<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas);
        QVERIFY(!areas->isVisible());
        QCOMPARE(areas->windowTitle(),
                 QStringLiteral("Urbaflux: valori delle origini e delle destinazioni (modello a ") +
                     label + QStringLiteral(")"));
        QCOMPARE(areas->findChild<QLabel*>(QStringLiteral("lblorigini"))->text(), origins);
        QCOMPARE(areas->findChild<QLabel*>(QStringLiteral("lbldestinazioni"))->text(),
                 destinations);
        QVERIFY(areas->explanation().length() > 300);

        // Clicking the selected option again keeps it selected.
        clickOption(index);
        QVERIFY(menu->modelOption(index)->isChecked());
    }

    void distancesWindowCaptionFollowsTheModel()
    {
        auto* distances = f->touch<Distanze>(WindowId::Distanze);
        QVERIFY(distances);
        clickOption(3);
        QCOMPARE(distances->windowTitle(),
                 QStringLiteral("Urbaflux: distanze e interazioni tra le aree (modello a "
                                "'origine vincolata')"));
    }

    void hintFollowsTheState_data()
    {
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<QString>("hint");
        QTest::newRow("tipode") << QStringLiteral("tipode")
                                << QStringLiteral("digitare la tipologia delle destinazioni");
        QTest::newRow("tipoin") << QStringLiteral("tipoin")
                                << QStringLiteral(
                                       "digitare la tipologia delle interazioni tra le aree");
        QTest::newRow("unitamisura") << QStringLiteral("unitamisura")
                                     << QStringLiteral("digitare la tipologia della distanza");
        QTest::newRow("al") << QStringLiteral("al")
                            << QStringLiteral("digitare il valore alfa (se non si conoscono altri "
                                              "valori lasciarlo come 2)");
        QTest::newRow("sc does not change it") << QStringLiteral("sc") << kCorrectHint;
    }
    void hintFollowsTheState()
    {
        QFETCH(QString, emptied);
        QFETCH(QString, hint);
        fillEverything();
        QCOMPARE(menu->passoText(), kCorrectHint); // al still shows the untouched default 2
        type(emptied.toLatin1().constData(), QString());
        QCOMPARE(menu->passoText(), hint);
    }

    void boxesWriteTheState()
    {
        type("tipoor", QStringLiteral("abitanti"));
        type("tipoin", QStringLiteral("merci"));
        type("al", QStringLiteral("abc"));
        type("sc", QStringLiteral("0.5x"));
        QCOMPARE(f->state.model.originType, QStringLiteral("abitanti"));
        QCOMPARE(f->state.model.interactionType, QStringLiteral("merci"));
        QVERIFY(f->state.model.alpha == FieldValue::fromText(QStringLiteral("abc")));
        QVERIFY(f->state.model.tolerance == FieldValue::fromNumber(0.5));
        type("sc", QString());
        QVERIFY(f->state.model.tolerance == FieldValue::fromNumber(0));
    }

    void unitFollowsIntoTheDistancesWindow()
    {
        auto* distances = f->touch<Distanze>(WindowId::Distanze);
        QVERIFY(distances);
        type("unitamisura", QStringLiteral("metri"));
        QCOMPARE(f->state.model.unit, QStringLiteral("metri"));
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("metri"));
    }

    // The area window, created by the first model click, resets the model defaults as it
    // loads; the values typed before the click must survive, in the state as on screen.
    void firstModelClickKeepsWhatWasTyped()
    {
        auto* distances = f->touch<Distanze>(WindowId::Distanze);
        type("tipoin", QStringLiteral("merci"));
        type("unitamisura", QStringLiteral("minuti"));
        type("al", QStringLiteral("1.5"));
        type("sc", QStringLiteral("0.01"));
        QVERIFY(!f->windows.isLoaded(WindowId::DatiAree));
        clickOption(1);
        QVERIFY(f->windows.isLoaded(WindowId::DatiAree));
        QCOMPARE(f->state.model.interactionType, QStringLiteral("merci"));
        QCOMPARE(f->state.model.unit, QStringLiteral("minuti"));
        QVERIFY(f->state.model.alpha == FieldValue::fromText(QStringLiteral("1.5")));
        QCOMPARE(f->state.model.tolerance.leadingValue(), 0.01);
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("minuti"));
        // Untouched defaults keep their form: alpha 2 stays a number.
        f->windows.unload(WindowId::DatiAree);
        WindowTestFixture::flushDeletes();
        type("al", QStringLiteral("2"));
        f->state.model.alpha = FieldValue::fromNumber(2);
        f->touch<DatiAree>(WindowId::DatiAree);
        QVERIFY(f->state.model.alpha == FieldValue::fromNumber(2));
        QCOMPARE(f->state.model.unit, QStringLiteral("minuti"));
    }

    void avantiChecksTheBoxesInOrder_data()
    {
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QString>("message");
        QTest::newRow("tipoor") << QStringList{QStringLiteral("tipoor"), QStringLiteral("al")}
                                << QStringLiteral("Digitare la tipologia delle origini.");
        QTest::newRow("tipode") << QStringList{QStringLiteral("tipode"), QStringLiteral("sc")}
                                << QStringLiteral("Digitare la tipologia delle destinazioni.");
        QTest::newRow("tipoin") << QStringList{QStringLiteral("tipoin"),
                                               QStringLiteral("unitamisura")}
                                << QStringLiteral(
                                       "Digitare la tipologia delle interazioni da calcolare.");
        QTest::newRow("al") << QStringList{QStringLiteral("al"), QStringLiteral("sc")}
                            << QStringLiteral("Digitare il valore alfa.");
        QTest::newRow("sc") << QStringList{QStringLiteral("sc"), QStringLiteral("unitamisura")}
                            << QStringLiteral("Digitare il valore dello scarto.");
        QTest::newRow("unitamisura last")
            << QStringList{QStringLiteral("unitamisura")}
            << QStringLiteral("Digitare l'unità di misura delle distanze.");
    }
    void avantiChecksTheBoxesInOrder()
    {
        QFETCH(QStringList, emptied);
        QFETCH(QString, message);
        fillEverything();
        for (const QString& name : emptied)
            type(name.toLatin1().constData(), QString());
        f->prompts.expectMessage();
        clickAvanti();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().text, message);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Question);
        QCOMPARE(f->prompts.lastMessage().title, kCheckTitle);
        QVERIFY(!f->window<DatiAree>(WindowId::DatiAree)->isVisible());
    }

    void onlyEmptinessIsChecked()
    {
        fillEverything();
        type("al", QStringLiteral("abc"));
        type("sc", QStringLiteral("-1"));
        clickAvanti();
        QVERIFY(f->window<DatiAree>(WindowId::DatiAree)->isVisible());
    }

    void toolbarCheckStaysThenAvantiMovesOn()
    {
        fillEverything();
        f->prompts.expectMessage();
        menu->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Information);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("I dati sono stati immessi correttamente."));
        QCOMPARE(f->prompts.lastMessage().title, kCheckTitle);
        QVERIFY(!f->window<DatiAree>(WindowId::DatiAree)->isVisible());
        QCOMPARE(menu->checkOnly(), 0);
        clickAvanti();
        QVERIFY(f->window<DatiAree>(WindowId::DatiAree)->isVisible());
    }

    void failedToolbarCheckKeepsCheckOnly()
    {
        clickOption(1);
        f->prompts.expectMessage();
        menu->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("Digitare la tipologia delle origini."));
        QCOMPARE(menu->checkOnly(), 1);
        type("tipoor", QStringLiteral("a"));
        type("tipode", QStringLiteral("b"));
        f->prompts.expectMessage();
        clickAvanti();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("I dati sono stati immessi correttamente."));
        QVERIFY(!f->window<DatiAree>(WindowId::DatiAree)->isVisible());
        clickAvanti();
        QVERIFY(f->window<DatiAree>(WindowId::DatiAree)->isVisible());
    }

    void clearEmptiesEverything()
    {
        auto* distances = f->touch<Distanze>(WindowId::Distanze);
        fillEverything();
        menu->toolbarAction(21)->trigger();
        for (int i = 1; i <= 3; ++i)
            QVERIFY(!menu->modelOption(i)->isChecked());
        for (const char* name : {"tipoor", "tipode", "tipoin", "unitamisura", "al", "sc"})
            QCOMPARE(box(name)->text(), QString());
        const ModelChoice& model = f->state.model;
        QCOMPARE(model.kind, qint16(0));
        QVERIFY(model.kindLabel.isEmpty());
        QVERIFY(model.originType.isEmpty() && model.destinationType.isEmpty());
        QVERIFY(model.interactionType.isEmpty() && model.unit.isEmpty());
        QVERIFY(model.alpha.isEmpty());
        QCOMPARE(model.tolerance.leadingValue(), 0.0);
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QString());
        QCOMPARE(menu->passoText(), QStringLiteral("scegliere il tipo do modello"));
    }

    // After the exit sequence the state keeps the elaboration; a window loaded again shows it.
    void reloadedWindowShowsTheHeldChoice()
    {
        fillEverything();
        type("al", QStringLiteral("3"));
        f->windows.unload(WindowId::Menu);
        f->windows.unload(WindowId::DatiAree);
        WindowTestFixture::flushDeletes();
        menu = f->show<Menu>(WindowId::Menu);
        QVERIFY(menu);
        QVERIFY(menu->modelOption(2)->isChecked());
        QVERIFY(!menu->modelOption(1)->isChecked());
        QCOMPARE(box("tipoor")->text(), QStringLiteral("residenti"));
        QCOMPARE(box("tipode")->text(), QStringLiteral("uffici"));
        // The defaults come back, on screen and in the state alike.
        QCOMPARE(box("al")->text(), QStringLiteral("2"));
        QVERIFY(f->state.model.alpha == FieldValue::fromNumber(2));
        QCOMPARE(menu->passoText(), kCorrectHint);
    }

    void helpButtonsOpenTheirPages_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("page");
        QTest::newRow("1") << 1 << int(WindowId::GuidaVincolate);
        QTest::newRow("2") << 2 << int(WindowId::GuidaDestinazione);
        QTest::newRow("3") << 3 << int(WindowId::GuidaOrigine);
        QTest::newRow("4") << 4 << int(WindowId::GuidaInterazioni);
    }
    void helpButtonsOpenTheirPages()
    {
        QFETCH(int, index);
        QFETCH(int, page);
        auto* help = menu->findChild<QPushButton*>(QStringLiteral("help_%1").arg(index));
        QVERIFY(help);
        QCOMPARE(help->text(), QStringLiteral("?"));
        QTest::mouseClick(help, Qt::LeftButton);
        for (int id = int(WindowId::Sommario); id <= int(WindowId::GuidaFrontespizio); ++id)
            QCOMPARE(f->windows.isLoaded(WindowId(id)), id == page);
        if (index == 4)
            QCOMPARE(help->toolTip(),
                     QStringLiteral("cliccare per avere informazioni sulle interazioni, sulla "
                                    "distanza, sul valore alfa e sul valore dello scarto"));
    }

    void contextHelpListsTheSteps()
    {
        f->prompts.expectMessage();
        QTest::mouseClick(menu->button(WindowFrame::Button::Aiuto), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.title, QStringLiteral("Urbaflux: aiuto"));
        const QStringList lines = m.text.split(QChar(13));
        QCOMPARE(lines.size(), 12);
        QCOMPARE(lines.first(), QStringLiteral("- Scegliere il modello di calcolo pertinente;"));
        QCOMPARE(lines.last(),
                 QStringLiteral("- (eventuali correzioni vengono segnalate quando si clicca su "
                                "AVANTI)."));
    }

    // --- archive ---

    void saveRefusesIncompleteData()
    {
        clickOption(2);
        f->prompts.expectMessage();
        menu->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Critical);
        QCOMPARE(f->prompts.lastMessage().title, kCheckTitle);
        QCOMPARE(f->prompts.lastMessage().text, QStringLiteral("Inserire prima tutti i dati."));
        QVERIFY(f->prompts.fileRequests().isEmpty());
    }

    void saveWritesOneRecordThenSavesWithoutDialog()
    {
        fillEverything();
        const QString file = path(QStringLiteral("Urbaflux-mod-uno"));
        f->prompts.expectSaveFile(file);
        menu->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().size(), 1);
        const FileRequest request = f->prompts.fileRequests().first();
        QCOMPARE(request.title, QStringLiteral("Salva file (scelta del modello)"));
        QCOMPARE(request.filter, QStringLiteral("File Urbaflux-mod- | Urbaflux-mod-*"));
        QCOMPARE(request.selectedFilter, 1);
        QCOMPARE(request.fileName, QString());
        QCOMPARE(readAll(file),
                 QByteArray("\"residenti\",\"uffici\",\"spostamenti degli utenti\","
                            "\"'destinazione vincolata'\",2,\"2\",\"0.0001\",\"chilometri\"\r\n"));
        QCOMPARE(menu->currentFile(), file);
        // The state now holds the texts that were written.
        QVERIFY(f->state.model.alpha == FieldValue::fromText(QStringLiteral("2")));
        QVERIFY(f->state.model.tolerance == FieldValue::fromText(QStringLiteral("0.0001")));

        type("tipoor", QStringLiteral("turisti"));
        menu->toolbarAction(2)->trigger(); // no dialog: the name is known
        UF_VERIFY_PROMPTS(f->prompts);
        QVERIFY(readAll(file).startsWith("\"turisti\","));

        const QString other = path(QStringLiteral("Urbaflux-mod-due"));
        f->prompts.expectSaveFile(other);
        menu->toolbarAction(3)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest as = f->prompts.fileRequests().last();
        QCOMPARE(as.title, QStringLiteral("Salva file con nome (scelta del modello)"));
        QCOMPARE(as.fileName, file); // the dialog keeps the last name used
        QCOMPARE(menu->currentFile(), other);
        QVERIFY(QFile::exists(other));
    }

    void cancelledSaveAsKeepsTheCurrentFile()
    {
        fillEverything();
        const QString file = path(QStringLiteral("Urbaflux-mod-tre"));
        f->prompts.expectSaveFile(file);
        menu->toolbarAction(2)->trigger();
        f->prompts.expectSaveFile(QString());
        menu->toolbarAction(3)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(menu->currentFile(), file);
    }

    void refusedSaveChangesNothing()
    {
        fillEverything();
        const QString file = path(QStringLiteral("no-such-folder/Urbaflux-mod-x"));
        f->prompts.expectSaveFile(file);
        f->prompts.expectMessage();
        menu->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Critical);
        QVERIFY2(m.text.contains(QStringLiteral("Urbaflux-mod-x")), qPrintable(m.text));
        QCOMPARE(menu->currentFile(), QString());
        QVERIFY(f->state.model.alpha == FieldValue::fromNumber(2));
        // The next save asks for a name again.
        f->prompts.expectSaveFile(QString());
        menu->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
    }

    void reopenRestoresTheChoiceAfterClear()
    {
        fillEverything();
        type("al", QStringLiteral("1.8"));
        type("unitamisura", QStringLiteral("minuti"));
        const QString file = path(QStringLiteral("Urbaflux-mod-riapri"));
        f->prompts.expectSaveFile(file);
        menu->toolbarAction(2)->trigger();
        menu->toolbarAction(21)->trigger();
        QCOMPARE(menu->passoText(), QStringLiteral("scegliere il tipo do modello"));

        f->prompts.expectMessage(MessageAnswer::Discard); // the choice cleared is unsaved
        f->prompts.expectOpenFile(file);
        menu->toolbarAction(1)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Apri file (scelta del modello)"));
        QCOMPARE(request.filter,
                 QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-mod- | Urbaflux-mod-*"));
        QCOMPARE(request.selectedFilter, 2);
        QCOMPARE(request.fileName, QString());

        QVERIFY(menu->modelOption(2)->isChecked());
        QCOMPARE(box("tipoor")->text(), QStringLiteral("residenti"));
        QCOMPARE(box("tipode")->text(), QStringLiteral("uffici"));
        QCOMPARE(box("tipoin")->text(), QStringLiteral("spostamenti degli utenti"));
        QCOMPARE(box("al")->text(), QStringLiteral("1.8"));
        QCOMPARE(box("sc")->text(), QStringLiteral("0.0001"));
        QCOMPARE(box("unitamisura")->text(), QStringLiteral("minuti"));
        QCOMPARE(menu->passoText(), kCorrectHint);
        QCOMPARE(f->state.model.kindLabel, QStringLiteral("'destinazione vincolata'"));
        QCOMPARE(f->state.model.unit, QStringLiteral("minuti"));
        QVERIFY(f->state.model.alpha == FieldValue::fromText(QStringLiteral("1.8")));
        QCOMPARE(menu->currentFile(), file);
    }

    // The first model selection of an open creates the area window; its defaults must not
    // replace the values of the file.
    void openIntoAFreshSessionKeepsTheFileValues()
    {
        const QString file = path(QStringLiteral("Urbaflux-mod-fresco"));
        QVERIFY(writeAll(file, "\"a\",\"b\",\"merci\",\"'origine vincolata'\",3,\"1.5\",\"0.01\","
                               "\"metri\"\r\n"));
        f->prompts.expectOpenFile(file);
        menu->apri_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        QVERIFY(f->windows.isLoaded(WindowId::DatiAree));
        QCOMPARE(f->state.model.interactionType, QStringLiteral("merci"));
        QCOMPARE(f->state.model.unit, QStringLiteral("metri"));
        QCOMPARE(f->state.model.alpha.displayText(), QStringLiteral("1.5"));
        QCOMPARE(f->state.model.tolerance.leadingValue(), 0.01);
        QCOMPARE(box("al")->text(), QStringLiteral("1.5"));
        QCOMPARE(box("tipoin")->text(), QStringLiteral("merci"));
        QVERIFY(menu->modelOption(3)->isChecked());
    }

    void openFailuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("short") << QByteArray("\"a\",\"b\",\"c\"\r\n");
        QTest::newRow("kind out of range")
            << QByteArray("\"a\",\"b\",\"c\",\"'x'\",7,\"2\",\"0.0001\",\"km\"\r\n");
        QTest::newRow("missing file") << QByteArray();
    }
    void openFailuresChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        const QString file = path(QStringLiteral("Urbaflux-mod-rotto-%1")
                                      .arg(QString::fromLatin1(QTest::currentDataTag())));
        if (!bytes.isEmpty())
            QVERIFY(writeAll(file, bytes));
        type("tipoor", QStringLiteral("prima"));
        const ModelChoice before = f->state.model;
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(file);
        f->prompts.expectMessage();
        menu->apri_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Critical);
        QVERIFY2(m.text.contains(QFileInfo(file).fileName()), qPrintable(m.text));
        QCOMPARE(f->state.model.originType, before.originType);
        QCOMPARE(f->state.model.kind, qint16(0));
        QCOMPARE(box("tipoor")->text(), QStringLiteral("prima"));
        QCOMPARE(menu->currentFile(), QString());
    }

    void cancelledOpenDoesNothing()
    {
        type("tipoor", QStringLiteral("prima"));
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(QString());
        menu->apri_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->state.model.originType, QStringLiteral("prima"));
        QCOMPARE(menu->currentFile(), QString());
    }

    // --- "&tutti i dati" ---

    void completeArchiveFillsEveryWindow()
    {
        const QString file = writeCompleteArchive(QStringLiteral("Urbaflux-tot-studio"));
        QVERIFY(!file.isEmpty());
        auto* distances = f->touch<Distanze>(WindowId::Distanze);
        type("tipoor", QStringLiteral("prima"));
        f->state.areas.name[3] = QStringLiteral("oltre"); // beyond the file's areas: kept
        f->state.areas.destination[3] = QStringLiteral("9");

        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(file);
        openEverything();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().size(), 1);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Apri file (tutti i dati)"));
        QCOMPARE(request.filter, QStringLiteral("File Urbaflux-tot-| Urbaflux-tot-*"));
        QCOMPARE(request.fileName, QStringLiteral("Urbaflux-tot-"));

        QVERIFY(menu->modelOption(3)->isChecked());
        QVERIFY(!menu->modelOption(1)->isChecked());
        QCOMPARE(box("tipoor")->text(), QStringLiteral("residenti"));
        QCOMPARE(box("tipode")->text(), QStringLiteral("negozi"));
        QCOMPARE(box("tipoin")->text(), QStringLiteral("acquisti"));
        QCOMPARE(box("al")->text(), QStringLiteral("1.5"));
        QCOMPARE(box("sc")->text(), QStringLiteral("0.0001"));
        QCOMPARE(box("unitamisura")->text(), QStringLiteral("minuti"));
        QCOMPARE(menu->passoText(), kCorrectHint);
        QCOMPARE(f->state.model.kind, qint16(3));
        QCOMPARE(f->state.model.unit, QStringLiteral("minuti"));
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("minuti"));

        auto* areas = f->window<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas && !areas->isVisible());
        QCOMPARE(areas->windowTitle(),
                 QStringLiteral("Urbaflux: valori delle origini e delle destinazioni (modello a "
                                "'origine vincolata')"));
        QCOMPARE(areas->findChild<QLabel*>(QStringLiteral("lbldestinazioni"))->text(),
                 QStringLiteral("stima destinazioni"));
        QCOMPARE(areas->findChild<QLineEdit*>(QStringLiteral("nome_2"))->text(),
                 QStringLiteral("Borgo, nord"));
        QCOMPARE(areas->findChild<QLineEdit*>(QStringLiteral("nome_3"))->text(),
                 QStringLiteral("oltre"));
        QCOMPARE(f->state.areas.count, 3); // the rows recount from the destinations

        QVERIFY(!distances->isVisible());
        QCOMPARE(distances->windowTitle(),
                 QStringLiteral("Urbaflux: distanze e interazioni tra le aree (modello a "
                                "'origine vincolata')"));
        QCOMPARE(distances->findChild<QLineEdit*>(QStringLiteral("distanza_4"))->text(),
                 QStringLiteral("9"));
        QCOMPARE(f->state.distances.pairNames[3], QStringLiteral("Borgo, nord-Centro"));

        QCOMPARE(menu->titlePageRead().progetto, QStringLiteral("Piano dei servizi"));
        QCOMPARE(menu->titlePageRead().allegati, QStringLiteral("tavole 1-3"));

        // "Salva" must not write a model-choice record over the complete archive.
        QCOMPARE(menu->currentFile(), QString());
        const QByteArray before = readAll(file);
        f->prompts.expectSaveFile(QString());
        menu->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(readAll(file), before);
    }

    void completeArchiveFailuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: the user cancels
        QTest::newRow("cancelled") << QByteArray();
        QTest::newRow("model record only")
            << QByteArray("\"a\",\"b\",\"c\",\"'origine vincolata'\",3,2,0.0001,\"km\"\r\n");
        QTest::newRow("kind out of range")
            << QByteArray("\"a\",\"b\",\"c\",\"'x'\",9,2,0.0001,\"km\"\r\n0\r\n0,0,0\r\n"
                          "\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n");
    }
    void completeArchiveFailuresChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QString file;
        if (!bytes.isEmpty()) {
            file = path(QStringLiteral("Urbaflux-tot-rotto-%1")
                            .arg(QString::fromLatin1(QTest::currentDataTag())));
            QVERIFY(writeAll(file, bytes));
        }
        fillEverything();
        const QString saved = path(QStringLiteral("Urbaflux-mod-corrente"));
        f->prompts.expectSaveFile(saved);
        menu->toolbarAction(2)->trigger();
        const ModelChoice before = f->state.model;

        f->prompts.expectOpenFile(file);
        if (!file.isEmpty())
            f->prompts.expectMessage();
        openEverything();
        UF_VERIFY_PROMPTS(f->prompts);
        if (!file.isEmpty()) {
            const MessageRequest m = f->prompts.lastMessage();
            QCOMPARE(m.icon, MessageIcon::Critical);
            QVERIFY2(m.text.contains(QFileInfo(file).fileName()), qPrintable(m.text));
        }
        QCOMPARE(f->state.model.kind, before.kind);
        QCOMPARE(f->state.model.originType, QStringLiteral("residenti"));
        QCOMPARE(f->state.areas.count, 0);
        QVERIFY(menu->modelOption(2)->isChecked());
        QCOMPARE(box("tipoor")->text(), QStringLiteral("residenti"));
        QCOMPARE(menu->currentFile(), saved);
    }

    void deleteMovesTheFileToTheTrash()
    {
        const QString file = path(QStringLiteral("Urbaflux-mod-via"));
        QVERIFY(writeAll(file, "x"));
        f->prompts.expectOpenFile(file);
        menu->toolbarAction(4)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Elimina: seleziona il file desiderato e clicca "
                                               "su Apri per cancellarlo"));
        QCOMPARE(request.filter,
                 QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-mod- | Urbaflux-mod-*"));
        QCOMPARE(request.selectedFilter, 2);
        QVERIFY(!QFile::exists(file));
        const QString trashed =
            dir.filePath(QStringLiteral("data-home/Trash/files/Urbaflux-mod-via"));
        QVERIFY2(QFile::exists(trashed), qPrintable(trashed));
        QVERIFY(menu->passoText().contains(QStringLiteral("cestino")));
        QVERIFY(menu->passoText().contains(QStringLiteral("Urbaflux-mod-via")));
        QCOMPARE(menu->currentFile(), file);
    }

    void deletingAMissingFileIsTold()
    {
        const QString file = path(QStringLiteral("Urbaflux-mod-mai-esistito"));
        const QString hint = menu->passoText();
        f->prompts.expectOpenFile(file);
        f->prompts.expectMessage();
        menu->eliminare_click();
        UF_VERIFY_PROMPTS(f->prompts);
        QVERIFY(
            f->prompts.lastMessage().text.contains(QStringLiteral("Urbaflux-mod-mai-esistito")));
        QCOMPARE(menu->passoText(), hint);
        QCOMPARE(menu->currentFile(), QString());
    }

    // --- printout ---

    void printNeedsAModel()
    {
        type("tipoor", QStringLiteral("a"));
        type("tipode", QStringLiteral("b"));
        f->prompts.expectMessage();
        menu->toolbarAction(6)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(f->prompts.lastMessage().title, QStringLiteral("Urbaflux: stampa dati finestra"));
        QCOMPARE(f->prompts.lastMessage().text, QStringLiteral("Immettere prima tutti i dati."));
        QCOMPARE(f->documents.count(), 0);
    }

    void printShowsTheChoiceAndTheMemo()
    {
        clickOption(2);
        type("tipode", QStringLiteral("uffici"));
        type("al", QStringLiteral("1.75"));
        menu->toolbarAction(6)->trigger();
        QCOMPARE(f->documents.count(), 1);
        const Document& doc = *f->documents.last();
        QCOMPARE(DocumentRecorder::nonEmptyParagraphTexts(doc),
                 (QStringList{QStringLiteral("Urbaflux"),
                              QStringLiteral("modelli gravitazionali urbanistici"),
                              QStringLiteral("Scelta del modello"),
                              QStringLiteral("la quantità dell'attrazione è vincolata ai valori "
                                             "immessi per la destinazione; i dati relativi "
                                             "all'origine sono stime libere, ma proporzionali "
                                             "alla realtà delle zone")}));
        const Table* table = DocumentRecorder::table(doc, 1);
        QVERIFY(table);
        QCOMPARE(table->rows, 8);
        QCOMPARE(table->columns, 2);
        QCOMPARE(table->fontSize, 10.0);
        QCOMPARE(DocumentRecorder::row(doc, 1, 1),
                 (QStringList{QStringLiteral("dati"), QStringLiteral("valori")}));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 2, 2), QStringLiteral("'destinazione vincolata'"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 3, 2), QString()); // tipoor left empty
        QCOMPARE(DocumentRecorder::cell(doc, 1, 4, 2), QStringLiteral("uffici"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 6, 1),
                 QStringLiteral("valore alfa (esponente della distanza)"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 6, 2), QStringLiteral("1.75"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 7, 2), QStringLiteral("0.0001"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 8, 1),
                 QStringLiteral("unità di misura della distanza"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 8, 2), QStringLiteral("chilometri"));
        QCOMPARE(menu->passoText(), QStringLiteral("ho visualizzato i dati su Word"));
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
