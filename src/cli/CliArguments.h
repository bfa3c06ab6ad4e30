#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vekaton::cli {

// Walks command-line arguments for the command-line programs: options as "--name value" or
// "--name=value", and bare operands. The first problem found is kept as Error().
class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false at the end or once an error was found.
    bool Next();
    // The current argument's name ("--dir" of "--dir=x"), or the operand itself.
    const std::string& Name() const { return name_; }
    // Whether the current argument is an operand rather than an option. A lone "-" (standard
    // input or output) counts as an operand.
    bool IsOperand() const;

    // The option's value, from "=value" or the next argument.
    std::optional<std::string> Value();
    // The value as a whole number within [min, max].
    std::optional<int> IntValue(int min, int max);
    // The value as a number of seconds, not negative.
    std::optional<double> SecondsValue();
    // For options that take no value: an error when one was given with "=".
    void NoValue();

    void Fail(std::string error);
    void FailUnknown();
    const std::string& Error() const { return error_; }
    bool Ok() const { return error_.empty(); }

  private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
    std::string name_;
    std::optional<std::string> inlineValue_;
    std::string error_;
};

}  // namespace vekaton::cli
