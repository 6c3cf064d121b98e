#pragma once

// Window 2 of 5: names, origins and destinations of the areas. Fifteen rows scroll over the
// 180 positions of AreaTable; a row always edits the area its number label shows, which is the
// position of this window's own scroll bar plus the row. Every edit is stored at once, so the
// state is current while the user types; the checks wait for "Avanti".

#include "windowframe.h"

#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollBar;

namespace urbaflux {

class DatiAree : public WindowFrame
{
    Q_OBJECT

public:
    static constexpr int kRows = 15;
    static constexpr int kLastTopRow = 166; // row 15 then shows area 180

    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit DatiAree(AppContext& context, QWidget* parent = nullptr);
    ~DatiAree() override;

    // The area the row (1 to 15) stands for.
    int areaOfRow(int row) const;
    // The rows from AreaTable, starting at the scroll bar's position; the rows' change
    // handling then recounts the areas and refreshes the totals and the hint.
    void showAreaRows();
    void recountAreas();
    void refreshAreaTotals();
    void refreshAreaHint();

    // The column headings and the explanation box follow the chosen model.
    void setColumnHeadings(const QString& origins, const QString& destinations);
    void setExplanation(const QString& text);
    QString explanation() const;
    QString originsTotalText() const;
    QString destinationsTotalText() const;

    QString currentFile() const { return m_currentFile; }

    // Pastes lines copied from a spreadsheet, one area a line and tab-separated columns,
    // starting at the area of a row and at the column of a box (0 name, 1 origin,
    // 2 destination). False, with nothing changed, when the lines would go beyond area 180.
    bool pasteRows(int row, int column, const QString& text);

    // Takes the area of a row (1 to 15) out of the table after asking: the following areas move
    // up one position, and the area's distances and weights go with it while those of the other
    // pairs follow their areas.
    void removeAreaOfRow(int row);
    // Makes room for a new area at a row: the areas from there move down one position and
    // their pairs follow them. Refused with a message when area 180 holds data.
    void insertAreaAtRow(int row);

    void apri_Click() override;
    void salva_Click() override;
    void salvanome_Click() override;
    void eliminare_click() override;
    void stampa_Click() override;
    void avanti_Click() override;
    void clearData() override;

protected:
    void onLoad() override;
    // Headings follow the model; rows follow areas read by another window.
    void dataChanged(bool own) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows a column heading whole, in a smaller size when it exceeds its column.
    void fitHeading(QLabel* heading, const QString& text);
    void buildControls();
    // Stores a typed text and announces the change, unless the rows are being filled.
    void store(QString& field, const QString& text);
    void nomeChanged(int row, const QString& text);
    void origineChanged(int row, const QString& text);
    void destinazioneChanged(int row, const QString& text);
    void pasteInto(int row, int column);
    void saveAreas(const QString& knownFile, const QString& dialogTitle);
    QString archiveFailureTitle() const;

    std::array<QLabel*, kRows + 1> m_label{};
    std::array<QLineEdit*, kRows + 1> m_nome{};
    std::array<QLineEdit*, kRows + 1> m_origine{};
    std::array<QLineEdit*, kRows + 1> m_destinazione{};
    QScrollBar* m_scroll = nullptr;
    QLabel* m_lblorigini = nullptr;
    qreal m_headingPointSize = 9.0;
    QLabel* m_lbldestinazioni = nullptr;
    QLabel* m_totorig = nullptr;
    QLabel* m_totdest = nullptr;
    QPlainTextEdit* m_spiega = nullptr;
    QString m_explanation;

    bool m_showing = false;             // the rows are being filled from the state
    bool m_changedWhileShowing = false; // and that changed a text of the state
    bool m_rowsStale = false;           // areas changed elsewhere while out of view
    int m_shownKind = 0;                // the model the headings follow
    bool m_loaded = false;

    QString m_currentFile;
    QString m_dialogFileName;
};

} // namespace urbaflux
