#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// The edges E0 < E1 < ... < En of n bins: bin i holds [E(i), E(i+1)), the last one [E(n-1), En]
// closed so that the top edge itself is counted. A value outside, or not a number, is in none.
// Empty (no bins) when nothing gave a range.
class BinEdges {
  public:
    BinEdges() = default;
    // nullopt unless there are at least two edges, all finite and strictly increasing.
    static std::optional<BinEdges> FromList(std::vector<double> edges);
    // `count` equal bins from low to high (low < high); the top edge is `high` exactly.
    static std::optional<BinEdges> Equal(double low, double high, int count);

    int Count() const { return edges_.empty() ? 0 : static_cast<int>(edges_.size()) - 1; }
    bool Empty() const { return edges_.empty(); }
    double Lower(int bin) const { return edges_[static_cast<std::size_t>(bin)]; }
    double Upper(int bin) const { return edges_[static_cast<std::size_t>(bin) + 1]; }
    const std::vector<double>& Values() const { return edges_; }

    // The bin that holds value, or -1.
    int BinOf(double value) const;

    bool operator==(const BinEdges&) const = default;

  private:
    explicit BinEdges(std::vector<double> edges) : edges_(std::move(edges)) {}
    std::vector<double> edges_;
};

struct EdgeListParse {
    std::optional<BinEdges> edges;
    std::string error;  // what is wrong with the list, when edges is empty
};

// "E0,E1,...,En": at least two finite numbers, strictly increasing; negative numbers and
// exponents allowed.
EdgeListParse ParseEdgeList(std::string_view text);

// The list as ParseEdgeList reads it back, each edge in its shortest exact text.
std::string EdgeListText(const BinEdges& edges);

}  // namespace vekaton
