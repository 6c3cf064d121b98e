// Every caption, heading and hint of the area and distances windows shows whole at the
// windows' design size, for each model. Set URBAFLUX_SHOTS to a folder to keep screenshots.

#include "datiaree.h"
#include "distanze.h"
#include "modelcaptions.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <modelkind.h>

#include <QDir>
#include <QLabel>
#include <QTest>

using namespace urbaflux;

namespace {

// The labels of `window` whose text does not fit their box, by object name.
QStringList cutOffLabels(QWidget* window)
{
    QStringList cut;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty() ||
            label->pixmap().isNull() == false)
            continue;
        const QRect room = label->contentsRect();
        const QFontMetrics metrics = label->fontMetrics();
        const bool fits = label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : metrics.horizontalAdvance(label->text()) <= room.width() &&
                                    metrics.height() <= room.height();
        if (!fits)
            cut << label->objectName() + QStringLiteral(": ") + label->text();
    }
    return cut;
}

void keepShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("URBAFLUX_SHOTS");
    if (!folder.isEmpty())
        window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace

class TestWalkTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTextShowsWhole_data();
    void everyTextShowsWhole();
};

void TestWalkTexts::everyTextShowsWhole_data()
{
    QTest::addColumn<int>("kind");
    for (int kind = 1; kind <= 3; ++kind)
        QTest::addRow("model %d", kind) << kind;
}

void TestWalkTexts::everyTextShowsWhole()
{
    QFETCH(int, kind);
    WindowTestFixture f(&createWindow);
    f.state.model.kind = static_cast<qint16>(kind);
    f.state.model.kindLabel = modelKindLabel(kind);
    markInputsChanged(f.state);
    auto* areas = f.show<DatiAree>(WindowId::DatiAree);
    QVERIFY(areas);
    const QStringList areaHints = {
        QStringLiteral("iniziare a digitare il nome della prima area, i valori di origine e "
                       "destinazione"),
        QStringLiteral("digitare il nome della seconda area, i valori di origine e destinazione"),
        QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o andare Avanti "
                       "con altri dati")};
    for (int i = 0; i < areaHints.size(); ++i) {
        areas->setPasso(areaHints[i]);
        QVERIFY2(cutOffLabels(areas).isEmpty(), qPrintable(cutOffLabels(areas).join(u'\n')));
    }
    keepShot(areas, QStringLiteral("datiaree-%1").arg(kind));

    auto* distances = f.show<Distanze>(WindowId::Distanze);
    QVERIFY(distances);
    const QStringList distanceHints = {
        QStringLiteral("mancano i dati delle aree: aprire un file archiviato o tornare alla "
                       "finestra precedente"),
        QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"),
        QStringLiteral("scegliere il valore del peso in percentuale per il numero d'ordine n. "
                       "32400"),
        QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o andare Avanti "
                       "con i grafici"),
        QStringLiteral("correggere i dati: il peso della coppia n. 32400 non è un numero")};
    for (const QString& hint : distanceHints) {
        distances->setPasso(hint);
        QVERIFY2(cutOffLabels(distances).isEmpty(),
                 qPrintable(cutOffLabels(distances).join(u'\n')));
    }
    keepShot(distances, QStringLiteral("distanze-%1").arg(kind));
}

QTEST_MAIN(TestWalkTexts)
#include "tst_walktexts.moc"
