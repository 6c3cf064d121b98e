// The calibration of alpha in the model-choice window: the same figures as the batch
// calculator, "Usa questo alfa" and its undo, bad observed data, cancellation, the charts.

#include "calibrationdialog.h"
#include "completearchive.h"
#include "menu.h"
#include "samplestate.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <calculation.h>

#include <QAbstractSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <random>

using namespace urbaflux;

namespace {

const QByteArray kSurvey = "origine;destinazione;valore\n1;1;80\n1;2;5\n1;3;15\n2;1;80\n2;2;40\n"
                           "2;3;80\n3;1;40\n3;2;5\n3;3;55\n";

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The areas of an elaboration typed in; the model and alpha are the window's.
void fillAreas(ProjectState& state, int kind, const std::vector<double>& origins,
               const std::vector<double>& destinations, const std::vector<double>& distances)
{
    const int n = int(origins.size());
    const auto text = [](double v) { return QString::number(v, 'g', 17); };
    samples::SampleState(n, kind)
        .names([](int i) { return QStringLiteral("Zona %1").arg(i); })
        .origins([&](int i) { return text(origins[size_t(i - 1)]); })
        .destinations([&](int i) { return text(destinations[size_t(i - 1)]); })
        .distances([&](int i, int j) { return text(distances[size_t(pairIndex(i, j, n) - 1)]); })
        .withTotals()
        .fill(state);
    markInputsChanged(state);
}

// n areas of equal totals (the doubly constrained model needs them), distances 1 to 20.
void randomAreas(ProjectState& state, int n)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> value(20, 400);
    std::uniform_real_distribution<double> distance(1.0, 20.0);
    std::vector<double> origins, destinations, distances;
    for (int i = 0; i < n; ++i) {
        origins.push_back(value(random));
        destinations.push_back(origins.back());
    }
    std::shuffle(destinations.begin(), destinations.end(), random);
    for (int k = 0; k < n * n; ++k)
        distances.push_back(std::round(distance(random) * 10) / 10);
    fillAreas(state, 1, origins, destinations, distances);
}

struct CalcRun
{
    int exitCode = -1;
    QByteArray out;
};

CalcRun runCalc(const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(URBAFLUX_CALC_PATH), arguments);
    CalcRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    return run;
}

// "label: value" lines of the batch calculator's text.
QMap<QString, QString> batchLines(const QByteArray& out)
{
    QMap<QString, QString> lines;
    for (const QString& line : QString::fromLocal8Bit(out).split(u'\n')) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon > 0)
            lines.insert(line.left(colon), line.mid(colon + 2));
    }
    return lines;
}

QByteArray resultBytes(const ProjectState& s)
{
    QByteArray out;
    out.append(reinterpret_cast<const char*>(s.interactions.matrixCells.data()),
               qsizetype(s.interactions.matrixCells.size() * sizeof(double)));
    out += s.model.alpha.displayText().toUtf8();
    out += QByteArray::number(s.inputRevision);
    return out;
}

} // namespace

class TestCalibrationDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowTestFixture> m_f;
    Menu* m_menu = nullptr;

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QLineEdit* alphaBox() const { return m_menu->findChild<QLineEdit*>(QStringLiteral("al")); }

    // The README's worked example, with the model-choice window showing.
    void publishedCase()
    {
        m_f = std::make_unique<WindowTestFixture>(&createWindow);
        m_menu = m_f->show<Menu>(WindowId::Menu);
        QVERIFY(m_menu);
        fillAreas(m_f->state, 1, {100, 200, 100}, {200, 50, 150}, {2, 5, 4, 5, 2, 3, 4, 3, 2});
    }

    CalibrationDialog* openDialog()
    {
        QTest::mouseClick(m_menu->calibrationButton(), Qt::LeftButton);
        return m_menu->findChild<CalibrationDialog*>();
    }

    // Opens the survey file and waits for the search.
    bool calibrate(CalibrationDialog* dialog, const QString& file)
    {
        QSignalSpy ended(dialog, &CalibrationDialog::searchEnded);
        m_f->prompts.expectOpenFile(file);
        QTest::mouseClick(dialog->openButton(), Qt::LeftButton);
        return ended.wait(30000) && m_f->prompts.verifyDone();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeFile(path("osservate.csv"), kSurvey));
    }
    void cleanup()
    {
        m_f.reset();
        m_menu = nullptr;
    }

    // The window and urbaflux-calc give the same figures, line for line.
    void sameFiguresAsTheBatchCalculator_data()
    {
        QTest::addColumn<int>("criterion");
        QTest::newRow("maximum likelihood") << 0;
        QTest::newRow("least absolute errors") << 1;
    }
    void sameFiguresAsTheBatchCalculator()
    {
        QFETCH(int, criterion);
        publishedCase();
        CalibrationDialog* dialog = openDialog();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(calibrate(dialog, path("osservate.csv")));
        if (criterion == 1) {
            QSignalSpy ended(dialog, &CalibrationDialog::searchEnded);
            dialog->criterionBox()->setCurrentIndex(1);
            QVERIFY(ended.wait(30000));
        }
        QVERIFY(dialog->study() && dialog->study()->calibrated);
        QCOMPARE(dialog->source(), QStringLiteral("osservate.csv"));

        const QString archive = path("Urbaflux-tot-finestra");
        QVERIFY(writeFile(archive, writeCompleteBytes(m_f->state, TitlePage())));
        QStringList calibra{archive, QStringLiteral("--calibra"), path("osservate.csv")};
        if (criterion == 1)
            calibra << QStringLiteral("--criterio") << QStringLiteral("sae");
        const CalcRun calibrated = runCalc(calibra);
        const CalcRun typed = runCalc({archive, QStringLiteral("--valuta"), path("osservate.csv")});
        QCOMPARE(calibrated.exitCode, 0);
        QCOMPARE(typed.exitCode, 0);
        const QMap<QString, QString> batch[] = {batchLines(typed.out), batchLines(calibrated.out)};
        QTableWidget* table = dialog->measuresTable();
        QCOMPARE(table->item(0, 1)->text(), batch[1].value(QStringLiteral("Alfa tarato")));
        QVERIFY(dialog->alphaLabel()->text().startsWith(QStringLiteral("Alfa tarato: ") +
                                                        table->item(0, 1)->text()));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("2"));
        for (int column = 0; column < 2; ++column)
            for (int row = 1; row < table->rowCount(); ++row) {
                const QString label = table->verticalHeaderItem(row)->text();
                QVERIFY2(batch[column].contains(label), qPrintable(label));
                QCOMPARE(table->item(row, column)->text(), batch[column].value(label));
            }

        // The trip lengths too, band for band.
        const CalcRun json = runCalc(
            {archive, QStringLiteral("--valuta"), path("osservate.csv"), QStringLiteral("--json")});
        const QJsonArray bands = QJsonDocument::fromJson(json.out)
                                     .object()
                                     .value(QStringLiteral("distribuzione_lunghezze"))
                                     .toArray();
        const std::vector<TripLengthBand>& shown = dialog->study()->current.lengths.bands;
        QCOMPARE(qsizetype(shown.size()), bands.size());
        for (size_t b = 0; b < shown.size(); ++b) {
            const QJsonObject band = bands[qsizetype(b)].toObject();
            QCOMPARE(shown[b].from, band.value(QStringLiteral("da")).toDouble());
            QCOMPARE(shown[b].to, band.value(QStringLiteral("a")).toDouble());
            QCOMPARE(shown[b].observed, band.value(QStringLiteral("osservate")).toDouble());
            QCOMPARE(shown[b].modelled, band.value(QStringLiteral("calcolate")).toDouble());
        }
    }

    // The calibrated alpha typed into the box recomputes; Ctrl+Z in the box brings back the
    // text it had, and with it the calibration stops being the one applied.
    void useThisAlphaAndUndo()
    {
        publishedCase();
        alphaBox()->setText(QStringLiteral("2.5"));
        CalibrationDialog* dialog = openDialog();
        QVERIFY(calibrate(dialog, path("osservate.csv")));
        QVERIFY(dialog->useButton()->isEnabled());
        const QString alpha = dialog->study()->alphaText;
        QCOMPARE(alpha, QStringLiteral("1.38178"));
        const quint64 revision = m_f->state.inputRevision;
        QTest::mouseClick(dialog->useButton(), Qt::LeftButton);
        QCOMPARE(alphaBox()->text(), alpha);
        QCOMPARE(m_f->state.model.alpha, FieldValue::fromText(alpha));
        QVERIFY(m_f->state.inputRevision > revision);
        QVERIFY(resultsCurrent(m_f->state));
        const AppliedCalibration* applied = currentCalibration(m_f->state);
        QVERIFY(applied);
        QCOMPARE(applied->source, QStringLiteral("osservate.csv"));
        QCOMPARE(applied->criterion, CalibrationCriterion::MaximumLikelihood);
        // The results are the calibrated alpha's, as the dialog measured them.
        QCOMPARE(measureFit(m_f->state, applied->observed).absoluteErrors,
                 dialog->study()->calibrated->fit.absoluteErrors);
        QCOMPARE(dialog->measuresTable()->item(0, 0)->text(), alpha);

        dialog->close();
        QTest::keyClick(alphaBox(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(alphaBox()->text(), QStringLiteral("2.5"));
        QCOMPARE(m_f->state.model.alpha.displayText(), QStringLiteral("2.5"));
        QVERIFY(!currentCalibration(m_f->state));
    }

    // Observed data that cannot be used: a message naming the line, and nothing changes.
    void badObservedData_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: pasted
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("message");
        QTest::newRow("matrix of two areas")
            << QByteArray(",1,2\n1,1,1\n2,1,1\n") << QString()
            << QStringLiteral("riga 1: la matrice ha 2 colonne, l'archivio 3 aree");
        QTest::newRow("negative") << QByteArray("1;1;5\n1;2;-3\n") << QString()
                                  << QStringLiteral("riga 2: il valore -3 è negativo");
        QTest::newRow("no pair in common")
            << QByteArray(",1,2,3\n1,,,\n2,,,\n3,,,\n") << QString()
            << QStringLiteral("nessuna coppia ha un valore osservato");
        QTest::newRow("pasted text")
            << QByteArray() << QStringLiteral("1\t2\t3\n4\tmolti\t6\n7\t8\t9\n")
            << QStringLiteral("Il testo incollato, riga 2: \"molti\" non è "
                              "un numero");
    }
    void badObservedData()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, pasted);
        QFETCH(QString, message);
        publishedCase();
        CalibrationDialog* dialog = openDialog();
        QVERIFY(calibrate(dialog, path("osservate.csv")));
        const QString alpha = dialog->study()->alphaText;
        const QByteArray before = resultBytes(m_f->state);

        if (file.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            m_f->prompts.expectMessage();
            QTest::mouseClick(dialog->pasteButton(), Qt::LeftButton);
        } else {
            QVERIFY(writeFile(path("guasto.csv"), file));
            m_f->prompts.expectOpenFile(path("guasto.csv"));
            m_f->prompts.expectMessage();
            QTest::mouseClick(dialog->openButton(), Qt::LeftButton);
        }
        QVERIFY(m_f->prompts.verifyDone());
        const MessageRequest shown = m_f->prompts.lastMessage();
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.title, CalibrationDialog::messageTitle());
        QVERIFY2(shown.text.contains(message), qPrintable(shown.text));
        QVERIFY(!dialog->searching());
        QCOMPARE(dialog->source(), QStringLiteral("osservate.csv"));
        QCOMPARE(dialog->study()->alphaText, alpha);
        QCOMPARE(resultBytes(m_f->state), before);
    }

    // A search shows its progress and "Annulla", which ends it and leaves the state and the
    // dialog as they were.
    void cancelLeavesEverythingAsItWas()
    {
        m_f = std::make_unique<WindowTestFixture>(&createWindow);
        m_menu = m_f->show<Menu>(WindowId::Menu);
        randomAreas(m_f->state, 150);
        QVERIFY(calculateInteractions(m_f->state).completed());
        std::vector<double> values;
        for (int o = 1; o <= 150; ++o)
            for (int d = 1; d <= 150; ++d)
                values.push_back(m_f->state.interactions.matrix(o, d) * 1.1);
        const QByteArray before = resultBytes(m_f->state);
        CalibrationDialog* dialog = openDialog();
        dialog->setProgressDelay(0);
        QSignalSpy ended(dialog, &CalibrationDialog::searchEnded);
        // "Annulla" at the first trial the bar shows, long before the search could end.
        bool shown = false;
        connect(dialog->progressBar(), &QProgressBar::valueChanged, dialog, [&] {
            if (shown || dialog->progressBar()->value() < 1)
                return;
            shown = dialog->progressBar()->isVisible() && dialog->cancelButton()->isVisible();
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        });
        dialog->useObserved(observedFromValues(values, 150, QStringLiteral("rilievo")),
                            QStringLiteral("rilievo"));
        QVERIFY(dialog->searching());
        QVERIFY(!dialog->openButton()->isEnabled());
        QVERIFY(ended.wait(60000));
        QVERIFY(shown);
        QVERIFY(!dialog->searching());
        QVERIFY(!dialog->study());
        QVERIFY(!dialog->progressBar()->isVisible());
        QVERIFY(dialog->notesLabel()->text().startsWith(QStringLiteral("Taratura annullata")));
        QVERIFY(!dialog->useButton()->isEnabled());
        QVERIFY(dialog->openButton()->isEnabled());
        QCOMPARE(resultBytes(m_f->state), before);
        QVERIFY(!m_f->state.calibration);
    }

    // Twelve areas: every compared pair a point for each alpha, the line of equality, a bar
    // for each band; on logarithmic axes the zero pairs drop out. With URBAFLUX_SCREENSHOTS
    // set to a folder, the dialog's picture goes there.
    void chartsOfTwelveAreas()
    {
        m_f = std::make_unique<WindowTestFixture>(&createWindow);
        m_menu = m_f->show<Menu>(WindowId::Menu);
        randomAreas(m_f->state, 12);
        std::vector<double> values;
        {
            ProjectState truth = m_f->state;
            truth.notifier = nullptr;
            truth.model.alpha = FieldValue::fromNumber(1.4);
            QVERIFY(calculateInteractions(truth).completed());
            std::mt19937 random(3);
            std::lognormal_distribution<double> noise(0.0, 0.25);
            for (int o = 1; o <= 12; ++o)
                for (int d = 1; d <= 12; ++d)
                    values.push_back(
                        pairIndex(o, d, 12) % 29 == 0
                            ? 0.0
                            : std::round(truth.interactions.matrix(o, d) * noise(random)));
        }
        CalibrationDialog* dialog = openDialog();
        QSignalSpy ended(dialog, &CalibrationDialog::searchEnded);
        dialog->useObserved(observedFromValues(values, 12, QStringLiteral("Urbaflux-int-rilievo")),
                            QStringLiteral("Urbaflux-int-rilievo"));
        QVERIFY(ended.wait(30000));
        QVERIFY(dialog->study() && dialog->study()->calibrated);
        dialog->resize(1100, 900);

        const auto scatterPoints = [&] {
            QList<int> counts;
            for (QAbstractSeries* series : dialog->scatterView()->chart()->series())
                if (auto* scatter = qobject_cast<QScatterSeries*>(series))
                    counts << int(scatter->count());
            return counts;
        };
        QCOMPARE(scatterPoints(), (QList<int>{144, 144}));
        QCOMPARE(dialog->scatterView()->chart()->series().size(), 3);
        const auto* bars =
            qobject_cast<QBarSeries*>(dialog->lengthsView()->chart()->series().value(0));
        QVERIFY(bars);
        QCOMPARE(bars->count(), 3);
        QCOMPARE(qsizetype(bars->barSets().first()->count()),
                 qsizetype(dialog->study()->calibrated->lengths.bands.size()));
        const QString folder = qEnvironmentVariable("URBAFLUX_SCREENSHOTS");
        if (!folder.isEmpty()) {
            dialog->grab().save(folder + QStringLiteral("/taratura-lineare.png"));
            m_menu->grab().save(folder + QStringLiteral("/scelta-modello.png"));
        }
        dialog->logarithmicBox()->setChecked(true);
        const int positive =
            int(std::count_if(values.begin(), values.end(), [](double v) { return v > 0; }));
        QVERIFY(positive < 144);
        QCOMPARE(scatterPoints(), (QList<int>{positive, positive}));
        if (!folder.isEmpty())
            dialog->grab().save(folder + QStringLiteral("/taratura-logaritmica.png"));
    }

    void noAreasNoDialog()
    {
        m_f = std::make_unique<WindowTestFixture>(&createWindow);
        m_menu = m_f->show<Menu>(WindowId::Menu);
        m_f->prompts.expectMessage();
        QTest::mouseClick(m_menu->calibrationButton(), Qt::LeftButton);
        QVERIFY(m_f->prompts.verifyDone());
        QVERIFY(
            m_f->prompts.lastMessage().text.startsWith(QStringLiteral("Impossibile tarare alfa")));
        QVERIFY(!m_menu->findChild<CalibrationDialog*>());
    }
};

QTEST_MAIN(TestCalibrationDialog)
#include "tst_calibrationdialog.moc"
