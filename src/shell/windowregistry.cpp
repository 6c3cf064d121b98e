#include "windowregistry.h"

namespace urbaflux {

int placeInSequence(const WindowRegistry& registry, WindowId id)
{
    int place = 0;
    for (const WindowEntry& entry : registry) {
        if (!entry.inSequence)
            continue;
        ++place;
        if (entry.id == id)
            return place;
    }
    return 0;
}

int sequenceLength(const WindowRegistry& registry)
{
    int length = 0;
    for (const WindowEntry& entry : registry)
        length += entry.inSequence ? 1 : 0;
    return length;
}

const WindowEntry* sequenceEntry(const WindowRegistry& registry, int place)
{
    for (const WindowEntry& entry : registry) {
        if (entry.inSequence && --place == 0)
            return &entry;
    }
    return nullptr;
}

} // namespace urbaflux
