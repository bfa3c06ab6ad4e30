#pragma once

#include <string_view>

#include "dashboard/ItemKinds.h"
#include "dashboard/PropertyBag.h"

namespace vekaton {

// Where an item sits on its page (a digital LED: inside its panel), in pixels.
struct ItemGeometry {
    int left = 0;
    int top = 0;
    int width = 0;  // 0: the kind's natural size
    int height = 0;
    friend bool operator==(const ItemGeometry&, const ItemGeometry&) = default;
};

// The geometry a bag holds: its Left, Top, Width and Height, 0 where one is missing.
ItemGeometry GeometryOf(const PropertyBag& properties);
// Writes the four geometry properties into a bag.
void PutGeometry(PropertyBag& properties, const ItemGeometry& geometry);

// What a new item of a kind looks like before the user touches it: the streamed properties that
// differ from its class's defaults. A yellow face for the angular gauge; the digital LED's panel
// 60 x 17, without bevel, caption on the left; its LED at (1, 1), red when lit, black when dark,
// raised bevel, no automatic dark colour; the label and button captions; a starting size for
// every kind but the label, which sizes itself to its caption.
PropertyBag NewItemProperties(ItemKind kind, std::string_view caption);

}  // namespace vekaton
