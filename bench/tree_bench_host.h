#pragma once
// A tree-map host for the evaluator benchmarks: a data source of records with
// one number attribute "x" (record i has x = i + 1), trees of two shapes over
// those records, and an expression parsed, prepared and evaluated by the host
// protocol over a list of scope nodes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/expression.h"
#include "treemap/tree_map_node.h"

namespace tree_bench {

class TBenchDataSource : public TTreeMapDataSource {
 public:
  int32_t Records = 0;
  int32_t RecordCount() const override { return Records; }
};

// The shapes of the benchmark trees.
enum class TTreeShape {
  Balanced,  // every inner node has ten children; the leaves are the records
  Chain,     // every inner node has one child; the one leaf is record 0
};

// A tree of about `nodes` nodes with its data: a balanced tree gets the
// depth whose node count (1 + 10 + ... + 10^depth) is nearest to `nodes`.
class TTreeHost {
 public:
  TTreeHost(TTreeShape shape, int64_t nodes);
  ~TTreeHost();

  TTreeMapNode& Root() { return *FTree; }
  const std::vector<TTreeMapNode*>& AllNodes() const { return FAll; }
  const std::vector<TTreeMapNode*>& InnerNodes() const { return FInner; }
  const std::vector<TTreeMapNode*>& Leaves() const { return FLeaves; }

  // A root expression over the host's attributes, all scopes allowed.
  std::unique_ptr<TJUXExpr_Root> MakeRoot();

 private:
  TBenchDataSource FData;
  TDravolinAttributes FAttributes;
  TTreeMapLevel FInnerLevel, FLeafLevel;
  std::unique_ptr<TTreeMapNode> FTree;
  std::vector<TTreeMapNode*> FAll, FInner, FLeaves;  // in depth-first order
};

// An expression text parsed below its own root and prepared with a scope.
class TBenchExpression {
 public:
  // Fails (Ok() false) when the text does not parse.
  TBenchExpression(TTreeHost& host, std::string_view text, TTreeMapNode* prepareScope);
  bool Ok() const { return FNode && !FRoot->HasError(); }
  TJUXExpr_Root& Root() { return *FRoot; }

  // One pass of the host protocol: every node of `scopes` in turn, `first`
  // for the first one only. Answers a checksum of the results (as doubles),
  // so the work cannot be optimised away.
  double Pass(const std::vector<TTreeMapNode*>& scopes);

 private:
  std::unique_ptr<TJUXExpr_Root> FRoot;
  std::unique_ptr<TJUXExpression> FNode;
};

}  // namespace tree_bench
