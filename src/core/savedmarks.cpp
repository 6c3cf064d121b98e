#include "savedmarks.h"

#include "projectstate.h"

#include <QCryptographicHash>
#include <memory>

namespace urbaflux {

namespace {

void add(QCryptographicHash& hash, const QString& text)
{
    // The length first, so that "ab","c" and "a","bc" differ; a null text is not an empty one
    // for the archives, but both are "nothing typed" here.
    const qsizetype size = text.size();
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(text.constData()),
                                text.size() * qsizetype(sizeof(QChar))));
}

void add(QCryptographicHash& hash, const FieldValue& value)
{
    const auto kind = static_cast<char>(value.kind);
    hash.addData(QByteArrayView(&kind, 1));
    if (value.isNumber())
        hash.addData(
            QByteArrayView(reinterpret_cast<const char*>(&value.number), sizeof value.number));
    else
        add(hash, value.text);
}

void add(QCryptographicHash& hash, int number)
{
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&number), sizeof number));
}

// The state of a new elaboration as its windows leave it before anything is typed.
QByteArray pristineDigest(DataKind kind)
{
    auto fresh = std::make_unique<ProjectState>();
    applyDefaults(*fresh);
    return dataDigest(*fresh, kind);
}

} // namespace

QByteArray dataDigest(const ProjectState& state, DataKind kind)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    switch (kind) {
    case DataKind::ModelChoice: {
        const ModelChoice& m = state.model;
        add(hash, m.kind);
        for (const QString* text : {&m.originType, &m.destinationType, &m.interactionType, &m.unit})
            add(hash, *text);
        add(hash, m.alpha);
        add(hash, m.tolerance);
        break;
    }
    case DataKind::Areas:
        for (int a = 1; a <= kMaxAreas; ++a) {
            const auto at = static_cast<size_t>(a);
            add(hash, state.areas.name[at]);
            // The origin box starts with a blank: a blank is nothing typed.
            add(hash,
                state.areas.origin[at].trimmed().isEmpty() ? QString() : state.areas.origin[at]);
            add(hash, state.areas.destination[at]);
        }
        break;
    case DataKind::Distances:
        for (int k = 1; k <= kMaxPairs; ++k) {
            const auto at = static_cast<size_t>(k);
            const QString& distance = state.distances.distance[at];
            const FieldValue& weight = state.distances.weight[at];
            // A weight the program set (100) and an empty distance are nothing typed.
            if (distance.isEmpty() && (weight.isUnset() || weight.isNumber()))
                continue;
            add(hash, k);
            add(hash, distance);
            add(hash, weight);
        }
        break;
    case DataKind::TitlePage:
        for (const QString* text : state.titlePage.fields())
            add(hash, *text);
        break;
    }
    return hash.result();
}

void markSaved(ProjectState& state, DataKind kind)
{
    state.run.savedDigests[static_cast<size_t>(kind)] = dataDigest(state, kind);
}

void markAllSaved(ProjectState& state)
{
    for (int k = 0; k < kDataKinds; ++k)
        markSaved(state, static_cast<DataKind>(k));
}

bool hasUnsavedChanges(const ProjectState& state, DataKind kind)
{
    const QByteArray& saved = state.run.savedDigests[static_cast<size_t>(kind)];
    const QByteArray current = dataDigest(state, kind);
    return saved.isEmpty() ? current != pristineDigest(kind) : current != saved;
}

bool hasUnsavedChanges(const ProjectState& state)
{
    for (int k = 0; k < kDataKinds; ++k)
        if (hasUnsavedChanges(state, static_cast<DataKind>(k)))
            return true;
    return false;
}

} // namespace urbaflux
