#include "tree_bench_host.h"

#include <cmath>
#include <utility>

#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"

namespace tree_bench {

namespace {

// x of record i is i + 1; anything else (group nodes) reads 0.
class TBenchColumn : public TAttributeDescriptor {
 public:
  TBenchColumn(std::string name, int32_t records) : FRecords(records) {
    Name = std::move(name);
    TypeCode = atDouble;
  }
  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override {}
  std::string RecordText(int32_t) override { return {}; }
  double RecordNumber(int32_t record) override {
    return record >= 0 && record < FRecords ? static_cast<double>(record) + 1 : 0;
  }
  std::string IndexText(int32_t, const TFormatSettings&) override { return {}; }
  double IndexNumber(int32_t) override { return 0; }
  int32_t RecordValueIndex(int32_t) override { return 0; }

 private:
  int32_t FRecords;
};

int BalancedDepthFor(int64_t nodes) {
  int depth = 0;
  double best = std::abs(1.0 - static_cast<double>(nodes));
  for (int d = 1; d < 9; ++d) {
    const double count = (std::pow(10.0, d + 1) - 1) / 9;
    const double off = std::abs(count - static_cast<double>(nodes));
    if (off >= best) break;
    best = off;
    depth = d;
  }
  return depth;
}

}  // namespace

TTreeHost::TTreeHost(TTreeShape shape, int64_t nodes) {
  FInnerLevel.HasChildren = 1;
  FLeafLevel.HasChildren = 0;
  FTree = TTreeMapNode::CreateRoot(-1, &FInnerLevel, &FData);
  int32_t records = 0;
  if (shape == TTreeShape::Chain) {
    TTreeMapNode* node = FTree.get();
    for (int64_t i = 1; i + 1 < nodes; ++i) node = &node->AddChild(-1, &FInnerLevel, &FData);
    node->AddChild(records++, &FLeafLevel, &FData);
  } else {
    const int depth = BalancedDepthFor(nodes);
    std::vector<TTreeMapNode*> level{FTree.get()}, next;
    for (int d = 1; d <= depth; ++d) {
      next.clear();
      for (TTreeMapNode* parent : level)
        for (int c = 0; c < 10; ++c)
          next.push_back(d == depth ? &parent->AddChild(records++, &FLeafLevel, &FData)
                                    : &parent->AddChild(-1, &FInnerLevel, &FData));
      level.swap(next);
    }
  }
  FData.Records = records;
  FAttributes.DataSource = &FData;
  FAttributes.Add(std::make_unique<TBenchColumn>(std::string("x"), records));
  // Depth-first lists of the nodes, with an explicit stack.
  std::vector<TTreeMapNode*> stack{FTree.get()};
  while (!stack.empty()) {
    TTreeMapNode* node = stack.back();
    stack.pop_back();
    FAll.push_back(node);
    (node->IsLeaf() ? FLeaves : FInner).push_back(node);
    for (int c = node->ChildCount(); c-- > 0;) stack.push_back(&node->Child(c));
  }
}

TTreeHost::~TTreeHost() = default;

std::unique_ptr<TJUXExpr_Root> TTreeHost::MakeRoot() {
  auto root = std::make_unique<TJUXExpr_Root>();
  root->FormatSettings().DecimalSeparator = '.';
  root->SetAttributes(&FAttributes);
  root->SetAllowedScopes(jsmAll);
  return root;
}

TBenchExpression::TBenchExpression(TTreeHost& host, std::string_view text, TTreeMapNode* prepareScope)
    : FRoot(host.MakeRoot()) {
  {
    TJUXTokens tokens(text, FRoot.get());
    if (!FRoot->HasError()) FNode = BuildExpression(&tokens, FRoot.get());
  }
  if (Ok()) FNode->Prepare(prepareScope);
}

double TBenchExpression::Pass(const std::vector<TTreeMapNode*>& scopes) {
  double sum = 0;
  bool first = true;
  for (TTreeMapNode* scope : scopes) {
    FNode->EvaluateEx(scope, first);
    first = false;
    sum += FNode->Result()->AsDouble(nullptr);
  }
  return sum;
}

}  // namespace tree_bench
