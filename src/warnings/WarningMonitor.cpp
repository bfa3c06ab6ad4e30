#include "warnings/WarningMonitor.h"

#include <algorithm>
#include <cmath>

#include "decode/Decoder.h"
#include "decode/ParameterTable.h"

namespace vekaton {

WarningMonitor::WarningMonitor(WarningSettings settings) : settings_(settings) {
    SetDebounceSeconds(settings.debounceSeconds);
}

void WarningMonitor::SetDebounceSeconds(double seconds) {
    settings_.debounceSeconds = std::isfinite(seconds) ? std::max(0.0, seconds) : 0.0;
}

int WarningMonitor::SlotOf(int position, int bit) {
    if (!ParameterTable::IsValidPosition(position) || bit < -1 || bit > 7) {
        return -1;
    }
    return position * kSlotsPerPosition + bit + 1;
}

void WarningMonitor::SetWatches(std::vector<WarningWatch> watches) {
    watches_ = std::move(watches);
    statuses_.assign(watches_.size(), WarningStatus{});
    lookup_.assign(
        static_cast<std::size_t>((ParameterTable::kLastPosition + 1) * kSlotsPerPosition), -1);
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        const int slot = SlotOf(watches_[i].ref.position, watches_[i].ref.bit);
        if (slot >= 0) {
            lookup_[static_cast<std::size_t>(slot)] = static_cast<int>(i);
        }
    }
    activeCount_ = 0;
    ++revision_;
}

void WarningMonitor::Reset() {
    statuses_.assign(watches_.size(), WarningStatus{});
    activeCount_ = 0;
    ++revision_;
}

bool WarningMonitor::Update(const Decoder& decoder, double now) {
    if (decoder.RawMode()) {
        return false;
    }
    bool changed = false;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        changed = Observe(i, ReadValue(decoder, watches_[i].ref), now) || changed;
    }
    return changed;
}

void WarningMonitor::Activate(WarningStatus& status) {
    status.phase = WarningPhase::Active;
    status.acknowledged = false;
    ++activeCount_;
}

void WarningMonitor::Quieten(WarningStatus& status) {
    if (status.phase == WarningPhase::Active) {
        --activeCount_;
    }
    status.phase = WarningPhase::Quiet;
    status.acknowledged = false;
}

bool WarningMonitor::Observe(std::size_t index, double value, double now) {
    if (index >= watches_.size() || std::isnan(value)) {
        return false;
    }
    const WarningWatch& watch = watches_[index];
    WarningStatus& status = statuses_[index];
    status.value = value;
    bool changed = false;

    if (status.phase == WarningPhase::Active) {
        if (!watch.Cleared(value, status.side)) {
            status.extreme = status.side == WarningSide::Low ? std::min(status.extreme, value)
                                                             : std::max(status.extreme, value);
            return false;
        }
        Quieten(status);
        changed = true;
        // Cleared on one side, it may already be beyond the other: that starts afresh below.
    }

    const std::optional<WarningSide> beyond = watch.Beyond(value);
    if (!beyond) {
        status.phase = WarningPhase::Quiet;
    } else {
        if (status.phase != WarningPhase::Pending || status.side != *beyond) {
            status.phase = WarningPhase::Pending;
            status.side = *beyond;
            status.beyondSince = now;
            status.extreme = value;
        } else {
            status.extreme = *beyond == WarningSide::Low ? std::min(status.extreme, value)
                                                         : std::max(status.extreme, value);
        }
        // A clock that went backwards counts as no time passed.
        if (std::max(0.0, now - status.beyondSince) >= settings_.debounceSeconds) {
            Activate(status);
            changed = true;
        }
    }
    if (changed) {
        ++revision_;
    }
    return changed;
}

bool WarningMonitor::Acknowledge() {
    bool silenced = false;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        WarningStatus& status = statuses_[i];
        if (watches_[i].alarm && status.phase == WarningPhase::Active && !status.acknowledged) {
            status.acknowledged = true;
            silenced = true;
        }
    }
    if (silenced) {
        ++revision_;
    }
    return silenced;
}

bool WarningMonitor::AlarmSounding() const {
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        const WarningStatus& status = statuses_[i];
        if (watches_[i].alarm && status.phase == WarningPhase::Active && !status.acknowledged) {
            return true;
        }
    }
    return false;
}

std::vector<ActiveWarning> WarningMonitor::ActiveWarnings() const {
    std::vector<ActiveWarning> active;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        const WarningStatus& status = statuses_[i];
        if (status.phase != WarningPhase::Active) {
            continue;
        }
        const WarningWatch& watch = watches_[i];
        active.push_back(ActiveWarning{watch.ref, watch.name, status.side,
                                       watch.LimitOf(status.side), status.value, status.extreme,
                                       status.beyondSince, watch.alarm, status.acknowledged});
    }
    return active;
}

WarningLevel WarningMonitor::LevelOf(int position, int bit) const {
    const int slot = SlotOf(position, bit);
    if (slot < 0 || lookup_.empty()) {
        return WarningLevel::None;
    }
    const int index = lookup_[static_cast<std::size_t>(slot)];
    if (index < 0) {
        return WarningLevel::None;
    }
    const WarningStatus& status = statuses_[static_cast<std::size_t>(index)];
    if (status.phase != WarningPhase::Active) {
        return WarningLevel::None;
    }
    return watches_[static_cast<std::size_t>(index)].alarm && !status.acknowledged
               ? WarningLevel::Sounding
               : WarningLevel::Warning;
}

}  // namespace vekaton
