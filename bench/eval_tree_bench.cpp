// The evaluator on tree-map hosts of 10^3 to 10^6 nodes, balanced (ten
// children per inner node) and as a chain: the aggregates and tree functions
// a tree-map host evaluates on every node, timed per pass of the host
// protocol over the scope nodes. Counters: per_node, the time per scope node;
// allocs_per_eval, heap allocations per evaluation.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "allocation_counter.h"
#include "tree_bench_host.h"

namespace {

using tree_bench::TBenchExpression;
using tree_bench::TTreeHost;
using tree_bench::TTreeShape;

// Which nodes a benchmark evaluates on, and with which node it prepares.
enum class TScopes { Root, Inner, Leaves, All };

// Building a tree of 10^6 nodes takes longer than a pass over it: the hosts
// are built once per shape and size and kept for the whole run.
TTreeHost& HostFor(TTreeShape shape, int64_t nodes) {
  static std::map<std::pair<int, int64_t>, std::unique_ptr<TTreeHost>> hosts;
  auto& host = hosts[{static_cast<int>(shape), nodes}];
  if (!host) host = std::make_unique<TTreeHost>(shape, nodes);
  return *host;
}

void EvaluateOnTree(benchmark::State& state, const char* text, TScopes which) {
  const auto shape = static_cast<TTreeShape>(state.range(0));
  TTreeHost& host = HostFor(shape, state.range(1));
  std::vector<TTreeMapNode*> root{&host.Root()};
  const std::vector<TTreeMapNode*>& scopes = which == TScopes::Root     ? root
                                             : which == TScopes::Inner  ? host.InnerNodes()
                                             : which == TScopes::Leaves ? host.Leaves()
                                                                        : host.AllNodes();
  TBenchExpression expression(host, text, scopes.front());
  if (!expression.Ok()) {
    state.SkipWithError("the expression does not parse");
    return;
  }
  const std::uint64_t allocationsBefore = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(expression.Pass(scopes));
  const std::uint64_t allocations = AllocationCount() - allocationsBefore;
  if (expression.Root().HasError()) state.SkipWithError("the evaluation failed");
  const auto evaluations = static_cast<double>(state.iterations()) * static_cast<double>(scopes.size());
  state.counters["scopes"] = static_cast<double>(scopes.size());
  state.counters["per_node"] = benchmark::Counter(static_cast<double>(scopes.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
  state.counters["allocs_per_eval"] = static_cast<double>(allocations) / evaluations;
}

void BM_EvalTreeSumNodesAtRoot(benchmark::State& state) {
  EvaluateOnTree(state, "sum(nodes.x)", TScopes::Root);
}

void BM_EvalTreeSumChildrenOnInner(benchmark::State& state) {
  EvaluateOnTree(state, "sum(children.x)", TScopes::Inner);
}

void BM_EvalTreeAllRecordsShareOnLeaves(benchmark::State& state) {
  EvaluateOnTree(state, "x / sum(allrecords.x)", TScopes::Leaves);
}

void BM_EvalTreeWholeLevelShareOnLeaves(benchmark::State& state) {
  EvaluateOnTree(state, "x / sum(wholelevel.x)", TScopes::Leaves);
}

void BM_EvalTreeLevelIndexOnEveryNode(benchmark::State& state) {
  EvaluateOnTree(state, "levelindex", TScopes::All);
}

// Shapes and sizes: 10^3 .. 10^6 nodes.
void TreeSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"chain", "nodes"});
  for (const auto shape : {TTreeShape::Balanced, TTreeShape::Chain})
    for (const int64_t nodes : {1'000, 10'000, 100'000, 1'000'000}) b->Args({static_cast<int64_t>(shape), nodes});
  b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_EvalTreeSumNodesAtRoot)->Apply(TreeSizes);
BENCHMARK(BM_EvalTreeSumChildrenOnInner)->Apply(TreeSizes);
BENCHMARK(BM_EvalTreeAllRecordsShareOnLeaves)->Apply(TreeSizes);
BENCHMARK(BM_EvalTreeWholeLevelShareOnLeaves)->Apply(TreeSizes);
BENCHMARK(BM_EvalTreeLevelIndexOnEveryNode)->Apply(TreeSizes);
