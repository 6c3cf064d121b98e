#include "reportcommand.h"

#include "confronto.h"
#include "datiaree.h"
#include "documentsink.h"
#include "documentwriter.h"
#include "fullreport.h"
#include "grafici.h"
#include "prompts.h"
#include "windowframe.h"
#include "windowmanager.h"

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
    auto* charts = titleWindow.windows().touchAs<Grafici>(WindowId::Grafici);
    QString error;
    if (charts && charts->writeChartPicture(&error))
        return chartPicturePath();
    titleWindow.prompts().inform(
        MessageIcon::Exclamation, kSaveTitle,
        (error.isEmpty() ? QStringLiteral("Impossibile preparare il grafico.") : error) +
            QStringLiteral(" La relazione viene composta senza il grafico."));
    return {};
}

// The totals as the area window shows them; what it would show once filled when it is not
// loaded.
AreaTotalTexts shownTotals(WindowFrame& titleWindow)
{
    if (auto* areas = titleWindow.windows().existingAs<DatiAree>(WindowId::DatiAree))
        return {areas->originsTotalText(), areas->destinationsTotalText()};
    return areaTotalTexts(titleWindow.state());
}

} // namespace

void printReport(WindowFrame& titleWindow, const TitlePage& texts)
{
    const ProjectState& state = titleWindow.state();
    if (const ReportBlocker blocker = reportBlocker(state); blocker != ReportBlocker::None) {
        const ReportMessage message = reportBlockerMessage(blocker, state);
        titleWindow.prompts().inform(MessageIcon::Critical, message.title, message.text);
        titleWindow.windows().showWindow(WindowId::Distanze);
        return;
    }

    auto writer = std::make_shared<DocumentWriter>();
    FullReportInput input{state, texts, loadTechnicalOffice(), shownTotals(titleWindow),
                          chartPicture(titleWindow)};
    // The section comparing with a base scenario, when the comparison window holds one.
    if (auto* comparison = titleWindow.windows().existingAs<Confronto>(WindowId::Confronto))
        comparison->addToReport(input);
    writeFullReport(*writer, input);

    const QString path = reportSavePath(texts.committente);
    const QString shown = QDir::toNativeSeparators(path);
    titleWindow.setPasso(QStringLiteral("sto salvando la relazione in ") + shown);
    // The viewer gets its own copy (cheap: the texts are shared) and starts paginating at once;
    // the worker saves the writer's, which nothing changes any more.
    titleWindow.context().documents.present(std::make_unique<Document>(writer->document()));

    auto result = std::make_shared<DocumentSaveResult>();
    QThread* worker = QThread::create([writer, path, result] {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            *result = {false, QStringLiteral("Impossibile salvare il documento \"%1\": la "
                                             "cartella non può essere creata.")
                                  .arg(QDir::toNativeSeparators(path))};
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
