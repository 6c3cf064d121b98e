#include "fullreport.h"

#include "calibrationreport.h"
#include "documentwriter.h"
#include "reportfigures.h"
#include "reporttexts.h"

#include <numbertext.h>
#include <projectstate.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

const QString kFont = QStringLiteral("Century Gothic");

QString cr(int times = 1)
{
    return QString(times, QChar(13));
}

QString regionalized(QString text)
{
    const QLocale locale;
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (text.startsWith(QLatin1Char('-')))
        text.replace(0, 1, locale.negativeSign());
    return text;
}

// A field that holds its default number prints it the user's way; a typed text as typed.
QString fieldText(const FieldValue& value)
{
    return value.isNumber() ? regionalText(value.number) : value.text;
}

void writeCover(DocumentWriter& writer, const FullReportInput& input)
{
    const TitlePage& t = input.texts;
    writer.StartDocument();
    writer.SetFont(kFont);
    writer.SetFontSize(20);
    writer.TypeText(QStringLiteral("MODELLO GRAVITAZIONALE URBANISTICO") + cr());
    writer.SetFontSize(14);
    writer.TypeText(QStringLiteral("a ") + input.state.model.kindLabel + cr());
    writer.TypeText(cr(4) + QStringLiteral("progetto: ") + t.progetto + cr(3));
    writer.TypeText(QStringLiteral("località: ") + t.localita + cr(3));
    writer.TypeText(QStringLiteral("tipologia di studio: ") + t.tipostudio + cr());
    writer.TypeText(QStringLiteral("fornitura dati: ") + t.fornituradati + cr());
    writer.TypeText(cr(9));
    writer.TypeText(QStringLiteral("progettista: ") + input.office.name + cr());
    writer.TypeText(QStringLiteral("committente: ") + t.committente + cr(2));
    writer.TypeText(t.luogo + QStringLiteral(": ") + t.data);
    writer.TypeText(cr(12));
    writer.TypeText(input.office.name + cr() + input.office.address + cr());
}

// A heading and its blank lines never end a page: they go where the text under them goes.
void writeHeading(DocumentWriter& writer, const QString& text)
{
    writer.SetKeepWithNext(true);
    writer.TypeText(text);
    writer.SetKeepWithNext(false);
}

void writeSection(DocumentWriter& writer, const QString& heading, const QString& text, bool first)
{
    writer.SetFontSize(16);
    writeHeading(writer, (first ? QString() : cr()) + heading + cr(2));
    writer.SetFontSize(12);
    writer.TypeText(text + cr());
}

void writeTexts(DocumentWriter& writer, const FullReportInput& input)
{
    writer.SetFontSize(18);
    writeHeading(writer, QChar(12) + QStringLiteral("RELAZIONE") + cr(2));
    writeSection(writer, QStringLiteral("A) Criteri adottati nel calcolo"), reportTextA(), true);
    writeSection(writer, QStringLiteral("B) Modello utilizzato"),
                 reportTextB(input.state.model.kind), false);
    writeCalibrationBlock(writer, input.state);
    writeSection(writer, QStringLiteral("C) La distanza"), reportTextC(), false);
    writeSection(writer, QStringLiteral("D) Uso del modello"), reportTextD(), false);
    // The sentence that introduces the chart stays above it.
    writeHeading(writer, cr() +
                             QStringLiteral("Il grafico sottostante riporta le principali "
                                            "gravitazioni tra le singole aree, indicate secondo "
                                            "la numerazione della tabella G.") +
                             cr());
    if (!input.chartPicture.isEmpty())
        writer.InsertPicture(input.chartPicture);
    writer.TypeText(cr());
}

void startTable(DocumentWriter& writer, const QString& heading, int rows, int columns,
                double points, const QStringList& headings)
{
    writer.SetKeepWithNext(true);
    writer.AppendParagraph(16, cr() + heading + cr(2));
    writer.SetKeepWithNext(false);
    writer.AppendTable(rows, columns);
    writer.SetTableFontSize(points);
    for (int column = 1; column <= headings.size(); ++column)
        writer.SetCell(1, column, headings[column - 1]);
}

void writeTables(DocumentWriter& writer, const FullReportInput& input, int n)
{
    const ProjectState& state = input.state;
    const ModelChoice& model = state.model;
    const AreaTable& areas = state.areas;
    const DistanceTable& pairs = state.distances;
    const InteractionTable& results = state.interactions;

    startTable(writer, QStringLiteral("E) Dati generali"), 9, 2, 10,
               {QStringLiteral("dati"), QStringLiteral("valori")});
    const QStringList labels = {QStringLiteral("tipo di modello"),
                                QStringLiteral("tipologia delle origini"),
                                QStringLiteral("tipologia delle destinazioni"),
                                QStringLiteral("tipo di interazioni"),
                                QStringLiteral("numero delle aree"),
                                QStringLiteral("valore alfa (esponente della distanza)"),
                                QStringLiteral("valore dello scarto nel calcolo"),
                                QStringLiteral("unità di misura della distanza")};
    const QStringList values = {model.kindLabel,
                                model.originType,
                                model.destinationType,
                                model.interactionType,
                                regionalText(static_cast<double>(areas.count)),
                                fieldText(model.alpha),
                                fieldText(model.tolerance),
                                model.unit};
    for (int row = 0; row < labels.size(); ++row) {
        writer.SetCell(row + 2, 1, labels[row]);
        writer.SetCell(row + 2, 2, values[row]);
    }
    writer.FormatTable();

    startTable(writer, QStringLiteral("F) Origini e destinazioni"), n + 2, 4, 10,
               {QStringLiteral("n."), QStringLiteral("nome dell'area"),
                areaHeadings(model.modelKind()).origins,
                areaHeadings(model.modelKind()).destinations});
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        writer.SetCell(i + 1, 1, numberText(i));
        writer.SetCell(i + 1, 2, areas.name[at]);
        writer.SetCell(i + 1, 3, areas.origin[at]);
        writer.SetCell(i + 1, 4, areas.destination[at]);
    }
    writer.SetCell(n + 2, 2, QStringLiteral("totale delle origini e delle destinazioni"));
    writer.SetCell(n + 2, 3, input.totals.origins);
    writer.SetCell(n + 2, 4, input.totals.destinations);
    writer.FormatTable();

    startTable(writer, QStringLiteral("G) Distanze e gravitazioni"), n * n + 1, 6, 8,
               {QStringLiteral("n."), QStringLiteral("n.-n."),
                QStringLiteral("nomi delle aree (origini-destinazioni)"),
                QStringLiteral("distanze in ") + model.unit, QStringLiteral("peso in %"),
                QStringLiteral("interazioni")});
    for (int k = 1; k <= n * n; ++k) {
        const auto at = static_cast<size_t>(k);
        writer.SetCell(k + 1, 1, numberText(k));
        writer.SetCell(k + 1, 2, pairs.pairNumbers[at]);
        writer.SetCell(k + 1, 3, pairs.pairNames[at]);
        writer.SetCell(k + 1, 4, pairs.distance[at]);
        writer.SetCell(k + 1, 5, fieldText(pairs.weight[at]));
        writer.SetCell(k + 1, 6, regionalText(results.interaction[at]));
    }
    writer.FormatTable();

    startTable(writer, QStringLiteral("H) Volumi delle interazioni"), n + 1, 4, 10,
               {QStringLiteral("n."), QStringLiteral("nome area"),
                model.interactionType + QStringLiteral(" in uscita"),
                model.interactionType + QStringLiteral(" in entrata")});
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        writer.SetCell(i + 1, 1, numberText(i));
        writer.SetCell(i + 1, 2, areas.name[at]);
        writer.SetCell(i + 1, 3, regionalText(results.estimatedOrigins[at]));
        writer.SetCell(i + 1, 4, regionalText(results.estimatedDestinations[at]));
    }
    writer.FormatTable();
}

void writeClosing(DocumentWriter& writer, const FullReportInput& input)
{
    // The closing block stands in one piece, with the last rows of table H above it.
    writer.KeepTableWithNext();
    writer.SetKeepWithNext(true);
    // A three-digit guess: the true count replaces it once the whole document is laid out, and
    // a guess of the right width spares laying out a long report twice.
    writer.AppendParagraph(12, cr(2) + QStringLiteral("La presente relazione è composta di n.") +
                                   DocumentWriter::pageCountText(100) + QStringLiteral(" pagine.") +
                                   cr());
    writer.AppendParagraph(12, QStringLiteral("Si allegano: ") + input.texts.allegati + cr(2));
    writer.AppendParagraph(12, input.texts.luogo + QStringLiteral(": ") + input.texts.data + cr(2));
    writer.AppendParagraph(12, QStringLiteral("il progettista") + cr());
    writer.AppendParagraph(12, QStringLiteral("(") + input.office.name + QStringLiteral(")"));
    writer.SetKeepWithNext(false);
}

} // namespace

ReportBlocker reportBlocker(const ProjectState& state)
{
    if (state.areas.count <= 0)
        return ReportBlocker::NoAreas;
    const double total = state.interactions.totalInteractions;
    if (total == 0 || !std::isfinite(total))
        return ReportBlocker::NoInteractions;
    return ReportBlocker::None;
}

ReportMessage reportBlockerMessage(ReportBlocker blocker, const ProjectState& state)
{
    switch (blocker) {
    case ReportBlocker::NoAreas:
        return {QStringLiteral("ATTENZIONE: è necessario controllare le interazioni !"),
                QStringLiteral("Manca il dato essenziale: non esistono aree!")};
    case ReportBlocker::NoInteractions:
        return {state.run.programName, QStringLiteral("Controllare i 'Risultati' del calcolo.")};
    case ReportBlocker::None:
        break;
    }
    return {};
}

AreaTotalTexts areaTotalTexts(const ProjectState& state)
{
    const AreaTotals totals = areaTotals(state.areas);
    return {regionalText(totals.origins), regionalText(totals.destinations)};
}

QString regionalText(double value)
{
    return regionalized(displayedText(value));
}

QString regionalText(float value)
{
    return regionalized(shortestText(value));
}

int writeFullReport(DocumentWriter& writer, const FullReportInput& input)
{
    // An archive may have left a count the tables cannot hold; print what they hold.
    const int n = qBound(0, input.state.areas.count, kMaxAreas);
    writeCover(writer, input);
    writeTexts(writer, input);
    // The map and the comparison are parts of their own: an elaboration without zones or base
    // has the report it always had.
    writeFlowMapFigure(writer, input.state, input.mapFlows);
    writeTables(writer, input, n);
    if (input.comparison)
        writeComparisonSection(writer, *input.comparison, input.baseFileName);
    writeClosing(writer, input);

    writer.JustifyAll();
    for (const auto& [table, column] :
         {std::pair{2, 3}, {2, 4}, {3, 4}, {3, 5}, {3, 6}, {4, 3}, {4, 4}})
        writer.AlignColumnRight(table, column);
    return writer.UpdatePageCountFields();
}

QString reportFileName(const QString& committente)
{
    QString name;
    name.reserve(committente.size());
    for (const QChar c : committente) {
        const bool refused =
            c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("\\/:*?\"<>|").contains(c);
        name += refused ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    // File systems take names of 255 bytes; 60 UTF-16 units are at most 180 bytes of UTF-8.
    // The cut falls between two characters as the user sees them, never inside an emoji or
    // between a letter and its accent.
    constexpr int kLongest = 60;
    if (name.size() > kLongest) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name);
        graphemes.setPosition(kLongest);
        if (!graphemes.isAtBoundary())
            graphemes.toPreviousBoundary();
        name = name.left(std::max<qsizetype>(graphemes.position(), 0)).trimmed();
    }
    // Windows drops trailing dots.
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    const bool changed = name != committente;
    const QString unnamed = QStringLiteral("senza-committente");
    if (name.isEmpty())
        name = unnamed;
    // Cleaning maps several committenti to one name ("Comune/X", "Comune:X", "Comune_X"): a
    // short digest of the committente as typed keeps their reports apart. A name that was not
    // changed but reads like one that was (or like the empty committente's) gets one too.
    static const QRegularExpression digestLike(QStringLiteral("-[0-9a-f]{8}$"));
    if (changed ||
        (!committente.isEmpty() && (name == unnamed || digestLike.match(name).hasMatch()))) {
        const QByteArray digest =
            QCryptographicHash::hash(committente.toUtf8(), QCryptographicHash::Sha256).toHex();
        name += QLatin1Char('-') + QString::fromLatin1(digest.left(8));
    }
    return QStringLiteral("RelazioneUrbaflux-") + name + QStringLiteral(".docx");
}

QString reportSavePath(const QString& committente)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(reportFileName(committente));
}

} // namespace urbaflux
