// When a watched folder's changes are taken in: once the folder has been quiet for a second, so a
// burst (a copy of 500 files) becomes one reload, and at the latest a few seconds after the first
// change of a burst that does not end (a slow download keeps writing).
#pragma once

namespace tessary {

class ChangeDebounce {
public:
    static constexpr double kQuietSeconds = 1.0;
    static constexpr double kMaxDelaySeconds = 5.0;

    // A change was seen at the time now (seconds on any steady clock).
    void Changed(double now);
    // Whether the changes seen so far are to be taken in at the time now.
    bool Due(double now) const;
    bool Pending() const { return pending_; }
    // The changes were taken in (or dropped).
    void Clear() { pending_ = false; }

private:
    bool pending_ = false;
    double first_ = 0, last_ = 0;
};

} // namespace tessary
