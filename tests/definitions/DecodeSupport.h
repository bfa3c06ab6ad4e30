#pragma once

// Imported formulas are judged by the real decoder: a frame is fed through Decoder::DecodeByte
// exactly as the engine feeds it, and the value is read where the decoder shows it.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace vekaton::testing {

// Decodes one frame of `data` (position 1 first) through the table; positions that faulted
// read as NaN.
inline std::vector<double> DecodeFrame(const ParameterTable& definitions,
                                       const std::vector<std::uint8_t>& data) {
    ParameterTable table = definitions;
    FormulaFrontEnd formulas;
    Decoder decoder(table, formulas);
    std::vector<bool> faulted(data.size() + 1, false);
    int current = 0;
    decoder.SetMessageHandler(
        [&](const DecoderMessage&) { faulted[static_cast<std::size_t>(current)] = true; });
    decoder.StartFrame();
    std::vector<double> values(data.size() + 1, 0.0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        current = static_cast<int>(i + 1);
        decoder.DecodeByte(current, data[i]);
        values[i + 1] =
            faulted[i + 1] ? std::numeric_limits<double>::quiet_NaN() : table.At(current).Value;
    }
    return values;
}

// The value a one-byte position with `formula` shows for byte `b`.
inline double DecodeOneByte(const std::string& formula, std::uint8_t b) {
    ParameterTable table;
    table.At(1).Descriptions[0] = "value";
    table.At(1).SetFormula(formula);
    return DecodeFrame(table, {b})[1];
}

}  // namespace vekaton::testing
