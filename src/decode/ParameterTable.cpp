#include "decode/ParameterTable.h"

#include <stdexcept>
#include <string>

namespace vekaton {

void ParameterRecord::SetFormula(std::string formula) {
    formula_ = std::move(formula);
    evaluated_ = true;
    ++formulaRevision_;
}

void ParameterRecord::SetUnevaluatedFormula(std::string formula) {
    formula_ = std::move(formula);
    evaluated_ = false;
    ++formulaRevision_;
}

ParameterRecord& ParameterTable::At(int position) {
    if (!IsValidPosition(position)) {
        throw std::out_of_range("frame position " + std::to_string(position) +
                                " is outside 1 to 500");
    }
    return records_[static_cast<std::size_t>(position - kFirstPosition)];
}

const ParameterRecord& ParameterTable::At(int position) const {
    return const_cast<ParameterTable*>(this)->At(position);
}

void ParameterTable::Reset() {
    for (ParameterRecord& record : records_) {
        for (std::string& description : record.Descriptions) {
            description.clear();
        }
        record.RawByte = 0;
        if (!record.Formula().empty()) {
            record.SetFormula({});
        }
        record.ChartColour = 0;
        record.Value = 0.0;
        record.HasValue = true;
        record.ByteCount = 1;
        record.IsDigital = false;
    }
}

void ParameterTable::ClearBindings() {
    for (ParameterRecord& record : records_) {
        record.BoundItems.fill(0);
    }
}

}  // namespace vekaton
