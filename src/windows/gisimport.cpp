#include "gisimport.h"

#include "zoneimportdialog.h"

#include <datafiles.h>
#include <distancematrix.h>
#include <prompts.h>
#include <windowframe.h>
#include <zonelayer.h>
#include <zonepackage.h>
#include <zonestudy.h>

#include <QAction>
#include <QMenu>

namespace urbaflux {

namespace {

const QString kGisFilter = QStringLiteral(
    "Strati GIS (*.gpkg *.shp *.zip *.geojson *.json *.csv)|*.gpkg;*.shp;*.zip;*.geojson;*.json;"
    "*.csv|Tutti i file (*.*)|*.*");

QString title(WindowFrame& window, const QString& what)
{
    return window.state().run.programName + QStringLiteral(": ") + what;
}

void tellNotices(WindowFrame& window, const QStringList& notices)
{
    if (!notices.isEmpty()) {
        window.prompts().inform(MessageIcon::Information, title(window, QStringLiteral("zone")),
                                notices.join(QLatin1Char('\n')));
    }
}

void insertItems(WindowFrame& window,
                 const QList<std::pair<QString, void (*)(WindowFrame&)>>& items,
                 const QStringList& names)
{
    QMenu* file = window.fileMenu();
    QAction* before = window.menuAction(QStringLiteral("mnuElimina"));
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* action = new QAction(items[i].first, file);
        action->setObjectName(names[i]);
        auto* handler = items[i].second;
        QObject::connect(action, &QAction::triggered, &window,
                         [&window, handler] { handler(window); });
        file->insertAction(before, action);
    }
    file->insertSeparator(before);
}

} // namespace

QString sampleStudyPath()
{
    return locateDataFile(QStringLiteral("studio-di-esempio.gpkg"),
                          DataFileFirst::ExecutableDirectory);
}

void importZonesFromGis(WindowFrame& window)
{
    window.prompts().setOwner(&window);
    const QString path = window.prompts().openFile(
        {QStringLiteral("Importa zone da file GIS"), kGisFilter, 1, QString(), QString()});
    if (path.isEmpty())
        return;
    ZoneImportDialog dialog(path, distanceUnitOf(window.state().model.unit), window.prompts(),
                            &window);
    if (dialog.exec() != QDialog::Accepted || !dialog.study())
        return;
    applyZoneStudy(*dialog.study(), window.state());
    tellNotices(window, dialog.notices());
}

void openSampleStudy(WindowFrame& window)
{
    const QString path = sampleStudyPath();
    const QString caption = title(window, QStringLiteral("studio di esempio"));
    if (path.isEmpty()) {
        window.prompts().inform(MessageIcon::Exclamation, caption,
                                QStringLiteral("Lo studio di esempio non è installato."));
        return;
    }
    ZoneQuery query;
    query.source.path = path;
    query.nameField = QStringLiteral("nome");
    query.originField = QStringLiteral("popolazione");
    query.destinationField = QStringLiteral("addetti");
    query.codeField = QStringLiteral("codice");
    const GeoResult<ZoneLayer> layer = readZoneLayer(query);
    DistanceOptions options;
    options.unit = distanceUnitOf(window.state().model.unit);
    const GeoResult<ZoneStudy> study =
        layer.ok() ? buildZoneStudy(*layer.value, options) : GeoResult<ZoneStudy>();
    if (!layer.ok() || !study.ok()) {
        window.prompts().inform(MessageIcon::Critical, caption,
                                layer.ok() ? study.error : layer.error);
        return;
    }
    applyZoneStudy(*study.value, window.state());
}

void importDistanceMatrix(WindowFrame& window)
{
    window.prompts().setOwner(&window);
    const QString path = window.prompts().openFile(
        {QStringLiteral("Importa distanze da file"),
         QStringLiteral("Matrici CSV (*.csv *.txt)|*.csv;*.txt|Tutti i file (*.*)|*.*"), 1,
         QString(), QString()});
    if (path.isEmpty())
        return;
    const QString caption = title(window, QStringLiteral("distanze da file"));
    const Parsed<DistanceMatrixImport> matrix = readDistanceMatrix(path, window.state());
    if (!matrix.ok()) {
        window.prompts().inform(MessageIcon::Critical, caption, matrix.error);
        return;
    }
    applyDistanceMatrix(*matrix.value, window.state());
    if (const QString missing = missingPairsText(*matrix.value); !missing.isEmpty())
        window.prompts().inform(MessageIcon::Exclamation, caption, missing);
}

void exportStudyForGis(WindowFrame& window)
{
    const QString caption = title(window, QStringLiteral("esportazione per GIS"));
    if (!window.state().zones.hasGeometry()) {
        window.prompts().inform(MessageIcon::Exclamation, caption,
                                QStringLiteral("Le aree non hanno una geometria da esportare: "
                                               "importarle prima da un file GIS."));
        return;
    }
    window.prompts().setOwner(&window);
    QString path = window.prompts().saveFile({QStringLiteral("Esporta per GIS"),
                                              QStringLiteral("GeoPackage (*.gpkg)|*.gpkg"), 1,
                                              QStringLiteral("risultati.gpkg"), QString()});
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".gpkg"), Qt::CaseInsensitive))
        path += QStringLiteral(".gpkg");
    const SaveResult saved = exportForGis(path, window.state());
    if (!saved.ok)
        window.prompts().inform(MessageIcon::Critical, caption, saved.error);
}

void addZoneMenuItems(WindowFrame& areaWindow)
{
    insertItems(areaWindow,
                {{QStringLiteral("Importa zone da file GIS..."), &importZonesFromGis},
                 {QStringLiteral("Apri lo studio di esempio"), &openSampleStudy}},
                {QStringLiteral("mnuImportaZone"), QStringLiteral("mnuStudioEsempio")});
}

void addDistanceMenuItems(WindowFrame& distancesWindow)
{
    insertItems(distancesWindow,
                {{QStringLiteral("Importa distanze da file..."), &importDistanceMatrix},
                 {QStringLiteral("Esporta per GIS..."), &exportStudyForGis}},
                {QStringLiteral("mnuImportaDistanze"), QStringLiteral("mnuEsportaGis")});
}

} // namespace urbaflux
