#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "warnings/WarningWatch.h"

namespace vekaton {

class Decoder;

// Where one watched value stands.
enum class WarningPhase {
    Quiet,    // within its limits
    Pending,  // beyond a limit, not yet for the debounce time
    Active,   // warning
};

struct WarningStatus {
    WarningPhase phase = WarningPhase::Quiet;
    WarningSide side = WarningSide::High;
    double beyondSince = 0.0;   // when the value passed the limit (seconds on the caller's clock)
    double value = 0.0;         // the latest value seen
    double extreme = 0.0;       // the furthest beyond the limit since it passed it
    bool acknowledged = false;  // the alarm was silenced until the value comes back
};

// How an instrument showing a value should look.
enum class WarningLevel {
    None,
    Warning,   // beyond a limit: warning colours
    Sounding,  // and its alarm sounds, not yet acknowledged
};

// A warning as the status strip lists it.
struct ActiveWarning {
    ValueRef ref;
    std::string name;
    WarningSide side = WarningSide::High;
    double limit = 0.0;
    double value = 0.0;
    double extreme = 0.0;
    double since = 0.0;
    bool alarm = false;
    bool acknowledged = false;
};

// The warnings of the values being received, on a clock the caller passes in (seconds, never
// read from the system here), so debounce and hysteresis are tested without waiting. Called
// once per frame; costs a comparison or two per watched value.
class WarningMonitor {
  public:
    explicit WarningMonitor(WarningSettings settings = {});

    // Starts over with these values watched, every one quiet.
    void SetWatches(std::vector<WarningWatch> watches);
    std::span<const WarningWatch> Watches() const { return watches_; }
    const WarningSettings& Settings() const { return settings_; }
    // A new debounce time applies from the next update; the margins come with the watches.
    void SetDebounceSeconds(double seconds);

    // Every watched value of the decoder's current frame at time `now`. Values read in raw mode
    // are bytes, not the units the limits are given in, so nothing changes then. True when
    // anything the view shows changed (a warning began or ended, an alarm started).
    bool Update(const Decoder& decoder, double now);
    // One watched value (index into Watches()) at time `now`; true as above. A value that is
    // not a number changes nothing.
    bool Observe(std::size_t index, double value, double now);

    // Silences every sounding alarm until its value has come back within its limits; a value
    // that passes a limit again afterwards sounds again. True when an alarm was silenced.
    bool Acknowledge();
    // All quiet, as after SetWatches (acquisition stopped, a set loaded).
    void Reset();

    bool AlarmSounding() const;
    std::size_t ActiveCount() const { return activeCount_; }
    std::vector<ActiveWarning> ActiveWarnings() const;
    std::span<const WarningStatus> Statuses() const { return statuses_; }

    // How an instrument bound to a value should look: position as bound (the first byte of a
    // multi-byte value), bit -1 for an analog value.
    WarningLevel LevelOf(int position, int bit = -1) const;
    // Raised by every change that Update or Observe report.
    std::uint64_t Revision() const { return revision_; }

  private:
    static constexpr int kSlotsPerPosition = 9;  // the value, then bits 0 to 7
    static int SlotOf(int position, int bit);
    void Activate(WarningStatus& status);
    void Quieten(WarningStatus& status);

    WarningSettings settings_;
    std::vector<WarningWatch> watches_;
    std::vector<WarningStatus> statuses_;
    std::vector<int> lookup_;  // slot -> watch index, or -1
    std::size_t activeCount_ = 0;
    std::uint64_t revision_ = 0;
};

}  // namespace vekaton
