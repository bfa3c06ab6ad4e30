#include "common/NoteList.h"

namespace vekaton {

void NoteList::Add(std::string note) {
    if (notes_.size() < shown_) {
        notes_.push_back(std::move(note));
    }
    ++count_;
}

std::vector<std::string> NoteList::Lines(std::string_view what) const {
    std::vector<std::string> lines = notes_;
    if (count_ > notes_.size()) {
        lines.push_back("... and " + std::to_string(count_ - notes_.size()) + " more " +
                        std::string(what) + ".");
    }
    return lines;
}

std::string NamedExamples(const std::vector<std::string>& examples, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < examples.size(); ++i) {
        text += (i == 0 ? "" : ", ") + examples[i];
    }
    if (count > examples.size()) {
        text += " and " + std::to_string(count - examples.size()) + " more";
    }
    return text;
}

}  // namespace vekaton
