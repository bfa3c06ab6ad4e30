#include "common/TextLines.h"

namespace vekaton {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    LineCursor cursor(text);
    while (!cursor.AtEnd()) {
        lines.emplace_back(cursor.Next());
    }
    return lines;
}

std::pair<std::size_t, std::size_t> LineCursor::Bounds() const {
    std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
        return {text_.size(), text_.size()};
    }
    std::size_t next = end + 1;
    if (text_[end] == '\r' && next < text_.size() && text_[next] == '\n') {
        ++next;  // CR LF is one line end
    }
    return {end, next};
}

std::string_view LineCursor::Peek() const {
    if (AtEnd()) {
        return {};
    }
    return text_.substr(pos_, Bounds().first - pos_);
}

std::string_view LineCursor::Next() {
    if (AtEnd()) {
        return {};
    }
    const auto [end, next] = Bounds();
    const std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = next;
    ++taken_;
    return line;
}

std::vector<std::string> SplitLinesAtLf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace vekaton
