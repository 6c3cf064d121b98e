#include "calibrationdialog.h"

#include "calibrationcharts.h"
#include "interactionarchive.h"
#include "projectstate.h"
#include "prompts.h"

#include <archivefile.h>
#include <calculation.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace urbaflux {

namespace {

// A search this long shows its progress; a shorter one would only flash it.
constexpr int kProgressDelayMs = 500;

const QString kObservedFilter = QStringLiteral(
    "File CSV (*.csv)|*.csv|File Urbaflux-int- | Urbaflux-int-*|Tutti i file (*.*)|*.*");

void replaceChart(QChartView* view, QChart* chart)
{
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

QString CalibrationDialog::messageTitle()
{
    return QStringLiteral("Urbaflux: taratura di alfa su dati osservati");
}

CalibrationDialog::CalibrationDialog(AppContext& context, QLineEdit* alphaBox, QWidget* parent)
    : QDialog(parent), m_context(context), m_alphaBox(alphaBox)
{
    setObjectName(QStringLiteral("taratura"));
    setWindowTitle(QStringLiteral("Taratura di alfa su dati osservati"));

    m_sourceLabel = new QLabel(QStringLiteral("nessun dato osservato"), this);
    m_sourceLabel->setObjectName(QStringLiteral("fonte"));
    m_open = new QPushButton(QStringLiteral("&Apri dati osservati..."), this);
    m_open->setObjectName(QStringLiteral("apri"));
    m_open->setToolTip(QStringLiteral("un file CSV (matrice o righe origine, destinazione, "
                                      "valore) oppure un archivio delle interazioni "
                                      "(Urbaflux-int-)"));
    m_paste = new QPushButton(QStringLiteral("&Incolla matrice"), this);
    m_paste->setObjectName(QStringLiteral("incolla"));
    m_paste->setToolTip(QStringLiteral("incolla la matrice delle interazioni osservate copiata da "
                                       "un foglio di calcolo"));
    m_criterion = new QComboBox(this);
    m_criterion->setObjectName(QStringLiteral("criterio"));
    m_criterion->addItem(criterionName(CalibrationCriterion::MaximumLikelihood));
    m_criterion->addItem(criterionName(CalibrationCriterion::LeastAbsoluteErrors));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("avanzamento"));
    m_cancel = new QPushButton(QStringLiteral("Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("annulla"));
    m_progress->hide();
    m_cancel->hide();

    m_alphaLabel = new QLabel(this);
    m_alphaLabel->setObjectName(QStringLiteral("alfaTarato"));
    QFont bold = m_alphaLabel->font();
    bold.setBold(true);
    m_alphaLabel->setFont(bold);
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("avvisi"));
    m_notes->setWordWrap(true);
    QPalette warning = m_notes->palette();
    warning.setColor(QPalette::WindowText, QColor(150, 40, 0));
    m_notes->setPalette(warning);

    m_measures = new QTableWidget(8, 2, this);
    m_measures->setObjectName(QStringLiteral("misure"));
    m_measures->setHorizontalHeaderLabels(
        {QStringLiteral("alfa digitato"), QStringLiteral("alfa tarato")});
    QStringList rows{QStringLiteral("Alfa")};
    for (const FitLine& line : fitLines(FitMeasures(), 0))
        rows << line.label;
    m_measures->setVerticalHeaderLabels(rows);
    m_measures->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_measures->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_measures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_measures->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_measures->setFixedHeight(m_measures->verticalHeader()->length() +
                               m_measures->horizontalHeader()->sizeHint().height() +
                               2 * m_measures->frameWidth());

    m_logarithmic = new QCheckBox(QStringLiteral("Assi &logaritmici"), this);
    m_logarithmic->setObjectName(QStringLiteral("logaritmici"));
    m_scatterView = new QChartView(this);
    m_scatterView->setObjectName(QStringLiteral("graficoConfronto"));
    m_lengthsView = new QChartView(this);
    m_lengthsView->setObjectName(QStringLiteral("graficoLunghezze"));
    for (QChartView* view : {m_scatterView, m_lengthsView}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(440, 340);
    }

    m_use = new QPushButton(QStringLiteral("&Usa questo alfa"), this);
    m_use->setObjectName(QStringLiteral("usaAlfa"));
    m_use->setToolTip(QStringLiteral("scrive l'alfa tarato nel campo del valore alfa e ricalcola; "
                                     "Ctrl+Z nel campo riporta il valore di prima"));
    m_use->setEnabled(false);
    m_close = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_close->setObjectName(QStringLiteral("chiudi"));

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(new QLabel(QStringLiteral("Dati osservati:"), this));
    sourceRow->addWidget(m_sourceLabel, 1);
    sourceRow->addWidget(m_open);
    sourceRow->addWidget(m_paste);
    auto* criterionRow = new QHBoxLayout;
    criterionRow->addWidget(new QLabel(QStringLiteral("Criterio:"), this));
    criterionRow->addWidget(m_criterion);
    criterionRow->addStretch(1);
    criterionRow->addWidget(m_progress);
    criterionRow->addWidget(m_cancel);
    auto* charts = new QGridLayout;
    charts->addWidget(m_logarithmic, 0, 0);
    charts->addWidget(m_scatterView, 1, 0);
    charts->addWidget(m_lengthsView, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_use);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(criterionRow);
    layout->addWidget(m_alphaLabel);
    layout->addWidget(m_notes);
    layout->addWidget(m_measures);
    layout->addLayout(charts, 1);
    layout->addLayout(buttons);

    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    m_progressDelay->setInterval(kProgressDelayMs);
    connect(m_progressDelay, &QTimer::timeout, this, [this] {
        if (!searching())
            return;
        m_progress->show();
        m_cancel->show();
    });

    connect(m_open, &QPushButton::clicked, this, &CalibrationDialog::openObserved);
    connect(m_paste, &QPushButton::clicked, this, &CalibrationDialog::pasteObserved);
    connect(m_cancel, &QPushButton::clicked, this, &CalibrationDialog::cancelSearch);
    connect(m_use, &QPushButton::clicked, this, &CalibrationDialog::useCalibratedAlpha);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_logarithmic, &QCheckBox::toggled, this, [this] { showCharts(); });
    connect(m_criterion, &QComboBox::currentIndexChanged, this, [this] {
        if (m_observed && !searching())
            startSearch({*m_observed, m_source, chosenCriterion()});
    });
    showStudy();
}

CalibrationDialog::~CalibrationDialog()
{
    if (m_thread) {
        m_stop->store(true);
        m_thread->wait();
        delete m_thread;
    }
}

void CalibrationDialog::setProgressDelay(int milliseconds)
{
    m_progressDelay->setInterval(milliseconds);
}

CalibrationCriterion CalibrationDialog::chosenCriterion() const
{
    return m_criterion->currentIndex() == 1 ? CalibrationCriterion::LeastAbsoluteErrors
                                            : CalibrationCriterion::MaximumLikelihood;
}

void CalibrationDialog::openObserved()
{
    Prompts& prompts = m_context.prompts;
    prompts.setOwner(this);
    const QString path =
        prompts.openFile({QStringLiteral("Apri dati osservati"), kObservedFilter, 1, {}, {}});
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    const int count = m_context.state.areas.count;
    if (!name.startsWith(QStringLiteral("Urbaflux-int-"))) {
        useObserved(readObservedInteractions(path, count), name);
        return;
    }
    const Parsed<InteractionRecords> records = readInteractionFile(path);
    if (!records.ok()) {
        prompts.inform(MessageIcon::Exclamation, messageTitle(), records.error);
        return;
    }
    std::vector<double> values;
    for (const InteractionPairRecord& pair : records.value->pairs)
        values.push_back(pair.interaction);
    useObserved(observedFromValues(values, count, archiveDisplayName(path)), name);
}

void CalibrationDialog::pasteObserved()
{
    useObserved(parseObservedPaste(QApplication::clipboard()->text(), m_context.state.areas.count),
                QStringLiteral("matrice incollata"));
}

void CalibrationDialog::useObserved(const ObservedRead& read, const QString& source)
{
    if (!read.ok()) {
        m_context.prompts.setOwner(this);
        m_context.prompts.inform(MessageIcon::Exclamation, messageTitle(), read.error);
        return;
    }
    startSearch({*read.value, source, chosenCriterion()});
}

void CalibrationDialog::startSearch(Pending pending)
{
    if (searching())
        return;
    // The copy is the search's own: the state may be read and written here meanwhile.
    auto state = std::make_shared<ProjectState>(m_context.state);
    state->notifier = nullptr;
    auto input = std::make_shared<Pending>(std::move(pending));
    auto stop = std::make_shared<std::atomic<bool>>(false);
    m_stop = stop;
    m_thread = QThread::create([this, state, input, stop] {
        CalibrationOptions options;
        options.progress = [this, stop](int done, int expected) {
            QMetaObject::invokeMethod(
                this, [this, done, expected] { showProgress(done, expected); },
                Qt::QueuedConnection);
            return !stop->load();
        };
        auto study = std::make_shared<CalibrationStudy>(
            studyCalibration(*state, input->observed, input->criterion, options));
        QMetaObject::invokeMethod(
            this, [this, input, study] { finishSearch(input, study); }, Qt::QueuedConnection);
    });
    setSearchingLook(true);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progressDelay->start();
    m_thread->start();
}

void CalibrationDialog::showProgress(int done, int expected)
{
    m_progress->setRange(0, expected);
    m_progress->setValue(done);
}

void CalibrationDialog::cancelSearch()
{
    if (m_stop)
        m_stop->store(true);
}

void CalibrationDialog::setSearchingLook(bool searching)
{
    m_open->setEnabled(!searching);
    m_paste->setEnabled(!searching);
    m_criterion->setEnabled(!searching);
    m_use->setEnabled(!searching && m_study && m_study->calibrated);
    if (!searching) {
        m_progressDelay->stop();
        m_progress->hide();
        m_cancel->hide();
    }
}

void CalibrationDialog::finishSearch(const std::shared_ptr<Pending>& pending,
                                     const std::shared_ptr<CalibrationStudy>& study)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_stop.reset();
    if (study->result.status == CalibrationResult::Status::Cancelled) {
        // As before the search: the data, the criterion and the figures shown.
        const QSignalBlocker blocker(m_criterion);
        if (m_study)
            m_criterion->setCurrentIndex(
                m_study->criterion == CalibrationCriterion::LeastAbsoluteErrors ? 1 : 0);
        setSearchingLook(false);
        showStudy();
        m_notes->setText(
            QStringLiteral("Taratura annullata: alfa e risultati restano come "
                           "erano.") +
            (m_notes->text().isEmpty() ? QString() : QLatin1Char(' ') + m_notes->text()));
        Q_EMIT searchEnded();
        return;
    }
    m_observed = pending->observed;
    m_source = pending->source;
    m_study = *study;
    setSearchingLook(false);
    showStudy();
    Q_EMIT searchEnded();
}

void CalibrationDialog::showStudy()
{
    const int n = m_context.state.areas.count;
    m_sourceLabel->setText(
        m_observed
            ? QStringLiteral("%1 (%2 coppie su %3)").arg(m_source).arg(m_observed->pairs).arg(n * n)
            : QStringLiteral("nessun dato osservato"));
    m_measures->clearContents();
    if (!m_study) {
        m_alphaLabel->setText(QStringLiteral("Aprire o incollare le interazioni osservate."));
        m_notes->clear();
        showCharts();
        return;
    }
    const CalibrationStudy& study = *m_study;
    QStringList notes;
    if (study.calibrated) {
        m_alphaLabel->setText(QStringLiteral("Alfa tarato: %1 (%2, %3 valutazioni del modello)")
                                  .arg(study.alphaText, criterionName(study.criterion))
                                  .arg(study.result.evaluations));
        if (!study.note.isEmpty())
            notes << QStringLiteral("Attenzione: ") + study.note + QLatin1Char('.');
    } else {
        m_alphaLabel->setText(QStringLiteral("Taratura non riuscita."));
        notes << QStringLiteral("Taratura non riuscita: ") + study.note + QLatin1Char('.');
    }
    if (m_observed && m_observed->pairs < n * n)
        notes << QStringLiteral("%1 coppie senza valore osservato restano fuori dal confronto.")
                     .arg(n * n - m_observed->pairs);
    if (!study.current.outcome.completed())
        notes << QStringLiteral("Con l'alfa digitato (%1) il calcolo non si completa: %2.")
                     .arg(study.current.alpha.displayText(),
                          describeOutcome(study.current.outcome));
    const AlphaAssessment* shown = study.calibrated ? &*study.calibrated : &study.current;
    if (shown->lengths.unplaced > 0)
        notes << QStringLiteral("%1 coppie senza distanza × peso positivo restano fuori dalla "
                                "distribuzione delle lunghezze.")
                     .arg(shown->lengths.unplaced);
    m_notes->setText(notes.join(QLatin1Char(' ')));

    const auto fill = [&](int column, const AlphaAssessment* assessment, const QString& alpha) {
        m_measures->setItem(0, column, cell(alpha));
        const bool known = assessment && assessment->outcome.completed();
        const std::vector<FitLine> lines =
            fitLines(assessment ? assessment->fit : FitMeasures(), n);
        for (size_t i = 0; i < lines.size(); ++i)
            m_measures->setItem(int(i) + 1, column,
                                cell(known ? lines[i].value : QStringLiteral("n.d.")));
    };
    fill(0, &study.current, study.current.alpha.displayText());
    fill(1, study.calibrated ? &*study.calibrated : nullptr,
         study.calibrated ? study.alphaText : QStringLiteral("n.d."));
    showCharts();
}

void CalibrationDialog::showCharts()
{
    CalibrationChartData data;
    if (m_study && m_observed) {
        const CalibrationStudy& study = *m_study;
        if (study.current.outcome.completed()) {
            data.series.push_back(chartSeries(
                QStringLiteral("alfa digitato %1").arg(study.current.alpha.displayText()),
                study.current, *m_observed));
            data.bands = study.current.lengths.bands;
        }
        if (study.calibrated) {
            data.series.push_back(chartSeries(QStringLiteral("alfa tarato %1").arg(study.alphaText),
                                              *study.calibrated, *m_observed));
            data.bands = study.calibrated->lengths.bands;
        }
    }
    replaceChart(m_scatterView, makeFitScatterChart(data, m_logarithmic->isChecked()));
    replaceChart(m_lengthsView, makeTripLengthChart(data));
}

void CalibrationDialog::useCalibratedAlpha()
{
    if (!m_study || !m_study->calibrated || !m_observed || searching())
        return;
    const QString text = m_study->alphaText;
    // Typed as an edit of the box, so that the box's own undo brings the previous text back.
    m_alphaBox->setFocus(Qt::OtherFocusReason);
    m_alphaBox->selectAll();
    m_alphaBox->insert(text);
    ProjectState& state = m_context.state;
    state.model.alpha = FieldValue::fromText(text);
    state.calibration = std::make_shared<const AppliedCalibration>(
        AppliedCalibration{m_source, m_study->criterion, text, *m_observed});
    markInputsChanged(state);
    ensureCurrentResults(state);
    // The alpha as typed is now the calibrated one.
    m_study->current = *m_study->calibrated;
    showStudy();
}

} // namespace urbaflux
