#include "eval/jux_expression.h"

#include "eval/jux_number_reading.h"
#include "eval/jux_scalar_vars.h"
#include "foundation/assertion.h"

namespace {

// The text of a quoted string literal: without the outer quotes, each doubled
// opening quote character turned into one.
std::string UnquoteString(std::string_view text) {
  if (text.size() < 2) return {};
  const char quote = text.front();
  const std::string_view inner = text.substr(1, text.size() - 2);
  std::string value;
  for (size_t i = 0; i < inner.size(); ++i) {
    value += inner[i];
    if (inner[i] == quote && i + 1 < inner.size() && inner[i + 1] == quote) ++i;
  }
  return value;
}

}  // namespace

TJUXExpr_Const::TJUXExpr_Const(TJUXExpression* parent, uint8_t tokenKind, std::string tokenText)
    : TJUXExpression(parent), FTokenText(std::move(tokenText)), FTokenKind(tokenKind) {
  FConstant = true;
  switch (tokenKind) {
    case jlkStringConstant:
      FResult = std::make_unique<TJUXVar_String>(UnquoteString(FTokenText));
      break;
    case jlkStringConstChar: {
      const int32_t code = ReadJUXInteger(FTokenText).value_or(0);
      FResult = std::make_unique<TJUXVar_String>(std::string(1, static_cast<char>(code & 0xFF)));
      break;
    }
    case jlkDoubleConstant:
      // The scanner accepts runs such as "1.2.3" or "1e" that do not read as
      // a number; they would otherwise silently read as 0.
      if (!ReadJUXFloat(FTokenText, FormatSettings()))
        AddError(jeNotConvertible, "Unable to cast the string value \"" + FTokenText + "\" into a double");
      FResult = TJUXVar_Double::Class().CreateFromText(FTokenText, FormatSettings());
      break;
    case jlkIntegerConstant:
      if (!ReadJUXInteger(FTokenText))
        AddError(jeNotConvertible, "Unable to cast the string value \"" + FTokenText + "\" into an integer");
      FResult = TJUXVar_Integer::Class().CreateFromText(FTokenText, FormatSettings());
      break;
    default:
      AddError(jeSyntax, "JUX: Unhandled constant expression token: " + FTokenText);
      FResult = std::make_unique<TJUXVar_Double>();
      break;
  }
}

TJUXExpr_Const::TJUXExpr_Const(TJUXExpression* parent, int32_t constRow, std::string name, const TJUXVar& value,
                               uint8_t tokenKind, std::string tokenText)
    : TJUXExpression(parent),
      FConstRow(constRow),
      FName(std::move(name)),
      FTokenText(std::move(tokenText)),
      FTokenKind(tokenKind) {
  FConstant = true;
  FResult = value.Clone();
}

void TJUXExpr_Const::Evaluate(TTreeMapNode*, bool) {
  Require(false, "Evaluate not defined for constant expressions");
}

void TJUXExpr_Const::EvaluateEx(TTreeMapNode*, bool) {}
void TJUXExpr_Const::Prepare(TTreeMapNode*) {}

std::unique_ptr<TJUXExpression> TJUXExpr_Const::Clone() const {
  std::unique_ptr<TJUXExpr_Const> copy(new TJUXExpr_Const(nullptr));
  copy->FConstRow = FConstRow;
  copy->FName = FName;
  copy->FTokenText = FTokenText;
  copy->FTokenKind = FTokenKind;
  CopyBaseInto(*copy);
  return copy;
}

std::string TJUXExpr_Const::AsTextEx(bool) const {
  if (FConstRow >= 0) return FName;
  if (FTokenKind == jlkStringConstChar) return "#" + FTokenText;
  if (FTokenKind == jlkStringConstant) return FTokenText;
  if (FTokenKind == jlkIntegerConstant && !FTokenText.empty() && FTokenText[0] == '$') return FTokenText;
  return FResult ? FResult->ToText(FormatSettings()) : FTokenText;
}
