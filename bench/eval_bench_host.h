#pragma once
// A minimal evaluator host for the benchmarks: one data source of N records,
// attribute columns of text or numbers, a flat tree (a root with one leaf per
// record) and expressions compiled through the host protocol against it.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/expression.h"
#include "treemap/attribute_collection.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/tree_map_level.h"
#include "treemap/tree_map_node.h"

namespace eval_bench {

class TBenchDataSource : public TTreeMapDataSource {
 public:
  int32_t Records = 0;
  int32_t RecordCount() const override { return Records; }
};

// One column: Texts for a text attribute, Numbers for the number types.
class TBenchColumn : public TAttributeDescriptor {
 public:
  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override {}
  std::string RecordText(int32_t record) override { return Texts[static_cast<size_t>(record)]; }
  void ReadRecordText(int32_t record, std::string& text) override { text = Texts[static_cast<size_t>(record)]; }
  double RecordNumber(int32_t record) override { return Numbers[static_cast<size_t>(record)]; }
  std::string IndexText(int32_t index, const TFormatSettings&) override { return Texts[static_cast<size_t>(index)]; }
  double IndexNumber(int32_t index) override { return Numbers[static_cast<size_t>(index)]; }
  int32_t RecordValueIndex(int32_t record) override { return record; }

  std::vector<std::string> Texts;
  std::vector<double> Numbers;
};

// A parsed and prepared expression with its root.
struct TCompiled {
  std::unique_ptr<TJUXExpr_Root> Root;
  std::unique_ptr<TJUXExpression> Node;
};

class TBenchHost {
 public:
  explicit TBenchHost(int32_t records);

  void AddText(std::string name, std::vector<std::string> texts);
  void AddNumber(std::string name, int32_t typeCode, std::vector<double> numbers);

  // Tokenizes, parses and prepares `text` ("." as decimal separator, all
  // scopes allowed). Raises EAssertionFailed when the text does not build.
  TCompiled Compile(std::string_view text);

  int32_t Records() const { return Data.Records; }
  // The leaf of record r (kept, so that the timed loops do no tree lookups).
  TTreeMapNode& Leaf(int32_t r) { return *Leaves[static_cast<size_t>(r)]; }

 private:
  TBenchDataSource Data;
  TDravolinAttributes Attributes;
  TTreeMapLevel RootLevel, LeafLevel;
  std::unique_ptr<TTreeMapNode> Tree;
  std::vector<TTreeMapNode*> Leaves;
};

}  // namespace eval_bench
