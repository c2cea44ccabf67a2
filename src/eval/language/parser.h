#pragma once
// The JUX parser: turns a token list into a tree of TJUXExpression nodes by
// recursive splitting. At each level it strips enclosing parentheses, splits
// at the binary operator of lowest precedence outside brackets (the
// rightmost of equal ones, so every binary operator is left-associative),
// and otherwise reads a unary operator, a function call, a set literal, a
// literal, a named constant, a special variable or an attribute name.
//
// Errors are reported through the token list (kind 1, with the position of
// the offending token); a part that does not parse yields no node, and the
// enclosing function node keeps an empty parameter slot. A tree whose root
// has its error flag set must not be prepared or evaluated.

#include <cstdint>
#include <memory>
#include <vector>

#include "eval/language/tokenizer.h"

class TJUXExpression;

// How deeply parts may nest: each call, argument list, unary operator and
// bracket group other than an operator expression is one level; an operator
// expression, however many operators it chains and however its operands are
// bracketed, is one level. Deeper text reports "Expression nested too
// deeply" instead of exhausting the stack of the parser. The finished tree is
// held to the same bound for the calls that preparing and evaluating make
// (EvaluationDepth): long chains they walk in a loop cost nothing there, but
// change-of-scope chains and operands nested on the right cost a level each.
inline constexpr int kJUXMaxParseDepth = 500;

// The node the tokens form, below Parent (none for a root); nullptr when they
// form none (an error has then been reported). The caller owns the node.
// Tokens may be null (a slice that could not be cut): no node, no message.
std::unique_ptr<TJUXExpression> BuildExpression(TJUXTokens* tokens, TJUXExpression* parent);

// Where a token list splits.
struct TJUXSplit {
  enum TKind : uint8_t { None, Binary, Unary } Kind = None;
  int Row = -1;         // row in the binary or unary operator table
  int TokenIndex = -1;  // the binary operator's token (0 for unary)
};
TJUXSplit FindSplitOperator(TJUXTokens& tokens);

// A binary operator outside brackets where a list may split.
struct TJUXSplitCandidate {
  int TokenIndex;
  int Row;    // row in the binary operator table
  int Level;  // its precedence level
};
// Every place where the list may split, in text order, found in one walk
// over the list's top level (bracket groups are skipped in one step; a group
// that does not close reports the missing bracket and ends the walk).
void FindSplitCandidates(TJUXTokens& tokens, std::vector<TJUXSplitCandidate>& candidates);

// What identifier token 0 names, looked up in this order.
struct TJUXIdentifier {
  enum TKind : uint8_t { Function, Constant, SpecialVariable, Attribute } Kind = Attribute;
  int Index = -1;  // registry row, constant row or special-variable index
};
TJUXIdentifier ClassifyIdentifier(const TJUXTokens& tokens);

// One token list per argument between the brackets Open and Close that
// enclose the whole list, split at top-level ";". An empty list has no
// arguments; a list not enclosed reports the missing bracket.
TJUXTokenArray ParseArguments(TJUXTokens* tokens, uint8_t openKind, uint8_t closeKind);
// The lists between top-level tokens of Kind; a trailing separator adds
// nothing, two adjacent ones an empty list.
TJUXTokenArray SplitTokens(TJUXTokens& tokens, uint8_t kind);

// Rows of the lower-cased text of ID token Index in the registry, the
// constant table and the special variables of the tokens' expression's root;
// -1 when absent or when the token is not an ID.
int FunctionIndex(const TJUXTokens& tokens, int index);
int ConstantIndex(const TJUXTokens& tokens, int index);
int SpecialVariableIndex(const TJUXTokens& tokens, int index);
// Rows of token Index's kind in the binary or unary operator table; -1 if none.
int BinaryOperatorIndex(const TJUXTokens& tokens, int index);
int UnaryOperatorIndex(const TJUXTokens& tokens, int index);
