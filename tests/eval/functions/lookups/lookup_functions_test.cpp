#include "eval/functions/lookups/lookup_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/registry.h"
#include "foundation/assertion.h"
#include "eval/test_host.h"
#include "eval/functions/tree_eval_helper.h"

namespace {

using eval_test::TTestColumn;
using eval_test::TTestHost;
using tree_eval::TTreeEval;

// A text nested almost as deeply as the parser allows, that evaluates
// itself at its innermost level: each evaluated tree hangs below the last.
std::string DeepSelfReference() {
  constexpr int kLevels = 450;
  std::string text;
  for (int i = 0; i < kLevels; ++i) text += "1 + (";
  text += "eval(self)";
  text += std::string(kLevels, ')');
  return text;
}

// Four records in two groups: root -> {0, 1, 2}, {3}.
class LookupFunctionsTest : public ::testing::Test {
 protected:
  LookupFunctionsTest() : Host(4) {
    Host.AddText("name", {"alpha", "beta", "", "gamma"});
    N = &Host.AddNumber("n", atInteger, {1, 4, 9, 16});
    Host.AddNumber("score", atDouble, {0.5, 1.5, 2.5, 3.5});
    Host.AddText("formula", {"n * 2", "n * 2", "n + 1", "'x'"});
    Host.AddText("which", {"n", "score", "n", "nope"});
    Host.AddText("self", {"eval(self)", "1 + eval(self)", DeepSelfReference(), "eval(self)"});
    Host.AddText("date", {"shadowed", "shadowed", "shadowed", "shadowed"});
    TTestColumn& flags = Host.AddText("flags", {"a", "b", "c", "d"});
    flags.ValueIndexes = {0, -1, -2, -3};
    Host.BuildTree({{0, 1, 2}, {3}});
  }

  TTreeMapNode* Record(int r) { return r < 3 ? &Host.Record(0, r) : &Host.Record(1, 0); }

  TTestHost Host;
  TTestColumn* N = nullptr;
};

// A scalar expression and what a host reads after one evaluation.
struct TScalarCase {
  std::string_view Expression;
  std::string_view Type;
  std::string_view Text;
};

// An expression that fails, with the error kind and the message it records.
struct TErrorCase {
  std::string_view Expression;
  uint8_t Kind;
  std::string_view Message;
  bool SetAllowed = false;  // evaluated where a set is welcome
};

// A set-valued expression (evaluated where a set is welcome): every element
// delivered, and the state of the last evaluation.
struct TSetCase {
  std::string_view Expression;
  std::vector<std::string> Elements;
  uint8_t LastState = jssLast;
};

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += (out.empty() ? "" : " | ") + t;
  return out;
}

TEST_F(LookupFunctionsTest, ScalarResults) {
  const TScalarCase cases[] = {
      {"mapstr('abcdef'; 'x'; 'cd'; 'ab')", "integer", "2"},  // the last match wins
      {"mapstr('abcdef'; 'x'; 'y')", "integer", "-1"},
      {"mapstr('abc'; ''; 'ABC')", "integer", "-1"},  // empty never matches; case-sensitive
      {"lookup(1; 'a'; 'b'; 'c')", "string", "b"},
      {"lookup(0; 1; 2.5)", "double", "1"},  // results unified to double
      {"mapindex(2; 1; 2; 2)", "integer", "1"},  // the first equal parameter
      {"mapindex('b'; 'a'; 'c')", "integer", "-1"},
      {"find(false; true; true)", "integer", "1"},
      {"find(false; false)", "integer", "-1"},
      {"samevalue(0.1 + 0.2; 0.3)", "boolean", "True"},
      {"samevalue(1; 1.1; 0.2)", "boolean", "True"},
      {"samevalue(1; 1.1)", "boolean", "False"},
      {"samevalue(nan; 1)", "boolean", "True"},  // a NaN difference is not >= the tolerance
      {"datatype(1.5)", "string", "double"},
      {"datatype('a' + 'b')", "string", "string"},
      {"datatype(7 = 7)", "string", "boolean"},
      {"any(5)", "integer", "5"},  // a scalar is a set of one element
      {"any([1; 2; 3])", "integer", "1"},
      {"any([1; 2; 3]; 2)", "integer", "3"},
      {"any(linseries(1; 3); 1)", "double", "2"},
      {"setfind([false; true; true])", "integer", "1"},
      {"setfind([false; false])", "integer", "-1"},
      {"setfind(true)", "integer", "0"},
      {"eval('1 + 2')", "integer", "3"},
      {"eval('2' + '.5') * 2", "double", "5"},
  };
  for (const TScalarCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(c.Expression, nullptr)) << Joined(run.Errors());
    EXPECT_EQ(run.Evaluate(nullptr), c.Text);
    EXPECT_EQ(run.Node().Result()->TypeName(), c.Type);
    EXPECT_EQ(run.Node().SetState(), jssScalar);
    EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, ParametersThatAreNotNeededAreNeverEvaluated) {
  // A division by zero would flag kind 2 if it were evaluated.
  for (std::string_view text : {"lookup(0; 1.0; 1 / 0)", "datatype(1 / 0)"}) {
    SCOPED_TRACE(std::string(text));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(text, nullptr));
    run.Evaluate(nullptr);
    EXPECT_FALSE(run.Node().HasErrorKind(jeDivisionByZero));
    EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, Errors) {
  const TErrorCase cases[] = {
      {"lookup(3; 'a'; 'b'; 'c')", jeInternal, "Value out of range with lookup function"},
      {"lookup(-1; 'a')", jeInternal, "Value out of range with lookup function"},
      {"lookup(0; 1; 'a')", jeIncompatibleTypes, "Incompatible types: double and string"},
      {"any(linseries(1; 3); 5)", jeScopeSet, "Index in scope set does not exist: 5"},
      {"any(linseries(3; 1))", jeScopeSet, "Index in scope set does not exist: 0"},  // empty set
      {"any(5; 1)", jeScopeSet, "Index in scope set does not exist: 1"},
      {"any([1; 2]; -1)", jeScopeSet, "Index in scope set does not exist: -1"},
      {"filterbool([1; 2]; [1; 2])", jeIncompatibleTypes, "Boolean value expected", true},
      {"filterbool([1; 2; 3]; [true; false])", jeScopeSet, "Number of set-elements does not match", true},
      {"linseries(1; 0; 2)", jeInternal, "Linear series must have a delta-value larger than zero", true},
      {"attr('nope')", jeAttributeUnknown, "Attribute unknown: nope"},
      {"attrisnull(1)", jeIncompatibleTypes, "AttrIsNull: character string expected"},
      {"attrisempty(2.5)", jeIncompatibleTypes, "AttrIsNull: character string expected"},
      {"attrisconverr(true)", jeIncompatibleTypes, "AttrIsNull: character string expected"},
      {"attrisnull('nope')", jeAttributeUnknown, "Attribute unknown: nope"},
      {"eval('1 +')", jeSyntax, "Expression expected"},
      {"eval('''abc')", jeSyntax, "1: No closing quote for string constant"},
      // Where eval itself could be a set, the first tree is built and the set
      // caught when it is evaluated; elsewhere the set producer refuses.
      {"eval('linseries(1; 2)')", jeScopeSet, "String expression produces a set, which is not (yet) supported", true},
      {"eval('linseries(1; 2)')", jeScopeSet, "Set value encountered where a scalar was expected"},
      {"[1; 2]", jeScopeSet, "Set value encountered where a scalar was expected"},
      {"linseries(1; 2) + 1", jeScopeSet, "Set value encountered where a scalar was expected"},
      {"[]", jeSyntax, "Not enough parameters for function \"setjoin\"", true},
      // The result follows the first parameter, so it may be a set only
      // where mapstr itself may be one.
      {"mapstr(linseries(1; 3); '1')", jeScopeSet, "Set value encountered where a scalar was expected"},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host, c.SetAllowed);
    if (run.Load(c.Expression, Record(0))) run.Elements(Record(0));
    EXPECT_TRUE(run.Root().HasErrorKind(c.Kind));
    EXPECT_TRUE(run.HasMessage(c.Message)) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, Sets) {
  const TSetCase cases[] = {
      {"[1; 2]", {"1", "2"}},
      {"[7]", {"7"}},
      {"[1; linseries(2; 4); 5]", {"1", "2", "3", "4", "5"}},
      {"[linseries(3; 1); 7; linseries(3; 1)]", {"7"}},  // empty sets vanish
      {"[linseries(3; 1); linseries(3; 1)]", {}, jssEmpty},
      {"[2; 2]", {"2", "2"}},  // duplicates stay
      {"cumsum([1; 2; 3])", {"1", "3", "6"}},
      {"diff([1; 4; 9])", {"3", "5"}},
      {"diff([5])", {}, jssEmpty},
      {"diff(5)", {}, jssEmpty},
      {"linseries(1; 3)", {"1", "2", "3"}},
      {"linseries(0; 0.5; 1)", {"0", "0.5", "1"}},
      {"linseries(3; -1; 1)", {"3", "2", "1"}},
      {"linseries(1; 2; 4)", {"1", "3"}},
      {"linseries(3; 1)", {}, jssEmpty},
      // Repeated addition: 0.1 + 0.1 + 0.1 lies just beyond 0.3.
      {"linseries(0; 0.1; 0.3)", {"0", "0.1", "0.2"}},
      {"filterbool([1; 2; 3]; [true; false; true])", {"1", "3"}},
      {"filterbool([1; 2; 3]; [false; false; true])", {"3"}},
      {"filterbool([1; 2; 3]; [true; false; false])", {"1"}},
      {"filterbool([1; 2]; [false; false])", {}, jssEmpty},
      {"filterbool(linseries(1; 5); linseries(1; 5) > 3)", {"4", "5"}},
      // Two scalars: one element or none (asking again would match for ever).
      {"filterbool(7; true)", {"7"}},
      {"filterbool(7; false)", {}, jssEmpty},
  };
  for (const TSetCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host, true);
    ASSERT_TRUE(run.Load(c.Expression, nullptr)) << Joined(run.Errors());
    EXPECT_EQ(run.Elements(nullptr), c.Elements);
    EXPECT_EQ(run.Node().SetState(), c.LastState);
    EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, SetsStartOverWithFirst) {
  TTreeEval run(Host, true);
  ASSERT_TRUE(run.Load("[cumsum([1; 2]); diff([1; 4; 9])]", nullptr));
  const std::vector<std::string> want = {"1", "3", "3", "5"};
  EXPECT_EQ(run.Elements(nullptr), want);
  EXPECT_EQ(run.Elements(nullptr), want);
}

TEST_F(LookupFunctionsTest, SetFindOfAnEmptySetKeepsTheResult) {
  TTreeEval run(Host, true);
  ASSERT_TRUE(run.Load("setfind(linseries(3; 1))", nullptr));
  run.Node().Result()->SetInteger(42, nullptr);
  run.Node().EvaluateEx(nullptr, true);
  EXPECT_EQ(run.Node().SetState(), jssEmpty);
  EXPECT_EQ(run.Node().Result()->AsInteger(nullptr), 42);
}

TEST_F(LookupFunctionsTest, SeriesThatWouldNeverEndReportErrors) {
  const TErrorCase cases[] = {
      {"linseries(0; nan; 10)", jeInternal, "Linear series must have a delta-value larger than zero", true},
      {"linseries(nan; 10)", jeInternal, "Linear series must have finite start and end values", true},
      {"linseries(0; 1; infinity)", jeInternal, "Linear series must have finite start and end values", true},
      {"linseries(1e20; 1; 2e20)", jeInternal, "Linear series step is too small for its values", true},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host, true);
    ASSERT_TRUE(run.Load(c.Expression, nullptr));
    const std::vector<std::string> elements = run.Elements(nullptr, 100);
    EXPECT_LE(elements.size(), 2u);
    EXPECT_TRUE(run.HasMessage(c.Message)) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, AnyPicksFromTheChildrenOfTheScope) {
  TTreeMapNode& group = Host.Group(0);
  const TScalarCase cases[] = {
      {"any(children.n)", "integer", "1"},
      {"any(children.n; 2)", "integer", "9"},
      {"any(children.name; 1)", "string", "beta"},
  };
  for (const TScalarCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(c.Expression, &group));
    EXPECT_EQ(run.Evaluate(&group), c.Text);
    EXPECT_EQ(run.Node().Result()->TypeName(), c.Type);
  }
  TTreeEval beyond(Host);
  ASSERT_TRUE(beyond.Load("any(children.n; 5)", &group));
  EXPECT_EQ(beyond.Evaluate(&group), "<error>");
  EXPECT_TRUE(beyond.HasMessage("Index in scope set does not exist: 5"));
}

TEST_F(LookupFunctionsTest, AttrReadsTheNamedAttributeOfEachRecord) {
  TTreeEval run(Host);
  ASSERT_TRUE(run.Load("attr('N')", Record(0)));  // names match ignoring case
  EXPECT_EQ(run.Node().Result()->TypeName(), "double");  // an integer attribute read through attr
  EXPECT_EQ(N->LoadCount, 1);
  EXPECT_EQ(run.Evaluate(Record(1)), "4");
  EXPECT_EQ(run.Evaluate(Record(3), false), "16");
  EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  EXPECT_TRUE(run.Root().Meta().DynamicAccess);

  // An attribute named like a function is reached through attr.
  TTreeEval shadowed(Host);
  ASSERT_TRUE(shadowed.Load("attr('date')", Record(0)));
  EXPECT_EQ(shadowed.Evaluate(Record(0)), "shadowed");
}

TEST_F(LookupFunctionsTest, AttrOfFixedAndUnlistedTypes) {
  Host.AddText("fixedtext", {}).TypeCode = atFixedText;
  Host.Attributes.Descriptors.back()->FixedText = "constant";
  Host.AddNumber("fixednumber", atFixedNumber, {}).FixedNumber = 2.5;
  Host.AddNumber("odd", 42, {1, 2, 3, 4});
  const TScalarCase cases[] = {
      {"attr('fixedtext')", "string", "constant"},
      {"attr('fixednumber')", "double", "2.5"},
  };
  for (const TScalarCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(c.Expression, Record(0)));
    EXPECT_EQ(run.Evaluate(Record(1)), c.Text);
    EXPECT_EQ(run.Node().Result()->TypeName(), c.Type);
    EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  }
  TTreeEval odd(Host);
  ASSERT_TRUE(odd.Load("attr('odd')", Record(0)));
  EXPECT_TRUE(odd.HasMessage("Internal error: attribute type not listed"));
  EXPECT_EQ(odd.Node().Result()->TypeName(), "double");
}

TEST_F(LookupFunctionsTest, AttrLooksANameUpAgainWhenItChanges) {
  TTreeEval run(Host);
  ASSERT_TRUE(run.Load("attr(which)", Record(0)));
  EXPECT_EQ(run.Evaluate(Record(0)), "1");
  EXPECT_EQ(run.Evaluate(Record(1), false), "1.5");  // "score"
  EXPECT_EQ(run.Evaluate(Record(2), false), "9");    // "n" again
  EXPECT_EQ(run.Evaluate(Record(3), false), "<error>");
  EXPECT_TRUE(run.HasMessage("Attribute unknown: nope"));
}

TEST_F(LookupFunctionsTest, UnknownAttributeIsReportedAtPrepareAndAtEveryEvaluation) {
  TTreeEval run(Host);
  ASSERT_TRUE(run.Load("attr('nope')", Record(0)));
  EXPECT_EQ(run.Errors().size(), 1u);
  // The host clears its root's error flag before each evaluation, so each
  // evaluation's first message of a kind reaches the list.
  run.Root().ClearErrorFlag();
  EXPECT_EQ(run.Evaluate(Record(0)), "<error>");
  run.Root().ClearErrorFlag();
  EXPECT_EQ(run.Evaluate(Record(1), false), "<error>");
  const std::vector<std::string> want(3, "Attribute unknown: nope");
  EXPECT_EQ(run.Errors(), want);
  EXPECT_EQ(run.Node().Result()->TypeName(), "double");
}

TEST_F(LookupFunctionsTest, ValueIndexTests) {
  // Records 0..3 have the value indexes 0, -1 (null), -2 (empty), -3 (conversion error).
  const std::string_view functions[] = {"attrisnull", "attrisempty", "attrisconverr"};
  for (int f = 0; f < 3; ++f) {
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(std::string(functions[f]) + "('flags')", Record(0)));
    for (int r = 0; r < 4; ++r) {
      SCOPED_TRACE(std::string(functions[f]) + " of record " + std::to_string(r));
      EXPECT_EQ(run.Evaluate(Record(r), r == 0), r == f + 1 ? "True" : "False");
    }
    EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, AttrWithoutAttributeCollectionIsAPreconditionFailure) {
  TTestHost bare;
  auto root = bare.MakeRoot();
  root->SetAttributes(nullptr);
  TJUXTokens tokens("attr('n')", root.get());
  auto node = BuildExpression(&tokens, root.get());
  ASSERT_TRUE(node);
  EXPECT_THROW(node->Prepare(nullptr), EAssertionFailed);
}

TEST_F(LookupFunctionsTest, EvalParsesAConstantTextOnce) {
  TTreeEval run(Host);
  ASSERT_TRUE(run.Load("eval('n + 1')", Record(0)));
  const auto& eval = dynamic_cast<const TJUXFunc_Eval&>(run.Node());
  const TJUXExpression* tree = eval.SubExpression();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(eval.CachedText(), "n + 1");
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(run.Evaluate(Record(r), r == 0), std::to_string(static_cast<int>(N->Numbers[r]) + 1));
    EXPECT_EQ(eval.SubExpression(), tree);
  }
  EXPECT_TRUE(run.Root().Meta().DynamicAccess);
  EXPECT_TRUE(run.Root().Meta().AttributeNames.Contains("n"));
}

TEST_F(LookupFunctionsTest, EvalRebuildsWhenTheTextChanges) {
  TTreeEval run(Host);
  ASSERT_TRUE(run.Load("eval(formula)", Record(0)));
  const auto& eval = dynamic_cast<const TJUXFunc_Eval&>(run.Node());
  EXPECT_EQ(run.Evaluate(Record(0)), "2");
  const TJUXExpression* first = eval.SubExpression();
  EXPECT_EQ(run.Evaluate(Record(1), false), "8");  // same text: same tree
  EXPECT_EQ(eval.SubExpression(), first);
  EXPECT_EQ(run.Evaluate(Record(2), false), "10");  // "n + 1"
  EXPECT_EQ(eval.CachedText(), "n + 1");
  EXPECT_TRUE(run.Errors().empty()) << Joined(run.Errors());
  // A text of another type is assigned into the class prepared first.
  run.Evaluate(Record(3), false);
  EXPECT_TRUE(run.Root().HasErrorKind(jeIncompatibleTypes));
}

TEST_F(LookupFunctionsTest, EvalOfATextThatDoesNotBuildFailsAtEveryEvaluation) {
  for (std::string_view text : {"eval('1 +')", "eval('''abc')"}) {
    SCOPED_TRACE(std::string(text));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(text, Record(0)));
    EXPECT_EQ(run.Evaluate(Record(0)), "<error>");
    EXPECT_EQ(run.Evaluate(Record(1), false), "<error>");
    EXPECT_TRUE(run.Root().HasErrorKind(jeSyntax));
    EXPECT_EQ(dynamic_cast<const TJUXFunc_Eval&>(run.Node()).SubExpression(), nullptr);
  }
}

TEST_F(LookupFunctionsTest, EvalOfATextThatEvaluatesItselfStopsNesting) {
  // Record 0: "eval(self)"; record 1: "1 + eval(self)"; record 2 the same,
  // nested deeply. Each level parses the same text again below itself.
  for (int r : {0, 1, 2}) {
    SCOPED_TRACE(r);
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load("eval(self)", Record(r)));
    EXPECT_EQ(run.Evaluate(Record(r)), "<error>");
    EXPECT_TRUE(run.HasMessage("Expression nested too deeply")) << Joined(run.Errors());
  }
}

TEST_F(LookupFunctionsTest, EvalAndAttrMakeTheirParentDependOnTheScope) {
  for (std::string_view text : {"1 + eval('2')", "1 + attr('n')", "1 + attrisnull('n')"}) {
    SCOPED_TRACE(std::string(text));
    TTreeEval run(Host);
    ASSERT_TRUE(run.Load(text, Record(0)));
    EXPECT_TRUE(run.Node().DependsOnScope());
    EXPECT_TRUE(run.Root().Meta().DynamicAccess);
  }
}

TEST_F(LookupFunctionsTest, SetLiteralPrintsInBrackets) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"[1; 2; 3]", "[1; 2; 3]"},
      {"[1 + 2; (3)]", "[1 + 2; 3]"},
      {"setjoin(1; 2)", "setjoin(1; 2)"},
      {"any([1; [2; 3]])", "any([1; [2; 3]])"},
  };
  for (const auto& [text, printed] : cases) {
    SCOPED_TRACE(std::string(text));
    TTreeEval run(Host, true);
    ASSERT_TRUE(run.Parse(text)) << Joined(run.Errors());
    EXPECT_EQ(run.Node().AsText(), printed);
  }
}

TEST_F(LookupFunctionsTest, ClonesCarryTheirStateAndTrees) {
  TTreeEval run(Host, true);
  ASSERT_TRUE(run.Load("[1; eval('2 + 3'); cumsum(linseries(7; 8))]", nullptr));
  const std::unique_ptr<TJUXExpression> copy = run.Node().Clone();
  // The copy is evaluated without a new preparation: it must hold its own
  // look-ahead values and evaluated tree.
  std::vector<std::string> elements;
  bool first = true;
  do {
    copy->EvaluateEx(nullptr, first);
    first = false;
    ASSERT_FALSE(copy->HasError());
    elements.push_back(copy->Result()->ToText(run.Root().FormatSettings()));
  } while (copy->SetState() == jssMore && elements.size() < 10);
  EXPECT_EQ(elements, (std::vector<std::string>{"1", "5", "7", "15"}));
  EXPECT_EQ(copy->AsText(), "[1; eval('2 + 3'); cumsum(linseries(7; 8))]");
  // The copied tree of the evaluated text hangs in the copy's tree.
  const auto* eval = dynamic_cast<const TJUXFunc_Eval*>(dynamic_cast<const TJUXFunction&>(*copy).Param(1));
  ASSERT_NE(eval, nullptr);
  const auto* sum = dynamic_cast<const TJUXFunction*>(eval->SubExpression());
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(sum->Root(), copy.get());
  EXPECT_EQ(sum->Param(0)->Root(), copy.get());
}

TEST(LookupFunctionTable, EveryRowNamesItsClassAndIsRegistered) {
  for (const TJUXFunctionInfo& row : LookupFunctionTable()) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_NE(row.Class, nullptr);
    EXPECT_GE(JUXFunctionIndexOfName(row.Name), 0);
  }
  EXPECT_EQ(LookupFunctionTable().size(), 18u);
}

}  // namespace
