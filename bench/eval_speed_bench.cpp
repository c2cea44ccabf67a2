// Speed of evaluating one prepared expression per tree-map leaf, with the
// allocations per evaluation, and muparser evaluating the same numeric
// expressions side by side (the *VsMuparser entries time both in one loop and
// report the ratio).
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "eval/language/expression.h"
#include "eval_bench_host.h"

namespace {

constexpr int32_t kRecords = 64;  // a power of two: the record index wraps with a mask
constexpr char kClassic[] = "(a^2/sin(2*pi/b))-a/2";
constexpr char kClassicMuparser[] = "(a^2/sin(2*_pi/b))-a/2";
// Nine "+" and nine "*" nodes of two operands over powers of a: each fold
// is an Assign and one step, in a chain too short to be walked in a loop.
constexpr char kPolynomial[] = "1 + 2*a + 3*a^2 + 4*a^3 + 5*a^4 + 6*a^5 + 7*a^6 + 8*a^7 + 9*a^8 + 10*a^9";
constexpr char kComparison[] = "a > 3 and b < 10";
constexpr char kComparisonMuparser[] = "a > 3 && b < 10";
constexpr char kStringPieces[] = "uppercase(leftstr(t; 20)) + midstr(t; 5; 20)";
constexpr char kSprintf[] = "sprintf('%s-%d-%.2f'; s; i; a)";
// Links of the operator chain below.
constexpr int kChainLinks = 64;
// Evaluations per timed block of the side-by-side entries.
constexpr int kBlock = 256;

std::vector<double> Numbers(double first, double step, double span) {
  std::vector<double> out;
  for (int32_t r = 0; r < kRecords; ++r) out.push_back(first + std::fmod(r * step, span));
  return out;
}

// a in [0.5, 12.5) and b in [1, 19): the comparison is true and false in turn.
struct TBenchData {
  std::vector<double> A = Numbers(0.5, 3.7, 12.0);
  std::vector<double> B = Numbers(1.0, 5.3, 18.0);
  eval_bench::TBenchHost Host{kRecords};

  TBenchData() {
    Host.AddNumber("a", atDouble, A);
    Host.AddNumber("b", atDouble, B);
    Host.AddNumber("i", atInteger, Numbers(-40, 17, 100));
    std::vector<std::string> texts, names;
    for (int32_t r = 0; r < kRecords; ++r) {
      std::string t = "The quick brown fox jumps over the lazy dog";  // 43 characters
      t[static_cast<size_t>(r % 43)] = static_cast<char>('a' + r % 26);
      texts.push_back(t);
      names.push_back("catalogue-item-" + std::to_string(1000 + r));  // beyond the short-string buffer
    }
    Host.AddText("t", texts);
    Host.AddText("s", names);
  }
};

// "a + b * 2 - a / b + b * 2 - a / b ...": a chain of "+" and "-" long
// enough for the evaluator to walk it in a loop, with a product or a
// quotient (a fold of its own) on the right of every link.
const std::string& OperatorChain() {
  static const std::string text = [] {
    std::string t = "a";
    for (int i = 0; i < kChainLinks; ++i) t += i % 2 == 0 ? " + b * 2" : " - a / b";
    return t;
  }();
  return text;
}

TBenchData& Data() {
  static TBenchData data;
  return data;
}

// Evaluates `text` on the leaves in turn; reports allocations per evaluation.
void EvaluateOnLeaves(benchmark::State& state, const char* text) {
  TBenchData& data = Data();
  eval_bench::TCompiled compiled = data.Host.Compile(text);
  TJUXExpression& node = *compiled.Node;
  node.EvaluateEx(&data.Host.Leaf(0), true);  // the results exist from here on
  int32_t r = 0;
  const std::uint64_t before = AllocationCount();
  for (auto _ : state) {
    r = (r + 1) & (kRecords - 1);
    node.EvaluateEx(&data.Host.Leaf(r), false);
    benchmark::DoNotOptimize(node.Result());
  }
  const std::uint64_t allocations = AllocationCount() - before;
  state.counters["allocs"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
  if (compiled.Root->HasError()) state.SkipWithError("evaluation reported an error");
}

struct TMuparser {
  double A = 0, B = 0;
  mu::Parser Parser;
  explicit TMuparser(const char* text) {
    Parser.DefineVar("a", &A);
    Parser.DefineVar("b", &B);
    Parser.SetExpr(text);
    Parser.Eval();
  }
};

void MuparserOnRecords(benchmark::State& state, const char* text) {
  TBenchData& data = Data();
  TMuparser mu(text);
  int32_t r = 0;
  for (auto _ : state) {
    r = (r + 1) & (kRecords - 1);
    mu.A = data.A[static_cast<size_t>(r)];
    mu.B = data.B[static_cast<size_t>(r)];
    benchmark::DoNotOptimize(mu.Parser.Eval());
  }
}

// Ours and muparser alternately in blocks of kBlock evaluations each, so both
// see the same machine state; an iteration is one block of both, and the
// counters give each one's thread time per evaluation and the ratio
// ours / muparser.
// The time this thread has run: a machine shared with other work preempts the
// loops, and wall time would count that against whichever block it hit.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void SideBySide(benchmark::State& state, const char* text, const char* muText) {
  TBenchData& data = Data();
  eval_bench::TCompiled compiled = data.Host.Compile(text);
  TJUXExpression& node = *compiled.Node;
  node.EvaluateEx(&data.Host.Leaf(0), true);
  TMuparser mu(muText);
  double oursSeconds = 0, muSeconds = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    for (int k = 0; k < kBlock; ++k) {
      node.EvaluateEx(&data.Host.Leaf(k & (kRecords - 1)), false);
      benchmark::DoNotOptimize(node.Result());
    }
    const double t1 = ThreadSeconds();
    for (int k = 0; k < kBlock; ++k) {
      mu.A = data.A[static_cast<size_t>(k & (kRecords - 1))];
      mu.B = data.B[static_cast<size_t>(k & (kRecords - 1))];
      benchmark::DoNotOptimize(mu.Parser.Eval());
    }
    const double t2 = ThreadSeconds();
    oursSeconds += t1 - t0;
    muSeconds += t2 - t1;
  }
  const double evaluations = static_cast<double>(state.iterations()) * kBlock;
  state.counters["ours_ns"] = oursSeconds / evaluations * 1e9;
  state.counters["muparser_ns"] = muSeconds / evaluations * 1e9;
  state.counters["ratio"] = muSeconds > 0 ? oursSeconds / muSeconds : 0;
}

void BM_EvalClassic(benchmark::State& state) { EvaluateOnLeaves(state, kClassic); }
void BM_EvalPolynomial(benchmark::State& state) { EvaluateOnLeaves(state, kPolynomial); }
void BM_EvalComparison(benchmark::State& state) { EvaluateOnLeaves(state, kComparison); }
void BM_EvalOperatorChain(benchmark::State& state) { EvaluateOnLeaves(state, OperatorChain().c_str()); }
void BM_EvalStringPieces(benchmark::State& state) { EvaluateOnLeaves(state, kStringPieces); }
void BM_EvalSprintf(benchmark::State& state) { EvaluateOnLeaves(state, kSprintf); }
void BM_MuparserClassic(benchmark::State& state) { MuparserOnRecords(state, kClassicMuparser); }
void BM_MuparserComparison(benchmark::State& state) { MuparserOnRecords(state, kComparisonMuparser); }
void BM_ClassicVsMuparser(benchmark::State& state) { SideBySide(state, kClassic, kClassicMuparser); }
void BM_ComparisonVsMuparser(benchmark::State& state) { SideBySide(state, kComparison, kComparisonMuparser); }

}  // namespace

BENCHMARK(BM_EvalClassic);
BENCHMARK(BM_EvalPolynomial);
BENCHMARK(BM_EvalComparison);
BENCHMARK(BM_EvalOperatorChain);
BENCHMARK(BM_EvalStringPieces);
BENCHMARK(BM_EvalSprintf);
BENCHMARK(BM_MuparserClassic);
BENCHMARK(BM_MuparserComparison);
BENCHMARK(BM_ClassicVsMuparser);
BENCHMARK(BM_ComparisonVsMuparser);
