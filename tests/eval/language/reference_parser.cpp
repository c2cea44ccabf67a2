// The reference parser (see the header): the recursive-splitting parser as
// it was, in its own namespace; identifier lookup and argument splitting,
// which did not change, are the parser's own.
#include "eval/language/reference_parser.h"

#include <limits>
#include <string>
#include <utility>

#include "eval/functions/lookups/set_functions.h"
#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "eval/language/parser.h"
#include "eval/language/registry.h"

namespace JUXReference {

namespace {

std::unique_ptr<TJUXExpression> RefBuildExpression(TJUXTokens* tokens, TJUXExpression* parent);

// The argument slices of one function node, parsed on demand by the node's
// constructor with the node as parent.
class TJUXSliceParams final : public TJUXParamSource {
 public:
  explicit TJUXSliceParams(TJUXTokenArray slices) : FSlices(std::move(slices)) {}
  int Count() const override { return static_cast<int>(FSlices.size()); }
  std::unique_ptr<TJUXExpression> Build(int index, TJUXExpression& parent) override {
    return RefBuildExpression(FSlices[static_cast<size_t>(index)], &parent);
  }
  const TJUXFunctionTables& Tables() const override { return JUXFunctionTables(); }

 private:
  TJUXTokenArray FSlices;
};

std::unique_ptr<TJUXExpression> CreateFunction(const TJUXFunctionClass& cls, TJUXExpression* parent,
                                               bool operatorSyntax, TJUXTokenArray arguments) {
  TJUXSliceParams params(std::move(arguments));
  return cls.Create(parent, operatorSyntax, params);
}

// A name or literal reads one token; more tokens after it are reported at
// the first of them.
void RejectTrailingTokens(TJUXTokens& tokens) {
  if (tokens.Count() > 1) tokens.Error("Syntax error, unused characters in input", 1);
}

std::unique_ptr<TJUXExpression> BuildIdentifier(TJUXTokens& tokens, TJUXExpression* parent) {
  const TJUXIdentifier id = ::ClassifyIdentifier(tokens);
  const TJUXTokenInfo& token = tokens.Token(0);
  std::unique_ptr<TJUXExpression> node;
  switch (id.Kind) {
    case TJUXIdentifier::Function: {
      // A name with nothing after it is a call without arguments.
      const TJUXTokenArray arguments = ::ParseArguments(tokens.Slice(1, tokens.Count() - 1), jtkOpenParen, jtkCloseParen);
      return CreateFunction(*JUXFunctionRegistry()[static_cast<size_t>(id.Index)].Class, parent, false, arguments);
    }
    case TJUXIdentifier::Constant: {
      const TJUXConstantsRecord& constant = JUXConstants()[static_cast<size_t>(id.Index)];
      node = std::make_unique<TJUXExpr_Const>(parent, id.Index, std::string(constant.Name), *constant.Value,
                                              token.Kind, token.Text);
      break;
    }
    case TJUXIdentifier::SpecialVariable:
      node = std::make_unique<TJUXExpr_SpecVar>(parent, id.Index);
      break;
    case TJUXIdentifier::Attribute:
      node = std::make_unique<TJUXExpr_Var>(parent, token.Text);
      break;
  }
  RejectTrailingTokens(tokens);
  return node;
}

bool IsLiteral(uint8_t kind) {
  return kind == jtkStringConstant || kind == jtkStringConstChar || kind == jtkDoubleConstant ||
         kind == jtkIntegerConstant;
}

TJUXSplit RefFindSplitOperator(TJUXTokens& tokens) {
  const std::span<const TJUXOperatorSpecs> binary = JUXBinaryOperators();
  int bestLevel = std::numeric_limits<int32_t>::max();
  int last = -2;  // index of the last operator seen
  TJUXSplit split;
  for (int i = 0; i < tokens.Count(); ++i) {
    const uint8_t kind = tokens.Kind(i);
    if (kind == jtkOpenParen) {
      i = tokens.FindClosing(i + 1, jtkCloseParen);
      continue;
    }
    if (kind == jtkOpenBracket) {
      i = tokens.FindClosing(i + 1, jtkCloseBracket);
      continue;
    }
    // First, or right after another operator: a unary operator.
    if (::UnaryOperatorIndex(tokens, i) >= 0 && (i == 0 || i <= last + 1)) {
      last = i;
      continue;
    }
    const int row = ::BinaryOperatorIndex(tokens, i);
    if (row < 0) continue;
    // "<=" lets the rightmost of equal levels win: left-associativity.
    const int level = binary[static_cast<size_t>(row)].Level;
    if (i > 0 && level <= bestLevel && i > last + 1) {
      bestLevel = level;
      split = {TJUXSplit::Binary, row, i};
    }
    last = i;
  }
  if (split.Kind == TJUXSplit::None) {
    if (const int row = ::UnaryOperatorIndex(tokens, 0); row >= 0) split = {TJUXSplit::Unary, row, 0};
  }
  return split;
}

std::unique_ptr<TJUXExpression> RefBuildExpression(TJUXTokens* tokens, TJUXExpression* parent) {
  if (!tokens) return nullptr;
  // Each part is parsed one slice deeper than the text that holds it, so the
  // slice depth bounds the recursion here and in every pass over the tree.
  if (tokens->Depth() > kMaxParseDepth) {
    tokens->Error("Expression nested too deeply", 0);
    return nullptr;
  }
  tokens->StripOuterPairs(jtkOpenParen, jtkCloseParen);
  const TJUXSplit split = RefFindSplitOperator(*tokens);
  const int count = tokens->Count();
  if (split.Kind == TJUXSplit::Binary) {
    const TJUXOperatorSpecs& op = JUXBinaryOperators()[static_cast<size_t>(split.Row)];
    TJUXTokenArray operands{tokens->Slice(0, split.TokenIndex - 1), tokens->Slice(split.TokenIndex + 1, count - 1)};
    return CreateFunction(*op.Class, parent, true, std::move(operands));
  }
  if (split.Kind == TJUXSplit::Unary) {
    const TJUXOperatorSpecs& op = JUXUnaryOperators()[static_cast<size_t>(split.Row)];
    return CreateFunction(*op.Class, parent, true, TJUXTokenArray{tokens->Slice(1, count - 1)});
  }
  if (count == 0) {
    tokens->Error("Expression expected", 0);
    return nullptr;
  }
  const TJUXTokenInfo& first = tokens->Token(0);
  if (first.Kind == jtkID) return BuildIdentifier(*tokens, parent);
  if (IsLiteral(first.Kind)) {
    auto node = std::make_unique<TJUXExpr_Const>(parent, first.Kind, first.Text);
    RejectTrailingTokens(*tokens);
    return node;
  }
  if (first.Kind == jtkOpenBracket) {
    // A set literal: the node of setjoin, printed in brackets.
    return CreateFunction(*JUXFunctionClass<TJUXFunc_SetJoin>(), parent, true,
                          ::ParseArguments(tokens, jtkOpenBracket, jtkCloseBracket));
  }
  tokens->Error("Syntax error, unexpected \"" + first.Text + "\"", 0);
  return nullptr;
}

}  // namespace

std::unique_ptr<TJUXExpression> BuildExpression(TJUXTokens* tokens, TJUXExpression* parent) {
  return RefBuildExpression(tokens, parent);
}

}  // namespace JUXReference
