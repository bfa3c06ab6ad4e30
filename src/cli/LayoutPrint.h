#pragma once

#include <iosfwd>

#include "dashboard/LayoutFile.h"

namespace vekaton::cli {

// The readable form: "object Name: Class" (with "inherited"/"inline" and "[n]" for the prefix
// flags and child position), one "Property = value" line each, nested children, "end"; then
// the trailer's six values when there is one.
void PrintLayoutText(const LayoutParse& layout, std::ostream& out);

// {"records": [C, ...], "trailer": {"left", "top", "right", "bottom", "color", "page"} or null}
// with C = {"class", "name", "flags", "childPos", "properties": [[name, V], ...], "children"}
// and V = {"type": code, "value": ...}. Names and the bytes of types 6, 7 and 12 are read as
// Latin-1, floats are printed exactly (NaN and infinities as null), extended floats and binary
// data as lowercase hex.
void PrintLayoutJson(const LayoutParse& layout, std::ostream& out);

}  // namespace vekaton::cli
