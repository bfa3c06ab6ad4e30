#include "definitions/FormulaChecker.h"

#include <cmath>

#include "decode/FormulaFrontEnd.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"
#include "definitions/AdxFields.h"

namespace vekaton {

struct FormulaChecker::Impl {
    TParser parser;
    FormulaFrontEnd frontEnd;
};

FormulaChecker::FormulaChecker() : impl_(std::make_unique<Impl>()) {}
FormulaChecker::~FormulaChecker() = default;

std::optional<std::string> FormulaChecker::BuildProblem(std::string_view text) const {
    try {
        impl_->parser.Compile(text);
    } catch (const EMathParserError& error) {
        return ReportLine(error.what());
    }
    return std::nullopt;
}

std::optional<std::string> FormulaChecker::Disagreement(const Expr& expr, const std::string& text,
                                                        int bytes) {
    const CompiledFormula* compiled = impl_->frontEnd.Prepare(text);
    const FormulaBuildError build = impl_->frontEnd.BuildError(*compiled);
    if (!build.message.empty()) {
        return "the formula does not build: " + ReportLine(build.message);
    }
    std::optional<std::string> problem;
    ForEachRawInput(bytes, [&](const std::array<double, 5>& v) {
        if (problem) {
            return;
        }
        std::array<int, 5> collected{};
        for (std::size_t i = 0; i < collected.size(); ++i) {
            collected[i] = static_cast<int>(v[i]);
        }
        const FormulaOutcome outcome = impl_->frontEnd.Evaluate(*compiled, collected, bytes);
        const std::optional<double> meant = EvaluateExpr(expr, v);
        const bool faulted = outcome.status != FormulaStatus::Ok;
        bool differs = faulted != !meant.has_value();
        if (!differs && meant) {
            differs = std::abs(outcome.value - *meant) > 1e-9 * std::max(1.0, std::abs(*meant));
        }
        if (differs) {
            problem = "for A=" + ReportNumber(v[0], 3) + ", B=" + ReportNumber(v[1], 3) +
                      " the formula gives " +
                      (faulted ? std::string("no value") : ReportNumber(outcome.value, 12)) +
                      " where " + (meant ? ReportNumber(*meant, 12) : std::string("no value")) +
                      " is meant";
        }
    });
    return problem;
}

}  // namespace vekaton
