#pragma once
// Test helper of the arithmetic and special-function tests: runs one
// expression text through the host protocol (tokenize, parse, prepare once,
// evaluate once) under a root of the test host, and reports what the host
// would see.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "eval/values/scalar_vars.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "eval/values/var.h"
#include "eval/test_host.h"

namespace math_eval {

struct TOutcome {
  bool Built = false;   // parsed without error, prepared and evaluated
  std::string Type;     // type name of the result
  std::string Text;     // result text in the root's format settings
  double Value = 0;     // AsDouble of the result (numbers only)
  TJUXFlags Flags = 0;  // the node's flags after the evaluation
  std::vector<std::string> Errors;  // the root's error list

  bool HasKind(uint8_t kind) const { return (Flags & JUXKindFlag(kind)) != 0; }
  bool HasMessage(std::string_view message) const {
    for (const std::string& e : Errors)
      if (e.find(message) != std::string::npos) return true;
    return false;
  }
};

// One special variable named `name` holding a value of class T.
template <class T>
TSpecVarList OneVariable(std::string name, long double value) {
  TSpecVarList vars;
  vars.push_back({std::move(name), std::make_unique<T>(value)});
  return vars;
}

// The tree of `text` below `root`; null when it does not parse.
inline std::unique_ptr<TJUXExpression> ParseText(std::string_view text, TJUXExpression& root) {
  TJUXTokens tokens(text, &root);
  if (root.HasError()) return nullptr;
  std::unique_ptr<TJUXExpression> node = BuildExpression(&tokens, &root);
  return root.HasError() ? nullptr : std::move(node);
}

// Runs `text` with `host`'s attributes (a host without columns when none is
// given) for the tree-map node `scope`; `specialVariables` become the root's.
inline TOutcome EvalText(std::string_view text, TSpecVarList specialVariables = {},
                         eval_test::TTestHost* host = nullptr, TTreeMapNode* scope = nullptr) {
  TOutcome out;
  eval_test::TTestHost bare;
  std::unique_ptr<TJUXExpr_Root> root = (host ? *host : bare).MakeRoot();
  root->SetSpecialVariables(std::move(specialVariables));
  std::unique_ptr<TJUXExpression> node = ParseText(text, *root);
  if (node) {
    // Prepare-time errors (types, dangerous comparisons) stay in the list; the
    // host may still evaluate, and the first evaluation clears the node's flags.
    node->Prepare(scope);
    node->EvaluateEx(scope, true);
    out.Built = true;
    out.Flags = node->Flags();
    const TJUXVar& result = *node->Result();
    out.Type = std::string(result.TypeName());
    out.Text = result.ToText(root->FormatSettings());
    out.Value = result.AsDouble(nullptr);
  }
  out.Errors = root->Errors();
  return out;
}

// A parameter that delivers a fixed list of doubles as a set, one element
// per evaluation (it does not ask its parent whether a set is welcome).
class TFixedSet : public TJUXExpression {
 public:
  TFixedSet(TJUXExpression* parent, std::vector<double> values)
      : TJUXExpression(parent), FValues(std::move(values)) {}
  void Prepare(TTreeMapNode*) override { SetResult(std::make_unique<TJUXVar_Double>()); }
  void Evaluate(TTreeMapNode*, bool first) override {
    FPos = first ? 0 : FPos + 1;
    if (FValues.empty()) {
      SetSetState(jssEmpty);
      return;
    }
    Result()->SetDouble(FValues[FPos], this);
    SetSetState(FPos + 1 < FValues.size() ? jssMore : jssLast);
  }
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }

 private:
  std::vector<double> FValues;
  size_t FPos = 0;
};

inline eval_test::TTestParams::TBuilder SetParam(std::vector<double> values) {
  return [values](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    return std::make_unique<TFixedSet>(&parent, values);
  };
}

// What a consumer of a set sees: every element's text and how the set ended.
struct TSetRun {
  std::vector<std::string> Texts;
  uint8_t LastState = jssScalar;
  TJUXFlags Flags = 0;
};

// Builds function class T over `params` below a fresh root, prepares it and
// walks its set the way an aggregate does.
template <class T>
TSetRun RunOverSets(std::vector<eval_test::TTestParams::TBuilder> params) {
  eval_test::TTestHost host;
  std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
  eval_test::TTestParams source(std::move(params));
  std::unique_ptr<TJUXFunction> node = CreateJUXFunction<T>(root.get(), false, source);
  node->Prepare(nullptr);
  TSetRun run;
  bool first = true;
  do {
    node->EvaluateEx(nullptr, first);
    first = false;
    run.Flags |= node->Flags();
    run.LastState = node->SetState();
    if (run.LastState != jssEmpty) run.Texts.push_back(node->Result()->ToText(root->FormatSettings()));
  } while (run.LastState == jssMore && !node->HasError() && run.Texts.size() < 100);
  return run;
}

}  // namespace math_eval
