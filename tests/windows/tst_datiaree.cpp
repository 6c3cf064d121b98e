// The area window through its widgets: the scrolling rows, counts, totals, hint, "Avanti"
// checks and pair list, clear, spreadsheet paste, archive commands and printout.

#include "datiaree.h"
#include "distanze.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

const QString kCheckTitle =
    QStringLiteral("Urbaflux: controllo dati immessi nella finestra attiva");

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

struct Area
{
    QString name;
    QString origin;
    QString destination;
};

} // namespace

class TestDatiAree : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowTestFixture> f;
    DatiAree* w = nullptr;
    QTemporaryDir dir;

    QLineEdit* cell(const char* column, int row) const
    {
        return w->findChild<QLineEdit*>(
            QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
    }
    QLabel* label(const QString& name) const { return w->findChild<QLabel*>(name); }
    QScrollBar* scroll() const { return w->findChild<QScrollBar*>(QStringLiteral("VScroll1")); }
    void type(const char* column, int row, const QString& text) const
    {
        QLineEdit* edit = cell(column, row);
        QVERIFY(edit);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    void typeRow(int row, const Area& area) const
    {
        type("nome", row, area.name);
        type("origine", row, area.origin);
        type("destinazione", row, area.destination);
    }
    void setModel(int kind) const
    {
        f->state.model.kind = static_cast<qint16>(kind);
        f->state.model.kindLabel = modelKindLabel(kind);
    }
    void clickAvanti() const
    {
        QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    }
    // Avanti expecting one message; returns it.
    MessageRequest avantiMessage() const
    {
        f->prompts.expectMessage();
        clickAvanti();
        return f->prompts.lastMessage();
    }
    void paste(const char* column, int row, const QString& text) const
    {
        QGuiApplication::clipboard()->setText(text);
        QLineEdit* edit = cell(column, row);
        edit->setFocus();
        QTest::keySequence(edit, QKeySequence::Paste);
    }
    QString path(const QString& name) const { return dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data-home"))));
    }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        f = std::make_unique<WindowTestFixture>(&createWindow);
        w = f->show<DatiAree>(WindowId::DatiAree);
        QVERIFY(w);
    }

    void cleanup()
    {
        if (!QTest::currentTestFailed())
            QVERIFY(f->prompts.verifyDone());
        f.reset();
    }

    // The cursor starts in the first name; TAB goes name, origin, destination, row after row,
    // and past the last row the grid moves on to the next area; shift+TAB comes back the same
    // way.
    void tabRunsThroughTheAreas()
    {
        QCOMPARE(w->focusWidget(), cell("nome", 1));
        const char* columns[] = {"nome", "origine", "destinazione"};
        for (int step = 0; step < 5; ++step) {
            QLineEdit* from = cell(columns[step % 3], 1 + step / 3);
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QCOMPARE(w->focusWidget(), cell(columns[(step + 1) % 3], 1 + (step + 1) / 3));
        }

        cell("destinazione", 15)->setFocus();
        QTest::keyClick(cell("destinazione", 15), Qt::Key_Tab);
        QCOMPARE(scroll()->value(), 2);
        QCOMPARE(w->focusWidget(), cell("nome", 15));
        QCOMPARE(label(QStringLiteral("label_15"))->text().trimmed(), QStringLiteral("16"));
        QTest::keyClicks(cell("nome", 15), QStringLiteral("Sedicesima"));
        QCOMPARE(QString(f->state.areas.name[16]), QStringLiteral("Sedicesima"));

        cell("nome", 1)->setFocus();
        QTest::keyClick(cell("nome", 1), Qt::Key_Backtab);
        QCOMPARE(scroll()->value(), 1);
        QCOMPARE(w->focusWidget(), cell("destinazione", 1));

        // At the top of the list shift+TAB leaves the grid as usual.
        cell("nome", 1)->setFocus();
        QTest::keyClick(cell("nome", 1), Qt::Key_Backtab);
        QCOMPARE(scroll()->value(), 1);
        QVERIFY(w->focusWidget() != cell("destinazione", 1));
        UF_VERIFY_PROMPTS(f->prompts);
    }

    void startsWithItsInitialContents()
    {
        QCOMPARE(w->objectName(), QStringLiteral("datiaree"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Urbaflux: modello di calcolo non ancora scelto "
                                                  "(tornare indietro per l'elaborazione)"));
        for (int r = 1; r <= 15; ++r) {
            QCOMPARE(label(QStringLiteral("label_%1").arg(r))->text(), QString::number(r));
            QCOMPARE(cell("nome", r)->text(), QString());
            QCOMPARE(cell("origine", r)->text(), QStringLiteral(" "));
            QCOMPARE(cell("destinazione", r)->text(), QString());
        }
        QCOMPARE(scroll()->minimum(), 1);
        QCOMPARE(scroll()->maximum(), 166);
        QCOMPARE(scroll()->pageStep(), 15);
        QCOMPARE(scroll()->value(), 1);
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral(" "));
        QCOMPARE(label(QStringLiteral("totdest"))->text(), QString());
        QCOMPARE(label(QStringLiteral("numeroar"))->text(), QStringLiteral(" n."));
        QCOMPARE(w->explanation(), QStringLiteral("Scegliere il modello di calcolo per "
                                                  "l'elaborazione: tornare indietro.\r\n"));
        QCOMPARE(w->passoText(), QStringLiteral("iniziare a digitare il nome della prima area, i "
                                                "valori di origine e destinazione"));
        QCOMPARE(f->state.run.gridTopRow, 1);

        const MessageRequest m = avantiMessage();
        QCOMPARE(m.icon, MessageIcon::Critical);
        QCOMPARE(m.title, kCheckTitle);
        QCOMPARE(m.text,
                 QStringLiteral("Impossibile proseguire: non è stato inserito nessun dato."));
    }

    void aDestinationAloneMakesAnArea()
    {
        type("destinazione", 1, QStringLiteral("5"));
        QCOMPARE(f->state.areas.count, 1);
        QCOMPARE(f->state.areas.destination[1], QStringLiteral("5"));
        QCOMPARE(w->passoText(),
                 QStringLiteral("digitare il nome della seconda area, i valori di origine e "
                                "destinazione"));
        const MessageRequest m = avantiMessage();
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.text, QStringLiteral("Inserire i dati dell'area n.1."));
    }

    void areasMustBeTheFirstPositions()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("1")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("1")});
        typeRow(4, {QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("1")});
        QCOMPARE(f->state.areas.count, 3);
        QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                                "stamparli o andare Avanti con altri dati"));
        QCOMPARE(avantiMessage().text, QStringLiteral("Inserire i dati dell'area n.3."));
    }

    void erasingANameRemovesTheArea()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("4")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("6")});
        QCOMPARE(f->state.areas.count, 2);
        type("nome", 2, QString());
        QCOMPARE(cell("destinazione", 2)->text(), QString());
        QCOMPARE(f->state.areas.destination[2], QString());
        QCOMPARE(f->state.areas.count, 1);
        QCOMPARE(label(QStringLiteral("totdest"))->text(), QStringLiteral("4"));
    }

    void avantiChecks_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<QStringList>>("areas");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("message"); // empty: passes and opens the distances window
        const auto row = [](const char* n, const char* o, const char* d) {
            return QStringList{QString::fromUtf8(n), QString::fromUtf8(o), QString::fromUtf8(d)};
        };
        QTest::newRow("comma in an origin before any destination")
            << 2 << QList<QStringList>{row("A", "2", "3,5"), row("B", "1,5", "1")}
            << int(MessageIcon::Exclamation)
            << QStringLiteral(
                   "Sostituire la virgola con il punto nel valore dell'origine dell'area n.2.");
        QTest::newRow("comma in a destination")
            << 3 << QList<QStringList>{row("A", "2", "3,5")} << int(MessageIcon::Exclamation)
            << QStringLiteral("Sostituire la virgola con il punto nel valore della destinazione "
                              "dell'area n.1.");
        QTest::newRow("negative origin")
            << 2 << QList<QStringList>{row("A", "2", "-1"), row("B", "-3", "1")}
            << int(MessageIcon::Exclamation)
            << QStringLiteral("Inserire un numero valido per la destinazione dell'area n.1.");
        QTest::newRow("negative origin of area 1")
            << 2 << QList<QStringList>{row("A", "-3", "1")} << int(MessageIcon::Exclamation)
            << QStringLiteral("Inserire un numero valido per l'origine dell'area n.1.");
        QTest::newRow("text is not a number")
            << 2 << QList<QStringList>{row("A", "abc", "1")} << int(MessageIcon::Exclamation)
            << QStringLiteral("Inserire un numero valido per l'origine dell'area n.1.");
        QTest::newRow("a number followed by text")
            << 2 << QList<QStringList>{row("A", "10", "5 posti")} << int(MessageIcon::Exclamation)
            << QStringLiteral("Inserire un numero valido per la destinazione dell'area n.1.");
        QTest::newRow("equal totals of model 1")
            << 1 << QList<QStringList>{row("A", "10", "15"), row("B", "20", "15")} << 0
            << QString();
        QTest::newRow("different totals of model 1")
            << 1 << QList<QStringList>{row("A", "10", "15"), row("B", "20", "16")}
            << int(MessageIcon::Critical)
            << QStringLiteral("Impossibile proseguire: con il modello scelto (a 'origine e "
                              "destinazione vincolate') il totale delle origini deve coincidere "
                              "con il totale delle destinazioni.");
        QTest::newRow("different totals of model 3")
            << 3 << QList<QStringList>{row("A", "10", "15"), row("B", "20", "16")} << 0
            << QString();
    }
    void avantiChecks()
    {
        QFETCH(int, kind);
        QFETCH(QList<QStringList>, areas);
        QFETCH(int, icon);
        QFETCH(QString, message);
        setModel(kind);
        for (int r = 0; r < areas.size(); ++r)
            typeRow(r + 1, {areas[r][0], areas[r][1], areas[r][2]});
        if (message.isEmpty()) {
            clickAvanti();
            UF_VERIFY_PROMPTS(f->prompts);
            auto* distances = f->window<Distanze>(WindowId::Distanze);
            QVERIFY(distances && distances->isVisible());
            return;
        }
        const MessageRequest m = avantiMessage();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(int(m.icon), icon);
        QCOMPARE(m.title, kCheckTitle);
        QCOMPARE(m.text, message);
        QVERIFY(!f->windows.isLoaded(WindowId::Distanze) ||
                !f->window<Distanze>(WindowId::Distanze)->isVisible());
    }

    // A value the calculation cannot take is named by the hint as soon as it is typed, with
    // its area, instead of the data being called correct.
    void hintNamesAValueThatIsNotANumber_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hint");
        QTest::newRow("negative origin")
            << QStringLiteral("origine") << QStringLiteral("-3")
            << QStringLiteral("correggere il valore dell'origine dell'area n. 2: è negativo");
        QTest::newRow("decimal comma")
            << QStringLiteral("destinazione") << QStringLiteral("1,5")
            << QStringLiteral("correggere il valore della destinazione dell'area n. 2: è scritto "
                              "con la virgola: usare il punto per i decimali");
        QTest::newRow("text") << QStringLiteral("origine") << QStringLiteral("abc")
                              << QStringLiteral("correggere il valore dell'origine dell'area n. 2: "
                                                "non è un numero (usare il punto per i decimali)");
    }
    void hintNamesAValueThatIsNotANumber()
    {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, hint);
        setModel(3);
        typeRow(1, {QStringLiteral("A"), QStringLiteral("10"), QStringLiteral("5")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("20"), QStringLiteral("6")});
        type(column.toLatin1().constData(), 2, typed);
        QCOMPARE(w->passoText(), hint);
        type(column.toLatin1().constData(), 2, QStringLiteral("7"));
        QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                                "stamparli o andare Avanti con altri dati"));
    }

    void unequalTotalsClearTheCheckOnlyFlag()
    {
        setModel(1);
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        f->prompts.expectMessage();
        w->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(w->checkOnly(), 0);
        type("nome", 1, QString());
        f->prompts.expectMessage();
        w->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(w->checkOnly(), 1); // any other failed check keeps it
    }

    void toolbarCheckReportsSuccessAndStays()
    {
        setModel(2);
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        f->prompts.expectMessage();
        w->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Information);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("I dati sono stati immessi correttamente."));
        QVERIFY(!f->windows.isLoaded(WindowId::Distanze) ||
                !f->window<Distanze>(WindowId::Distanze)->isVisible());
        QVERIFY(f->state.distances.pairNumbers[1].isEmpty());
    }

    void avantiBuildsThePairList()
    {
        setModel(2);
        f->state.distances.weight[2] = FieldValue::fromText(QStringLiteral("40"));
        f->state.distances.distance[3] = QStringLiteral("7.5");
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("2")});
        clickAvanti();
        const DistanceTable& d = f->state.distances;
        const QStringList numbers{QStringLiteral(" 1- 1"), QStringLiteral(" 1- 2"),
                                  QStringLiteral(" 2- 1"), QStringLiteral(" 2- 2")};
        const QStringList names{QStringLiteral("A-A"), QStringLiteral("A-B"), QStringLiteral("B-A"),
                                QStringLiteral("B-B")};
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(d.pairNumbers[static_cast<size_t>(k)], numbers[k - 1]);
            QCOMPARE(d.pairNames[static_cast<size_t>(k)], names[k - 1]);
            // The weight typed for a pair that stays is kept.
            QVERIFY(d.weight[static_cast<size_t>(k)] ==
                    (k == 2 ? FieldValue::fromText(QStringLiteral("40"))
                            : FieldValue::fromNumber(100)));
        }
        QCOMPARE(d.distance[3], QStringLiteral("7.5")); // distances are kept
        QVERIFY(d.pairNumbers[5].isEmpty());
        QVERIFY(f->window<Distanze>(WindowId::Distanze)->isVisible());
    }

    void totalsUseTheRegionalSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("origins");
        QTest::addColumn<QString>("destinations");
        QTest::newRow("C") << QLocale::c() << QStringLiteral("12.75")
                           << QStringLiteral("1000000.5");
        QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy)
                                 << QStringLiteral("12,75") << QStringLiteral("1000000,5");
    }
    void totalsUseTheRegionalSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, origins);
        QFETCH(QString, destinations);
        QLocale::setDefault(locale);
        typeRow(1, {QStringLiteral("A"), QStringLiteral("10.5"), QStringLiteral("999999.5")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("2.25x"), QStringLiteral("1")});
        type("origine", 3, QStringLiteral("1,5")); // reads as 1 until Avanti refuses it
        type("origine", 3, QStringLiteral("abc"));
        QCOMPARE(label(QStringLiteral("totorig"))->text(), origins);
        QCOMPARE(label(QStringLiteral("totdest"))->text(), destinations);
        QLocale::setDefault(QLocale::c());
    }

    // Totals are plain decimal texts of at most 15 significant digits, with the user's decimal
    // separator; only magnitudes a plain text cannot carry take the exponent form.
    void totalsAreDecimalTexts_data()
    {
        QTest::addColumn<QStringList>("origins");
        QTest::addColumn<QString>("c");
        QTest::addColumn<QString>("italian");
        QTest::newRow("small") << QStringList{QStringLiteral("0.00005")}
                               << QStringLiteral("0.00005") << QStringLiteral("0,00005");
        QTest::newRow("binary sum") << QStringList{QStringLiteral("0.1"), QStringLiteral("0.2")}
                                    << QStringLiteral("0.3") << QStringLiteral("0,3");
        QTest::newRow("15 digits")
            << QStringList{QStringLiteral("123456789.123456789")}
            << QStringLiteral("123456789.123457") << QStringLiteral("123456789,123457");
        QTest::newRow("whole") << QStringList{QStringLiteral("999999999999999")}
                               << QStringLiteral("999999999999999")
                               << QStringLiteral("999999999999999");
        QTest::newRow("huge") << QStringList{QStringLiteral("1.5e15")} << QStringLiteral("1.5E+15")
                              << QStringLiteral("1,5E+15");
        QTest::newRow("tiny") << QStringList{QStringLiteral("0.0000025")}
                              << QStringLiteral("2.5E-06") << QStringLiteral("2,5E-06");
        QTest::newRow("negative") << QStringList{QStringLiteral("-2.5")} << QStringLiteral("-2.5")
                                  << QStringLiteral("-2,5");
    }
    void totalsAreDecimalTexts()
    {
        QFETCH(QStringList, origins);
        QFETCH(QString, c);
        QFETCH(QString, italian);
        for (int r = 0; r < origins.size(); ++r)
            type("origine", r + 1, origins[r]);
        QCOMPARE(label(QStringLiteral("totorig"))->text(), c);
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        type("origine", 15, QStringLiteral("0"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(label(QStringLiteral("totorig"))->text(), italian);
    }

    void scrollingShowsTheLastAreas()
    {
        f->state.areas.name[180] = QStringLiteral("ultima");
        f->state.areas.origin[180] = QStringLiteral("3");
        f->state.areas.destination[180] = QStringLiteral("4");
        scroll()->setValue(166);
        for (int r = 1; r <= 15; ++r)
            QCOMPARE(label(QStringLiteral("label_%1").arg(r))->text(), QString::number(165 + r));
        QCOMPARE(cell("nome", 15)->text(), QStringLiteral("ultima"));
        QCOMPARE(f->state.run.gridTopRow, 166);
        QCOMPARE(f->state.areas.count, 1);

        // The distances window moves the shared top row to a pair number; the rows here keep
        // editing the areas their labels show.
        f->state.run.gridTopRow = 4000;
        type("nome", 1, QStringLiteral("centosessantasei"));
        QCOMPARE(f->state.areas.name[166], QStringLiteral("centosessantasei"));
        QCOMPARE(w->areaOfRow(1), 166);
    }

    void totalsCountAreasOutOfView()
    {
        QString lines;
        for (int i = 1; i <= 20; ++i)
            lines += QStringLiteral("z%1\t%1\t1\n").arg(i);
        paste("nome", 1, lines);
        QCOMPARE(f->state.areas.count, 20);
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral("210"));
        QCOMPARE(label(QStringLiteral("totdest"))->text(), QStringLiteral("20"));
        scroll()->setValue(10);
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral("210"));
        QCOMPARE(cell("nome", 11)->text(), QStringLiteral("z20"));

        // Clearing empties the areas out of view too, once the user chose not to save them.
        f->prompts.expectMessage(MessageAnswer::Cancel);
        w->toolbarAction(21)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().buttons, MessageButtons::SaveDiscardCancel);
        QVERIFY(f->prompts.lastMessage().text.startsWith(QStringLiteral("Salvare le modifiche?")));
        QCOMPARE(f->state.areas.count, 20); // Annulla keeps everything
        f->prompts.expectMessage(MessageAnswer::Discard);
        w->toolbarAction(21)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->state.areas.count, 0);
        for (int a = 1; a <= 180; ++a) {
            QVERIFY(f->state.areas.name[static_cast<size_t>(a)].isEmpty());
            QVERIFY(f->state.areas.destination[static_cast<size_t>(a)].isEmpty());
            QVERIFY(f->state.areas.origin[static_cast<size_t>(a)].isEmpty());
        }
        QCOMPARE(cell("nome", 11)->text(), QString());
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral("0"));
        QCOMPARE(w->passoText(), QStringLiteral("iniziare a digitare il nome della prima area, i "
                                                "valori di origine e destinazione"));
    }

    // --- paste from a spreadsheet ---

    void pasteFillsRowsAndColumnsFromTheBox()
    {
        typeRow(1, {QStringLiteral("prima"), QStringLiteral("1"), QStringLiteral("1")});
        paste("nome", 2,
              QStringLiteral("Centro\t 120 \t80\r\nPeriferia Nord, est\t40\t60\r\n"
                             "Borgo\t7.5\t9\r\n"));
        const AreaTable& a = f->state.areas;
        QCOMPARE(a.name[1], QStringLiteral("prima"));
        QCOMPARE(a.name[2], QStringLiteral("Centro"));
        QCOMPARE(a.origin[2], QStringLiteral(" 120 ")); // exactly as pasted
        QCOMPARE(a.destination[2], QStringLiteral("80"));
        QCOMPARE(a.name[3], QStringLiteral("Periferia Nord, est"));
        QCOMPARE(a.name[4], QStringLiteral("Borgo"));
        QCOMPARE(a.destination[4], QStringLiteral("9"));
        QCOMPARE(a.count, 4);
        QCOMPARE(cell("origine", 2)->text(), QStringLiteral(" 120 "));
        QCOMPARE(cell("nome", 4)->text(), QStringLiteral("Borgo"));
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral("168.5"));
        QCOMPARE(label(QStringLiteral("totdest"))->text(), QStringLiteral("150"));
        QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                                "stamparli o andare Avanti con altri dati"));
    }

    void pasteIntoTheOriginColumnLeavesNamesAlone()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("1")});
        paste("origine", 1, QStringLiteral("5\t6\textra\n7\t8\n"));
        const AreaTable& a = f->state.areas;
        QCOMPARE(a.name[1], QStringLiteral("A"));
        QCOMPARE(a.origin[1], QStringLiteral("5"));
        QCOMPARE(a.destination[1], QStringLiteral("6"));
        QCOMPARE(a.name[2], QString());
        QCOMPARE(a.origin[2], QStringLiteral("7"));
        QCOMPARE(a.destination[2], QStringLiteral("8"));
        QCOMPARE(a.count, 2);
    }

    void pasteStartsAtTheScrolledArea()
    {
        scroll()->setValue(100);
        paste("destinazione", 3, QStringLiteral("1\n2\n"));
        QCOMPARE(f->state.areas.destination[102], QStringLiteral("1"));
        QCOMPARE(f->state.areas.destination[103], QStringLiteral("2"));
        QCOMPARE(f->state.areas.count, 2);
    }

    void pasteBeyondTheLastAreaIsRefusedWhole()
    {
        scroll()->setValue(166);
        QString lines;
        for (int i = 0; i < 16; ++i)
            lines += QStringLiteral("n%1\t1\t1\n").arg(i);
        f->prompts.expectMessage();
        paste("nome", 1, lines);
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Exclamation);
        QVERIFY(f->prompts.lastMessage().text.contains(QStringLiteral("n.166")));
        QCOMPARE(f->state.areas.count, 0);
        QVERIFY(f->state.areas.name[166].isEmpty());
        QCOMPARE(cell("nome", 1)->text(), QString());
    }

    void theBoxMenuPastesTheSameWay()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("X\t1\t2\nY\t3\t4\n"));
        QLineEdit* box = cell("nome", 1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(box, &event);
        auto* menu = box->findChild<QMenu*>(QStringLiteral("menuCasella"));
        QVERIFY(menu);
        QStringList texts;
        QAction* pasteAction = nullptr;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            if (action->text() == QStringLiteral("&Incolla"))
                pasteAction = action;
        }
        QVERIFY2(pasteAction && pasteAction->isEnabled(), qPrintable(texts.join(u'|')));
        pasteAction->trigger();
        menu->close();
        QCOMPARE(f->state.areas.name[2], QStringLiteral("Y"));
        QCOMPARE(f->state.areas.destination[2], QStringLiteral("4"));
        QCOMPARE(f->state.areas.count, 2);
    }

    // An area taken out of the middle takes its pairs with it; an area added later starts with
    // empty pairs, which the distances hint asks for, while the other pairs keep their values.
    void pairsFollowTheAreasTakenOutAndAdded()
    {
        setModel(2);
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("2")});
        typeRow(3, {QStringLiteral("C"), QStringLiteral("1"), QStringLiteral("2")});
        clickAvanti();
        auto* distances = f->window<Distanze>(WindowId::Distanze);
        QVERIFY(distances && distances->isVisible());
        // Distances "origin destination" typed in the distances window, a weight of C-A at 30.
        const QStringList names{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        for (int r = 1; r <= 9; ++r) {
            auto* box = distances->findChild<QLineEdit*>(QStringLiteral("distanza_%1").arg(r));
            box->selectAll();
            QTest::keyClicks(box,
                             QString::number((r - 1) / 3 + 1) + QString::number((r - 1) % 3 + 1));
        }
        auto* weight = distances->findChild<QLineEdit*>(QStringLiteral("p100_7"));
        weight->selectAll();
        QTest::keyClicks(weight, QStringLiteral("30"));
        f->windows.showWindow(WindowId::DatiAree);

        const quint64 revision = f->state.inputRevision;
        QLineEdit* box = cell("origine", 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(box, &event);
        auto* menu = box->findChild<QMenu*>(QStringLiteral("menuCasella"));
        QVERIFY(menu);
        auto* remove = menu->findChild<QAction*>(QStringLiteral("eliminaArea"));
        QVERIFY(remove);
        f->prompts.expectMessage(MessageAnswer::Yes);
        remove->trigger();
        menu->close();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().buttons, MessageButtons::YesNo);
        QVERIFY(
            f->prompts.lastMessage().text.startsWith(QStringLiteral("Eliminare l'area n.2 (B)")));
        QVERIFY(f->state.inputRevision > revision);
        QCOMPARE(cell("nome", 2)->text(), QStringLiteral("C"));
        QCOMPARE(cell("nome", 3)->text(), QString());
        QCOMPARE(f->state.areas.count, 2);
        const DistanceTable& d = f->state.distances;
        const QStringList kept{QStringLiteral("11"), QStringLiteral("13"), QStringLiteral("31"),
                               QStringLiteral("33")};
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(d.distance[static_cast<size_t>(k)], kept[k - 1]);
        QCOMPARE(d.pairNames[3], QStringLiteral("C-A"));
        QVERIFY(d.weight[3] == FieldValue::fromText(QStringLiteral("30")));
        QVERIFY(d.distance[5].isEmpty());

        typeRow(3, {QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("2")});
        // Reached without "Avanti", the distances window says the pairs are not listed yet.
        distances->hide();
        f->windows.showWindow(WindowId::Distanze);
        QCOMPARE(distances->passo()->text(),
                 QStringLiteral("le aree sono cambiate: tornare alla finestra precedente e "
                                "cliccare su Avanti per aggiornare le coppie"));
        f->windows.showWindow(WindowId::DatiAree);
        clickAvanti();
        QVERIFY(distances->isVisible());
        QCOMPARE(d.distance[2], QStringLiteral("13")); // A-C
        QVERIFY(d.distance[3].isEmpty());              // A-D
        QCOMPARE(d.distance[4], QStringLiteral("31")); // C-A
        QVERIFY(d.weight[4] == FieldValue::fromText(QStringLiteral("30")));
        QVERIFY(d.weight[3] == FieldValue::fromNumber(100));
        QCOMPARE(d.pairNames[9], QStringLiteral("D-D"));
        QCOMPARE(distances->passo()->text(),
                 QStringLiteral("digitare il valore della distanza n. 3"));
    }

    void aSingleCellPastesIntoTheBoxOnly()
    {
        type("nome", 1, QStringLiteral("Via "));
        paste("nome", 1, QStringLiteral("Roma\r\n"));
        QCOMPARE(cell("nome", 1)->text(), QStringLiteral("Via Roma"));
        QCOMPARE(f->state.areas.name[1], QStringLiteral("Via Roma"));
        QVERIFY(f->state.areas.name[2].isEmpty());
    }

    // --- archive ---

    void savingNoAreasRunsTheCheck()
    {
        f->prompts.expectMessage();
        w->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("Impossibile proseguire: non è stato inserito nessun dato."));
        QVERIFY(f->prompts.fileRequests().isEmpty());
        QCOMPARE(w->checkOnly(), 1);
    }

    void saveWritesTheAreasAndReopenReplacesThem()
    {
        typeRow(1, {QStringLiteral("Centro, nord"), QStringLiteral("10"), QStringLiteral("5")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("20"), QStringLiteral("15")});
        typeRow(3, {QStringLiteral("C"), QStringLiteral("3.50"), QStringLiteral("13")});
        const QString file = path(QStringLiteral("Urbaflux-dat-tre"));
        f->prompts.expectSaveFile(file);
        w->toolbarAction(2)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Salva file (origini e destinazioni)"));
        QCOMPARE(request.filter, QStringLiteral("File Urbaflux-dat- | Urbaflux-dat-*"));
        QCOMPARE(request.selectedFilter, 1);
        QCOMPARE(readAll(file), QByteArray("3\r\n\"Centro, nord\",\"10\",\"5\"\r\n"
                                           "\"B\",\"20\",\"15\"\r\n\"C\",\"3.50\",\"13\"\r\n"));
        QCOMPARE(w->currentFile(), file);

        // "Salva" again: no dialog.
        type("destinazione", 3, QStringLiteral("14"));
        w->salva_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        QVERIFY(readAll(file).endsWith("\"C\",\"3.50\",\"14\"\r\n"));

        // Five areas, then the file of three: areas 4 and 5 go.
        typeRow(4, {QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("1")});
        typeRow(5, {QStringLiteral("E"), QStringLiteral("1"), QStringLiteral("1")});
        type("nome", 1, QStringLiteral("altro"));
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(file);
        w->toolbarAction(1)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Apri file (origini e destinazioni)"));
        QCOMPARE(request.filter,
                 QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dat- | Urbaflux-dat-*"));
        QCOMPARE(request.selectedFilter, 2);
        QCOMPARE(request.fileName, QString());
        const AreaTable& a = f->state.areas;
        QCOMPARE(a.count, 3);
        QCOMPARE(a.name[1], QStringLiteral("Centro, nord"));
        QCOMPARE(cell("nome", 1)->text(), QStringLiteral("Centro, nord"));
        QCOMPARE(cell("destinazione", 3)->text(), QStringLiteral("14"));
        QVERIFY(a.name[4].isEmpty() && a.destination[5].isEmpty());
        QCOMPARE(cell("nome", 4)->text(), QString());
        QCOMPARE(label(QStringLiteral("totorig"))->text(), QStringLiteral("33.5"));
    }

    void cancelledOpenKeepsTheAreas()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(QString());
        w->apri_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->state.areas.name[1], QStringLiteral("A"));
        QCOMPARE(f->state.areas.count, 1);
    }

    void openFailuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("too few areas") << QByteArray("3\r\n\"A\",\"1\",\"2\"\r\n");
        QTest::newRow("too many areas") << QByteArray("181\r\n");
        QTest::newRow("missing") << QByteArray();
    }
    void openFailuresChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        const QString file = path(QStringLiteral("Urbaflux-dat-rotto-%1")
                                      .arg(QString::fromLatin1(QTest::currentDataTag())));
        if (!bytes.isEmpty())
            QVERIFY(writeAll(file, bytes));
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(file);
        f->prompts.expectMessage();
        w->apri_Click();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Critical);
        QVERIFY2(f->prompts.lastMessage().text.contains(QFileInfo(file).fileName()),
                 qPrintable(f->prompts.lastMessage().text));
        QCOMPARE(f->state.areas.name[1], QStringLiteral("A"));
        QCOMPARE(f->state.areas.count, 1);
        QCOMPARE(w->currentFile(), QString());
    }

    void saveAsAlwaysAsksAndRefusalKeepsTheName()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        const QString file = path(QStringLiteral("Urbaflux-dat-primo"));
        f->prompts.expectSaveFile(file);
        w->toolbarAction(3)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().last().title,
                 QStringLiteral("Salva file con nome (origini e destinazioni)"));
        QCOMPARE(w->currentFile(), file);

        f->prompts.expectSaveFile(path(QStringLiteral("nessuna/Urbaflux-dat-x")));
        f->prompts.expectMessage();
        w->toolbarAction(3)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().last().fileName, file);
        QVERIFY(f->prompts.lastMessage().text.contains(QStringLiteral("Urbaflux-dat-x")));
        QCOMPARE(w->currentFile(), file);
    }

    void deleteMovesToTheTrash()
    {
        const QString file = path(QStringLiteral("Urbaflux-dat-via"));
        QVERIFY(writeAll(file, "1\r\n\"A\",\"1\",\"2\"\r\n"));
        f->prompts.expectOpenFile(file);
        w->toolbarAction(4)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, f->state.run.deleteTitle);
        QCOMPARE(request.filter,
                 QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dat- | Urbaflux-dat-*"));
        QCOMPARE(request.selectedFilter, 2);
        QVERIFY(!QFile::exists(file));
        QVERIFY(
            QFile::exists(dir.filePath(QStringLiteral("data-home/Trash/files/Urbaflux-dat-via"))));
        QVERIFY(w->passoText().contains(QStringLiteral("cestino")));
        QCOMPARE(w->currentFile(), file);
    }

    // --- printout ---

    void printNeedsAreas()
    {
        f->prompts.expectMessage();
        w->toolbarAction(6)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(f->prompts.lastMessage().title, QStringLiteral("Urbaflux: stampa dati finestra"));
        QCOMPARE(f->prompts.lastMessage().text, QStringLiteral("Immettere prima i dati."));
        QCOMPARE(f->documents.count(), 0);
    }

    void printShowsTheAreasAndTheWindowTotals()
    {
        w->setColumnHeadings(QStringLiteral("stima origini"), QStringLiteral("destinazioni"));
        w->setExplanation(QStringLiteral("spiegazione del modello"));
        typeRow(1, {QStringLiteral("A"), QStringLiteral("10.50"), QStringLiteral("5")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("2"), QStringLiteral("15")});
        typeRow(3, {QStringLiteral("C"), QString(), QStringLiteral("1")});
        w->toolbarAction(6)->trigger();
        QCOMPARE(f->documents.count(), 1);
        const Document& doc = *f->documents.last();
        QCOMPARE(DocumentRecorder::nonEmptyParagraphTexts(doc),
                 (QStringList{QStringLiteral("Urbaflux"),
                              QStringLiteral("modelli gravitazionali urbanistici"),
                              QStringLiteral("Dati delle aree"),
                              QStringLiteral("spiegazione del modello")}));
        const Table* table = DocumentRecorder::table(doc, 1);
        QVERIFY(table);
        QCOMPARE(table->rows, 5);
        QCOMPARE(table->columns, 4);
        QCOMPARE(DocumentRecorder::row(doc, 1, 1),
                 (QStringList{QStringLiteral("n."), QStringLiteral("nome dell'area"),
                              QStringLiteral("origini"), QStringLiteral("destinazioni")}));
        QCOMPARE(DocumentRecorder::row(doc, 1, 2),
                 (QStringList{QStringLiteral(" 1"), QStringLiteral("A"), QStringLiteral("10.50"),
                              QStringLiteral("5")}));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 4, 1), QStringLiteral(" 3"));
        QCOMPARE(DocumentRecorder::cell(doc, 1, 4, 3), QString());
        QCOMPARE(
            DocumentRecorder::row(doc, 1, 5),
            (QStringList{QString(), QStringLiteral("totale delle origini e delle destinazioni"),
                         QStringLiteral("12.5"), QStringLiteral("21")}));
        QCOMPARE(table->columnAlignment[2], Alignment::Right);
        QCOMPARE(table->columnAlignment[3], Alignment::Right);
        QCOMPARE(w->passoText(), QStringLiteral("sto caricando WORD"));
    }

    void reloadedWindowShowsTheHeldAreas()
    {
        typeRow(1, {QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")});
        typeRow(2, {QStringLiteral("B"), QStringLiteral("3"), QStringLiteral("4")});
        f->windows.unload(WindowId::DatiAree);
        WindowTestFixture::flushDeletes();
        w = f->show<DatiAree>(WindowId::DatiAree);
        QVERIFY(w);
        QCOMPARE(cell("nome", 2)->text(), QStringLiteral("B"));
        QCOMPARE(cell("origine", 3)->text(), QString());
        QCOMPARE(label(QStringLiteral("totdest"))->text(), QStringLiteral("6"));
        QCOMPARE(f->state.areas.count, 2);
    }

    void contextHelpHasFiveLines()
    {
        f->prompts.expectMessage();
        QTest::mouseClick(w->button(WindowFrame::Button::Aiuto), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f->prompts);
        const QStringList lines = f->prompts.lastMessage().text.split(QChar(13));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], QStringLiteral("- non digitare nomi di aree più lunghi di 30 spazi (vi "
                                          "sarà un invito a rettificare);"));
    }
};

QTEST_MAIN(TestDatiAree)
#include "tst_datiaree.moc"
