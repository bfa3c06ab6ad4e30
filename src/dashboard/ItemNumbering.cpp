#include "dashboard/ItemNumbering.h"

#include <algorithm>

namespace vekaton {

ItemNumbering::ItemNumbering(std::vector<int> ids) : ids_(std::move(ids)) {
    int largest = 0;
    for (const int id : ids_) {
        largest = std::max(largest, id);
    }
    numbers_.assign(static_cast<std::size_t>(largest) + 1, 0);
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        if (ids_[i] > 0) {
            numbers_[static_cast<std::size_t>(ids_[i])] = static_cast<int>(i) + 1;
        }
    }
}

int ItemNumbering::NumberOf(int id) const {
    return id > 0 && static_cast<std::size_t>(id) < numbers_.size()
               ? numbers_[static_cast<std::size_t>(id)]
               : 0;
}

int ItemNumbering::IdOf(int number) const {
    return number >= 1 && number <= Count() ? ids_[static_cast<std::size_t>(number - 1)] : 0;
}

std::vector<int> ItemNumbering::Translate(const std::vector<int>& ids) const {
    std::vector<int> numbers;
    for (const int id : ids) {
        if (const int number = NumberOf(id); number > 0) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

}  // namespace vekaton
