#pragma once

// The one announcement of a change of the elaboration's data. Every write to the data that the
// results or the windows depend on goes through markInputsChanged (projectstate.h), which
// advances the state's revision and, when the state has a notifier, emits inputsChanged. Windows
// that show results listen to it instead of being refreshed by their siblings; whether results
// are current is then a comparison of two revisions.

#include <QObject>

namespace urbaflux {

class StateNotifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    // The data changed (typed, pasted, imported, read from an archive, the model chosen).
    void inputsChanged();
};

} // namespace urbaflux
