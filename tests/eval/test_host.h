#pragma once
// A small evaluator host for the eval tests: a data source of N records,
// attribute columns (text or number per record), a three-level tree
// (root -> groups -> records) and a root expression wired to them. Also a
// parameter source that builds function parameters from callbacks, so that
// function nodes can be tested without the parser.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "treemap/tree_map_node.h"

namespace eval_test {

class TTestDataSource : public TTreeMapDataSource {
 public:
  int32_t Records = 0;
  int32_t RecordCount() const override { return Records; }
};

// One column: Texts for text attributes, Numbers for number types; the value
// index of a record is ValueIndexes[record] when given, else the position
// of its text among the distinct texts.
class TTestColumn : public TAttributeDescriptor {
 public:
  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override { ++LoadCount; }
  std::string RecordText(int32_t record) override;
  double RecordNumber(int32_t record) override;
  std::string IndexText(int32_t index, const TFormatSettings& settings) override;
  double IndexNumber(int32_t index) override;
  int32_t RecordValueIndex(int32_t record) override;

  std::vector<std::string> Texts;
  std::vector<double> Numbers;
  std::vector<int32_t> ValueIndexes;
  int LoadCount = 0;
};

class TTestHost {
 public:
  explicit TTestHost(int32_t records = 0);

  TTestColumn& AddText(std::string name, std::vector<std::string> texts);
  TTestColumn& AddNumber(std::string name, int32_t typeCode, std::vector<double> numbers);

  // Builds root -> one group per entry -> its record nodes. Groups get
  // cluster value index = their position; GroupLevel groups by `grouping`
  // when given.
  void BuildTree(const std::vector<std::vector<int32_t>>& groups, TAttributeDescriptor* grouping = nullptr);
  TTreeMapNode& Root() { return *Tree; }
  TTreeMapNode& Group(int g) { return Tree->Child(g); }
  TTreeMapNode& Record(int g, int r) { return Tree->Child(g).Child(r); }

  // A root expression with the attributes, "." as decimal separator, all
  // scopes allowed and the host's clock.
  std::unique_ptr<TJUXExpr_Root> MakeRoot();

  // 2020-02-29 13:45:30.250 (2020-02-29 is day 43890).
  static constexpr double kClockStart = 43890.0 + (13 * 3600 + 45 * 60 + 30.25) / 86400.0;
  // What the roots' clock reads, as a day count; a test may move it.
  double ClockNow = kClockStart;

  TTestDataSource Data;
  TDravolinAttributes Attributes;
  TTreeMapLevel RootLevel, GroupLevel, RecordLevel;
  std::unique_ptr<TTreeMapNode> Tree;
};

// A parameter source over callbacks; Tables() is empty unless set.
class TTestParams : public TJUXParamSource {
 public:
  using TBuilder = std::function<std::unique_ptr<TJUXExpression>(TJUXExpression& parent)>;
  TTestParams() = default;
  explicit TTestParams(std::vector<TBuilder> builders) : Builders(std::move(builders)) {}

  int Count() const override { return static_cast<int>(Builders.size()); }
  std::unique_ptr<TJUXExpression> Build(int index, TJUXExpression& parent) override {
    return Builders[static_cast<size_t>(index)](parent);
  }
  const TJUXFunctionTables& Tables() const override { return *FunctionTables; }

  std::vector<TBuilder> Builders;
  const TJUXFunctionTables* FunctionTables = &kNoTables;

 private:
  static const TJUXFunctionTables kNoTables;
};

// Builders of literal parameters.
TTestParams::TBuilder IntegerParam(int32_t value);
TTestParams::TBuilder DoubleParam(double value);
TTestParams::TBuilder StringParam(std::string value);
TTestParams::TBuilder AttributeParam(std::string name);

}  // namespace eval_test
