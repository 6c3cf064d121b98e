#pragma once

// The comparison window's tables as models over one ScenarioComparison: one row per area and
// one per pair, numbers shown with a decimal comma and sorted by their values (the sort role
// holds the number), and a filter that keeps only the largest changes.

#include <scenariocomparison.h>

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace urbaflux {

inline constexpr int kSortRole = Qt::UserRole;

class AreaChangeModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setComparison(const ScenarioComparison* comparison);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column whose magnitude the filter ranks: the change of the estimated origins.
    static constexpr int kChangeColumn = 4;

private:
    const ScenarioComparison* m_comparison = nullptr;
};

class PairChangeModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setComparison(const ScenarioComparison* comparison);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static constexpr int kChangeColumn = 5;

private:
    const ScenarioComparison* m_comparison = nullptr;
};

// Keeps the rows whose change (the source's change column, by its sort role) is among the
// `limit` largest in magnitude, changes of 0 never; a limit of 0 keeps every row.
class LargestChangesFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    LargestChangesFilter(int changeColumn, QObject* parent = nullptr);

    void setLimit(int limit);
    int limit() const { return m_limit; }
    // Recomputes the threshold after the source changed.
    void refresh();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int m_changeColumn;
    int m_limit = 0;
    double m_threshold = 0.0;
};

} // namespace urbaflux
