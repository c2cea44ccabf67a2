#include "eval/language/parser.h"

#include <array>
#include <limits>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "eval/functions/lookups/set_functions.h"
#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "eval/language/registry.h"

namespace {

std::unique_ptr<TJUXExpression> BuildNode(TJUXTokens* tokens, TJUXExpression* parent);

// The argument slices of one function node, parsed on demand by the node's
// constructor with the node as parent.
class TJUXSliceParams final : public TJUXParamSource {
 public:
  explicit TJUXSliceParams(TJUXTokenArray slices) : FSlices(std::move(slices)) {}
  int Count() const override { return static_cast<int>(FSlices.size()); }
  std::unique_ptr<TJUXExpression> Build(int index, TJUXExpression& parent) override {
    return BuildNode(FSlices[static_cast<size_t>(index)], &parent);
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

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// An identifier's lower-cased text, or nothing for another kind of token.
bool LowerIdentifier(const TJUXTokens& tokens, int index, std::string& lower) {
  if (index < 0 || index >= tokens.Count() || tokens.Kind(index) != jtkID) return false;
  lower = LowerAscii(tokens.Token(index).Text);
  return true;
}

// A name or literal reads one token; more tokens after it are reported at
// the first of them.
void RejectTrailingTokens(TJUXTokens& tokens) {
  if (tokens.Count() > 1) tokens.Error("Syntax error, unused characters in input", 1);
}

std::unique_ptr<TJUXExpression> BuildIdentifier(TJUXTokens& tokens, TJUXExpression* parent) {
  const TJUXIdentifier id = ClassifyIdentifier(tokens);
  const TJUXTokenInfo& token = tokens.Token(0);
  std::unique_ptr<TJUXExpression> node;
  switch (id.Kind) {
    case TJUXIdentifier::Function: {
      // A name with nothing after it is a call without arguments.
      const TJUXTokenArray arguments = ParseArguments(tokens.Slice(1, tokens.Count() - 1), jtkOpenParen, jtkCloseParen);
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

// The binary operators of one list as a tree: the rightmost operator of the
// lowest level is the root, the operators left of it form its left operand
// and those right of it its right operand, recursively (what splitting the
// text again and again would give). Operator -1 stands for the operand
// between two neighbouring operators.
struct TOperatorList {
  TJUXTokens* Tokens;
  std::vector<TJUXSplitCandidate> Ops;
  std::vector<std::array<int, 2>> Below;  // per operator: the operators below its left and right side
  int Root = -1;
};

// Open is scratch space: the right edge of the tree so far, levels rising.
void ArrangeOperators(TOperatorList& list, std::vector<int>& open) {
  const std::vector<TJUXSplitCandidate>& ops = list.Ops;
  list.Below.assign(ops.size(), {-1, -1});
  open.clear();
  for (int i = 0; i < static_cast<int>(ops.size()); ++i) {
    int below = -1;
    while (!open.empty() && ops[static_cast<size_t>(open.back())].Level >= ops[static_cast<size_t>(i)].Level) {
      below = open.back();
      open.pop_back();
    }
    list.Below[static_cast<size_t>(i)][0] = below;
    if (!open.empty()) list.Below[static_cast<size_t>(open.back())][1] = i;
    open.push_back(i);
  }
  list.Root = open.front();
}

// The tokens of the operand on one side of an operator.
TJUXTokens* OperandTokens(const TOperatorList& list, int op, int side) {
  const std::vector<TJUXSplitCandidate>& ops = list.Ops;
  const auto at = static_cast<size_t>(op);
  // An operand in brackets that holds an operator expression is built in the
  // same loop, so it costs no stack and no depth: a printed chain, which
  // brackets every left operand («((a - b) - c) - d»), reads back however
  // long it is.
  if (side == 0) return list.Tokens->Slice(op > 0 ? ops[at - 1].TokenIndex + 1 : 0, ops[at].TokenIndex - 1, false);
  return list.Tokens->Slice(ops[at].TokenIndex + 1,
                            at + 1 < ops.size() ? ops[at + 1].TokenIndex - 1 : list.Tokens->Count() - 1, false);
}

// Builds the nodes of the operators top-down and left to right, exactly as
// the recursive construction would (each node is created, then its left
// operand, then its right one, then the node's construction ends), but with
// an explicit stack, so a chain of any length costs no stack. Operands are
// parsed by BuildExpression below their node, except operator expressions
// in brackets, which join the loop.
std::unique_ptr<TJUXExpression> BuildOperatorTree(TJUXTokens& tokens, TJUXExpression* parent,
                                                  std::vector<TJUXSplitCandidate> ops) {
  const std::span<const TJUXOperatorSpecs> binary = JUXBinaryOperators();
  std::vector<std::unique_ptr<TOperatorList>> lists;
  std::vector<int> scratch;
  const auto addList = [&](TJUXTokens* list, std::vector<TJUXSplitCandidate> listOps) {
    lists.push_back(std::make_unique<TOperatorList>(TOperatorList{list, std::move(listOps), {}, -1}));
    ArrangeOperators(*lists.back(), scratch);
    return lists.back().get();
  };
  struct TFrame {
    std::unique_ptr<TJUXFunction> Node;
    const TOperatorList* List;
    int Op;
    int Next;  // the parameter to build next
  };
  std::vector<TFrame> frames;
  std::unique_ptr<TJUXExpression> result;
  const auto deliver = [&](std::unique_ptr<TJUXExpression> node) {
    if (frames.empty())
      result = std::move(node);
    else
      frames.back().Node->SetParam(frames.back().Next - 1, std::move(node));
  };
  const auto start = [&](const TOperatorList* list, int op, TJUXExpression* above) {
    const TJUXOperatorSpecs& spec = binary[static_cast<size_t>(list->Ops[static_cast<size_t>(op)].Row)];
    std::unique_ptr<TJUXFunction> node = spec.Class->NewInstance(above);
    if (node->BeginConstruct(JUXFunctionTables(), true, 2)) {
      frames.push_back({std::move(node), list, op, 0});
      return;
    }
    node->EndConstruct();
    deliver(std::move(node));
  };
  const TOperatorList* top = addList(&tokens, std::move(ops));
  start(top, top->Root, parent);
  std::vector<TJUXSplitCandidate> inner;
  while (!frames.empty()) {
    TFrame& frame = frames.back();
    if (frame.Next == 2) {
      std::unique_ptr<TJUXFunction> node = std::move(frame.Node);
      frames.pop_back();
      node->EndConstruct();
      deliver(std::move(node));
      continue;
    }
    const int side = frame.Next++;
    frame.Node->BeginParam(side);
    const TOperatorList* list = frame.List;
    TJUXFunction* const node = frame.Node.get();
    const int below = list->Below[static_cast<size_t>(frame.Op)][static_cast<size_t>(side)];
    if (below >= 0) {
      start(list, below, node);
      continue;
    }
    TJUXTokens* const operand = OperandTokens(*list, frame.Op, side);
    if (operand && operand->StripOuterPairs(jtkOpenParen, jtkCloseParen) > 0) {
      FindSplitCandidates(*operand, inner);
      if (!inner.empty()) {
        const TOperatorList* bracketed = addList(operand, std::move(inner));
        inner.clear();
        start(bracketed, bracketed->Root, node);
        continue;
      }
    }
    // Anything else is one level deeper.
    node->SetParam(side, BuildNode(operand ? operand->Deepen() : nullptr, node));
  }
  return result;
}

}  // namespace

int FunctionIndex(const TJUXTokens& tokens, int index) {
  std::string lower;
  return LowerIdentifier(tokens, index, lower) ? JUXFunctionIndexOfName(lower) : -1;
}

int ConstantIndex(const TJUXTokens& tokens, int index) {
  std::string lower;
  return LowerIdentifier(tokens, index, lower) ? JUXConstantIndexOfName(lower) : -1;
}

int SpecialVariableIndex(const TJUXTokens& tokens, int index) {
  std::string lower;
  if (!LowerIdentifier(tokens, index, lower)) return -1;
  // The special variables are root data; the token list may have been made
  // for an inner node (the eval function parses below itself).
  const TSpecVarList& vars = tokens.Expression()->Root()->SpecialVariables();
  for (size_t i = 0; i < vars.size(); ++i)
    if (vars[i].Name == lower) return static_cast<int>(i);
  return -1;
}

int BinaryOperatorIndex(const TJUXTokens& tokens, int index) {
  if (index < 0 || index >= tokens.Count()) return -1;
  return JUXBinaryOperatorIndexOfKind(tokens.Kind(index));
}

int UnaryOperatorIndex(const TJUXTokens& tokens, int index) {
  if (index < 0 || index >= tokens.Count()) return -1;
  return JUXUnaryOperatorIndexOfKind(tokens.Kind(index));
}

TJUXIdentifier ClassifyIdentifier(const TJUXTokens& tokens) {
  if (const int row = FunctionIndex(tokens, 0); row >= 0) return {TJUXIdentifier::Function, row};
  if (const int row = ConstantIndex(tokens, 0); row >= 0) return {TJUXIdentifier::Constant, row};
  if (const int row = SpecialVariableIndex(tokens, 0); row >= 0) return {TJUXIdentifier::SpecialVariable, row};
  return {TJUXIdentifier::Attribute, -1};
}

TJUXSplit FindSplitOperator(TJUXTokens& tokens) {
  std::vector<TJUXSplitCandidate> candidates;
  FindSplitCandidates(tokens, candidates);
  TJUXSplit split;
  int bestLevel = std::numeric_limits<int32_t>::max();
  // "<=" lets the rightmost of equal levels win: left-associativity.
  for (const TJUXSplitCandidate& candidate : candidates) {
    if (candidate.Level > bestLevel) continue;
    bestLevel = candidate.Level;
    split = {TJUXSplit::Binary, candidate.Row, candidate.TokenIndex};
  }
  if (split.Kind == TJUXSplit::None) {
    if (const int row = UnaryOperatorIndex(tokens, 0); row >= 0) split = {TJUXSplit::Unary, row, 0};
  }
  return split;
}

void FindSplitCandidates(TJUXTokens& tokens, std::vector<TJUXSplitCandidate>& candidates) {
  const std::span<const TJUXOperatorSpecs> binary = JUXBinaryOperators();
  candidates.clear();
  int last = -2;  // index of the last operator seen
  const int count = tokens.Count();
  for (int i = 0; i < count; ++i) {
    const uint8_t kind = tokens.Kind(i);
    if (kind == jtkOpenParen || kind == jtkOpenBracket) {
      // Nothing inside a group is looked at; a group that does not close
      // ends the walk.
      const int end = tokens.GroupEnd(i);
      i = end >= 0 ? end : tokens.FindClosing(i + 1, kind == jtkOpenParen ? jtkCloseParen : jtkCloseBracket);
      continue;
    }
    // First, or right after another operator: a unary operator.
    if (UnaryOperatorIndex(tokens, i) >= 0 && (i == 0 || i <= last + 1)) {
      last = i;
      continue;
    }
    const int row = BinaryOperatorIndex(tokens, i);
    if (row < 0) continue;
    if (i > 0 && i > last + 1) candidates.push_back({i, row, binary[static_cast<size_t>(row)].Level});
    last = i;
  }
}

TJUXTokenArray SplitTokens(TJUXTokens& tokens, uint8_t kind) {
  TJUXTokenArray parts;
  int start = 0;
  while (start < tokens.Count()) {
    int end = tokens.FindMatching(start, kind, +1);
    if (end < 0) end = tokens.Count();
    parts.push_back(tokens.Slice(start, end - 1));
    start = end + 1;
  }
  return parts;
}

TJUXTokenArray ParseArguments(TJUXTokens* tokens, uint8_t openKind, uint8_t closeKind) {
  if (!tokens || tokens->Count() == 0) return {};
  // Every enclosing pair goes, so f((a; b)) has the arguments of f(a; b).
  if (tokens->StripOuterPairs(openKind, closeKind) > 0) return SplitTokens(*tokens, jtkSemicolon);
  if (tokens->Expect(openKind, 0)) tokens->Expect(closeKind, tokens->Count());
  return {};
}

std::unique_ptr<TJUXExpression> BuildExpression(TJUXTokens* tokens, TJUXExpression* parent) {
  std::unique_ptr<TJUXExpression> node = BuildNode(tokens, parent);
  // Operator expressions cost the parser no depth, but bracketed operands
  // nested on the right, or chains that Prepare and EvaluateEx do not walk
  // in a loop, still cost those passes one call each: bound what they need.
  // The root is level 1, so a tree the parser's own bound admits has
  // kJUXMaxParseDepth + 1 levels.
  constexpr int kMaxLevels = kJUXMaxParseDepth + 1;
  if (node && EvaluationDepth(*node, kMaxLevels) > kMaxLevels) {
    tokens->Error("Expression nested too deeply", 0);
    return nullptr;
  }
  return node;
}

namespace {

std::unique_ptr<TJUXExpression> BuildNode(TJUXTokens* tokens, TJUXExpression* parent) {
  if (!tokens) return nullptr;
  // Every bracket group, call, argument and unary operator is parsed one
  // slice deeper than the text that holds it, so the slice depth bounds the
  // recursion here and in the passes over the tree that recurse (operator
  // chains are built and walked without recursion and cost one level).
  if (tokens->Depth() > kJUXMaxParseDepth) {
    tokens->Error("Expression nested too deeply", 0);
    return nullptr;
  }
  tokens->StripOuterPairs(jtkOpenParen, jtkCloseParen);
  std::vector<TJUXSplitCandidate> candidates;
  FindSplitCandidates(*tokens, candidates);
  if (!candidates.empty()) return BuildOperatorTree(*tokens, parent, std::move(candidates));
  const int count = tokens->Count();
  if (const int row = UnaryOperatorIndex(*tokens, 0); row >= 0) {
    const TJUXOperatorSpecs& op = JUXUnaryOperators()[static_cast<size_t>(row)];
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
                          ParseArguments(tokens, jtkOpenBracket, jtkCloseBracket));
  }
  tokens->Error("Syntax error, unexpected \"" + first.Text + "\"", 0);
  return nullptr;
}

}  // namespace
