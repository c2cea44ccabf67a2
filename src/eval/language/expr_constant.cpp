#include "eval/language/expression.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "eval/language/number_reading.h"
#include "eval/values/scalar_vars.h"
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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether Text scans as one number token of the literal kind (a double needs
// the decimal separator or an exponent; an integer is digits alone) and reads
// back as a value equal to Value.
bool ReadsBackAs(std::string_view text, uint8_t kind, const TJUXVar& value, const TFormatSettings& settings) {
  const char separator = settings.DecimalSeparator;
  size_t i = 0;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == separator || text[i] == 'e' || text[i] == 'E')) ++i;
  if (i == 0 || !IsDigit(text[0])) return false;
  if (text[i - 1] == 'e' || text[i - 1] == 'E') {
    while (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  if (i != text.size()) return false;
  const bool isDouble = text.find_first_of(std::string{'e', 'E', separator}) != std::string_view::npos;
  if (isDouble != (kind == jlkDoubleConstant)) return false;
  if (kind == jlkIntegerConstant) {
    const std::optional<int32_t> read = ReadJUXInteger(text);
    const auto* integer = dynamic_cast<const TJUXVar_Integer*>(&value);
    return read && integer && *read == integer->Value();
  }
  const std::unique_ptr<TJUXVar> read = TJUXVar_Double::Class().CreateFromText(std::string(text), settings);
  const auto* a = dynamic_cast<const TJUXVar_Double*>(read.get());
  const auto* b = dynamic_cast<const TJUXVar_Double*>(&value);
  return ReadJUXFloat(text, settings) && a && b && a->Value() == b->Value();
}

// A double as the shortest text of at most `digits` significant digits in
// fixed notation (always with the decimal separator) or, for magnitudes
// below 1e-5 or from 1e15 on, in exponent notation («1e-7», «2,5e20»).
std::string DoubleLiteralText(long double value, int digits, char separator) {
  char buffer[128];
  const int exponent = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
  std::string text;
  if (exponent < -5 || exponent >= 15) {
    std::snprintf(buffer, sizeof buffer, "%.*Le", digits - 1, value);
    text = buffer;
    // "1.50e-07" -> "1.5e-7": no trailing zeros, no exponent sign "+" or
    // leading zeros.
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    std::string power = text.substr(e + 1);
    if (mantissa.find('.') != std::string::npos) {
      while (mantissa.back() == '0') mantissa.pop_back();
      if (mantissa.back() == '.') mantissa.pop_back();
    }
    const bool negative = power[0] == '-';
    const size_t start = power.find_first_not_of("+-0");
    power = start == std::string::npos ? "0" : power.substr(start);
    text = mantissa + "e" + (negative ? "-" : "") + power;
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*Lf", std::max(0, digits - 1 - exponent), value);
    text = buffer;
    if (text.find('.') == std::string::npos) text += ".0";
    while (text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
  }
  for (char& c : text)
    if (c == '.') c = separator;
  return text;
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
  if (!FResult) return FTokenText;
  const TFormatSettings& settings = FormatSettings();
  std::string text = FResult->ToText(settings);
  if (FTokenKind != jlkIntegerConstant && FTokenKind != jlkDoubleConstant) return text;
  if (ReadsBackAs(text, FTokenKind, *FResult, settings)) return text;
  // The display text would read back as another number or type: the
  // shortest text that reads back as this literal.
  if (const auto* number = dynamic_cast<const TJUXVar_Double*>(FResult.get());
      number && FTokenKind == jlkDoubleConstant && std::isfinite(number->Value())) {
    for (int digits = 1; digits <= 21; ++digits) {
      std::string candidate = DoubleLiteralText(number->Value(), digits, settings.DecimalSeparator);
      if (ReadsBackAs(candidate, FTokenKind, *FResult, settings)) return candidate;
    }
  }
  return ReadsBackAs(FTokenText, FTokenKind, *FResult, settings) ? FTokenText : text;
}
