#pragma once

// Whether the data typed since the last save or open would be lost. Each kind of typed data
// (the model choice, the areas, the distances and weights, the title page) is fingerprinted
// when its archive, or the complete archive, is saved or opened; the data are unsaved when
// their fingerprint differs from that one, or, before any save or open, from the one of an
// elaboration where nothing was typed. Typing a value and putting it back is therefore no
// change, and the labels the program builds itself (pair numbers and names) are none either.
// A fingerprint costs one pass over the data; it is taken only when a question may be asked.

#include <QByteArray>

namespace urbaflux {

struct ProjectState;

enum class DataKind
{
    ModelChoice,
    Areas,
    Distances,
    TitlePage,
};
inline constexpr int kDataKinds = 4;

QByteArray dataDigest(const ProjectState& state, DataKind kind);

// After the archive of that kind was written or read.
void markSaved(ProjectState& state, DataKind kind);
// After the complete archive was written or read: every kind.
void markAllSaved(ProjectState& state);

bool hasUnsavedChanges(const ProjectState& state, DataKind kind);
// Any kind: the elaboration as a whole.
bool hasUnsavedChanges(const ProjectState& state);

} // namespace urbaflux
