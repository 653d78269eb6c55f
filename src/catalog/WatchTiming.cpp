#include "catalog/WatchTiming.h"

namespace tessary {

void ChangeDebounce::Changed(double now) {
    if (!pending_)
        first_ = now;
    pending_ = true;
    last_ = now;
}

bool ChangeDebounce::Due(double now) const {
    return pending_ && (now - last_ >= kQuietSeconds || now - first_ >= kMaxDelaySeconds);
}

} // namespace tessary
