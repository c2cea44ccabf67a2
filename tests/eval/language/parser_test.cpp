#include "eval/language/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/functions/lookups/set_functions.h"
#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "eval/language/registry.h"
#include "eval/values/scalar_vars.h"
#include "foundation/format_settings.h"

namespace {

class TTestRoot final : public TJUXExpression {
 public:
  TTestRoot() : TJUXExpression(nullptr) { SetAllowedScopes(jsmAll); }
  void Evaluate(TTreeMapNode*, bool) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }
  void Prepare(TTreeMapNode*) override {}
};

// The host protocol up to the tree: tokenize, then build unless the text
// does not scan.
std::unique_ptr<TJUXExpression> Parse(TJUXExpression& root, const std::string& text) {
  TJUXTokens tokens(text, &root);
  if (root.HasError()) return nullptr;
  return BuildExpression(&tokens, &root);
}

// The tree fully parenthesised, independent of the printer: binary nodes as
// "(l op r)", unary as "(op x)", calls as "name[args]", empty slots "?".
std::string Shape(const TJUXExpression* node) {
  if (!node) return "?";
  const auto* f = dynamic_cast<const TJUXFunction*>(node);
  if (!f) return node->AsText();
  const TJUXFuncInfo& info = f->FunctionInfo();
  const bool setLiteral = f->OperatorSyntax() && f->FunctionClass() == JUXFunctionClass<TJUXFunc_SetJoin>();
  if (f->OperatorSyntax() && f->ParamCount() == 2 && info.BinaryOperatorIndex >= 0) {
    const auto& row = JUXBinaryOperators()[static_cast<size_t>(info.BinaryOperatorIndex)];
    return "(" + Shape(f->Param(0)) + " " + std::string(JUXKindRow(row.TokenKind)->Text) + " " + Shape(f->Param(1)) +
           ")";
  }
  if (f->OperatorSyntax() && f->ParamCount() == 1 && !setLiteral) {
    const auto& row = JUXUnaryOperators()[static_cast<size_t>(info.UnaryOperatorIndex)];
    return "(" + std::string(JUXKindRow(row.TokenKind)->Text) + " " + Shape(f->Param(0)) + ")";
  }
  std::string text = (setLiteral ? "set" : info.Name) + "[";
  for (int i = 0; i < f->ParamCount(); ++i) text += (i ? ", " : "") + Shape(f->Param(i));
  return text + "]";
}

struct TShapeCase {
  const char* Text;
  const char* Shape;
};

TEST(JUXParser, PrecedenceAndAssociativity) {
  const std::vector<TShapeCase> cases = {
      {"a + b * c ^ 2", "(a + (b * (c ^ 2)))"},
      {"2 ^ 3 ^ 2", "((2 ^ 3) ^ 2)"},
      {"a - b - c", "((a - b) - c)"},
      {"a max b + c", "((a max b) + c)"},
      {"a min b max c", "((a min b) max c)"},
      {"a / b mod c * d", "(((a / b) mod c) * d)"},
      {"parent.x + 1", "((parent[] . x) + 1)"},
      {"a.b.c", "((a . b) . c)"},
      {"a = b and c", "((a = b) and c)"},
      {"a < b or c >= d xor e <> f", "(((a < b) or (c >= d)) xor (e <> f))"},
      {"a <= b = c > d", "(((a <= b) = c) > d)"},
      {"-a^2", "((- a) ^ 2)"},
      {"not a and b", "((not a) and b)"},
      {"a - -b", "(a - (- b))"},
      {"+a", "(+ a)"},
      {"- - a", "(- (- a))"},
      {"not -a", "(not (- a))"},
      {"not not a or b", "((not (not a)) or b)"},
      {"a * -b ^ c", "(a * ((- b) ^ c))"},
      {"((a + b))", "(a + b)"},
      {"(a) + (b)", "(a + b)"},
      {"(a + b) * c", "((a + b) * c)"},
      {"a * (b - c)", "(a * (b - c))"},
      {"MaxF(1; 2)", "maxf[1, 2]"},
      {"maxf((1; 2))", "maxf[1, 2]"},
      {"sqrt(a + b) * 2", "(sqrt[(a + b)] * 2)"},
      // Set literals where a set is accepted.
      {"sum([1; 2; 3])", "sum[set[1, 2, 3]]"},
      {"sum([1; [2]] + 1)", "sum[(set[1, set[2]] + 1)]"},
  };
  for (const TShapeCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    const auto node = Parse(root, c.Text);
    EXPECT_EQ(Shape(node.get()), c.Shape);
    EXPECT_EQ(root.Errors(), std::vector<std::string>{});
  }
}

TEST(JUXParser, LeavesAndNames) {
  TTestRoot root;
  TSpecVarList vars;
  vars.push_back({"myvar", TJUXVar_Double::CreateWithValue(4)});
  vars.push_back({"Upper", TJUXVar_Double::CreateWithValue(5)});
  root.SetSpecialVariables(std::move(vars));
  struct TCase {
    const char* Text;
    const char* Printed;
  };
  const TCase cases[] = {
      {"PI", "pi"},          {"Infinity", "infinity"}, {"TRUE", "true"}, {"MyVar", "myvar"},
      {"Upper", "Upper"},    // a special variable matches only when listed in lower case
      {"Sales_2", "Sales_2"}, {"'it''s'", "'it''s'"}, {"#65", "#65"},   {"$1F", "$1F"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    const auto node = Parse(root, c.Text);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->AsText(), c.Printed);
  }
  EXPECT_TRUE(root.Errors().empty());

  const auto pi = Parse(root, "pi");
  const auto* constant = dynamic_cast<const TJUXExpr_Const*>(pi.get());
  ASSERT_NE(constant, nullptr);
  EXPECT_EQ(constant->ConstRow(), 0);
  EXPECT_DOUBLE_EQ(constant->Result()->AsDouble(nullptr), 3.141592653589793);
  EXPECT_NE(dynamic_cast<const TJUXExpr_SpecVar*>(Parse(root, "MYVAR").get()), nullptr);
  const auto attribute = Parse(root, "Upper");
  ASSERT_NE(dynamic_cast<const TJUXExpr_Var*>(attribute.get()), nullptr);
  EXPECT_EQ(dynamic_cast<const TJUXExpr_Var*>(attribute.get())->Name(), "Upper");
}

TEST(JUXParser, FunctionNamesShadowConstantsAndAttributes) {
  TTestRoot root;
  const auto node = Parse(root, "SQRT");
  const auto* f = dynamic_cast<const TJUXFunction*>(node.get());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FunctionInfo().Name, "sqrt");
  EXPECT_EQ(root.Errors(), std::vector<std::string>{"Not enough parameters for function \"sqrt\""});
}

// Only the first syntax message reaches the root; further messages in a
// case's list would be of other kinds (a set literal where the root takes
// no set adds kind 8), so the first message is the one to compare.
struct TErrorCase {
  const char* Text;
  std::string Error;
};

TEST(JUXParser, SyntaxErrors) {
  const std::vector<TErrorCase> cases = {
      {"max(1; 2)", "1: Syntax error, unexpected \"max\""},
      {"sqrt(a, b)", "7: Syntax error, unused characters in input"},
      {"maxf(a, b)", "Not enough parameters for function \"maxf\""},
      {"minus(1)", "Not enough parameters for function \"minus\""},
      {"power(1; 2; 3)", "Too many parameters for function \"power\""},
      {"[]", "Not enough parameters for function \"setjoin\""},
      {"(a", "\")\" expected"},
      {"[a; b", "\"]\" expected"},
      {"a b", "3: Syntax error, unused characters in input"},
      {"1 2", "3: Syntax error, unused characters in input"},
      {"pi 2", "4: Syntax error, unused characters in input"},
      // The parameter-count error that follows is of the same kind: dropped.
      {"sqrt x", "6: \"(\" expected"},
      {"sqrt(x) y", "\")\" expected"},
      {"maxf(a;;b)", "8: Expression expected"},
      // Parentheses group; they do not make an argument list.
      {"maxf(1; (2; 3))", "11: Syntax error, unused characters in input"},
      // The second "*" cannot be binary; the right part "* b" starts with it.
      {"a * * b", "5: Syntax error, unexpected \"*\""},
      {"a +", "Expression expected"},
      {"()", "Expression expected"},
      {")", "1: Syntax error, unexpected \")\""},
      {"a ; b", "3: Syntax error, unused characters in input"},
      // An unknown name is an attribute, which reads one token.
      {"f(x)", "2: Syntax error, unused characters in input"},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    Parse(root, c.Text);
    ASSERT_FALSE(root.Errors().empty());
    EXPECT_EQ(root.Errors().front(), c.Error);
    EXPECT_TRUE(root.HasErrorKind(jeSyntax));
  }
  // Later syntax messages of the same parse are dropped at the root.
  for (const char* text : {"(a", "sqrt x", "a b c d", "! @ ("}) {
    SCOPED_TRACE(text);
    TTestRoot root;
    TJUXTokens tokens(text, &root);
    BuildExpression(&tokens, &root);
    EXPECT_EQ(root.Errors().size(), 1u);
  }
}

TEST(JUXParser, PrintsWithTheFewestParentheses) {
  struct TCase {
    const char* Text;
    const char* Printed;
  };
  const TCase cases[] = {
      {"a - (b - c)", "a - (b - c)"}, {"(a - b) - c", "(a - b) - c"}, {"a + b * c", "a + b * c"},
      {"(a + b) * c", "(a + b) * c"}, {"a.b", "a . b"},                {"-a", "- a"},
      {"not (a and b)", "not (a and b)"}, {"1.50 + x", "1.5 + x"},
      {"MAXF( a ;b+1 )", "maxf(a; b + 1)"}, {"sum([1;2; 3])", "sum([1; 2; 3])"},
      {"setjoin(1; 2)", "setjoin(1; 2)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    root.FormatSettings().DecimalSeparator = '.';
    const auto node = Parse(root, c.Text);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->AsText(), c.Printed);
  }
}

// A literal prints in the expression's format settings unless that text
// would read back as another number or type; then it prints the shortest
// text that reads back as the same literal. Either way the printed text
// parses to the same value of the same class.
TEST(JUXParser, LiteralsPrintAsTextThatReadsBack) {
  struct TCase {
    char Separator;
    const char* Text;
    const char* Printed;
  };
  const TCase cases[] = {
      {'.', "1.50", "1.5"},
      {'.', "2.0", "2.0"},
      {'.', "2", "2"},
      {'.', "0012", "12"},
      {'.', "$1F", "$1F"},
      {'.', "100.0", "100.0"},
      {'.', "0.5", "0.5"},
      {'.', "2e-3", "0.002"},
      {'.', "1e-7", "1e-7"},
      {'.', "1.5E-9", "1.5e-9"},
      {'.', "0.1234567", "0.1234567"},
      {'.', "123456.789", "123456.789"},
      {'.', "1e20", "1e20"},
      {'.', "2.5e15", "2.5e15"},
      {'.', "0.30000000000000004", "0.30000000000000004"},
      {'.', "0e5", "0.0"},
      {',', "2,0", "2,0"},
      {',', "1,50", "1,5"},
      {',', "1e-7", "1e-7"},
      {',', "3,25e-12", "3,25e-12"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    root.FormatSettings().DecimalSeparator = c.Separator;
    const auto node = Parse(root, c.Text);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->AsText(), c.Printed);
    const auto reparsed = Parse(root, node->AsText());
    ASSERT_NE(reparsed, nullptr);
    EXPECT_EQ(root.Errors(), std::vector<std::string>{});
    EXPECT_EQ(reparsed->Result()->TypeName(), node->Result()->TypeName());
    if (const auto* number = dynamic_cast<const TJUXVar_Double*>(node->Result()))
      EXPECT_EQ(dynamic_cast<const TJUXVar_Double&>(*reparsed->Result()).Value(), number->Value());
    else
      EXPECT_EQ(reparsed->Result()->ToText(root.FormatSettings()), node->Result()->ToText(root.FormatSettings()));
  }
  TTestRoot root;
  root.FormatSettings().DecimalSeparator = '.';
  EXPECT_EQ(Parse(root, "1e-7 + 2.0")->AsText(), "1e-7 + 2.0");
}

// Each root owns a copy of the user's record: the host adjusting one root
// changes neither the user's record nor any other root, earlier or later.
TEST(JUXParser, EachRootOwnsItsFormatSettings) {
  const TFormatSettings user = UserFormatSettings();
  const char other = user.DecimalSeparator == ',' ? '.' : ',';
  TTestRoot before;
  TTestRoot adjusted;
  adjusted.FormatSettings().DecimalSeparator = other;
  TTestRoot after;
  EXPECT_EQ(Parse(adjusted, std::string("1") + other + "5")->AsText(), std::string("1") + other + "5");
  EXPECT_EQ(adjusted.Errors(), std::vector<std::string>{});
  EXPECT_EQ(UserFormatSettings(), user);
  EXPECT_EQ(before.FormatSettings(), user);
  EXPECT_EQ(after.FormatSettings(), user);
}

// Text nested beyond the bound is refused with one message, whatever form the
// nesting takes, and never exhausts the stack.
TEST(JUXParser, BoundsTheNestingDepth) {
  const auto repeat = [](const std::string& part, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += part;
    return s;
  };
  constexpr int kDeep = 1500;
  std::vector<std::string> deep = {
      repeat("-", kDeep) + "a",
      repeat("not ", kDeep) + "a",
      repeat("-(", kDeep) + "a" + repeat(")", kDeep),
      repeat("sqrt(", kDeep) + "a" + repeat(")", kDeep),
      repeat("[a; ", kDeep) + "a" + repeat("]", kDeep),
  };
  for (const std::string& text : deep) {
    SCOPED_TRACE(text.substr(0, 20));
    TTestRoot root;
    Parse(root, text);
    ASSERT_FALSE(root.Errors().empty());
    EXPECT_NE(root.Errors().front().find("Expression nested too deeply"), std::string::npos);
  }
  // Redundant parentheses are stripped without recursion and cost no depth.
  TTestRoot root;
  const auto node = Parse(root, repeat("(", kDeep) + "a + b" + repeat(")", kDeep));
  EXPECT_TRUE(root.Errors().empty());
  EXPECT_EQ(Shape(node.get()), "(a + b)");
  // Nesting just inside the bound parses, prints and frees (the passes over
  // the tree recurse as deep as the parser did).
  TTestRoot nested;
  const auto deepest = Parse(nested, repeat("-(", kJUXMaxParseDepth / 2 - 1) + "a" + repeat(")", kJUXMaxParseDepth / 2 - 1));
  EXPECT_TRUE(nested.Errors().empty());
  ASSERT_NE(deepest, nullptr);
  const auto reparsed = Parse(nested, deepest->AsText());
  EXPECT_TRUE(nested.Errors().empty());
  EXPECT_TRUE(Shape(reparsed.get()) == Shape(deepest.get()));
  EXPECT_NE(deepest->Clone(), nullptr);
}

// The number of binary operator nodes down the chain of first parameters.
int LeftChainLength(const TJUXExpression* node) {
  int length = 0;
  for (const auto* f = dynamic_cast<const TJUXFunction*>(node); f && f->OperatorSyntax() && f->ParamCount() == 2;
       f = dynamic_cast<const TJUXFunction*>(f->Param(0)))
    ++length;
  return length;
}

// An operator expression is one level of nesting however many operators it
// chains: chains of 100,000 operators parse, at any place, and print, clone
// and free without recursion (these trees are far deeper than the stack
// would allow).
TEST(JUXParser, LongOperatorChains) {
  constexpr int kOperators = 100000;
  constexpr int kShorter = 20000;  // other shapes: deep enough to overflow any recursion
  const auto chain = [](const std::string& first, const std::string& step, int n) {
    std::string s = first;
    for (int i = 0; i < n; ++i) s += step;
    return s;
  };
  struct TCase {
    std::string Text;
    int LeftChain;  // binary nodes down the first parameters
  };
  std::vector<TCase> cases = {
      {chain("a", " + b", kOperators), kOperators},
      {chain("a", " - b * c", kShorter), kShorter},
      {chain("a", " ^ 2", kShorter), kShorter},
      {chain("a", " and not b", kShorter), kShorter},
      {"-(" + chain("a", " + b", kShorter) + ")", 0},
      {"((" + chain("x", " * y", kShorter) + ")) + 1", kShorter + 1},
      // Bracketed left operands do not nest: a printed chain is «((a + b) +
      // c) + d».
      {chain("", "(", kShorter) + "a" + chain("", " + b)", kShorter), kShorter},
      {"maxf(" + chain("a", " + b", kShorter) + "; 1)", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.substr(0, 24));
    TTestRoot root;
    const auto node = Parse(root, c.Text);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(root.Errors(), std::vector<std::string>{});
    EXPECT_EQ(LeftChainLength(node.get()), c.LeftChain);
    const std::string printed = node->AsText();
    TTestRoot again;
    const auto reparsed = Parse(again, printed);
    ASSERT_NE(reparsed, nullptr);
    EXPECT_EQ(again.Errors(), std::vector<std::string>{});
    EXPECT_TRUE(reparsed->AsText() == printed);
    const auto copy = node->Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->AsText() == printed);
    // The copy's nodes belong to the copy's tree.
    const TJUXExpression* bottom = copy.get();
    while (const auto* f = dynamic_cast<const TJUXFunction*>(bottom)) bottom = f->Param(0);
    EXPECT_EQ(bottom->Root(), copy.get());
  }
  // Nesting that preparing and evaluating still pay for with a call per
  // level (change-of-scope chains, bracketed right operands) is bounded like
  // any other nesting.
  const auto rightNested = [&](int n) { return chain("a", " * (b", n) + chain("", ")", n); };
  for (const auto& [text, deepest] : std::vector<std::pair<std::string, std::string>>{
           {chain("a", " . b", kJUXMaxParseDepth), chain("a", " . b", kJUXMaxParseDepth + 1)},
           {rightNested(kJUXMaxParseDepth), rightNested(kJUXMaxParseDepth + 1)}}) {
    SCOPED_TRACE(text.substr(0, 24));
    TTestRoot fits;
    EXPECT_NE(Parse(fits, text), nullptr);
    EXPECT_EQ(fits.Errors(), std::vector<std::string>{});
    TTestRoot tooDeep;
    EXPECT_EQ(Parse(tooDeep, deepest), nullptr);
    EXPECT_EQ(tooDeep.Errors(), std::vector<std::string>{"1: Expression nested too deeply"});
  }
  // Unary operators nest as deep as the bound; a call counts two levels,
  // its own and its argument list's, so calls nest half as deep.
  const auto calls = [&](int n) { return chain("", "sqrt(", n) + "a" + chain("", ")", n); };
  for (const auto& [text, deepest] : std::vector<std::pair<std::string, std::string>>{
           {chain("", "-", kJUXMaxParseDepth) + "a", chain("", "-", kJUXMaxParseDepth + 1) + "a"},
           {calls(kJUXMaxParseDepth / 2), calls(kJUXMaxParseDepth / 2 + 1)}}) {
    SCOPED_TRACE(text.substr(0, 24));
    TTestRoot fits;
    EXPECT_NE(Parse(fits, text), nullptr);
    EXPECT_EQ(fits.Errors(), std::vector<std::string>{});
    TTestRoot tooDeep;
    Parse(tooDeep, deepest);
    ASSERT_EQ(tooDeep.Errors().size(), 1u);
    EXPECT_NE(tooDeep.Errors()[0].find("Expression nested too deeply"), std::string::npos);
  }
  // Errors inside a long chain keep their positions.
  TTestRoot root;
  Parse(root, chain("a", " + b", kOperators) + " + * c");
  EXPECT_EQ(root.Errors().at(0), std::to_string(4 * kOperators + 5) + ": Syntax error, unexpected \"*\"");
}

}  // namespace
