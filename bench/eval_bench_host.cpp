#include "eval_bench_host.h"

#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "foundation/assertion.h"

namespace eval_bench {

TBenchHost::TBenchHost(int32_t records) {
  Data.Records = records;
  Attributes.DataSource = &Data;
  RootLevel.HasChildren = 1;
  RootLevel.DisplayRoot = true;
  LeafLevel.HasChildren = 0;
  Tree = TTreeMapNode::CreateRoot(-1, &RootLevel, &Data);
  for (int32_t r = 0; r < records; ++r) Leaves.push_back(&Tree->AddChild(r, &LeafLevel, &Data));
}

void TBenchHost::AddText(std::string name, std::vector<std::string> texts) {
  auto column = std::make_unique<TBenchColumn>();
  column->Name = std::move(name);
  column->TypeCode = atText;
  column->Texts = std::move(texts);
  Attributes.Add(std::move(column));
}

void TBenchHost::AddNumber(std::string name, int32_t typeCode, std::vector<double> numbers) {
  auto column = std::make_unique<TBenchColumn>();
  column->Name = std::move(name);
  column->TypeCode = typeCode;
  column->Numbers = std::move(numbers);
  Attributes.Add(std::move(column));
}

TCompiled TBenchHost::Compile(std::string_view text) {
  TCompiled out;
  out.Root = std::make_unique<TJUXExpr_Root>();
  out.Root->FormatSettings().DecimalSeparator = '.';
  out.Root->SetAttributes(&Attributes);
  out.Root->SetAllowedScopes(jsmAll);
  TJUXTokens tokens(text, out.Root.get());
  Require(!out.Root->HasError(), "benchmark expression does not scan");
  out.Node = BuildExpression(&tokens, out.Root.get());
  Require(out.Node && !out.Root->HasError(), "benchmark expression does not parse");
  out.Node->Prepare(&Leaf(0));
  Require(!out.Root->HasError(), "benchmark expression does not prepare");
  return out;
}

}  // namespace eval_bench
