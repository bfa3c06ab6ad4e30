#pragma once

#include <vector>

namespace vekaton {

// The numbers the live items of a dashboard get when it is saved: 1, 2, ... in component (ID)
// order, removed items left out. A loader that recreates the items in that order gives each
// the same number as its ID, so ID lists written in this numbering (the reset buttons') point
// at the same items after loading.
class ItemNumbering {
  public:
    ItemNumbering() = default;
    // ids: the live items' IDs in the order they are saved.
    explicit ItemNumbering(std::vector<int> ids);

    int NumberOf(int id) const;  // 0 for an item that is not saved
    int IdOf(int number) const;  // 0 outside 1..Count()
    int Count() const { return static_cast<int>(ids_.size()); }
    const std::vector<int>& Ids() const { return ids_; }
    // The IDs of a list in this numbering, in the list's order, unsaved ones left out.
    std::vector<int> Translate(const std::vector<int>& ids) const;

  private:
    std::vector<int> ids_;
    std::vector<int> numbers_;  // numbers_[id]: its number, 0 when not saved
};

}  // namespace vekaton
