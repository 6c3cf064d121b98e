// The title-page window through its widgets: the eight boxes, their hint, the check and clear
// commands, the help message, the technical office and its dialog, the title-page archive, the
// complete archive's dialog and its smallest file, and the printout of the window's data.

#include "frontespizio.h"
#include "officedialog.h"
#include "technicaloffice.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

QWidget* makeWindow(WindowId id, AppContext& context)
{
    if (sequenceNumber(id) > 0)
        return createWindow(id, context);
    return new QWidget; // help pages and the splash are not under test here
}

// Archive order: progetto, località, tipostudio, fornituradati, committente, luogo, data,
// allegati.
const char* const kBoxes[] = {"progetto",    "località", "tipostudio", "fornituradati",
                              "committente", "luogo",    "data",       "allegati"};
constexpr int kLuogo = 5;
constexpr int kData = 6;

const QString kCheckTitle =
    QStringLiteral("Urbaflux: controllo dati immessi nella finestra attiva");
const QString kCorrectHint = QStringLiteral(
    "i dati sono formalmente corretti: archiviarli o stampare la relazione completa");
const QString kTitleFilter =
    QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-fro- | Urbaflux-fro-*");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestFrontespizio : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowTestFixture> f;
    Frontespizio* w = nullptr;
    QTemporaryDir dir;

    QLineEdit* box(int field) const { return w->box(field); }
    QLabel* label(const char* name) const { return w->findChild<QLabel*>(QString::fromUtf8(name)); }
    void type(int field, const QString& text) const
    {
        QLineEdit* edit = box(field);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        // QTest types only ASCII: other letters go in as an input method would put them.
        for (const QChar ch : text) {
            if (ch.unicode() < 128)
                QTest::keyClick(edit, static_cast<char>(ch.unicode()));
            else
                edit->insert(QString(ch));
        }
    }
    // Types into the fields whose bit is set in `mask` (bit 0 progetto ... bit 7 allegati)
    // and empties the others.
    void fill(int mask, const QString& text = QStringLiteral("x")) const
    {
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            type(i, (mask >> i) & 1 ? text : QString());
    }
    void trigger(const char* name) const
    {
        QAction* action = w->menuAction(QString::fromLatin1(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            texts << box(i)->text();
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data-home"))));
    }
    void init()
    {
        saveTechnicalOffice({});
        f = std::make_unique<WindowTestFixture>(&makeWindow);
        w = f->show<Frontespizio>(WindowId::Frontespizio);
        QVERIFY(w);
    }
    void cleanup()
    {
        QVERIFY(f->prompts.verifyDone());
        f.reset();
        w = nullptr;
    }

    // --- The window's texts ---

    void dateIsItalianWhateverTheSystem_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("8 dicembre 2026")
            << QDate(2026, 12, 8) << QStringLiteral("martedì, 8 dic 2026");
        QTest::newRow("1 gennaio 2027")
            << QDate(2027, 1, 1) << QStringLiteral("venerdì, 1 gen 2027");
        QTest::newRow("15 agosto 2026")
            << QDate(2026, 8, 15) << QStringLiteral("sabato, 15 ago 2026");
    }
    void dateIsItalianWhateverTheSystem()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(titlePageDate(date), text);
        QLocale::setDefault(QLocale::c());
    }

    void newWindowShowsTodayAndAsksForTheProject()
    {
        QCOMPARE(box(kData)->text(), titlePageDate(QDate::currentDate()));
        QCOMPARE(w->titlePage().data, box(kData)->text());
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            QVERIFY(i == kData || box(i)->text().isEmpty());
        QCOMPARE(w->passoText(), QStringLiteral("digitare il nome del progetto"));
        QCOMPARE(w->windowTitle(),
                 QStringLiteral("Urbaflux: modello di calcolo non ancora scelto (tornare "
                                "indietro per l'elaborazione)"));
        QCOMPARE(label("Label1")->text(),
                 QStringLiteral("       MODELLO GRAVITAZIONALE URBANISTICO"));
        QCOMPARE(label("lblstudio")->text(), QStringLiteral(" studio tecnico...........:"));
        QCOMPARE(label("lblstudio")->toolTip(),
                 QStringLiteral("lo studio che ha effettuato la elaborazione"));
        QCOMPARE(label("Labelstudio")->text(), QString());
        QCOMPARE(label("labelindirizzo")->text(), QString());
        QCOMPARE(w->passo()->toolTip(), QStringLiteral("informazioni sull'usdo della finestra"));
        auto* stampa = w->findChild<QPushButton*>(QStringLiteral("stampa"));
        QVERIFY(stampa);
        QCOMPARE(stampa->text(), QStringLiteral(" &Stampa"));
        QCOMPARE(stampa->toolTip(), QStringLiteral("cliccare per stampare la relazione"));
        QCOMPARE(w->toolbarAction(6)->toolTip(), QStringLiteral("stampa relazione"));
    }

    // Caption, tooltip and hint of each box: the hint asks for the first empty box.
    void fieldTextsAndHint_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("hint");
        const QString rows[8][3] = {
            {QStringLiteral(" progetto....................:"),
             QStringLiteral("il tipo di progetto che si sta elaborando"),
             QStringLiteral("digitare il nome del progetto")},
            {QStringLiteral(" località......................:"),
             QStringLiteral("denominazione dei luoghi oggetto dello studio"),
             QStringLiteral("digitare il nome della località oggetto di studio")},
            {QStringLiteral(" tipologia di studio......:"),
             QStringLiteral("ad esempio: 'analisi urbanistica periodo estivo'; 'ipotesi con "
                            "strada a scorrimento veloce'; ecc."),
             QStringLiteral("digitare la tipologia di studio")},
            {QStringLiteral(" fornitura dati..............:"),
             QStringLiteral("chi ha fornito i dati urbanistici necessari alla elaborazione"),
             QStringLiteral("digitare la fonte dei dati utilizzati nella elaborazione")},
            {QStringLiteral(" committente..............:"),
             QStringLiteral("chi ha commissionato lo studio"),
             QStringLiteral("digitare il nome del committente")},
            {QStringLiteral(" luogo elaborazione...:"),
             QStringLiteral("località in cui viene effettuata la elaborazione dei dati"),
             QStringLiteral("digitare il nome del luogo della redazione del progetto")},
            {QStringLiteral(" data elaborazione.....:"),
             QStringLiteral("la data della elaborazione è importante per la formulazione di "
                            "ipotesi e per il riferimento temporale delle analisi"),
             QStringLiteral("digitare la data della elaborazione")},
            {QStringLiteral(" allegati alla relazione:"),
             QStringLiteral("grafici, disegni, planimetrie, foto, ecc."),
             QStringLiteral("digitare la tipologia degli eventuali allegati")},
        };
        for (int i = 0; i < 8; ++i)
            QTest::newRow(kBoxes[i]) << i << rows[i][0] << rows[i][1] << rows[i][2];
    }
    void fieldTextsAndHint()
    {
        QFETCH(int, field);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        QFETCH(QString, hint);
        QLabel* fieldLabel =
            w->findChild<QLabel*>(QStringLiteral("lbl") + QString::fromUtf8(kBoxes[field]));
        QVERIFY(fieldLabel);
        QCOMPARE(fieldLabel->text(), caption);
        QCOMPARE(fieldLabel->toolTip(), tooltip);
        QCOMPARE(box(field)->objectName(), QString::fromUtf8(kBoxes[field]));

        // Every box filled, blanks counting as filled, then this one emptied.
        fill(0xFF, QStringLiteral("  "));
        QCOMPARE(w->passoText(), kCorrectHint);
        type(field, QString());
        QCOMPARE(w->passoText(), hint);
        QVERIFY(w->titlePage().fields()[static_cast<size_t>(field)]->isEmpty());
        type(field, QStringLiteral("y"));
        QCOMPARE(w->passoText(), kCorrectHint);
        QCOMPARE(*w->titlePage().fields()[static_cast<size_t>(field)], QStringLiteral("y"));
    }

    void checkCommand_data()
    {
        QTest::addColumn<int>("mask"); // bit i set: box i filled
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("hint");
        const int question = static_cast<int>(MessageIcon::Question);
        const int information = static_cast<int>(MessageIcon::Information);
        QTest::newRow("everything but luogo")
            << (0xFF & ~(1 << kLuogo)) << QStringLiteral("I dati sono stati immessi correttamente.")
            << information
            << QStringLiteral("digitare il nome del luogo della redazione del progetto");
        QTest::newRow("only data and luogo")
            << ((1 << kData) | (1 << kLuogo)) << QStringLiteral("Non è stato immesso alcun dato.")
            << question << QStringLiteral("digitare il nome del progetto");
        QTest::newRow("nothing") << 0 << QStringLiteral("Non è stato immesso alcun dato.")
                                 << question << QStringLiteral("digitare il nome del progetto");
        QTest::newRow("everything but data")
            << (0xFF & ~(1 << kData)) << QStringLiteral("Inserire dati per ogni campo.")
            << information << QStringLiteral("digitare la data della elaborazione");
        QTest::newRow("only allegati")
            << (1 << 7) << QStringLiteral("Inserire dati per ogni campo.") << information
            << QStringLiteral("digitare il nome del progetto");
        QTest::newRow("everything")
            << 0xFF << QStringLiteral("I dati sono stati immessi correttamente.") << information
            << kCorrectHint;
    }
    void checkCommand()
    {
        QFETCH(int, mask);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, hint);
        fill(mask, QStringLiteral(" ")); // a blank is a datum
        const QStringList before = boxTexts();
        f->prompts.expectMessage();
        w->toolbarAction(20)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.title, kCheckTitle);
        QCOMPARE(m.text, text);
        QCOMPARE(static_cast<int>(m.icon), icon);
        QCOMPARE(boxTexts(), before);
        QCOMPARE(w->passoText(), hint);
        QVERIFY(w->isVisible()); // a check never leaves the window
    }

    void clearEmptiesTheDateToo()
    {
        fill(0xFF);
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        w->toolbarAction(21)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            QVERIFY(box(i)->text().isEmpty());
        QCOMPARE(w->titlePage(), TitlePage());
        QCOMPARE(w->passoText(), QStringLiteral("digitare il nome del progetto"));
    }

    void helpMessage()
    {
        f->prompts.expectMessage();
        QTest::mouseClick(w->button(WindowFrame::Button::Aiuto), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.title, QStringLiteral("Urbaflux: aiuto"));
        const QStringList lines = m.text.split(QChar(13));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("- Digitare o correggere i dati spostandosi con il "
                                          "tasto TAB, o con il mouse, nei campi;"));
        QCOMPARE(lines[1], QStringLiteral("- la data viene impostata in automatico, ma è "
                                          "modificabile;"));
        QCOMPARE(lines[2], QStringLiteral("- aprire un file archiviato per prelevare, "
                                          "eventualmente, i dati registrati (Urbaflux-fro-);"));
        QCOMPARE(lines[3], QStringLiteral("- non digitare dati più lunghi di 60 spazi;"));
        QCOMPARE(lines[4], QStringLiteral("- effettuare il controllo dei dati immessi cliccando "
                                          "sul tasto ABC;"));
        QCOMPARE(lines[5], QStringLiteral("- è possibile archiviare 'tutti i dati' "
                                          "dell'elaborazione cliccando su File (Salva con "
                                          "nome...)."));
    }

    void backGoesToTheDistances()
    {
        QTest::mouseClick(w->button(WindowFrame::Button::Indietro), Qt::LeftButton);
        QWidget* distances = f->windows.existing(WindowId::Distanze);
        QVERIFY(distances && distances->isVisible());
    }

    // The texts live in the state: a window made again after an unload shows them again, the
    // date the user typed included.
    void unloadedWindowStartsAgain()
    {
        fill(0xFF, QStringLiteral("vecchio"));
        f->windows.unload(WindowId::Frontespizio);
        WindowTestFixture::flushDeletes();
        QVERIFY(!f->windows.isLoaded(WindowId::Frontespizio));
        QCOMPARE(f->state.titlePage.progetto, QStringLiteral("vecchio"));
        w = f->touch<Frontespizio>(WindowId::Frontespizio);
        QVERIFY(w);
        QCOMPARE(box(0)->text(), QStringLiteral("vecchio"));
        QCOMPARE(box(kData)->text(), QStringLiteral("vecchio"));
        QCOMPARE(w->passoText(), kCorrectHint);
        QVERIFY(f->prompts.verifyDone());
    }

    // --- Technical office ---

    void officeDialogSetsLabelsAndSetting_data()
    {
        QTest::addColumn<bool>("viaDoubleClick");
        QTest::addColumn<bool>("accept");
        QTest::newRow("button, OK") << false << true;
        QTest::newRow("double click, OK") << true << true;
        QTest::newRow("button, Annulla") << false << false;
    }
    void officeDialogSetsLabelsAndSetting()
    {
        QFETCH(bool, viaDoubleClick);
        QFETCH(bool, accept);
        saveTechnicalOffice({QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1")});
        w->showTechnicalOffice();
        if (viaDoubleClick)
            QTest::mouseDClick(label("Labelstudio"), Qt::LeftButton);
        else
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdstudio")),
                              Qt::LeftButton);
        OfficeDialog* dialog = w->officeDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Studio tecnico"));
        QCOMPARE(dialog->nameBox()->text(), QStringLiteral("Studio Rossi"));
        QCOMPARE(dialog->addressBox()->text(), QStringLiteral("via Roma 1"));
        QCOMPARE(dialog->okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(dialog->cancelButton()->text(), QStringLiteral("Annulla"));

        dialog->nameBox()->selectAll();
        QTest::keyClicks(dialog->nameBox(), QStringLiteral("Studio Bianchi & C."));
        dialog->addressBox()->selectAll();
        QTest::keyClick(dialog->addressBox(), Qt::Key_Delete);
        QTest::mouseClick(accept ? dialog->okButton() : dialog->cancelButton(), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());

        const TechnicalOffice expected =
            accept ? TechnicalOffice{QStringLiteral("Studio Bianchi & C."), QString()}
                   : TechnicalOffice{QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1")};
        QCOMPARE(loadTechnicalOffice(), expected);
        QCOMPARE(label("Labelstudio")->text(), expected.name);
        QCOMPARE(label("labelindirizzo")->text(), expected.address);
        // Not part of the elaboration: the boxes and the hint are as they were.
        QCOMPARE(w->passoText(), QStringLiteral("digitare il nome del progetto"));
    }

    // --- Title-page archive ---

    void commaSurvivesSaveAndOpen()
    {
        fill(0xFF, QStringLiteral("v"));
        type(0, QStringLiteral("Piano, variante \"B\""));
        type(kData, QStringLiteral("martedì, 8 dic 2026"));
        const QString file = path(QStringLiteral("Urbaflux-fro-virgola"));
        f->prompts.expectSaveFile(file);
        trigger("mnuSalvaNomeSoloDati");
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest save = f->prompts.fileRequests().last();
        QCOMPARE(save.title, QStringLiteral("Salva file con nome (frontespizio)"));
        QCOMPARE(save.filter, QStringLiteral("File Urbaflux-fro- | Urbaflux-fro-*"));
        QCOMPARE(save.selectedFilter, 1);
        QCOMPARE(save.fileName, QStringLiteral("Urbaflux-fro-")); // the archive's prefix
        QCOMPARE(w->currentFile(), file);
        QCOMPARE(readAll(file).count("\r\n"), 2);

        // Saved, the texts are cleared after a plain confirmation.
        f->prompts.expectMessage(MessageAnswer::Yes);
        w->toolbarAction(21)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().text,
                 QStringLiteral("Cancellare tutti i dati della finestra?"));
        QCOMPARE(f->prompts.lastMessage().buttons, MessageButtons::YesNo);
        f->prompts.expectMessage(MessageAnswer::Discard); // the texts cleared are unsaved
        f->prompts.expectOpenFile(file);
        w->toolbarAction(1)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest open = f->prompts.fileRequests().last();
        QCOMPARE(open.title, QStringLiteral("Apri file (frontespizio)"));
        QCOMPARE(open.filter, kTitleFilter);
        QCOMPARE(open.selectedFilter, 2);
        QCOMPARE(open.fileName, QString());
        // The dialog starts where the last archive was chosen, whatever was saved meanwhile.
        QCOMPARE(save.directory, QString());
        QCOMPARE(open.directory, QFileInfo(file).absolutePath());
        // The comma stays in its text; the double quotes of a text cannot be archived as such.
        QCOMPARE(box(0)->text(), QStringLiteral("Piano, variante \u201DB\u201D"));
        QCOMPARE(box(kData)->text(), QStringLiteral("martedì, 8 dic 2026"));
        QCOMPARE(box(7)->text(), QStringLiteral("v"));
        QCOMPARE(w->passoText(), kCorrectHint);
    }

    void emptyTitlePageArchive()
    {
        f->prompts.expectMessage(MessageAnswer::Yes); // only today's date, no change of the user
        w->toolbarAction(21)->trigger();
        UF_VERIFY_PROMPTS(f->prompts);
        const QString file = path(QStringLiteral("Urbaflux-fro-vuoto"));
        f->prompts.expectSaveFile(file);
        trigger("mnuSalva");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().last().title,
                 QStringLiteral("Salva file (frontespizio)"));
        QCOMPARE(readAll(file), QByteArray("\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n"));

        fill(0xFF);
        f->prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        f->prompts.expectOpenFile(file);
        trigger("mnuApri");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(w->titlePage(), TitlePage());
        QCOMPARE(w->passoText(), QStringLiteral("digitare il nome del progetto"));
    }

    void saveAfterOpenWritesWithoutDialog()
    {
        const QString file = path(QStringLiteral("Urbaflux-fro-aperto"));
        QVERIFY(writeAll(file, "\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"h\"\r\n"));
        f->prompts.expectOpenFile(file);
        trigger("mnuApri");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(boxTexts(), QString::fromLatin1("a b c d e f g h").split(QLatin1Char(' ')));
        type(7, QStringLiteral("tavole"));
        w->toolbarAction(2)->trigger(); // no dialog queued: one would fail the test
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(readAll(file),
                 QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"tavole\"\r\n"));

        // The dialog's name box then keeps the name of the file.
        const QString other = path(QStringLiteral("Urbaflux-fro-altro"));
        f->prompts.expectSaveFile(other);
        trigger("mnuSalvaNomeSoloDati");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.fileRequests().last().fileName, file);
        QCOMPARE(w->currentFile(), other);
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::newRow("seven values")
            << QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\"\r\n") << true;
        QTest::newRow("one record") << QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n") << true;
        QTest::newRow("unclosed quote")
            << QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\",\"h\r\n") << true;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void refusedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        const QString known = path(QStringLiteral("Urbaflux-fro-buono"));
        fill(0xFF, QStringLiteral("prima"));
        f->prompts.expectSaveFile(known);
        trigger("mnuSalva");
        const QString file = path(QStringLiteral("Urbaflux-fro-rotto-") +
                                  QString::fromLatin1(QTest::currentDataTag()));
        if (exists)
            QVERIFY(writeAll(file, bytes));
        f->prompts.expectOpenFile(file);
        f->prompts.expectMessage();
        trigger("mnuApri");
        UF_VERIFY_PROMPTS(f->prompts);
        const MessageRequest m = f->prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Critical);
        QCOMPARE(m.title, QStringLiteral("Urbaflux: archivio (frontespizio)"));
        QVERIFY2(m.text.contains(QFileInfo(file).fileName()), qPrintable(m.text));
        QCOMPARE(boxTexts(), QStringList(8, QStringLiteral("prima")));
        QCOMPARE(w->currentFile(), known);
    }

    // A known file that can no longer be written is reported and stays the current one.
    void failedSaveIsToldAndKeepsTheName()
    {
        const QString file = path(QStringLiteral("Urbaflux-fro-occupato"));
        fill(0xFF, QStringLiteral("uno"));
        f->prompts.expectSaveFile(file);
        trigger("mnuSalva");
        UF_VERIFY_PROMPTS(f->prompts);
        // Something else took the name meanwhile (permissions would not stop every user).
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir(dir.path()).mkdir(QFileInfo(file).fileName()));
        type(0, QStringLiteral("due"));
        f->prompts.expectMessage();
        trigger("mnuSalva");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->prompts.lastMessage().icon, MessageIcon::Critical);
        QCOMPARE(f->prompts.lastMessage().title,
                 QStringLiteral("Urbaflux: archivio (frontespizio)"));
        QVERIFY(f->prompts.lastMessage().text.contains(QStringLiteral("Urbaflux-fro-occupato")));
        QCOMPARE(w->currentFile(), file);
        QVERIFY(QFileInfo(file).isDir());
    }

    void deleteMovesToTrashAndKeepsTheName()
    {
        const QString file = path(QStringLiteral("Urbaflux-fro-cestino"));
        QVERIFY(writeAll(file, "\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n"));
        f->prompts.expectOpenFile(file);
        trigger("mnuElimina");
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, f->state.run.deleteTitle);
        QCOMPARE(request.filter, kTitleFilter);
        QCOMPARE(request.selectedFilter, 2);
        QVERIFY(!QFile::exists(file));
        QVERIFY(w->passoText().contains(QStringLiteral("cestino")));
        QCOMPARE(w->currentFile(), file);
        w->toolbarAction(2)->trigger(); // "Salva" writes it again without a dialog
        UF_VERIFY_PROMPTS(f->prompts);
        QVERIFY(QFile::exists(file));
    }

    // --- Complete archive ---

    // An elaboration without areas: the model record, the count, the totals and the title page.
    void completeArchiveWithoutAreas()
    {
        const QString titleFile = path(QStringLiteral("Urbaflux-fro-resta"));
        f->prompts.expectSaveFile(titleFile);
        trigger("mnuSalva");
        type(0, QStringLiteral("Piano"));
        const QString file = path(QStringLiteral("Urbaflux-tot-vuoto"));
        f->prompts.expectSaveFile(file);
        trigger("mnuSalvaTutto");
        UF_VERIFY_PROMPTS(f->prompts);
        const FileRequest request = f->prompts.fileRequests().last();
        QCOMPARE(request.title, QStringLiteral("Salva con nome (tutti i dati)"));
        QCOMPARE(request.filter, QStringLiteral("File Urbaflux-tot-| Urbaflux-tot-*"));
        QCOMPARE(request.selectedFilter, 1);
        QCOMPARE(request.fileName, QStringLiteral("Urbaflux-tot-"));
        const QList<QByteArray> lines = readAll(file).split('\n');
        QCOMPARE(lines.size(), 6); // five records and the end after the last
        QCOMPARE(lines[1], QByteArray("0\r"));
        QCOMPARE(lines[2], QByteArray("0,0,0\r"));
        QVERIFY(lines[3].startsWith("\"Piano\",\"\",\"\",\"\""));
        QCOMPARE(w->currentFile(), titleFile);
    }

    // --- Printout ---

    void titleDataPrintout()
    {
        saveTechnicalOffice({QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1")});
        w->showTechnicalOffice();
        for (int i = 0; i < TitlePage::kFieldCount; ++i)
            type(i, i == kLuogo ? QString() : QStringLiteral("t%1").arg(i + 1));
        trigger("mnuStampaSoloDati");
        UF_VERIFY_PROMPTS(f->prompts);
        QCOMPARE(f->documents.count(), 1);
        const Document& doc = *f->documents.last();
        QCOMPARE(DocumentRecorder::nonEmptyParagraphTexts(doc),
                 (QStringList{QStringLiteral("Urbaflux"),
                              QStringLiteral("modelli gravitazionali urbanistici"),
                              QStringLiteral("Dati generali")}));
        const Table* table = DocumentRecorder::table(doc, 1);
        QVERIFY(table);
        QCOMPARE(table->rows, 11);
        QCOMPARE(table->columns, 2);
        QVERIFY(table->styled);
        QCOMPARE(table->fontSize, 10.0);
        const QString expected[11][2] = {
            {QStringLiteral("tipologia"), QStringLiteral("dati")},
            {QStringLiteral("progetto"), QStringLiteral("t1")},
            {QStringLiteral("località"), QStringLiteral("t2")},
            {QStringLiteral("tipologia di studio"), QStringLiteral("t3")},
            {QStringLiteral("fornitura dati"), QStringLiteral("t4")},
            {QStringLiteral("committente"), QStringLiteral("t5")},
            {QStringLiteral("luogo di elaborazione"), QString()},
            {QStringLiteral("data di elaborazione"), QStringLiteral("t7")},
            {QStringLiteral("allegati alla relazione"), QStringLiteral("t8")},
            {QStringLiteral("studio tecnico"), QStringLiteral("Studio Rossi")},
            {QStringLiteral("indirizzo dello studio"), QStringLiteral("via Roma 1")},
        };
        for (int r = 0; r < 11; ++r)
            QCOMPARE(DocumentRecorder::row(doc, 1, r + 1),
                     (QStringList{expected[r][0], expected[r][1]}));
        // The hint says the document is on its way until the next change of a box.
        QCOMPARE(w->passoText(), QStringLiteral("sto caricando WORD"));
        type(kLuogo, QStringLiteral("Roma"));
        QCOMPARE(w->passoText(), kCorrectHint);
    }
};

QTEST_MAIN(TestFrontespizio)
#include "tst_frontespizio.moc"
