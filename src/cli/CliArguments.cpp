#include "cli/CliArguments.h"

#include <charconv>
#include <cmath>

#include "common/IntConversion.h"

namespace vekaton::cli {

bool ArgumentReader::Next() {
    if (!Ok() || next_ >= args_.size()) {
        return false;
    }
    const std::string& arg = args_[next_++];
    inlineValue_.reset();
    name_ = arg;
    if (arg.rfind("--", 0) == 0) {
        const auto eq = arg.find('=');
        if (eq != std::string::npos) {
            name_ = arg.substr(0, eq);
            inlineValue_ = arg.substr(eq + 1);
        }
    }
    return true;
}

bool ArgumentReader::IsOperand() const {
    return name_.empty() || name_ == "-" || name_[0] != '-';
}

std::optional<std::string> ArgumentReader::Value() {
    if (inlineValue_) {
        return inlineValue_;
    }
    if (next_ < args_.size()) {
        return args_[next_++];
    }
    Fail(name_ + " needs a value");
    return std::nullopt;
}

std::optional<int> ArgumentReader::IntValue(int min, int max) {
    const auto text = Value();
    if (!text) {
        return std::nullopt;
    }
    const auto value = TryStrToInt(*text);
    if (!value || *value < min || *value > max) {
        Fail(name_ + " " + *text + ": expected a whole number from " + std::to_string(min) +
             " to " + std::to_string(max));
        return std::nullopt;
    }
    return *value;
}

std::optional<double> ArgumentReader::SecondsValue() {
    const auto text = Value();
    if (!text) {
        return std::nullopt;
    }
    double seconds = 0.0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, seconds);
    if (text->empty() || ec != std::errc() || ptr != end || !std::isfinite(seconds) ||
        seconds < 0.0) {
        Fail(name_ + " " + *text + ": expected a number of seconds, 0 or more");
        return std::nullopt;
    }
    return seconds;
}

void ArgumentReader::NoValue() {
    if (inlineValue_) {
        Fail(name_ + " takes no value");
    }
}

void ArgumentReader::Fail(std::string error) {
    if (error_.empty()) {
        error_ = std::move(error);
    }
}

void ArgumentReader::FailUnknown() {
    Fail(IsOperand() ? "unexpected argument '" + name_ + "'" : "unknown option '" + name_ + "'");
}

}  // namespace vekaton::cli
