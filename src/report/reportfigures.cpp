#include "reportfigures.h"

#include "changechart.h"
#include "documentwriter.h"
#include "flowmap.h"

#include <projectstate.h>
#include <scenariocomparison.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>

namespace urbaflux {

namespace {

QString cr(int times = 1)
{
    return QString(times, QChar(13));
}

QString percentText(const std::optional<double>& percent)
{
    return percent ? italianChange(*percent) + QStringLiteral("%") : QString();
}

} // namespace

QString changeChartPicturePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + QStringLiteral("/variazioniScenario.png");
}

QString comparisonSectionHeading()
{
    return QStringLiteral("Confronto con lo scenario di base");
}

bool writeFlowMapFigure(DocumentWriter& writer, const ProjectState& state, int flows)
{
    // Text needs fonts, and fonts a graphical application (offscreen will do).
    if (!state.zones.hasGeometry() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    FlowMapOptions options;
    options.flows = flows;
    const FlowMapData data = flowMapData(state, options);
    if (!data.hasGeometry())
        return false;
    const QString path = flowMapPicturePath();
    if (!saveFlowMapImage(data, path))
        return false;
    writer.TypeText(cr() +
                    QStringLiteral("La mappa sottostante riporta le principali gravitazioni tra "
                                   "aree diverse sulle zone dell'area di studio.") +
                    cr());
    if (!writer.InsertPicture(path))
        return false;
    writer.TypeText(cr() + data.caption + QStringLiteral(".") + cr());
    return true;
}

void writeComparisonSection(DocumentWriter& writer, const ScenarioComparison& comparison,
                            const QString& baseFileName)
{
    if (!comparison.comparable())
        return;
    writer.AppendParagraph(16, cr() + comparisonSectionHeading() + cr(2));
    writer.AppendParagraph(
        12, QStringLiteral("I risultati sono confrontati con lo scenario di base del file %1, "
                           "calcolato con il modello %2 e alfa %3. Le variazioni sono i valori "
                           "del progetto meno quelli della base; la variazione percentuale manca "
                           "dove la base è zero.")
                    .arg(baseFileName, comparison.baseModel, comparison.baseAlpha) +
                cr());
    const int n = int(comparison.areas.size());
    writer.AppendParagraph();
    writer.AppendTable(n + 1, 8);
    writer.SetTableFontSize(8);
    const QStringList headings = {QStringLiteral("n."),
                                  QStringLiteral("nome area"),
                                  QStringLiteral("origini base"),
                                  QStringLiteral("origini progetto"),
                                  QStringLiteral("variazione %"),
                                  QStringLiteral("destinazioni base"),
                                  QStringLiteral("destinazioni progetto"),
                                  QStringLiteral("variazione %")};
    for (int c = 1; c <= headings.size(); ++c)
        writer.SetCell(1, c, headings[c - 1]);
    for (int r = 0; r < n; ++r) {
        const AreaChange& area = comparison.areas[size_t(r)];
        writer.SetCell(r + 2, 1, QString::number(area.number));
        writer.SetCell(r + 2, 2, area.name);
        writer.SetCell(r + 2, 3, italianChange(area.origins.base, false));
        writer.SetCell(r + 2, 4, italianChange(area.origins.project, false));
        writer.SetCell(r + 2, 5, percentText(area.origins.percent));
        writer.SetCell(r + 2, 6, italianChange(area.destinations.base, false));
        writer.SetCell(r + 2, 7, italianChange(area.destinations.project, false));
        writer.SetCell(r + 2, 8, percentText(area.destinations.percent));
    }
    writer.FormatTable();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    const QImage chart = renderChangeChartImage(changeChartBars(comparison), 300 / 96.0);
    const QString path = changeChartPicturePath();
    if (chart.isNull() || !chart.save(path, "PNG"))
        return;
    writer.AppendParagraph(12, cr());
    writer.InsertPicture(path);
}

} // namespace urbaflux
