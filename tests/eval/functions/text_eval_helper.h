#pragma once
// Test helper of the date and string function tests: runs one expression
// text through the host protocol (tokenize, parse, prepare once, evaluate
// once) under a root with given format settings and special variables, and
// reports what the host would see. Nothing depends on the machine's locale.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "eval/values/var.h"
#include "foundation/format_settings.h"

namespace text_eval {

// A fixed English record: "." decimal, "," thousands, "/" dates in
// dd/mm/yyyy, "hh:nn:ss" times, am/pm strings.
inline TFormatSettings TestSettings() {
  TFormatSettings s = FixedFormatSettings();
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.CurrencyString = "$";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 1;
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongDateFormat = "dddd d mmmm yyyy";
  s.ShortTimeFormat = "hh:nn";
  s.LongTimeFormat = "hh:nn:ss";
  s.TimeAMString = "AM";
  s.TimePMString = "PM";
  return s;
}

struct TOutcome {
  bool Built = false;  // parsed without error and evaluated
  std::string Type;    // type name of the result
  std::string Text;    // result text in the root's format settings
  TJUXFlags Flags = 0; // the node's flags after the evaluation
  uint8_t SetState = 0;
  std::vector<std::string> Errors;  // the root's error list

  bool HasKind(uint8_t kind) const { return (Flags & JUXKindFlag(kind)) != 0; }
  bool HasError() const { return (Flags & jfError) != 0; }
};

// Special variables of a root: name (lower case) and value.
class TVars {
 public:
  // Chained on a temporary: TVars().Add<TJUXVar_Date>("d", 1).Add<...>(...).
  template <class T>
  TVars&& Add(std::string name, long double value) && {
    FList.push_back({std::move(name), std::make_unique<T>(value)});
    return std::move(*this);
  }
  template <class T, class V>
  TVars&& AddValue(std::string name, V value) && {
    FList.push_back({std::move(name), std::make_unique<T>(std::move(value))});
    return std::move(*this);
  }
  TSpecVarList Take() { return std::move(FList); }

 private:
  TSpecVarList FList;
};

inline TOutcome EvalText(std::string_view text, TVars vars = {}, const TFormatSettings& settings = TestSettings()) {
  TOutcome out;
  TJUXExpr_Root root;
  root.FormatSettings() = settings;
  root.SetSpecialVariables(vars.Take());
  std::unique_ptr<TJUXExpression> node;
  {
    TJUXTokens tokens(text, &root);
    if (!root.HasError()) node = BuildExpression(&tokens, &root);
  }
  if (node && !root.HasError()) {
    node->Prepare(nullptr);
    // Prepare-time errors stay in the list; the first evaluation clears the flags.
    const bool prepareError = node->HasError();
    node->EvaluateEx(nullptr, true);
    out.Built = true;
    out.Flags = static_cast<TJUXFlags>(node->Flags() | (prepareError ? jfError : 0));
    out.SetState = node->SetState();
    out.Type = std::string(node->Result()->TypeName());
    out.Text = node->Result()->ToText(root.FormatSettings());
  }
  out.Errors = root.Errors();
  return out;
}

// Runs `text` under a root that accepts a set and collects the text of every
// element (one evaluation per element, as a consumer iterates); empty when the
// text does not build. `errors` receives the root's error list.
inline std::vector<std::string> EvalSet(std::string_view text, std::vector<std::string>* errors = nullptr,
                                        TVars vars = {}) {
  std::vector<std::string> elements;
  TJUXExpr_Root root;
  root.FormatSettings() = TestSettings();
  root.SetSpecialVariables(vars.Take());
  root.SetSetAllowed(true);
  std::unique_ptr<TJUXExpression> node;
  {
    TJUXTokens tokens(text, &root);
    if (!root.HasError()) node = BuildExpression(&tokens, &root);
  }
  if (node && !root.HasError()) {
    node->Prepare(nullptr);
    node->EvaluateEx(nullptr, true);
    while (!node->HasError() && node->SetState() != jssEmpty) {
      elements.push_back(node->Result()->ToText(root.FormatSettings()));
      if (node->SetState() != jssMore) break;
      node->EvaluateEx(nullptr, false);
    }
  }
  if (errors) *errors = root.Errors();
  return elements;
}

// A value that must evaluate without any error.
struct TCase {
  std::string_view Expression;
  std::string_view Type;
  std::string_view Text;
};

}  // namespace text_eval
