#include "decode/ProposedRange.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

// Where two's complement turns over and the ends of a byte: enough to find the extremes of the
// formulas that definitions use, at a fraction of the cost of every combination.
constexpr std::array<int, 9> kBends = {0, 1, 2, 127, 128, 129, 253, 254, 255};

class Sweep {
  public:
    Sweep(std::string_view formula, int byteCount)
        : compiled_(formulas_.Prepare(formula)), width_(byteCount) {}

    bool Builds() const { return formulas_.BuildError(*compiled_).className.empty(); }

    void Take(const std::array<int, 5>& bytes) {
        const FormulaOutcome outcome = formulas_.Evaluate(*compiled_, bytes, width_);
        if (outcome.status != FormulaStatus::Ok || !std::isfinite(outcome.value)) {
            return;
        }
        if (!range_) {
            range_ = ValueRange{outcome.value, outcome.value};
        } else {
            range_->minimum = std::min(range_->minimum, outcome.value);
            range_->maximum = std::max(range_->maximum, outcome.value);
        }
    }

    // Byte `index` through its values (all of them or the bends), the later ones in turn.
    void Vary(std::array<int, 5>& bytes, int index, int variables, bool firstInFull) {
        if (index == variables) {
            Take(bytes);
            return;
        }
        auto& slot = bytes[static_cast<std::size_t>(index)];
        if (index == 0 && firstInFull) {
            for (int value = 0; value < 256; ++value) {
                slot = value;
                Vary(bytes, index + 1, variables, firstInFull);
            }
        } else {
            for (const int value : kBends) {
                slot = value;
                Vary(bytes, index + 1, variables, firstInFull);
            }
        }
        slot = 0;
    }

    const std::optional<ValueRange>& Range() const { return range_; }

  private:
    FormulaFrontEnd formulas_;
    const CompiledFormula* compiled_;
    int width_;
    std::optional<ValueRange> range_;
};

// multiple * 10^exponent as the double nearest that decimal, so that a scale end reads 0.1 and
// not 0.1 plus a crumb whatever pow() the system's library has: powers of ten up to 10^22 are
// exact, and one division by one rounds once.
double DecimalValue(double multiple, int exponent) {
    double power = 1.0;
    for (int i = 0; i < std::abs(exponent); ++i) {
        power *= 10.0;
    }
    return exponent >= 0 ? multiple * power : multiple / power;
}

}  // namespace

std::optional<ValueRange> ProposeRange(std::string_view formula, int byteCount) {
    Sweep sweep(formula, byteCount);
    if (!sweep.Builds()) {
        return std::nullopt;
    }
    std::array<int, 5> bytes{};
    const int variables = std::clamp(byteCount, 1, 5);
    if (variables == 2) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                bytes = {a, b, 0, 0, 0};
                sweep.Take(bytes);
            }
        }
    } else {
        // Five bytes all through their bends are as many evaluations as four with A in full.
        sweep.Vary(bytes, 0, variables, variables < 5);
    }
    return sweep.Range();
}

ScaleRange RoundedScale(const ValueRange& range) {
    double low = std::min(range.minimum, range.maximum);
    double high = std::max(range.minimum, range.maximum);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return ScaleRange{ValueRange{0.0, 100.0}, 10};
    }
    if (high - low < 1e-12 * std::max(1.0, std::abs(high))) {
        const double margin = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
        low -= margin;
        high += margin;
    }
    const double rough = (high - low) / 8.0;
    int exponent = static_cast<int>(std::floor(std::log10(rough)));
    constexpr std::array<double, 5> kSteps = {1.0, 2.0, 2.5, 5.0, 10.0};
    for (int round = 0; round < 4; ++round) {
        for (const double factor : kSteps) {
            const double step = DecimalValue(factor, exponent);
            if (step < rough * 0.999) {
                continue;
            }
            const double first = DecimalValue(std::floor(low / step + 1e-9) * factor, exponent);
            const double last = DecimalValue(std::ceil(high / step - 1e-9) * factor, exponent);
            const long ticks = std::lround((last - first) / step);
            if (ticks <= 10) {
                // Keep 0 a true zero rather than -0 or a rounding crumb.
                const auto clean = [step](double v) { return std::abs(v) < step * 1e-9 ? 0.0 : v; };
                return ScaleRange{ValueRange{clean(first), clean(last)},
                                  static_cast<int>(std::max(1L, ticks))};
            }
        }
        ++exponent;
    }
    return ScaleRange{ValueRange{low, high}, 10};
}

}  // namespace vekaton
