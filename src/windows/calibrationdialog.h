#pragma once

// "Taratura di alfa": beside the alpha box of the model-choice window. The user opens observed
// interactions (a CSV file as the batch calculator reads it, an interactions archive, or a
// matrix pasted from a spreadsheet), chooses the criterion, and sees the calibrated alpha, the
// measures of fit for it and for the alpha as typed now, and two charts: observed against
// calculated interactions, and the trip-length distribution. "Usa questo alfa" types the
// calibrated alpha into the box, so that Ctrl+Z there brings the previous text back.
//
// The search runs on a copy of the state on a thread of its own; after half a second a progress
// bar and "Annulla" appear. A cancelled search, or observed data that cannot be read, changes
// nothing: neither the state nor what the dialog shows.

#include "appcontext.h"

#include <calibration.h>

#include <QDialog>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;

namespace urbaflux {

class CalibrationDialog : public QDialog
{
    Q_OBJECT

public:
    // alphaBox is the model-choice window's alpha box, which "Usa questo alfa" types into.
    CalibrationDialog(AppContext& context, QLineEdit* alphaBox, QWidget* parent = nullptr);
    // Stops a search still running and waits for it.
    ~CalibrationDialog() override;

    // "Apri dati osservati...": a file, read as an interactions archive when its name begins
    // "Urbaflux-int-", as CSV otherwise.
    void openObserved();
    // "Incolla matrice": the clipboard's text.
    void pasteObserved();
    // Starts the search on observed data; a failed read is told (naming the line) and changes
    // nothing.
    void useObserved(const ObservedRead& read, const QString& source);
    void useCalibratedAlpha();
    void cancelSearch();

    bool searching() const { return m_thread != nullptr; }
    // How long a search runs before its progress shows (half a second; tests shorten it).
    void setProgressDelay(int milliseconds);
    // What the dialog shows; empty before a search completed.
    const std::optional<CalibrationStudy>& study() const { return m_study; }
    QString source() const { return m_source; }

    QPushButton* openButton() const { return m_open; }
    QPushButton* pasteButton() const { return m_paste; }
    QComboBox* criterionBox() const { return m_criterion; }
    QLabel* alphaLabel() const { return m_alphaLabel; }
    QLabel* notesLabel() const { return m_notes; }
    QTableWidget* measuresTable() const { return m_measures; }
    QCheckBox* logarithmicBox() const { return m_logarithmic; }
    QChartView* scatterView() const { return m_scatterView; }
    QChartView* lengthsView() const { return m_lengthsView; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* useButton() const { return m_use; }

    // The title of the dialog's messages.
    static QString messageTitle();

Q_SIGNALS:
    // A search ended: completed, failed or cancelled.
    void searchEnded();

private:
    struct Pending
    {
        ObservedInteractions observed;
        QString source;
        CalibrationCriterion criterion;
    };
    void startSearch(Pending pending);
    void showProgress(int done, int expected);
    void finishSearch(const std::shared_ptr<Pending>& pending,
                      const std::shared_ptr<CalibrationStudy>& study);
    void showStudy();
    void showCharts();
    void setSearchingLook(bool searching);
    CalibrationCriterion chosenCriterion() const;

    AppContext& m_context;
    QLineEdit* m_alphaBox;

    QPushButton* m_open = nullptr;
    QPushButton* m_paste = nullptr;
    QLabel* m_sourceLabel = nullptr;
    QComboBox* m_criterion = nullptr;
    QLabel* m_alphaLabel = nullptr;
    QLabel* m_notes = nullptr;
    QTableWidget* m_measures = nullptr;
    QCheckBox* m_logarithmic = nullptr;
    QChartView* m_scatterView = nullptr;
    QChartView* m_lengthsView = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_use = nullptr;
    QPushButton* m_close = nullptr;
    QTimer* m_progressDelay = nullptr;

    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_stop;

    // What is shown: the data, their name and the study made on them.
    std::optional<ObservedInteractions> m_observed;
    QString m_source;
    std::optional<CalibrationStudy> m_study;
};

} // namespace urbaflux
