// The full report run from the title-page window: the checks before it, the chart from the
// charts window, the document in the viewer and its save into the documents folder.

#include "../report/reportsamples.h"
#include "chartpicture.h"
#include "frontespizio.h"
#include "fullreport.h"
#include "grafici.h"
#include "reportcommand.h"
#include "technicaloffice.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <safefile.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

using namespace urbaflux;

class TestReportCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        QStandardPaths::setTestModeEnabled(true);
        saveTechnicalOffice({QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1, Pisa")});
        QCOMPARE(loadTechnicalOffice().name, QStringLiteral("Studio Rossi"));
    }

    void init() { QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively(); }

    void preconditions_data()
    {
        QTest::addColumn<int>("areas");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("no areas") << 0
                                  << QStringLiteral(
                                         "ATTENZIONE: è necessario controllare le interazioni !")
                                  << QStringLiteral("Manca il dato essenziale: non esistono aree!");
        // Areas without their data: what is missing is named, as the distances hint names it.
        QTest::newRow("no interactions")
            << 2 << QStringLiteral("Urbaflux")
            << QStringLiteral("Impossibile comporre la relazione: digitare il valore della "
                              "distanza n. 1.");
    }
    void preconditions()
    {
        QFETCH(int, areas);
        QFETCH(QString, title);
        QFETCH(QString, text);
        WindowTestFixture f(&createWindow);
        f.state.areas.count = areas;
        auto* title_window = f.show<Frontespizio>(WindowId::Frontespizio);
        QVERIFY(title_window);
        f.prompts.expectMessage();
        printReport(*title_window, samples::titlePage());
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        const MessageRequest message = f.prompts.lastMessage();
        QCOMPARE(message.icon, MessageIcon::Critical);
        QCOMPARE(message.title, title);
        QCOMPARE(message.text, text);
        QVERIFY(f.windows.isLoaded(WindowId::Distanze));
        QVERIFY(f.windows.existing(WindowId::Distanze)->isVisible());
        QCOMPARE(f.documents.count(), 0);
        QVERIFY(!f.windows.isLoaded(WindowId::Grafici));
    }

    void reportShownAndSaved()
    {
        WindowTestFixture f(&createWindow);
        f.state = *samples::elaboration(3);
        auto* window = f.show<Frontespizio>(WindowId::Frontespizio);
        const QString path = reportSavePath(QStringLiteral("Comune di Lucca/Pisa"));
        QCOMPARE(QFileInfo(path).fileName(),
                 reportFileName(QStringLiteral("Comune di Lucca/Pisa")));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("relazione precedente") > 0);
        previous.close();
        QFile::remove(chartPicturePath());

        // Typed into the title page, started by its " &Stampa".
        auto* committente = window->findChild<QLineEdit*>(QStringLiteral("committente"));
        QVERIFY(committente);
        QTest::keyClicks(committente, QStringLiteral("Comune di Lucca/Pisa"));
        auto* stampa = window->findChild<QPushButton*>(QStringLiteral("stampa"));
        QVERIFY(stampa);
        f.prompts.expectMessage(MessageAnswer::Yes);
        QTest::mouseClick(stampa, Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest asked = f.prompts.lastMessage();
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QCOMPARE(asked.defaultAnswer, MessageAnswer::No);
        QCOMPARE(asked.text,
                 QStringLiteral("La relazione \"%1\" esiste già. Sostituirla con quella nuova?")
                     .arg(QDir::toNativeSeparators(path)));
        // In the viewer at once, while the save runs.
        QCOMPARE(f.documents.count(), 1);
        QTRY_COMPARE(window->passoText(), QStringLiteral("la relazione è stata salvata in ") +
                                              QDir::toNativeSeparators(path));
        QVERIFY(f.prompts.verifyDone());

        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.read(2), QByteArray("PK"));
        // The chart came from a charts window made for the purpose and left hidden.
        auto* charts = f.window<Grafici>(WindowId::Grafici);
        QVERIFY(charts && !charts->isVisible());
        QVERIFY(QFileInfo::exists(chartPicturePath()));
        const QStringList texts = DocumentRecorder::paragraphTexts(*f.documents.last());
        QVERIFY(texts.contains(QStringLiteral("progettista: Studio Rossi")));
        QVERIFY(texts.contains(QStringLiteral("via Roma 1, Pisa")));
        QVERIFY(texts.contains(QStringLiteral("committente: Comune di Lucca/Pisa")));
    }

    // Declined, the earlier report stays as it was and the new one is only in the viewer.
    void replacingIsDeclined()
    {
        WindowTestFixture f(&createWindow);
        f.state = *samples::elaboration(2);
        auto* window = f.show<Frontespizio>(WindowId::Frontespizio);
        const QString path = reportSavePath(QStringLiteral("Comune"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("relazione precedente") > 0);
        previous.close();
        f.prompts.expectMessage(MessageAnswer::No);
        printReport(*window, samples::titlePage(QStringLiteral("Comune")));
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QCOMPARE(f.documents.count(), 1);
        QCOMPARE(window->passoText(), QStringLiteral("la relazione non è stata salvata: è aperta "
                                                     "nella finestra del documento"));
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), QByteArray("relazione precedente"));
    }

    // A disk that fills up half-way: the window says so, the earlier report stays whole.
    void fullDiskKeepsTheEarlierReport()
    {
        WindowTestFixture f(&createWindow);
        f.state = *samples::elaboration(2);
        auto* window = f.show<Frontespizio>(WindowId::Frontespizio);
        const QString path = reportSavePath(QStringLiteral("Comune"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("relazione precedente") > 0);
        previous.close();
        f.prompts.expectMessage(MessageAnswer::Yes);
        f.prompts.expectMessage();
        SafeFile::injectWriteFailure(20000, ENOSPC, path);
        printReport(*window, samples::titlePage(QStringLiteral("Comune")));
        QTRY_COMPARE(f.prompts.pending(), 0);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest message = f.prompts.lastMessage();
        QCOMPARE(message.icon, MessageIcon::Critical);
        QCOMPARE(message.text,
                 QStringLiteral("Impossibile salvare il documento \"%1\": la scrittura "
                                "non è riuscita (il disco è pieno). Il file "
                                "precedente resta invariato.")
                     .arg(QDir::toNativeSeparators(path)));
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), QByteArray("relazione precedente"));
    }

    // The report stays in the viewer; the message names the file; nothing is left half-written.
    void failedSave_data()
    {
        QTest::addColumn<bool>("folderIsAFile");
        QTest::newRow("documents folder is a file") << true;
        QTest::newRow("name taken by a folder") << false;
    }
    void failedSave()
    {
        QFETCH(bool, folderIsAFile);
        WindowTestFixture f(&createWindow);
        f.state = *samples::elaboration(2);
        auto* window = f.show<Frontespizio>(WindowId::Frontespizio);
        const QString path = reportSavePath(QStringLiteral("Comune"));
        const QString folder = QFileInfo(path).absolutePath();
        if (folderIsAFile) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(path));
        }

        f.prompts.expectMessage();
        printReport(*window, samples::titlePage(QStringLiteral("Comune")));
        QCOMPARE(f.documents.count(), 1);
        QTRY_COMPARE(f.prompts.pending(), 0);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest message = f.prompts.lastMessage();
        QCOMPARE(message.icon, MessageIcon::Critical);
        QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
        QVERIFY(window->passoText().startsWith(QStringLiteral("la relazione non è stata salvata")));
        QCOMPARE(QDir(folderIsAFile ? m_home.path() : folder)
                     .entryList(QDir::Files | QDir::Hidden)
                     .filter(QStringLiteral("Relazione")),
                 QStringList());
        QFile::remove(folder);
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(TestReportCommand)
#include "tst_reportcommand.moc"
