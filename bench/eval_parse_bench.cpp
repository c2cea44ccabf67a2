// Parse time of expression texts of 1k to 100k tokens: a flat operator chain,
// a balanced tree of bracketed sums and one long argument list. Each
// iteration tokenizes and builds the tree, then frees both.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "eval/language/expression.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"

namespace {

// «a + b + a + ...» with `tokens` tokens (rounded to odd).
std::string FlatChain(int tokens) {
  std::string text = "a";
  for (int i = 1; i + 1 < tokens; i += 2) text += (i / 2) % 2 ? " + a" : " + b";
  return text;
}

// «((a + b) + (a + b)) + ...»: each level doubles the text and adds brackets.
std::string Balanced(int tokens) {
  std::string text = "a + b";
  int count = 3;
  while (count < tokens) {
    text = "(" + text + ") + (" + text + ")";
    count = 2 * count + 5;
  }
  return text;
}

// «setjoin(a; b; a; ...)».
std::string ArgumentList(int tokens) {
  std::string text = "setjoin(a";
  for (int i = 3; i + 2 < tokens; i += 2) text += (i / 2) % 2 ? "; b" : "; a";
  return text + ")";
}

void Parse(benchmark::State& state, const std::string& text) {
  TJUXExpr_Root root;
  int tokenCount = 0;
  for (auto _ : state) {
    TJUXTokens tokens(text, &root);
    tokenCount = tokens.Count();
    std::unique_ptr<TJUXExpression> node = BuildExpression(&tokens, &root);
    if (!node || root.HasErrorKind(jeSyntax)) {
      state.SkipWithError(root.Errors().empty() ? "no tree" : root.Errors().front().c_str());
      break;
    }
    benchmark::DoNotOptimize(node.get());
  }
  state.counters["tokens"] = tokenCount;
  state.counters["ns_per_token"] = benchmark::Counter(
      static_cast<double>(tokenCount) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ParseFlatChain(benchmark::State& state) { Parse(state, FlatChain(static_cast<int>(state.range(0)))); }
void BM_ParseBalanced(benchmark::State& state) { Parse(state, Balanced(static_cast<int>(state.range(0)))); }
void BM_ParseArgumentList(benchmark::State& state) { Parse(state, ArgumentList(static_cast<int>(state.range(0)))); }

}  // namespace

// 99 and 999 tokens are the sizes the old parser still accepts as a chain.
BENCHMARK(BM_ParseFlatChain)->Arg(99)->Arg(999)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseBalanced)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseArgumentList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
