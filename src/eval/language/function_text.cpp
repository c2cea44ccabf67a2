// Printing function and operator nodes back to text.
#include "eval/language/function.h"

#include <string>
#include <vector>

namespace {

std::string_view OperatorText(const TJUXFunctionTables* tables, std::span<const TJUXOperatorSpecs> rows, int32_t row) {
  if (!tables || row < 0 || static_cast<size_t>(row) >= rows.size()) return {};
  const TJUXOperatorSpecs& spec = rows[static_cast<size_t>(row)];
  if (!spec.Text.empty() || !tables->TokenText) return spec.Text;
  return tables->TokenText(spec.TokenKind);
}

std::string ParamText(const TJUXExpression* param, bool outer) { return param ? param->AsTextEx(outer) : std::string(); }

// A node printed as a binary operator («a + b») by this printer (the set
// literal, with operator syntax but no binary row, prints itself).
const TJUXFunction* AsBinaryOperator(const TJUXExpression* node) {
  const auto* function = dynamic_cast<const TJUXFunction*>(node);
  if (!function || !function->OperatorSyntax() || function->ParamCount() < 2 ||
      function->FunctionInfo().BinaryOperatorIndex < 0)
    return nullptr;
  return function;
}

// Prints a binary operator node and the binary operator nodes below it with
// an explicit stack, so a chain of any length costs no stack and every part
// is appended once.
void AppendOperatorText(const TJUXFunction& top, bool outer, std::string& text) {
  struct TStep {
    const TJUXFunction* Node;
    bool Outer;
    int Next;  // the parameter to print next
  };
  std::vector<TStep> steps{{&top, outer, 0}};
  while (!steps.empty()) {
    TStep& step = steps.back();
    const TJUXFunction& node = *step.Node;
    if (step.Next == node.ParamCount()) {
      if (step.Outer) text += ')';
      steps.pop_back();
      continue;
    }
    const int i = step.Next++;
    if (i == 0 && step.Outer) text += '(';
    if (i > 0) {
      const TJUXFunctionTables* tables = node.Tables();
      text += ' ';
      text += OperatorText(tables, tables ? tables->BinaryOperators : std::span<const TJUXOperatorSpecs>{},
                           node.FunctionInfo().BinaryOperatorIndex);
      text += ' ';
    }
    const bool parens = node.ParamNeedsParens(i);
    if (const TJUXFunction* below = AsBinaryOperator(node.Param(i))) {
      steps.push_back({below, parens, 0});
      continue;
    }
    text += ParamText(node.Param(i), parens);
  }
}

}  // namespace

bool TJUXFunction::ParamNeedsParens(int index) const {
  const auto* param = dynamic_cast<const TJUXFunction*>(Param(index));
  if (!param || !FTables) return true;
  const auto& rows = FTables->BinaryOperators;
  const int32_t own = FFunctionInfo.BinaryOperatorIndex;
  const int32_t other = param->FFunctionInfo.BinaryOperatorIndex;
  if (own < 0 || other < 0 || static_cast<size_t>(own) >= rows.size() || static_cast<size_t>(other) >= rows.size())
    return true;
  return !(rows[static_cast<size_t>(other)].Level > rows[static_cast<size_t>(own)].Level);
}

std::string TJUXFunction::AsTextEx(bool outer) const {
  if (FOperatorSyntax && FParams.size() == 1) {
    const std::string_view op = OperatorText(FTables, FTables ? FTables->UnaryOperators : std::span<const TJUXOperatorSpecs>{},
                                             FFunctionInfo.UnaryOperatorIndex);
    return std::string(op) + " " + ParamText(Param(0), true);
  }
  if (FOperatorSyntax && FParams.size() > 1) {
    std::string text;
    AppendOperatorText(*this, outer, text);
    return text;
  }
  std::string text = FFunctionInfo.Name;
  if (FParams.empty()) return text;
  text += '(';
  for (int i = 0; i < ParamCount(); ++i) {
    if (i > 0) text += "; ";
    text += ParamText(Param(i), false);
  }
  text += ')';
  return text;
}
