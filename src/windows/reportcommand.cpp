#include "reportcommand.h"

#include "calculation.h"
#include "chartpicture.h"
#include "confronto.h"
#include "documentsink.h"
#include "documentwriter.h"
#include "fullreport.h"
#include "prompts.h"
#include "windowframe.h"
#include "windowmanager.h"

#include <fileerror.h>
#include <projectstate.h>

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <memory>

namespace urbaflux {

namespace {

const QString kSaveTitle = QStringLiteral("Urbaflux: salvataggio della relazione");

// The chart as the charts window shows it, written to the shared picture file. A charts window
// that does not exist yet is created hidden, with its first chart.
QString chartPicture(WindowFrame& titleWindow)
{
    auto* charts = titleWindow.windows().touchAs<WindowFrame>(WindowId::Grafici);
    QString error;
    if (charts && charts->writeChartPicture(&error))
        return chartPicturePath();
    titleWindow.prompts().inform(
        MessageIcon::Exclamation, kSaveTitle,
        (error.isEmpty() ? QStringLiteral("Impossibile preparare il grafico.") : error) +
            QStringLiteral(" La relazione viene composta senza il grafico."));
    return {};
}

} // namespace

void printReport(WindowFrame& titleWindow, const TitlePage& texts)
{
    ProjectState& state = titleWindow.state();
    // The report prints the results beside the data: the data must be complete and the
    // results theirs, or nothing is written.
    const ResultsGap gap = currentResultsGap(state);
    if (const ReportBlocker blocker = reportBlocker(state); blocker != ReportBlocker::None) {
        const ReportMessage message = reportBlockerMessage(blocker, state);
        titleWindow.prompts().inform(MessageIcon::Critical, message.title,
                                     gap.none() || blocker == ReportBlocker::NoAreas
                                         ? message.text
                                         : QStringLiteral("Impossibile comporre la relazione: ") +
                                               describeResultsGap(gap) + QLatin1Char('.'));
        titleWindow.windows().showWindow(WindowId::Distanze);
        return;
    }
    if (!gap.none()) {
        titleWindow.prompts().inform(MessageIcon::Critical, kSaveTitle,
                                     QStringLiteral("Impossibile comporre la relazione: ") +
                                         describeResultsGap(gap) + QLatin1Char('.'));
        titleWindow.windows().showWindow(WindowId::Distanze);
        return;
    }

    auto writer = std::make_shared<DocumentWriter>();
    FullReportInput input{state, texts, loadTechnicalOffice(), areaTotalTexts(state),
                          chartPicture(titleWindow)};
    // The section comparing with a base scenario, when the comparison window holds one.
    if (auto* comparison = titleWindow.windows().existingAs<Confronto>(WindowId::Confronto))
        comparison->addToReport(input);
    writeFullReport(*writer, input);

    const QString path = reportSavePath(texts.committente);
    const QString shown = QDir::toNativeSeparators(path);
    // The name is the committente's own; a file there is an earlier report of the same
    // committente, which the user may still want.
    const bool replace =
        !QFileInfo(path).isFile() ||
        titleWindow.prompts().message(
            {MessageIcon::Question, kSaveTitle,
             QStringLiteral("La relazione \"%1\" esiste già. Sostituirla con quella nuova?")
                 .arg(archiveDisplayName(path)),
             MessageButtons::YesNo, MessageAnswer::No}) == MessageAnswer::Yes;
    // The viewer gets its own copy (cheap: the texts are shared) and starts paginating at once;
    // the worker saves the writer's, which nothing changes any more.
    titleWindow.context().documents.present(std::make_unique<Document>(writer->document()));
    if (!replace) {
        titleWindow.setPasso(QStringLiteral("la relazione non è stata salvata: è aperta nella "
                                            "finestra del documento"));
        return;
    }
    titleWindow.setPasso(QStringLiteral("sto salvando la relazione in ") + shown);

    auto result = std::make_shared<DocumentSaveResult>();
    QThread* worker = QThread::create([writer, path, result] {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            *result = {false, QStringLiteral("Impossibile salvare il documento \"%1\": la "
                                             "cartella non può essere creata. %2")
                                  .arg(archiveDisplayName(path), untouchedSentence(false))};
        else
            *result = writer->SaveDocumentAs(path);
    });
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    QObject::connect(worker, &QThread::finished, &titleWindow, [&titleWindow, result, shown] {
        if (result->ok) {
            titleWindow.setPasso(QStringLiteral("la relazione è stata salvata in ") + shown);
            return;
        }
        titleWindow.setPasso(QStringLiteral("la relazione non è stata salvata: è aperta nella "
                                            "finestra del documento"));
        titleWindow.prompts().inform(MessageIcon::Critical, kSaveTitle, result->error);
    });
    worker->start();
}

} // namespace urbaflux
