#include "widgets/InstrumentFactory.h"

#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TLedBar.h"
#include "widgets/TLedRectangle.h"
#include "widgets/TLedRound.h"
#include "widgets/TOdometer.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TSevenSegmentInteger.h"
#include "widgets/TSliderSwitch.h"
#include "widgets/TStripChart.h"
#include "widgets/TThermometer.h"

namespace vekaton {
namespace {

struct Kind {
    const char* className;
    std::unique_ptr<InstrumentWidget> (*create)(QWidget* parent);
    const PropertyTable& (*properties)();
};

template <class W>
Kind KindOf(const char* className) {
    return Kind{className,
                [](QWidget* parent) -> std::unique_ptr<InstrumentWidget> {
                    return std::make_unique<W>(parent);
                },
                &W::PropertyList};
}

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds{
        KindOf<TAngularGauge>("TAngularGauge"),
        KindOf<TThermometer>("TThermometer"),
        KindOf<TSevenSegmentAnalog>("TSevenSegmentAnalog"),
        KindOf<TSevenSegmentInteger>("TSevenSegmentInteger"),
        KindOf<TAnalogDisplay>("TAnalogDisplay"),
        KindOf<TLedRound>("TLedRound"),
        KindOf<TLedRectangle>("TLedRectangle"),
        KindOf<TLedBar>("TLedBar"),
        KindOf<TOdometer>("TOdometer"),
        KindOf<TSliderSwitch>("TSliderSwitch"),
        KindOf<TStripChart>("TStripChart"),
    };
    return kinds;
}

const Kind* FindKind(std::string_view className) {
    for (const Kind& kind : Kinds()) {
        if (className == kind.className) {
            return &kind;
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<InstrumentWidget> CreateInstrument(std::string_view className, QWidget* parent) {
    const Kind* kind = FindKind(className);
    return kind != nullptr ? kind->create(parent) : nullptr;
}

std::vector<std::string> InstrumentClassNames() {
    std::vector<std::string> names;
    for (const Kind& kind : Kinds()) {
        names.emplace_back(kind.className);
    }
    return names;
}

std::vector<PropertyDescriptor> InstrumentDescriptors(std::string_view className) {
    std::vector<PropertyDescriptor> descriptors;
    if (const Kind* kind = FindKind(className)) {
        for (const PropertyAccess& access : kind->properties()) {
            descriptors.push_back(access.descriptor);
        }
    }
    return descriptors;
}

}  // namespace vekaton
