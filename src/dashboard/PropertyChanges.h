#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/ComponentStream.h"
#include "dashboard/PropertyBag.h"

namespace vekaton {

// A property value as a message shows it: 12, 0.5, NaN, True, 'text', clRed, [fsBold, fsItalic].
std::string DescribeValue(const PropertyValue& value);

// What became of a record's properties once its item took them in, for the user and so that the
// layout file is kept as name + ".bad" before a save changes it.
struct PropertyChanges {
    // "Maximum NaN becomes 100", "Width 'wide' becomes 200": values that a save writes
    // otherwise than they were read.
    std::vector<std::string> changed;
    // Values that did not fit their property and are written back as they were read.
    std::vector<std::string> keptAsRead;
};

// `stored`: the record's properties as read; `shown`: the item's properties once it took them
// in (those that differ from their defaults). A value taken in but not kept as it stood (a
// maximum that is not a number, a font style member the item does not know, a value clamped to
// its range) is changed. A value that did not fit its type is kept as read while the item has
// no value of its own for it; where it has one (its place and size) that is written instead.
// The names in `derived` follow what the item shows (a label's own size), so a valid value
// there that the item replaces is not reported.
PropertyChanges ChangesOnLoad(const std::vector<StreamProperty>& stored,
                              std::span<const PropertyDescriptor> descriptors,
                              const PropertyBag& shown, std::span<const std::string_view> derived);

}  // namespace vekaton
