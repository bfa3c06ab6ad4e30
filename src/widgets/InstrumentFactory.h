#pragma once

#include "widgets/InstrumentWidget.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Creates an instrument by its class name ("TAngularGauge"); nothing for an unknown name.
std::unique_ptr<InstrumentWidget> CreateInstrument(std::string_view className,
                                                   QWidget* parent = nullptr);

// The class names CreateInstrument knows.
std::vector<std::string> InstrumentClassNames();

// The property descriptors of a kind, without creating a widget; empty for an unknown name.
std::vector<PropertyDescriptor> InstrumentDescriptors(std::string_view className);

}  // namespace vekaton
