#include "widgets/ItemWidgetFactory.h"

#include "widgets/InstrumentFactory.h"
#include "widgets/TButton.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

namespace vekaton {

std::unique_ptr<InstrumentWidget> CreateItemWidget(std::string_view className, QWidget* parent) {
    if (className == "TLabel") {
        return std::make_unique<TLabel>(parent);
    }
    if (className == "TButton") {
        return std::make_unique<TButton>(parent);
    }
    if (className == "TPanel") {
        return std::make_unique<TPanel>(parent);
    }
    return CreateInstrument(className, parent);
}

std::vector<std::string> ItemWidgetClassNames() {
    std::vector<std::string> names = InstrumentClassNames();
    names.insert(names.end(), {"TLabel", "TButton", "TPanel"});
    return names;
}

std::vector<PropertyDescriptor> StreamedDescriptorsOf(std::string_view className) {
    const std::unique_ptr<InstrumentWidget> widget = CreateItemWidget(className);
    return widget != nullptr ? widget->StreamedDescriptors() : std::vector<PropertyDescriptor>{};
}

}  // namespace vekaton
