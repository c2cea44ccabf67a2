// Evaluating arbitrary text through the host protocol: tokenize and parse
// under a root with attributes, special variables, a progress callback and a
// fixed clock, prepare once, then evaluate on every node of a small tree,
// reading every element of a set-valued result. Errors are records, never exceptions: any
// exception, crash or sanitizer report is a finding. The progress callback
// aborts after a tick budget, so valid but long loops such as
// «sum(linseries(0; 1e12))» end; an input still running after the target's
// 5 s timeout (fuzz/eval_evaluation_fuzz.flags) is a finding too when
// searching. CI allows any input 120 s, so a busy machine cannot fail it.
//
// Input: byte 0 picks the decimal separator (bit 0) and whether the whole
// expression may be a set (bit 1); the rest is the expression text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "eval/values/scalar_vars.h"
#include "treemap/attribute_collection.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/tree_map_data_source.h"
#include "treemap/tree_map_level.h"
#include "treemap/tree_map_node.h"
#include "fixed_clock.h"

namespace {

constexpr int32_t kRecords = 4;
// Loop steps between progress calls, and calls before the callback aborts:
// 100000 steps in all per input, a fraction of a second under the
// sanitizers. After an abort the host evaluates nothing more, as a host
// does when its user cancels.
constexpr int64_t kTickInterval = 1000;
constexpr int64_t kProgressCallsAllowed = 100;
// Elements read from one set-valued result before the input is given up.
constexpr int kMaxSetElements = 10000;

class TRecords final : public TTreeMapDataSource {
 public:
  int32_t RecordCount() const override { return kRecords; }
};

// One column of kRecords values; text columns answer from Texts, number
// columns from Numbers. Value indexes are the record indexes.
class TColumn final : public TAttributeDescriptor {
 public:
  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override {}
  std::string RecordText(int32_t record) override { return InRange(record) ? Texts[record] : ""; }
  double RecordNumber(int32_t record) override { return InRange(record) ? Numbers[record] : 0; }
  std::string IndexText(int32_t index, const TFormatSettings&) override { return RecordText(index); }
  double IndexNumber(int32_t index) override { return RecordNumber(index); }
  int32_t RecordValueIndex(int32_t record) override { return InRange(record) ? record : kValueIndexNull; }

  std::vector<std::string> Texts = std::vector<std::string>(kRecords);
  std::vector<double> Numbers = std::vector<double>(kRecords);

 private:
  static bool InRange(int32_t record) { return record >= 0 && record < kRecords; }
};

// root -> two groups (by "region") -> records 0, 1 and 2, 3.
class THost {
 public:
  THost() {
    Attributes.DataSource = &Data;
    TColumn& region = Text("region", {"North", "North", "South", ""});
    Text("name", {"a", "B", "a'b", "12"});
    Number("x", atDouble, {1.5, -2, 1e300, 0});
    Number("n", atInteger, {3, 1, 5, -4});
    Number("when", atDate, {45000, 45001.5, -1, 2958465});
    Number("pct", atPercentage, {0.5, 0, 1, 2});
    RootLevel.HasChildren = 1;
    RootLevel.DisplayRoot = true;
    GroupLevel.HasChildren = 1;
    GroupLevel.GroupingAttribute = &region;
    Tree = TTreeMapNode::CreateRoot(-1, &RootLevel, &Data);
    for (int g = 0; g < 2; ++g) {
      TTreeMapNode& group = Tree->AddChild(-1, &GroupLevel, &Data);
      group.SetClusterValueIndex(2 * g);
      for (int r = 0; r < 2; ++r) group.AddChild(2 * g + r, &RecordLevel, &Data).SetRealSize(1 + r);
    }
    Nodes = {Tree.get(), &Tree->Child(0), &Tree->Child(0).Child(0), &Tree->Child(0).Child(1),
             &Tree->Child(1), &Tree->Child(1).Child(0), &Tree->Child(1).Child(1)};
  }

  TRecords Data;
  TDravolinAttributes Attributes;
  TTreeMapLevel RootLevel, GroupLevel, RecordLevel;
  std::unique_ptr<TTreeMapNode> Tree;
  std::vector<TTreeMapNode*> Nodes;  // every node, root first

 private:
  TColumn& Add(std::string name, int32_t typeCode) {
    auto column = std::make_unique<TColumn>();
    column->Name = std::move(name);
    column->TypeCode = typeCode;
    return static_cast<TColumn&>(*Attributes.Add(std::move(column)));
  }
  TColumn& Text(std::string name, std::vector<std::string> texts) {
    TColumn& c = Add(std::move(name), atText);
    c.Texts = std::move(texts);
    return c;
  }
  void Number(std::string name, int32_t typeCode, std::vector<double> numbers) {
    Add(std::move(name), typeCode).Numbers = std::move(numbers);
  }
};

TSpecVarList SpecialVariables() {
  TSpecVarList vars;
  vars.push_back({"limit", std::make_unique<TJUXVar_Integer>(10)});
  vars.push_back({"scale", std::make_unique<TJUXVar_Double>(0.25)});
  vars.push_back({"label", std::make_unique<TJUXVar_String>("Total")});
  return vars;
}

// The host's reading of one result: its text and number forms.
void Read(const TJUXExpression& node) {
  const TJUXVar* result = node.Result();
  if (result == nullptr) abort();  // a prepared node always has a value
  (void)result->ToText(node.FormatSettings());
  (void)result->AsDouble(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  THost host;
  TJUXExpr_Root root;
  root.FormatSettings().DecimalSeparator = (data[0] & 1) ? ',' : '.';
  root.SetAttributes(&host.Attributes);
  root.SetAllowedScopes(jsmAll);
  root.SetSetAllowed((data[0] & 2) != 0);
  root.SetSpecialVariables(SpecialVariables());
  root.SetClock(&FixedFuzzClock);
  root.SetTickInterval(kTickInterval);
  int64_t calls = 0;
  root.SetProgressCallback([&calls](int64_t) { return ++calls < kProgressCallsAllowed; });

  std::unique_ptr<TJUXExpression> node;
  {
    TJUXTokens tokens(text, &root);
    if (root.HasError()) return 0;
    node = BuildExpression(&tokens, &root);
  }
  if (!node || root.HasError()) return 0;

  node->Prepare(host.Tree.get());
  bool first = true;
  for (TTreeMapNode* scope : host.Nodes) {
    int elements = 0;
    do {
      node->EvaluateEx(scope, first);
      first = false;
      if (root.HasErrorKind(jeUserAbort)) return 0;
      if (node->HasError()) break;
      if (node->SetState() != jssEmpty) Read(*node);
    } while (node->SetState() == jssMore && ++elements < kMaxSetElements);
  }
  return 0;
}
