#pragma once

#include "dashboard/PropertyBag.h"

#include <functional>

class QWidget;

namespace vekaton {

// An input for one property in the appearance editor.
struct PropertyField {
    QWidget* widget = nullptr;
    // Shows a value without reporting it back as an edit.
    std::function<void(const PropertyValue&)> show;
};

// Builds the input that suits the descriptor's type: spin box, number field, check box, text
// field, list of choices, colour button or set of check boxes. Every edit is reported at once.
PropertyField MakePropertyField(const PropertyDescriptor& descriptor, QWidget* parent,
                                std::function<void(const PropertyValue&)> edited);

}  // namespace vekaton
