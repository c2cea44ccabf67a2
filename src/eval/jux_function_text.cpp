// Printing function and operator nodes back to text.
#include "eval/jux_function.h"

namespace {

std::string_view OperatorText(const TJUXFunctionTables* tables, std::span<const TJUXOperatorSpecs> rows, int32_t row) {
  if (!tables || row < 0 || static_cast<size_t>(row) >= rows.size()) return {};
  const TJUXOperatorSpecs& spec = rows[static_cast<size_t>(row)];
  if (!spec.Text.empty() || !tables->TokenText) return spec.Text;
  return tables->TokenText(spec.TokenKind);
}

std::string ParamText(const TJUXExpression* param, bool outer) { return param ? param->AsTextEx(outer) : std::string(); }

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
    const std::string_view op = OperatorText(FTables, FTables ? FTables->BinaryOperators : std::span<const TJUXOperatorSpecs>{},
                                             FFunctionInfo.BinaryOperatorIndex);
    std::string text = outer ? "(" : "";
    text += ParamText(Param(0), ParamNeedsParens(0));
    for (int i = 1; i < ParamCount(); ++i) {
      text += ' ';
      text += op;
      text += ' ';
      text += ParamText(Param(i), ParamNeedsParens(i));
    }
    if (outer) text += ')';
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
