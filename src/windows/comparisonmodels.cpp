#include "comparisonmodels.h"

#include <changechart.h>

#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

QVariant percentShown(const std::optional<double>& percent)
{
    return percent ? QVariant(italianChange(*percent) + QStringLiteral("%")) : QVariant(QString());
}

// Without a percent the row sorts below every number, in either direction.
QVariant percentSorted(const std::optional<double>& percent)
{
    return percent ? QVariant(*percent) : QVariant(-HUGE_VAL);
}

QVariant rightAligned()
{
    return QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
}

} // namespace

void AreaChangeModel::setComparison(const ScenarioComparison* comparison)
{
    beginResetModel();
    m_comparison = comparison;
    endResetModel();
}

int AreaChangeModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_comparison ? 0 : int(m_comparison->areas.size());
}

int AreaChangeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 10;
}

QVariant AreaChangeModel::data(const QModelIndex& index, int role) const
{
    if (!m_comparison || !index.isValid())
        return {};
    const AreaChange& a = m_comparison->areas[size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 ? QVariant() : rightAligned();
    if (role != Qt::DisplayRole && role != kSortRole)
        return {};
    const bool shown = role == Qt::DisplayRole;
    const auto number = [shown](double v, bool sign) {
        return shown ? QVariant(italianChange(v, sign)) : QVariant(v);
    };
    switch (index.column()) {
    case 0:
        return a.number;
    case 1:
        return a.name;
    case 2:
        return number(a.origins.base, false);
    case 3:
        return number(a.origins.project, false);
    case 4:
        return number(a.origins.difference, true);
    case 5:
        return shown ? percentShown(a.origins.percent) : percentSorted(a.origins.percent);
    case 6:
        return number(a.destinations.base, false);
    case 7:
        return number(a.destinations.project, false);
    case 8:
        return number(a.destinations.difference, true);
    case 9:
        return shown ? percentShown(a.destinations.percent) : percentSorted(a.destinations.percent);
    }
    return {};
}

QVariant AreaChangeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const headings[] = {
        "n.",         "area",         "origini base",      "origini progetto",
        "differenza", "variazione %", "destinazioni base", "destinazioni progetto",
        "differenza", "variazione %"};
    return section >= 0 && section < 10 ? QString::fromUtf8(headings[section]) : QString();
}

void PairChangeModel::setComparison(const ScenarioComparison* comparison)
{
    beginResetModel();
    m_comparison = comparison;
    endResetModel();
}

int PairChangeModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_comparison ? 0 : int(m_comparison->pairs.size());
}

int PairChangeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 7;
}

QVariant PairChangeModel::data(const QModelIndex& index, int role) const
{
    if (!m_comparison || !index.isValid())
        return {};
    const PairChange& p = m_comparison->pairs[size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 || index.column() == 2 ? QVariant() : rightAligned();
    if (role != Qt::DisplayRole && role != kSortRole)
        return {};
    const bool shown = role == Qt::DisplayRole;
    const auto name = [this](int area) { return m_comparison->areas[size_t(area - 1)].name; };
    const auto number = [shown](double v, bool sign) {
        return shown ? QVariant(italianChange(v, sign)) : QVariant(v);
    };
    switch (index.column()) {
    case 0:
        return p.pair;
    case 1:
        return shown ? QVariant(QStringLiteral("%1 %2").arg(p.origin).arg(name(p.origin)))
                     : QVariant(p.origin);
    case 2:
        return shown ? QVariant(QStringLiteral("%1 %2").arg(p.destination).arg(name(p.destination)))
                     : QVariant(p.destination);
    case 3:
        return number(p.interaction.base, false);
    case 4:
        return number(p.interaction.project, false);
    case 5:
        return number(p.interaction.difference, true);
    case 6:
        return shown ? percentShown(p.interaction.percent) : percentSorted(p.interaction.percent);
    }
    return {};
}

QVariant PairChangeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const headings[] = {"n.",       "origine",    "destinazione", "base",
                                           "progetto", "differenza", "variazione %"};
    return section >= 0 && section < 7 ? QString::fromUtf8(headings[section]) : QString();
}

LargestChangesFilter::LargestChangesFilter(int changeColumn, QObject* parent)
    : QSortFilterProxyModel(parent), m_changeColumn(changeColumn)
{
    setSortRole(kSortRole);
}

void LargestChangesFilter::setLimit(int limit)
{
    m_limit = std::max(0, limit);
    refresh();
}

void LargestChangesFilter::refresh()
{
    m_threshold = 0.0;
    if (m_limit > 0 && sourceModel()) {
        std::vector<double> magnitudes;
        const int rows = sourceModel()->rowCount();
        magnitudes.reserve(size_t(rows));
        for (int r = 0; r < rows; ++r) {
            const double v =
                std::abs(sourceModel()->index(r, m_changeColumn).data(kSortRole).toDouble());
            if (v > 0)
                magnitudes.push_back(v);
        }
        if (int(magnitudes.size()) > m_limit) {
            std::nth_element(magnitudes.begin(), magnitudes.begin() + (m_limit - 1),
                             magnitudes.end(), std::greater<>());
            m_threshold = magnitudes[size_t(m_limit - 1)];
        }
    }
    invalidateFilter();
}

bool LargestChangesFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (m_limit <= 0)
        return true;
    const double v = std::abs(
        sourceModel()->index(sourceRow, m_changeColumn, sourceParent).data(kSortRole).toDouble());
    return v > 0 && v >= m_threshold;
}

} // namespace urbaflux
