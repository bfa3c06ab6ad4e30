#pragma once

#include "widgets/InstrumentWidget.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Creates any widget a dashboard item can have by its class name: the instruments, and the
// label ("TLabel"), the reset button ("TButton") and the digital LED's panel ("TPanel").
// Nothing for an unknown name.
std::unique_ptr<InstrumentWidget> CreateItemWidget(std::string_view className,
                                                   QWidget* parent = nullptr);

// The class names CreateItemWidget knows.
std::vector<std::string> ItemWidgetClassNames();

// A kind's streamed properties with their defaults (InstrumentWidget::StreamedDescriptors),
// for a reader or writer that holds no widget; empty for an unknown name.
std::vector<PropertyDescriptor> StreamedDescriptorsOf(std::string_view className);

}  // namespace vekaton
