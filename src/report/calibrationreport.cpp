#include "calibrationreport.h"

#include "calibrationcharts.h"
#include "documentwriter.h"

#include <calibration.h>
#include <projectstate.h>

#include <QLocale>
#include <QTemporaryDir>

namespace urbaflux {

namespace {

QString regional(QString text)
{
    const QLocale locale;
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

} // namespace

void writeCalibrationBlock(DocumentWriter& writer, const ProjectState& state)
{
    const AppliedCalibration* applied = currentCalibration(state);
    if (applied == nullptr)
        return;
    const int n = state.areas.count;
    const FitMeasures fit = measureFit(state, applied->observed);
    QString text =
        QStringLiteral("\rTaratura di alfa: il valore %1 è stato tarato sulle interazioni "
                       "osservate di «%2» con il criterio della %3. Adattamento dei risultati "
                       "alle interazioni osservate:\r")
            .arg(regional(applied->alphaText), applied->source, criterionName(applied->criterion));
    for (const FitLine& line : fitLines(fit, n))
        text += QStringLiteral("- ") + line.label + QStringLiteral(": ") + regional(line.value) +
                QLatin1Char('\r');
    writer.SetFontSize(12);
    writer.TypeText(text);

    AlphaAssessment results;
    results.alpha = state.model.alpha;
    results.lengths = tripLengthDistribution(state, applied->observed);
    results.modelled.assign(size_t(n) * size_t(n) + 1, 0.0);
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d)
            results.modelled[size_t(pairIndex(o, d, n))] = state.interactions.matrix(o, d);
    CalibrationChartData data;
    data.bands = results.lengths.bands;
    data.series.push_back(chartSeries(QStringLiteral("alfa ") + regional(applied->alphaText),
                                      results, applied->observed));
    // The document keeps its own copy of each picture: the files can go with the folder.
    QTemporaryDir scratch;
    const QString scatter = scratch.filePath(QStringLiteral("confronto.png"));
    const QString lengths = scratch.filePath(QStringLiteral("lunghezze.png"));
    if (scratch.isValid() && saveCalibrationCharts(data, scatter, lengths, nullptr)) {
        writer.InsertPicture(scatter);
        writer.TypeText(QStringLiteral("\r"));
        writer.InsertPicture(lengths);
        writer.TypeText(QStringLiteral("\r"));
    }
}

} // namespace urbaflux
