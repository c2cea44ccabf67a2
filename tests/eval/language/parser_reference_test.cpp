// The parser against the reference parser it replaced: over the texts of the
// parser tests, error texts and random texts made of tokens, both must build
// the same tree (classes, slots, printing, flags) and leave the same errors,
// flags and meta at the root.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <typeinfo>
#include <vector>

#include "eval/language/expression.h"
#include "eval/language/function.h"
#include "eval/language/parser.h"
#include "eval/language/reference_parser.h"
#include "eval/values/scalar_vars.h"

namespace {

class TTestRoot final : public TJUXExpression {
 public:
  explicit TTestRoot(char decimalSeparator) : TJUXExpression(nullptr) {
    FormatSettings().DecimalSeparator = decimalSeparator;
    SetAllowedScopes(jsmAll);
    TSpecVarList vars;
    vars.push_back({"myvar", TJUXVar_Double::CreateWithValue(4)});
    vars.push_back({"Upper", TJUXVar_Double::CreateWithValue(5)});
    SetSpecialVariables(std::move(vars));
  }
  void Evaluate(TTreeMapNode*, bool) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }
  void Prepare(TTreeMapNode*) override {}
};

// Everything a parse leaves behind that a caller can see, as text.
void Describe(const TJUXExpression* node, std::string& out) {
  if (!node) {
    out += "?";
    return;
  }
  out += typeid(*node).name();
  out += "{" + std::to_string(node->Flags()) + (node->DependsOnScope() ? "D" : "") + (node->SetAllowed() ? "S" : "");
  if (node->Result()) out += std::string(node->Result()->GetClass().TypeName);
  if (const auto* f = dynamic_cast<const TJUXFunction*>(node)) {
    out += f->OperatorSyntax() ? "op" : "call";
    out += "(";
    for (int i = 0; i < f->ParamCount(); ++i) {
      if (i) out += ", ";
      Describe(f->Param(i), out);
    }
    out += ")";
  } else {
    out += " " + node->AsText();
  }
  out += "}";
}

std::string Names(const TJUXNameList& list) {
  std::string text;
  for (const std::string& name : list.Names()) text += name + ",";
  return text;
}

using TBuild = std::unique_ptr<TJUXExpression> (*)(TJUXTokens*, TJUXExpression*);

std::string Outcome(TBuild build, const std::string& text, char separator) {
  TTestRoot root(separator);
  std::string out;
  {
    TJUXTokens tokens(text, &root);
    const std::unique_ptr<TJUXExpression> node = build(&tokens, &root);
    Describe(node.get(), out);
    if (node) out += "\nprinted: " + node->AsText();
  }
  out += "\nerrors:";
  for (const std::string& message : root.Errors()) out += " [" + message + "]";
  TJUX_META& meta = root.Meta();
  out += "\nflags " + std::to_string(root.Flags()) + " names " + Names(meta.AttributeNames) + " direct " +
         Names(meta.DirectAttributeNames) + " sets " + Names(meta.ScopeSetNames) + " scopes " +
         std::to_string(meta.ChangeOfScopeCount) + " dynamic " + std::to_string(meta.DynamicAccess) + " specvars";
  for (int32_t count : meta.SpecVarUseCounts) out += " " + std::to_string(count);
  return out;
}

void ExpectSameAsReference(const std::string& text) {
  for (const char separator : {'.', ','}) {
    SCOPED_TRACE(std::string("separator ") + separator + ": " + text);
    EXPECT_EQ(Outcome(&BuildExpression, text, separator), Outcome(&JUXReference::BuildExpression, text, separator));
  }
}

TEST(JUXParserReference, FixedTexts) {
  const char* const texts[] = {
      "a + b * c ^ 2", "2 ^ 3 ^ 2", "a - b - c", "a max b + c", "a min b max c", "a / b mod c * d",
      "parent.x + 1", "a.b.c", "a = b and c", "a < b or c >= d xor e <> f", "a <= b = c > d", "-a^2",
      "not a and b", "a - -b", "+a", "- - a", "not -a", "not not a or b", "a * -b ^ c", "((a + b))",
      "(a) + (b)", "(a + b) * c", "a * (b - c)", "MaxF(1; 2)", "maxf((1; 2))", "sqrt(a + b) * 2",
      "sum([1; 2; 3])", "sum([1; [2]] + 1)", "PI", "Infinity", "TRUE", "MyVar", "Upper", "Sales_2",
      "'it''s'", "#65", "$1F", "SQRT", "max(1; 2)", "sqrt(a, b)", "maxf(a, b)", "minus(1)", "power(1; 2; 3)",
      "[]", "(a", "[a; b", "a b", "1 2", "pi 2", "sqrt x", "sqrt(x) y", "maxf(a;;b)", "maxf(1; (2; 3))",
      "a * * b", "a +", "()", ")", "a ; b", "f(x)", "a b c d", "! @ (", "", "   ", "'abc", "a ! b",
      "1.5 + 2,5", "1,5.x", "1 . 5", "1.2.3 + 1e", "2e-3 * 2E+3 - 1e5", "0x1F + 0X1F", "#$41 + #321",
      "a - (b - c)", "(a - b) - c", "not (a and b)", "1.50 + x", "1e-7 + 2.0", "a + b -", "a + (b",
      "(a + b", "a + b)", "f(a -; b)", "maxf(a -; b)", "maxf(a; b", "maxf(a; b))", "[a; (b]", "[(a]; b)",
      "sum(nodes.x) / sum(wholelevel.x)", "children.x + parent.y", "evalfor(parent; x + 1)",
      "eval('a + 1') + x", "attr('x') * 2", "ifthenelse(a > 1; 'x'; 'y')", "sprintf('%d'; 1; 2)",
      "a and b or c xor d and not e", "a.(b + c)", "(a + b).c", "1.x", "nodes.nodes.x", "a . . b",
      "- ", "not", "a not b", "a - not b", "a * (- (b))", "((a)) ((b))", "[1; 2] + [3; 4]", "[[1]; [2; 3]]",
      "lookup(1; 2; 3; 4; 5)", "setjoin(a; b; c)", "sum", "sum x", "now + today", "myvar + MYVAR * upper",
  };
  for (const char* text : texts) ExpectSameAsReference(text);
}

// Token texts the random texts are made of: names of every sort, literals,
// operators, brackets and separators, and a character that does not scan.
const std::vector<std::string>& Vocabulary() {
  static const std::vector<std::string> words = {
      "a", "b", "x", "Y", "pi", "true", "myvar", "Upper", "sum", "maxf", "sqrt", "setjoin", "parent", "nodes",
      "children", "wholelevel", "evalfor", "eval", "attr", "lookup", "ifthenelse", "now", "1", "2.5", "1e-7",
      "3,5", "0x1F", "$a", "'s'", "\"t\"", "#65", "+", "-", "*", "/", "mod", "^", "<>", ">=", "<=", "<", "=",
      ">", "not", "and", "or", "xor", "max", "min", ".", ",", ";", "(", ")", "[", "]", "(", ")", "!",
  };
  return words;
}

std::string RandomTokens(std::mt19937& random) {
  const std::vector<std::string>& words = Vocabulary();
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> length(1, 24);
  std::string text;
  for (int n = length(random); n > 0; --n) text += words[pick(random)] + " ";
  return text;
}

// A well-formed expression of random shape; mutated afterwards so that
// nearly right texts (one token missing or extra) occur often.
std::string RandomExpression(std::mt19937& random, int depth) {
  static const char* const leaves[] = {"a", "b", "x", "pi", "myvar", "2", "2.5", "'s'", "#65", "nodes", "parent"};
  static const char* const binary[] = {" + ", " - ", " * ", " / ", " mod ", " ^ ", " = ", " <> ", " < ",
                                       " >= ", " and ", " or ", " xor ", " max ", " min ", "."};
  static const char* const unary[] = {"- ", "+ ", "not "};
  static const char* const calls[] = {"sqrt", "maxf", "sum", "setjoin", "evalfor", "ifthenelse", "lookup"};
  std::uniform_int_distribution<int> choose(0, depth <= 0 ? 0 : 5);
  const auto any = [&](const auto& table) {
    return std::string(table[std::uniform_int_distribution<size_t>(0, std::size(table) - 1)(random)]);
  };
  switch (choose(random)) {
    case 0:
      return any(leaves);
    case 1:
    case 2:
      return RandomExpression(random, depth - 1) + any(binary) + RandomExpression(random, depth - 1);
    case 3:
      return any(unary) + RandomExpression(random, depth - 1);
    case 4:
      return "(" + RandomExpression(random, depth - 1) + ")";
    default: {
      std::string text = any(calls) + "(" + RandomExpression(random, depth - 1);
      for (int n = std::uniform_int_distribution<int>(0, 3)(random); n > 0; --n)
        text += "; " + RandomExpression(random, depth - 1);
      return text + ")";
    }
  }
}

std::string Mutate(std::mt19937& random, std::string text) {
  if (text.empty()) return text;
  std::uniform_int_distribution<size_t> at(0, text.size() - 1);
  const std::vector<std::string>& words = Vocabulary();
  switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
      return text.erase(at(random), 1);
    case 1:
      return text.insert(at(random), " " + words[std::uniform_int_distribution<size_t>(0, words.size() - 1)(random)] + " ");
    default:
      return text;
  }
}

TEST(JUXParserReference, RandomTokenTexts) {
  std::mt19937 random(19);
  for (int i = 0; i < 4000; ++i) ExpectSameAsReference(RandomTokens(random));
}

TEST(JUXParserReference, RandomExpressions) {
  std::mt19937 random(4);
  for (int i = 0; i < 4000; ++i) ExpectSameAsReference(Mutate(random, RandomExpression(random, 5)));
}

}  // namespace
