#pragma once

#include <QString>
#include <string_view>

namespace vekaton {

// The core keeps its text as UTF-8 in standard strings; the shell shows it as QString. Here, in
// the lowest shell folder, so that the window and the command-line programs share it.
inline QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace vekaton
