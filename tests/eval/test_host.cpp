#include "test_host.h"

#include <algorithm>

#include "eval/values/scalar_vars.h"

namespace eval_test {

const TJUXFunctionTables TTestParams::kNoTables{};

namespace {

std::vector<std::string> Distinct(const std::vector<std::string>& texts) {
  std::vector<std::string> distinct;
  for (const auto& t : texts)
    if (std::find(distinct.begin(), distinct.end(), t) == distinct.end()) distinct.push_back(t);
  return distinct;
}

template <class T>
const T& At(const std::vector<T>& values, int32_t index) {
  static const T kEmpty{};
  if (index < 0 || static_cast<size_t>(index) >= values.size()) return kEmpty;
  return values[static_cast<size_t>(index)];
}

}  // namespace

std::string TTestColumn::RecordText(int32_t record) { return At(Texts, record); }
double TTestColumn::RecordNumber(int32_t record) { return At(Numbers, record); }
std::string TTestColumn::IndexText(int32_t index, const TFormatSettings&) { return At(Distinct(Texts), index); }
double TTestColumn::IndexNumber(int32_t index) { return At(Numbers, index); }
int32_t TTestColumn::RecordValueIndex(int32_t record) {
  if (!ValueIndexes.empty()) return At(ValueIndexes, record);
  const std::vector<std::string> distinct = Distinct(Texts);
  const auto at = std::find(distinct.begin(), distinct.end(), At(Texts, record));
  return at == distinct.end() ? kValueIndexNull : static_cast<int32_t>(at - distinct.begin());
}

TTestHost::TTestHost(int32_t records) {
  Data.Records = records;
  Attributes.DataSource = &Data;
  RootLevel.HasChildren = 1;
  RootLevel.DisplayRoot = true;
  GroupLevel.HasChildren = 1;
  RecordLevel.HasChildren = 0;
}

TTestColumn& TTestHost::AddText(std::string name, std::vector<std::string> texts) {
  auto column = std::make_unique<TTestColumn>();
  column->Name = std::move(name);
  column->TypeCode = atText;
  column->Texts = std::move(texts);
  return static_cast<TTestColumn&>(*Attributes.Add(std::move(column)));
}

TTestColumn& TTestHost::AddNumber(std::string name, int32_t typeCode, std::vector<double> numbers) {
  auto column = std::make_unique<TTestColumn>();
  column->Name = std::move(name);
  column->TypeCode = typeCode;
  column->Numbers = std::move(numbers);
  return static_cast<TTestColumn&>(*Attributes.Add(std::move(column)));
}

void TTestHost::BuildTree(const std::vector<std::vector<int32_t>>& groups, TAttributeDescriptor* grouping) {
  GroupLevel.GroupingAttribute = grouping;
  Tree = TTreeMapNode::CreateRoot(-1, &RootLevel, &Data);
  for (size_t g = 0; g < groups.size(); ++g) {
    TTreeMapNode& group = Tree->AddChild(-1, &GroupLevel, &Data);
    group.SetClusterValueIndex(static_cast<int32_t>(g));
    for (int32_t record : groups[g]) group.AddChild(record, &RecordLevel, &Data);
  }
}

std::unique_ptr<TJUXExpr_Root> TTestHost::MakeRoot() {
  auto root = std::make_unique<TJUXExpr_Root>();
  root->FormatSettings().DecimalSeparator = '.';
  root->SetAttributes(&Attributes);
  root->SetAllowedScopes(jsmAll);
  root->SetClock([this] { return ClockNow; });
  return root;
}

TTestParams::TBuilder IntegerParam(int32_t value) {
  return [value](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    return std::make_unique<TJUXExpr_Const>(&parent, jlkIntegerConstant, std::to_string(value));
  };
}

TTestParams::TBuilder DoubleParam(double value) {
  return [value](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    const TJUXVar_Double v(value);
    return std::make_unique<TJUXExpr_Const>(&parent, 0, v.ToText(parent.FormatSettings()), v, jlkDoubleConstant,
                                            v.ToText(parent.FormatSettings()));
  };
}

TTestParams::TBuilder StringParam(std::string value) {
  return [value](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    const TJUXVar_String v(value);
    return std::make_unique<TJUXExpr_Const>(&parent, 0, "'" + value + "'", v, jlkStringConstant, "'" + value + "'");
  };
}

TTestParams::TBuilder AttributeParam(std::string name) {
  return [name](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    return std::make_unique<TJUXExpr_Var>(&parent, name);
  };
}

}  // namespace eval_test
