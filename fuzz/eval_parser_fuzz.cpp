// Tokenizing and parsing arbitrary text: no crash, no hang, no exception.
// Text that parses without error prints back to text that parses without
// error again, and a tree can always be printed, cloned and freed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "eval/language/expression.h"
#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "fixed_clock.h"

namespace {

class TFuzzRoot final : public TJUXExpression {
 public:
  explicit TFuzzRoot(char decimalSeparator) : TJUXExpression(nullptr) {
    FormatSettings().DecimalSeparator = decimalSeparator;
    SetAllowedScopes(jsmAll);
    SetClock(&FixedFuzzClock);
  }
  void Evaluate(TTreeMapNode*, bool) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }
  void Prepare(TTreeMapNode*) override {}
};

// Parses even when the text does not scan cleanly: the token list is usable
// after a lexical error, and the parser must cope with what it holds.
std::unique_ptr<TJUXExpression> Parse(TJUXExpression& root, std::string_view text) {
  TJUXTokens tokens(text, &root);
  // Tokens stand in text order, each at a position inside the text.
  int previous = 0;
  for (int i = 0; i < tokens.Count(); ++i) {
    const int position = tokens.Token(i).Position;
    if (position <= previous || position > static_cast<int>(text.size())) abort();
    previous = position;
  }
  return BuildExpression(&tokens, &root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the decimal separator, so both number forms occur.
  const char separator = (data[0] & 1) ? ',' : '.';
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  TFuzzRoot root(separator);
  std::unique_ptr<TJUXExpression> node = Parse(root, text);
  if (!node) return 0;
  const std::string printed = node->AsText();
  const std::unique_ptr<TJUXExpression> copy = node->Clone();
  if (!copy) abort();
  if (root.HasError()) return 0;

  TFuzzRoot again(separator);
  const std::unique_ptr<TJUXExpression> reparsed = Parse(again, printed);
  if (!reparsed || again.HasErrorKind(jeSyntax)) abort();
  return 0;
}
