#include "analysis/FormulaPruning.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "decode/ParameterTable.h"

namespace vekaton {

namespace {

bool DrawsRandomNumbers(const std::string& formula) {
    std::string upper(formula);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("RND") != std::string::npos;
}

}  // namespace

void PruneUnusedFormulas(ParameterTable& table, std::span<const ValueRef> used) {
    constexpr int kFirst = ParameterTable::kFirstPosition;
    constexpr int kLast = ParameterTable::kLastPosition;
    for (int p = kFirst; p <= kLast; ++p) {
        if (DrawsRandomNumbers(table.At(p).Formula())) {
            return;
        }
    }
    std::vector<bool> keep(static_cast<std::size_t>(kLast) + 1, false);
    for (const ValueRef ref : used) {
        const ParameterRecord* record = table.Find(ref.position);
        if (record == nullptr || ref.IsBit()) {
            continue;  // a flag bit needs no formula
        }
        const int last = std::min(kLast, ref.position + std::max(record->ByteCount, 1) - 1);
        for (int p = ref.position; p <= last; ++p) {
            keep[static_cast<std::size_t>(p)] = true;
        }
    }
    for (int p = kFirst; p <= kLast; ++p) {
        ParameterRecord& record = table.At(p);
        if (!keep[static_cast<std::size_t>(p)] && record.ByteCount <= 1 &&
            !record.Formula().empty()) {
            record.SetFormula({});
        }
    }
}

}  // namespace vekaton
