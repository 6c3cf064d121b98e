#pragma once

// One builder of sample elaborations for tests and benchmarks, over core's own operations: the
// area rows as typed, the pair list of buildPairList, distances and weights as typed, the totals
// of computeAreaTotals and the results of calculateInteractions; or, for what only reads
// results (charts, printouts), interactions given outright.
//
//     auto state = samples::SampleState(3, 1)
//                      .origins([](int i) { return QString::number(100 * i); })
//                      .destinations(...)
//                      .distances([](int i, int j) { return QString::number(1 + i + j); })
//                      .calculated();

#include <calculation.h>
#include <modelkind.h>
#include <projectstate.h>

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace urbaflux::samples {

class SampleState
{
public:
    // kind 0 leaves the model unchosen.
    explicit SampleState(int areas, int kind = 1) : m_areas(areas), m_kind(kind) {}

    // applyDefaults first, as the program starts.
    SampleState& defaults()
    {
        m_defaults = true;
        return *this;
    }
    SampleState& types(const QString& origins, const QString& destinations,
                       const QString& interactions = {}, const QString& unit = {})
    {
        m_types = {origins, destinations, interactions, unit};
        return *this;
    }
    SampleState& names(std::function<QString(int)> name)
    {
        m_name = std::move(name);
        return *this;
    }
    SampleState& origins(std::function<QString(int)> origin)
    {
        m_origin = std::move(origin);
        return *this;
    }
    SampleState& destinations(std::function<QString(int)> destination)
    {
        m_destination = std::move(destination);
        return *this;
    }
    SampleState& distances(std::function<QString(int, int)> distance)
    {
        m_distance = std::move(distance);
        return *this;
    }
    // Weights other than the 100 of the pair list; a weight left unset keeps it.
    SampleState& weights(std::function<std::optional<FieldValue>(int, int)> weight)
    {
        m_weight = std::move(weight);
        return *this;
    }
    // Results given outright, by pair number; the total is their sum unless given.
    SampleState& interactions(std::function<float(int)> interaction,
                              std::optional<double> total = std::nullopt)
    {
        m_interaction = std::move(interaction);
        m_total = total;
        return *this;
    }
    SampleState& interactions(const QList<float>& values,
                              std::optional<double> total = std::nullopt)
    {
        return interactions([values](int k) { return values.value(k - 1); }, total);
    }
    // computeAreaTotals once the rows are in.
    SampleState& withTotals()
    {
        m_totals = true;
        return *this;
    }

    std::unique_ptr<ProjectState> build() const
    {
        auto state = std::make_unique<ProjectState>();
        fill(*state);
        return state;
    }

    // Writes the sample into a state that exists (a window fixture's), field by field.
    void fill(ProjectState& target) const
    {
        ProjectState* state = &target;
        if (m_defaults)
            applyDefaults(*state);
        if (m_kind > 0) {
            state->model.kind = static_cast<qint16>(m_kind);
            state->model.kindLabel = modelKindLabel(m_kind);
        }
        if (m_types) {
            state->model.originType = m_types->origins;
            state->model.destinationType = m_types->destinations;
            if (!m_types->interactions.isEmpty())
                state->model.interactionType = m_types->interactions;
            if (!m_types->unit.isEmpty())
                state->model.unit = m_types->unit;
        }
        const int n = m_areas;
        state->areas.count = n;
        for (int i = 1; i <= n; ++i) {
            const auto at = static_cast<size_t>(i);
            if (m_name)
                state->areas.name[at] = m_name(i);
            if (m_origin)
                state->areas.origin[at] = m_origin(i);
            if (m_destination)
                state->areas.destination[at] = m_destination(i);
        }
        buildPairList(*state);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                const auto k = static_cast<size_t>(pairIndex(i, j, n));
                if (m_distance)
                    state->distances.distance[k] = m_distance(i, j);
                if (m_weight)
                    if (const auto weight = m_weight(i, j))
                        state->distances.weight[k] = *weight;
            }
        if (m_interaction) {
            double total = 0;
            for (int k = 1; k <= n * n; ++k) {
                const float v = m_interaction(k);
                state->interactions.interaction[static_cast<size_t>(k)] = v;
                total += v;
            }
            state->interactions.totalInteractions = m_total.value_or(total);
        }
        if (m_totals)
            computeAreaTotals(*state);
    }

    // The totals and the calculation as the distances window runs it; a sample that does not
    // compute is a broken test.
    std::unique_ptr<ProjectState> calculated() const
    {
        auto state = build();
        computeAreaTotals(*state);
        if (!calculateInteractions(*state).completed())
            qFatal("sample elaboration of %d areas not computed", m_areas);
        return state;
    }

private:
    struct Types
    {
        QString origins, destinations, interactions, unit;
    };
    int m_areas;
    int m_kind;
    bool m_defaults = false;
    bool m_totals = false;
    std::optional<Types> m_types;
    std::function<QString(int)> m_name;
    std::function<QString(int)> m_origin;
    std::function<QString(int)> m_destination;
    std::function<QString(int, int)> m_distance;
    std::function<std::optional<FieldValue>(int, int)> m_weight;
    std::function<float(int)> m_interaction;
    std::optional<double> m_total;
};

} // namespace urbaflux::samples
