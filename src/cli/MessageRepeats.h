#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

namespace vekaton::cli {

// Messages of a long run, each printed once: a fault that repeats every frame would otherwise
// fill the terminal. Repeats are counted and told at the end; past kMaxDistinct different
// messages, new ones are only counted, so memory stays bounded whatever the run meets.
class MessageRepeats {
  public:
    static constexpr std::size_t kMaxDistinct = 20;

    explicit MessageRepeats(std::ostream& err) : err_(err) {}

    void Show(std::string_view text);
    // One line per message that came again, with its count, and the count of those not printed.
    void Summarize();

  private:
    std::ostream& err_;
    std::map<std::string, std::size_t, std::less<>> repeats_;  // message, times after the first
    std::size_t unprinted_ = 0;
};

}  // namespace vekaton::cli
