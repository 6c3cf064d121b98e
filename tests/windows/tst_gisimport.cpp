#include "datiaree.h"
#include "distanze.h"
#include "frontespizio.h"
#include "gisimport.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"
#include "zoneimportdialog.h"

#include <calculation.h>
#include <completearchive.h>
#include <modelkind.h>
#include <zonepackage.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace urbaflux;

namespace {

// Three square comuni and a fourth of another province, as GeoJSON text (WGS84).
QByteArray squares(const char* fourthName)
{
    QByteArray json = R"({"type":"FeatureCollection","features":[)";
    const char* names[] = {"Forlì", "Sant'Agata de' Goti", "Ravenna", fourthName};
    for (int i = 0; i < 4; ++i) {
        const double x = 11 + 0.1 * i;
        json +=
            QStringLiteral(
                R"(%1{"type":"Feature","properties":{"NOME":"%2","POP":%3,"ADD":%4,"PROV":%5},)"
                R"("geometry":{"type":"Polygon","coordinates":[[[%6,44],[%7,44],[%7,44.05],[%6,44.05],[%6,44]]]}})")
                .arg(i == 0 ? QString() : QStringLiteral(","), QString::fromUtf8(names[i]))
                .arg(1000 * (i + 1))
                .arg(300 * (i + 1))
                .arg(i == 3 ? 2 : 1)
                .arg(x)
                .arg(x + 0.05)
                .toUtf8();
    }
    return json + "]}";
}

// Runs `step` on the import dialog once it is up, from inside its event loop.
void onDialog(const std::function<void(ZoneImportDialog*)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<ZoneImportDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void choose(ZoneImportDialog* dialog, const char* combo, const QString& text)
{
    auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(combo));
    QVERIFY(box);
    const int index = box->findText(text);
    QVERIFY2(index >= 0, combo);
    box->setCurrentIndex(index);
}

void typeInto(ZoneImportDialog* dialog, const char* name, const QString& text)
{
    auto* box = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY(box);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
    Q_EMIT box->editingFinished();
}

} // namespace

class TestGisImport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void importThroughTheDialog()
    {
        WindowTestFixture f(&createWindow);
        auto* areas = f.show<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas);
        const QString file = write(QStringLiteral("comuni.geojson"), squares("Imola"));
        f.prompts.expectOpenFile(file);
        int previewed = 0;
        QString count;
        onDialog([&](ZoneImportDialog* dialog) {
            previewed = dialog->previewZoneCount();
            choose(dialog, "campoNome", QStringLiteral("NOME"));
            choose(dialog, "campoOrigine", QStringLiteral("POP"));
            choose(dialog, "campoDestinazione", QStringLiteral("ADD"));
            typeInto(dialog, "filtro", QStringLiteral("PROV = 1"));
            count = dialog->countText();
            typeInto(dialog, "tortuosita", QStringLiteral("1.5"));
            // For the README: URBAFLUX_SCREENSHOTS=folder saves the dialog as it stands.
            if (const QByteArray folder = qgetenv("URBAFLUX_SCREENSHOTS"); !folder.isEmpty())
                dialog->grab().save(QString::fromLocal8Bit(folder) +
                                    QStringLiteral("/importa-zone.png"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importa")),
                              Qt::LeftButton);
        });
        const quint64 revision = f.state.inputRevision;
        areas->menuAction(QStringLiteral("mnuImportaZone"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QCOMPARE(previewed, 4);
        QCOMPARE(count, QStringLiteral("3 zone selezionate"));
        QVERIFY(f.state.inputRevision > revision);
        QCOMPARE(f.state.areas.count, 3);
        QCOMPARE(f.state.areas.name[2], QStringLiteral("Sant'Agata de' Goti"));
        QCOMPARE(f.state.areas.origin[3], QStringLiteral("3000"));
        QCOMPARE(f.state.areas.destination[1], QStringLiteral("300"));
        QCOMPARE(f.state.zones.zones.size(), size_t(3));
        // The rows show the import.
        auto* firstName = areas->findChild<QLineEdit*>(QStringLiteral("nome_1"));
        QVERIFY(firstName);
        QCOMPARE(firstName->text(), QStringLiteral("Forlì"));
        // 0.1° of longitude at 44.025° N is about 8.0 km, by 1.5.
        const double km = f.state.distances.distance[2].toDouble();
        QVERIFY2(std::abs(km / 1.5 - 8.0) < 0.1, qPrintable(f.state.distances.distance[2]));
    }

    void duplicatesAskedAndCancelLeavesTheState()
    {
        WindowTestFixture f(&createWindow);
        auto* areas = f.show<DatiAree>(WindowId::DatiAree);
        const QString file = write(QStringLiteral("doppi.geojson"), squares("Ravenna"));
        f.state.areas.count = 2;
        f.state.areas.name[1] = QStringLiteral("prima");
        // Refused: the question is answered No, and the dialog stays until it is cancelled.
        f.prompts.expectOpenFile(file);
        f.prompts.expectMessage(MessageAnswer::No);
        onDialog([&](ZoneImportDialog* dialog) {
            choose(dialog, "campoNome", QStringLiteral("NOME"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importa")),
                              Qt::LeftButton);
            QVERIFY(dialog->isVisible());
        });
        areas->menuAction(QStringLiteral("mnuImportaZone"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Nel file \"doppi.geojson\" più zone hanno lo stesso nome: "
                                "\"Ravenna\" (2 volte).\nTenerle comunque?"));
        QCOMPARE(f.state.areas.name[1], QStringLiteral("prima"));
        QCOMPARE(f.state.areas.count, 2);
        // Kept on Yes.
        f.prompts.expectOpenFile(file);
        f.prompts.expectMessage(MessageAnswer::Yes);
        onDialog([&](ZoneImportDialog* dialog) {
            choose(dialog, "campoNome", QStringLiteral("NOME"));
            // The area window counts the areas by their destinations.
            choose(dialog, "campoDestinazione", QStringLiteral("ADD"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importa")),
                              Qt::LeftButton);
        });
        areas->menuAction(QStringLiteral("mnuImportaZone"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QCOMPARE(f.state.areas.count, 4);
        QCOMPARE(f.state.areas.name[4], QStringLiteral("Ravenna"));
    }

    void repairIsToldOnceApplied()
    {
        WindowTestFixture f(&createWindow);
        auto* areas = f.show<DatiAree>(WindowId::DatiAree);
        const QString file = write(
            QStringLiteral("farfalla.geojson"),
            R"({"type":"FeatureCollection","features":[)"
            R"({"type":"Feature","properties":{"NOME":"Farfalla","ADD":1},"geometry":{"type":)"
            R"("Polygon","coordinates":[[[11,44],[11.1,44.1],[11.1,44],[11,44.1],[11,44]]]}},)"
            R"({"type":"Feature","properties":{"NOME":"Quadro","ADD":2},"geometry":{"type":)"
            R"("Polygon","coordinates":[[[12,44],[12.1,44],[12.1,44.1],[12,44.1],[12,44]]]}}]})");
        f.prompts.expectOpenFile(file);
        f.prompts.expectMessage();
        onDialog([&](ZoneImportDialog* dialog) {
            choose(dialog, "campoNome", QStringLiteral("NOME"));
            choose(dialog, "campoDestinazione", QStringLiteral("ADD"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importa")),
                              Qt::LeftButton);
        });
        areas->menuAction(QStringLiteral("mnuImportaZone"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        // Told after the areas are in, so the user sees them behind the message.
        QCOMPARE(f.prompts.lastMessage().icon, MessageIcon::Information);
        QVERIFY(f.prompts.lastMessage().text.endsWith(QStringLiteral("è stata riparata.")));
        QCOMPARE(f.state.areas.count, 2);
        QCOMPARE(f.state.zones.zones[0].parts.size(), size_t(2));
    }

    void matrixImportListsMissingPairs()
    {
        WindowTestFixture f(&createWindow);
        auto* distances = f.show<Distanze>(WindowId::Distanze);
        QVERIFY(distances);
        f.state.areas.count = 2;
        f.state.areas.name[1] = QStringLiteral("Alfa");
        f.state.areas.name[2] = QStringLiteral("Beta");
        buildPairList(f.state);
        f.state.distances.distance[4] = QStringLiteral("9");
        const QString matrix =
            write(QStringLiteral("m.csv"),
                  "origine;destinazione;valore\nAlfa;Alfa;1,5\nAlfa;Beta;10\nBeta;Alfa;11\n");
        f.prompts.expectOpenFile(matrix);
        f.prompts.expectMessage();
        distances->menuAction(QStringLiteral("mnuImportaDistanze"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Il file non indica 1 coppie, che restano come erano: Beta-Beta."));
        QCOMPARE(f.state.distances.distance[1], QStringLiteral("1.5"));
        QCOMPARE(f.state.distances.distance[3], QStringLiteral("11"));
        QCOMPARE(f.state.distances.distance[4], QStringLiteral("9"));
    }

    void sampleStudyOpensAndGoesToTheArchive()
    {
        QVERIFY2(!sampleStudyPath().isEmpty(), "the sample study is copied beside the tests");
        WindowTestFixture f(&createWindow);
        auto* areas = f.show<DatiAree>(WindowId::DatiAree);
        areas->menuAction(QStringLiteral("mnuStudioEsempio"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(f.prompts.verifyDone());
        QCOMPARE(f.state.areas.count, 17);
        QCOMPARE(f.state.areas.name[17], QStringLiteral("Isola Sirena"));
        QCOMPARE(f.state.zones.zones[16].parts.size(), size_t(2));
        QVERIFY(!f.state.zones.projectedCrs.isEmpty());
        for (int k = 1; k <= 17 * 17; ++k)
            QVERIFY(f.state.distances.distance[size_t(k)].toDouble() > 0);
        if (const QByteArray folder = qgetenv("URBAFLUX_SCREENSHOTS"); !folder.isEmpty()) {
            ZoneImportDialog dialog(sampleStudyPath(), DistanceUnit::Kilometres, f.prompts);
            dialog.resize(900, 480);
            dialog.grab().save(QString::fromLocal8Bit(folder) +
                               QStringLiteral("/studio-di-esempio.png"));
            areas->grab().save(QString::fromLocal8Bit(folder) +
                               QStringLiteral("/aree-esempio.png"));
        }

        // The sample reaches the results (and so the report) with a singly constrained model.
        f.state.model.kind = 2;
        f.state.model.kindLabel = modelKindLabel(2);
        QVERIFY(calculateInteractions(f.state).completed());

        // "Salva con nome" > "tutti i dati" writes the companion; opening the archive again
        // brings the zones back from it.
        const QString archive = m_dir.filePath(QStringLiteral("Urbaflux-tot-esempio"));
        auto* titlePage = f.show<Frontespizio>(WindowId::Frontespizio);
        QVERIFY(titlePage);
        f.prompts.expectSaveFile(archive);
        titlePage->menuAction(QStringLiteral("mnuSalvaTutto"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QVERIFY(QFile::exists(companionPackagePath(archive)));
        const ZoneSet saved = f.state.zones;
        f.state.zones = ZoneSet();
        auto* menu = f.show<Menu>(WindowId::Menu);
        f.prompts.expectOpenFile(archive);
        menu->menuAction(QStringLiteral("mnuApriTutti"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.state.zones, saved);
    }
};

QTEST_MAIN(TestGisImport)
#include "tst_gisimport.moc"
