#pragma once
// Test helper of the scope and aggregate tests: runs expression text through
// the host protocol over a tree of the test host (tokenize, parse, prepare
// once, evaluate per node) and collects what a host would read, including
// every element of a set-valued result.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "eval/test_host.h"
#include "eval/values/var.h"

namespace tree_eval {

class TTreeEval {
 public:
  // A root over the host's attributes; `setAllowed` lets the whole
  // expression be a set (as under an aggregate).
  explicit TTreeEval(eval_test::TTestHost& host, bool setAllowed = false, uint16_t allowedScopes = jsmAll)
      : FRoot(host.MakeRoot()) {
    FRoot->SetAllowedScopes(allowedScopes);
    FRoot->SetSetAllowed(setAllowed);
  }

  TJUXExpr_Root& Root() { return *FRoot; }

  // Tokenizes and parses; true when the tree is complete (no error).
  bool Parse(std::string_view text) {
    {
      TJUXTokens tokens(text, FRoot.get());
      if (!FRoot->HasError()) FNode = BuildExpression(&tokens, FRoot.get());
    }
    return FNode && !FRoot->HasError();
  }

  // Parses and prepares with `prepareScope`; true when parsing succeeded.
  bool Load(std::string_view text, TTreeMapNode* prepareScope) {
    if (!Parse(text)) return false;
    FNode->Prepare(prepareScope);
    return true;
  }

  TJUXExpression& Node() { return *FNode; }
  const std::vector<std::string>& Errors() const { return FRoot->Errors(); }
  bool HasMessage(std::string_view message) const {
    for (const std::string& e : Errors())
      if (e == message) return true;
    return false;
  }

  // One evaluation; the result as text ("<error>" when the node has its
  // error flag set, "<empty>" for an empty set).
  std::string Evaluate(TTreeMapNode* scope, bool first = true) {
    FNode->EvaluateEx(scope, first);
    return CurrentText();
  }

  std::string CurrentText() const {
    if (FNode->HasError()) return "<error>";
    if (FNode->SetState() == jssEmpty) return "<empty>";
    return FNode->Result()->ToText(FRoot->FormatSettings());
  }

  // Every element of the set the node delivers for `scope` (a scalar is one
  // element); stops at an error, which ends the list with "<error>".
  std::vector<std::string> Elements(TTreeMapNode* scope, int limit = 1000) {
    std::vector<std::string> out;
    bool first = true;
    do {
      FNode->EvaluateEx(scope, first);
      first = false;
      if (FNode->HasError()) {
        out.push_back("<error>");
        break;
      }
      if (FNode->SetState() != jssEmpty) out.push_back(FNode->Result()->ToText(FRoot->FormatSettings()));
    } while (FNode->SetState() == jssMore && --limit > 0);
    return out;
  }

 private:
  std::unique_ptr<TJUXExpr_Root> FRoot;
  std::unique_ptr<TJUXExpression> FNode;
};

}  // namespace tree_eval
