#include "reportoption.h"

#include <chartpicture.h>
#include <chartslots.h>
#include <documentformats.h>
#include <documentwriter.h>
#include <fullreport.h>
#include <projectstate.h>
#include <technicaloffice.h>
#include <titlepage.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace urbaflux {

QList<QCommandLineOption> reportOptions()
{
    return {
        {kReportOptionName, QStringLiteral("scrive anche la relazione completa in FILE"),
         QStringLiteral("FILE")},
        {QStringLiteral("studio"), QStringLiteral("lo studio tecnico della relazione"),
         QStringLiteral("NOME")},
        {QStringLiteral("indirizzo"), QStringLiteral("l'indirizzo dello studio"),
         QStringLiteral("TESTO")},
    };
}

ReportOptions reportOptionsFrom(const QCommandLineParser& args, QString* error)
{
    ReportOptions options;
    if (args.isSet(kReportOptionName)) {
        options.path = args.value(kReportOptionName);
        if (options.path.isEmpty())
            *error = QStringLiteral("il nome del file dopo --report è vuoto");
    }
    // An empty office name is a choice: the report then names no office.
    options.officeNameGiven = args.isSet(QStringLiteral("studio"));
    options.officeName = args.value(QStringLiteral("studio"));
    options.officeAddressGiven = args.isSet(QStringLiteral("indirizzo"));
    options.officeAddress = args.value(QStringLiteral("indirizzo"));
    return options;
}

QString reportUsageText()
{
    return QStringLiteral(
               "\n"
               "  --report FILE   scrive anche la relazione completa in FILE (%1);\n"
               "                  se FILE è una cartella, vi scrive la relazione DOCX con il nome\n"
               "                  che propone il programma (RelazioneUrbaflux-<committente>.docx)\n"
               "  --studio NOME   lo studio tecnico della relazione (invece di quello impostato)\n"
               "  --indirizzo TESTO  l'indirizzo dello studio (invece di quello impostato)\n"
               "Stato di uscita 74: relazione non scrivibile.\n")
        .arg(documentExtensionsText());
}

QString reportTarget(const QString& path, const TitlePage& texts)
{
    // A folder gets the name the title-page window proposes, which differs for every
    // committente: a batch run over many archives never writes one client's report over
    // another's.
    if (QFileInfo(path).isDir())
        return QDir(path).filePath(reportFileName(texts.committente));
    return path;
}

bool writeReportFile(const ReportOptions& options, const ProjectState& state,
                     const TitlePage& texts, QString* error)
{
    if (const ReportBlocker blocker = reportBlocker(state); blocker != ReportBlocker::None) {
        *error =
            QStringLiteral("Relazione non scritta: ") + reportBlockerMessage(blocker, state).text;
        return false;
    }
    TechnicalOffice office = loadTechnicalOffice();
    if (options.officeNameGiven)
        office.name = options.officeName;
    if (options.officeAddressGiven)
        office.address = options.officeAddress;

    // The program's own chart file belongs to the user's session: a batch run draws its own.
    QTemporaryDir scratch;
    const QString picture = scratch.filePath(QStringLiteral("graficoGravitazioni.png"));
    if (!scratch.isValid() ||
        !renderChartPicture(selectChartSlots(state), ChartKind::Bars, picture, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("Relazione non scritta: impossibile disegnare il grafico.");
        return false;
    }
    DocumentWriter writer;
    writeFullReport(writer, {state, texts, office, areaTotalTexts(state), picture});
    const DocumentSaveResult saved = writer.SaveDocumentAs(reportTarget(options.path, texts));
    if (!saved.ok)
        *error = saved.error;
    return saved.ok;
}

} // namespace urbaflux
