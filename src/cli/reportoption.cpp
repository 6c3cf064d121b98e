#include "reportoption.h"

#include <chartpicture.h>
#include <chartslots.h>
#include <documentwriter.h>
#include <fullreport.h>
#include <projectstate.h>
#include <technicaloffice.h>
#include <titlepage.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>

namespace urbaflux {

OptionTaken takeReportOption(const QStringList& args, qsizetype& i, ReportOptions& options,
                             QString* error)
{
    const QString& arg = args[i];
    QString* target = nullptr;
    bool* given = nullptr;
    if (arg == u"--report") {
        target = &options.path;
    } else if (arg == u"--studio") {
        target = &options.officeName;
        given = &options.officeNameGiven;
    } else if (arg == u"--indirizzo") {
        target = &options.officeAddress;
        given = &options.officeAddressGiven;
    } else {
        return OptionTaken::No;
    }
    const bool already = given ? *given : !target->isEmpty();
    if (i + 1 >= args.size()) {
        *error = QStringLiteral("manca il valore dopo %1").arg(arg);
        return OptionTaken::Error;
    }
    if (already) {
        *error = QStringLiteral("%1 è indicato due volte").arg(arg);
        return OptionTaken::Error;
    }
    *target = args[++i];
    if (given) {
        *given = true;
    } else if (target->isEmpty()) {
        *error = QStringLiteral("il nome del file dopo %1 è vuoto").arg(arg);
        return OptionTaken::Error;
    }
    return OptionTaken::Yes;
}

QString reportUsageText()
{
    return QStringLiteral(
        "\n"
        "  --report FILE   scrive anche la relazione completa in FILE (.docx, .odt o .pdf)\n"
        "  --studio NOME   lo studio tecnico della relazione (invece di quello impostato)\n"
        "  --indirizzo TESTO  l'indirizzo dello studio (invece di quello impostato)\n"
        "Stato di uscita 74: relazione non scrivibile.\n");
}

std::unique_ptr<QCoreApplication> makeCalcApplication(int& argc, char** argv)
{
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || std::strcmp(argv[i], "--report") == 0 ||
                 std::strcmp(argv[i], "--mappa") == 0; // the map's names need fonts
    if (!report)
        return std::make_unique<QCoreApplication>(argc, argv);
    // A batch run has no screen to draw on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
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
    const DocumentSaveResult saved = writer.SaveDocumentAs(options.path);
    if (!saved.ok)
        *error = saved.error;
    return saved.ok;
}

} // namespace urbaflux
