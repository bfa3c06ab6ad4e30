#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Notes of one reading or one kind, told in full up to a point and only counted beyond it: a
// file of a million bad lines must cost neither a million strings nor a message of a million
// lines, yet the user still learns how many there were and sees the first few.
class NoteList {
  public:
    static constexpr std::size_t kShown = 10;

    explicit NoteList(std::size_t shown = kShown) : shown_(shown) {}

    // Kept while fewer than `shown` are kept, counted after that.
    void Add(std::string note);
    // The same, built only when it is kept: for notes that would be costly to make a million times.
    template <class MakeNote>
    void AddLazy(const MakeNote& make) {
        if (notes_.size() < shown_) {
            notes_.push_back(make());
        }
        ++count_;
    }

    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    const std::vector<std::string>& Kept() const { return notes_; }

    // The kept notes, then one line "... and N more <what>." when some were only counted.
    std::vector<std::string> Lines(std::string_view what = "like these") const;

  private:
    std::size_t shown_;
    std::size_t count_ = 0;
    std::vector<std::string> notes_;
};

// "A", "B", "C" and 7 more: a list of examples with the count of those not named.
std::string NamedExamples(const std::vector<std::string>& examples, std::size_t count);

}  // namespace vekaton
