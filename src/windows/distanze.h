#pragma once

// Window 3 of 5: the distance and the weight of every ordered pair of areas, and the
// interactions the calculation gives for them.
//
// The window shows 15 rows onto the list of pairs; its own scroll bar VScroll1 decides which.
// Every row remembers the pair its `num` label shows and every edit of the row goes to that
// pair, whatever the shared gridTopRow holds meanwhile. Each change of a distance or a weight
// runs the calculation once, with one cache kept for the life of the window so that a keystroke
// recomputes only the decay factor of the pair that changed. Edits only write the state and
// announce the change; the window, like every other, follows the announcement, so that a change
// made elsewhere (a model, an alpha, an area) leaves no result or hint of the old data here.

#include "calculation.h"
#include "windowframe.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace urbaflux {

class DistanzeMatrice;

class Distanze : public WindowFrame
{
    Q_OBJECT

public:
    static constexpr int kRows = 15;
    static constexpr int kLastTopRow = kMaxPairs - kRows + 1; // 32,386

    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Distanze(AppContext& context, QWidget* parent = nullptr);
    ~Distanze() override;

    // The caption of the unit label beside the distance heading.
    void setUnitCaption(const QString& unit);
    QString unitCaption() const;
    // The unit label follows the unit the defaults put back.
    void defaultsApplied() override;

    // Fills the 15 rows from the pairs, starting at the scroll bar's position, with the results
    // of the data as they stand and the hint.
    void refreshGrid();
    // Sets the step hint to what the user should do next.
    void updateDistanceHint();

    // The pair row r (1 to 15) shows and edits.
    int rowPair(int row) const { return m_rowPair[static_cast<size_t>(row - 1)]; }
    int topRow() const;
    // Moves the grid so that row 1 shows pair `pair` (clamped to 1 to 32,386).
    void scrollToPair(int pair);
    void showFromFirstRow() override { scrollToPair(1); }

    // How the last calculation this window showed ended; empty before the first one.
    const std::optional<CalculationOutcome>& lastOutcome() const { return m_lastOutcome; }

    // The full name of the archive file last chosen in a file dialog of this window.
    QString currentFile() const { return m_currentFile; }

    // The results summary shown by the check command.
    QString resultsSummary() const;

    // Fills the pairs from `firstPair` on from spreadsheet text: one line per pair, the columns
    // separated by tabs, starting with the distance (`startAtWeight` false) or the weight.
    // Returns false, changing nothing, when the lines do not fit.
    bool pastePairs(int firstPair, const QString& text, bool startAtWeight);

    // The distances as an origin-by-destination matrix, in a window of its own beside the pair
    // list; both edit the same distances. Created on first use.
    DistanzeMatrice* showMatrix();
    DistanzeMatrice* matrixView() const { return m_matrix; }

    // Operations the frame dispatches to.
    void apri_Click() override;
    void salva_Click() override;
    void salvanome_Click() override;
    void eliminare_click() override;
    void stampa_Click() override;
    void avanti_Click() override;
    void clearData() override;

protected:
    void onLoad() override;
    // Every change of the data, typed here or anywhere else, brings the grid, the results and
    // the hint up to date (at once while the window is in view, else when it is shown).
    void dataChanged(bool own) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row
    {
        QLabel* num = nullptr;
        QLabel* label = nullptr;
        QLabel* nomi = nullptr;
        QLineEdit* distanza = nullptr;
        QLineEdit* p100 = nullptr;
        QScrollBar* hscroll = nullptr;
        QLabel* interazioni = nullptr;
    };

    void buildControls();
    void distanceEdited(int row, const QString& text);
    void weightEdited(int row, const QString& text);
    void arrowsMoved(int row, int position);
    // Ends a press held on a row's arrows, with its auto-repeat (a release the bar never got).
    static void stopArrowRepeat(QScrollBar* arrows);
    // Fills the rows; true when a distance or weight box came to show a different text.
    bool fillRows();
    void fillInteractions();
    // Runs the calculation first when the data changed since the results were computed, then
    // shows the interactions (those of the last complete run, greyed, after a stopped one).
    void refreshResults();
    // Greys the interactions while they are those of the last complete calculation.
    void showResultsStanding();
    bool pasteIntoRow(int row, bool weightColumn, const QString& text);
    bool moveFocus(QLineEdit* box, int rowStep, bool toWeight);
    void saveDistances(const QString& dialogTitle);
    int firstEmptyDistancePair() const;
    QString archiveFailureTitle() const;

    std::array<Row, kRows> m_rows;
    std::array<int, kRows> m_rowPair{};
    QScrollBar* m_vscroll = nullptr;
    QLabel* m_unitLabel = nullptr;
    QPushButton* m_cmdmatrice = nullptr;
    DistanzeMatrice* m_matrix = nullptr;
    // The matrix wrote distances: the pair list and the results follow.
    void matrixWritten();
    std::unique_ptr<CalculationCache> m_cache;
    std::optional<CalculationOutcome> m_lastOutcome;
    QString m_currentFile;
    QString m_dialogFileName = QStringLiteral("Urbaflux-dis-");
    QString m_shownUnit; // the model's unit the label last followed
    bool m_filling = false;
    bool m_loaded = false;
};

} // namespace urbaflux
