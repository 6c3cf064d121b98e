#pragma once

// The distances as an origin-by-destination table, beside the pair list of the distances
// window: origins as rows, destinations as columns, the areas' names as headings. It edits the
// same distances of DistanceTable as the pair list: a cell typed, or a whole matrix pasted from
// a spreadsheet, is written at the pair's position and handed to the distances window, which
// runs the calculation once and shows the pairs again. The pair list stays the window's own
// view; this one opens from it.

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

class QMenu;
class QTableView;

namespace urbaflux {

struct ProjectState;
class Prompts;

// The N x N distances of the state as a table model; N is the areas' count.
class DistanceMatrixModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // `written` runs once after every write (a cell or a whole paste).
    DistanceMatrixModel(ProjectState& state, std::function<void()> written,
                        QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Spreadsheet text (rows by lines, cells by tabs) from origin `row` and destination
    // `column` (0-based). Empty cells of the text empty their distance. Nothing is written and
    // the reason is given in `error` when the text reaches beyond the N areas.
    bool pasteMatrix(int row, int column, const QString& text, QString* error);

    // The areas' count or names changed: the table follows.
    void reload();
    // The distances changed elsewhere (the pair list): the cells show them again.
    void refreshCells();

private:
    int count() const;

    ProjectState& m_state;
    std::function<void()> m_written;
    int m_count = 0;
};

class DistanzeMatrice : public QWidget
{
    Q_OBJECT

public:
    DistanzeMatrice(ProjectState& state, Prompts& prompts, std::function<void()> written,
                    QWidget* parent = nullptr);

    QTableView* table() const { return m_table; }
    DistanceMatrixModel* model() const { return m_model; }
    // The commands on the whole matrix; an import of a matrix file belongs here too.
    QMenu* matrixMenu() const { return m_menu; }

    // Pastes the clipboard at the current cell, as Ctrl+V does.
    void pasteClipboard();
    // The distances, or the areas, changed elsewhere.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ProjectState& m_state;
    Prompts& m_prompts;
    DistanceMatrixModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace urbaflux
