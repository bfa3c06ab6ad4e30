#include "cli/MessageRepeats.h"

#include "common/MessageText.h"

namespace vekaton::cli {

void MessageRepeats::Show(std::string_view text) {
    if (const auto seen = repeats_.find(text); seen != repeats_.end()) {
        ++seen->second;
        return;
    }
    if (repeats_.size() >= kMaxDistinct) {
        ++unprinted_;
        return;
    }
    repeats_.emplace(std::string(text), 0);
    err_ << "vekaton-cli: " << text << '\n';
}

void MessageRepeats::Summarize() {
    for (const auto& [text, times] : repeats_) {
        if (times > 0) {
            err_ << "vekaton-cli: the message \"" << QuoteText(text) << "\" came " << times
                 << (times == 1 ? " more time" : " more times") << '\n';
        }
    }
    if (unprinted_ > 0) {
        err_ << "vekaton-cli: " << unprinted_
             << (unprinted_ == 1 ? " more message was" : " more messages were") << " not printed, "
             << "after " << kMaxDistinct << " different ones\n";
    }
    repeats_.clear();
    unprinted_ = 0;
}

}  // namespace vekaton::cli
