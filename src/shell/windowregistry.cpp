#include "windowregistry.h"

namespace urbaflux {

int placeInSequence(const WindowRegistry& registry, WindowId id)
{
    for (size_t i = 0; i < registry.size(); ++i) {
        if (registry[i].id == id)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace urbaflux
