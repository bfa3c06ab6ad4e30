#pragma once

#include <string>
#include <string_view>

namespace vekaton {

// The words a person reads in the appearance editors for what a layout file stores under
// internal names. Only the words shown change: the stored names and values stay as they are.

// "Section1Start" -> "Section 1 start", "Font.Height" -> "Text height", "Alignment" -> "Text
// alignment", "NeedleColor" -> "Needle colour".
std::string PropertyLabel(std::string_view name);

// An enumeration value or set member: "taRightJustify" -> "Right", "bvLowered" -> "Lowered",
// "fsBold" -> "Bold", "orVertical" -> "Vertical".
std::string ChoiceLabel(std::string_view identifier);

// A named colour: "clBlack" -> "Black", "clBtnFace" -> "Button face".
std::string ColourLabel(std::string_view identifier);

}  // namespace vekaton
