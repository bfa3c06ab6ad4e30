// Speed of the formula language: evaluating a cached formula, building and evaluating on every
// call, the same expressions in muparser, and building long and adversarial formulas.
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "decode/FormulaFrontEnd.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"

#ifdef VEKATON_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

// Counts heap allocations so the cached evaluation can show that it makes none.
std::atomic<long long>& Allocations() {
    static std::atomic<long long> count{0};
    return count;
}

}  // namespace

void* operator new(std::size_t size) {
    Allocations().fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

using namespace vekaton;

struct BenchFormula {
    const char* name;
    const char* formula;   // as a parameter file holds it
    int width;             // the value width the prefix reads
    const char* muparser;  // the same computation in muparser's syntax
};

// "[UINTEGER]A/8" at width 2 divides the combined two bytes, which muparser writes out.
constexpr BenchFormula kFormulas[] = {
    {"A*1", "A*1", 0, "a*1"},
    {"(A*256+B)/4", "(A*256+B)/4", 0, "(a*256+b)/4"},
    {"A*0.75-40", "A*0.75-40", 0, "a*0.75-40"},
    {"[UINTEGER]A/8", "[UINTEGER]A/8", 2, "(a*256+b)/8"},
    {"MAX(A,B)-MIN(C,D)", "MAX(A,B)-MIN(C,D)", 0, "max(a,b)-min(c,d)"},
    {"SQRT(A*A+B*B)", "SQRT(A*A+B*B)", 0, "sqrt(a*a+b*b)"},
    {"(A^2+B^3)/(C+1)", "(A^2+B^3)/(C+1)", 0, "(a^2+b^3)/(c+1)"},
    {"SIN(A)*COS(B)+ABS(C-D)", "SIN(A)*COS(B)+ABS(C-D)", 0, "sin(a)*cos(b)+abs(c-d)"},
};

// Bytes that change from call to call, as they do on the wire.
std::array<int, 5> BytesFor(std::size_t i) {
    const int n = static_cast<int>(i & 0xFF);
    return {n, (n * 7) & 0xFF, (n * 13) & 0xFF, (n * 31) & 0xFF, 0};
}

void CachedEvaluation(benchmark::State& state) {
    const BenchFormula& bench = kFormulas[state.range(0)];
    state.SetLabel(bench.name);
    FormulaFrontEnd formulas;
    const CompiledFormula* formula = formulas.Prepare(bench.formula);
    std::size_t i = 0;
    const long long allocationsBefore = Allocations().load();
    for (auto _ : state) {
        const FormulaOutcome outcome = formulas.Evaluate(*formula, BytesFor(i++), bench.width);
        benchmark::DoNotOptimize(outcome.value);
    }
    state.counters["allocs/eval"] =
        benchmark::Counter(static_cast<double>(Allocations().load() - allocationsBefore) /
                           static_cast<double>(state.iterations()));
}
BENCHMARK(CachedEvaluation)->DenseRange(0, std::size(kFormulas) - 1);

// What the program would pay without the cache: assign the expression (which builds it), then
// read the value, every time. The prefix is applied by hand, as the front end would.
void BuildAndEvaluate(benchmark::State& state) {
    const BenchFormula& bench = kFormulas[state.range(0)];
    state.SetLabel(bench.name);
    const std::string_view formula = bench.formula;
    const bool unsignedWord = formula.starts_with("[UINTEGER]");
    const std::string_view expression = formula.substr(unsignedWord ? 10 : 0);
    TParser parser;
    std::size_t i = 0;
    for (auto _ : state) {
        const std::array<int, 5> bytes = BytesFor(i++);
        parser.A() = unsignedWord ? bytes[0] * 256 + bytes[1] : bytes[0];
        parser.B() = bytes[1];
        parser.C() = bytes[2];
        parser.D() = bytes[3];
        parser.SetExpression(expression);
        benchmark::DoNotOptimize(parser.Value());
    }
}
BENCHMARK(BuildAndEvaluate)->DenseRange(0, std::size(kFormulas) - 1);

#ifdef VEKATON_HAVE_MUPARSER
void Muparser(benchmark::State& state) {
    const BenchFormula& bench = kFormulas[state.range(0)];
    state.SetLabel(bench.name);
    std::array<double, 4> vars{};
    mu::Parser parser;
    parser.DefineVar("a", &vars[0]);
    parser.DefineVar("b", &vars[1]);
    parser.DefineVar("c", &vars[2]);
    parser.DefineVar("d", &vars[3]);
    parser.SetExpr(bench.muparser);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::array<int, 5> bytes = BytesFor(i++);
        for (std::size_t v = 0; v < vars.size(); ++v) {
            vars[v] = bytes[v];
        }
        benchmark::DoNotOptimize(parser.Eval());
    }
}
BENCHMARK(Muparser)->DenseRange(0, std::size(kFormulas) - 1);
#endif

std::string Repeat(const std::string& unit, const std::string& separator, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : separator) + unit;
    }
    return text;
}

// Long texts: a valid formula of about 1,000 characters, a 40-term chain of "-", and
// 1,000-character texts shaped to make a naive split search take exponential or cubic time.
std::vector<std::pair<std::string, std::string>> LongTexts() {
    const std::string term =
        "(MAX(A*1.2345678,B/6.7891234)-MIN(C*0.5,D/7.25)+SQRT(E*E+1.5)*2.5-ABS(X-0.125))";
    return {
        {"valid ~1000 chars", Repeat(term, "+", 12)},
        {"chain of 40 -", Repeat("A", "-", 40)},
        {"A*A-A*A-... 1000 chars", Repeat("A*A", "-", 250)},
        {"A/A-A/A+... 1000 chars", Repeat("A/A-A/A", "+", 125)},
        {"-A*A-... 1000 chars", Repeat("-A*A", "-", 200)},
        {"A*-A*-... 1000 chars", Repeat("A*", "-", 333)},
        {"nested brackets 1000 chars", std::string(499, '(') + "A" + std::string(499, ')')},
    };
}

void BuildLong(benchmark::State& state) {
    const auto texts = LongTexts();
    const auto& [name, text] = texts[state.range(0)];
    TParser parser;
    std::string outcome = "built";
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(parser.Compile(text));
        } catch (const EMathParserError& e) {
            outcome = e.ClassName();
        }
    }
    state.SetLabel(name + " (" + std::to_string(text.size()) + " chars, " + outcome + ")");
}
BENCHMARK(BuildLong)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
