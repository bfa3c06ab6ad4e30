#include "widgets/WarningFlasher.h"

#include "widgets/InstrumentWidget.h"

#include <algorithm>

namespace vekaton {

WarningFlasher::WarningFlasher(QObject* parent) : QObject(parent) {
    timer_.setInterval(kPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &WarningFlasher::Tick);
}

void WarningFlasher::Show(InstrumentWidget* instrument, WarningLevel level) {
    if (instrument == nullptr) {
        return;
    }
    if (!flashing_ && level == WarningLevel::Sounding) {
        level = WarningLevel::Warning;
    }
    instrument->SetWarningLevel(level);
    const auto found = std::find(sounding_.begin(), sounding_.end(), instrument);
    if (level == WarningLevel::Sounding) {
        instrument->SetFlashPhase(lit_);
        if (found == sounding_.end()) {
            sounding_.emplace_back(instrument);
        }
    } else if (found != sounding_.end()) {
        sounding_.erase(found);
    }
    Prune();
}

void WarningFlasher::SetFlashing(bool on) {
    if (on == flashing_) {
        return;
    }
    flashing_ = on;
    if (!on) {
        for (const QPointer<InstrumentWidget>& instrument : sounding_) {
            if (instrument) {
                instrument->SetWarningLevel(WarningLevel::Warning);
            }
        }
        sounding_.clear();
        Prune();
    }
}

void WarningFlasher::Tick() {
    lit_ = !lit_;
    for (const QPointer<InstrumentWidget>& instrument : sounding_) {
        if (instrument) {
            instrument->SetFlashPhase(lit_);
        }
    }
    Prune();
}

void WarningFlasher::Prune() {
    sounding_.erase(std::remove_if(sounding_.begin(), sounding_.end(),
                                   [](const QPointer<InstrumentWidget>& p) { return p.isNull(); }),
                    sounding_.end());
    if (sounding_.empty()) {
        timer_.stop();
        lit_ = true;
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

}  // namespace vekaton
