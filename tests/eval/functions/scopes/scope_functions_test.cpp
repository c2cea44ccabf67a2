#include "eval/functions/scopes/scope_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/functions/tree_eval_helper.h"
#include "eval/test_host.h"

namespace {

using eval_test::TTestHost;
using tree_eval::TTreeEval;
using TList = std::vector<std::string>;

// A four-level tree; every node's real size is its id, so «....nodeinfo('realsize')»
// names the nodes a scope reaches.
//   root 1
//     A 10 "North":  A1 11 (records 0, 1), A2 12 (empty group), A3 13 (record 2)
//     D 40:          D1 41 (empty group)
//     B 20 "South":  B1 21 (record 3), B2 22 excluded (record 4)
//     C 30:          no children
//     E 50:          E1 51 (empty group)
// Records 0..4 have x = 1, -2, 3, 4, 5 and real sizes 100..104. Levels 0 and
// 1 are display roots.
class ScopeTree : public ::testing::Test {
 protected:
  ScopeTree() : Host(5) {
    Host.AddNumber("x", atDouble, {1, -2, 3, 4, 5});
    eval_test::TTestColumn& region = Host.AddText("region", {"North", "North", "North", "South", "South"});
    Levels[0].HasChildren = 1;
    Levels[0].DisplayRoot = true;
    Levels[1].HasChildren = 1;
    Levels[1].DisplayRoot = true;
    Levels[1].GroupingAttribute = &region;
    Levels[2].HasChildren = 1;
    Tree = TTreeMapNode::CreateRoot(-1, &Levels[0], &Host.Data);
    Tree->SetRealSize(1);
    A = &Group(*Tree, 10, 0);
    A1 = &Group(*A, 11);
    Record(*A1, 0);
    Record(*A1, 1);
    Group(*A, 12);
    A3 = &Group(*A, 13);
    Record(*A3, 2);
    TTreeMapNode& d = Group(*Tree, 40);
    Group(d, 41);
    B = &Group(*Tree, 20, 1);
    B1 = &Group(*B, 21);
    R3 = &Record(*B1, 3);
    TTreeMapNode& b2 = Group(*B, 22);
    b2.SetExcluded(true);
    Record(b2, 4);
    Group(*Tree, 30);
    TTreeMapNode& e = Group(*Tree, 50);
    Group(e, 51);
    R0 = &A1->Child(0);
  }

  TTreeMapNode& Group(TTreeMapNode& parent, double id, int32_t cluster = -1) {
    TTreeMapNode& node = parent.AddChild(-1, &Levels[static_cast<size_t>(parent.Depth() + 1)], &Host.Data);
    node.SetRealSize(id);
    node.SetClusterValueIndex(cluster);
    return node;
  }
  TTreeMapNode& Record(TTreeMapNode& parent, int32_t record) {
    TTreeMapNode& node = parent.AddChild(record, &Levels[3], &Host.Data);
    node.SetRealSize(100 + record);
    return node;
  }

  TTestHost Host;
  TTreeMapLevel Levels[4];
  std::unique_ptr<TTreeMapNode> Tree;
  TTreeMapNode *A = nullptr, *A1 = nullptr, *A3 = nullptr, *B = nullptr, *B1 = nullptr, *R0 = nullptr,
               *R3 = nullptr;
};

struct TSetCase {
  const char* Text;
  TTreeMapNode* Scope;
  TList Expected;
};

TEST_F(ScopeTree, ScopeFunctionsReachTheExpectedNodes) {
  const TSetCase cases[] = {
      {"children.nodeinfo('realsize')", Tree.get(), {"10", "40", "20", "50"}},  // C: empty group
      {"children.nodeinfo('realsize')", A, {"11", "13"}},
      {"children.children.nodeinfo('realsize')", Tree.get(), {"11", "13", "21", "22"}},
      {"nodes.x", Tree.get(), {"1", "-2", "3", "4", "5"}},
      {"nodes.nodeinfo('realsize')", A, {"100", "101", "102"}},
      {"nodes.x", A3, {"3"}},
      {"children.nodes.x", Tree.get(), {"1", "-2", "3", "4", "5"}},  // D and E give nothing
      {"sum(children.nodes.x)", Tree.get(), {"11"}},
      {"mean(children.nodes.x)", Tree.get(), {"2.2"}},
      {"setcount(children.nodes)", Tree.get(), {"5"}},
      {"wholelevel.nodeinfo('realsize')", Tree.get(), {"1"}},
      {"wholelevel.nodeinfo('realsize')", B, {"10", "40", "20", "30", "50"}},
      {"wholelevel.nodeinfo('realsize')", A3, {"11", "12", "13", "41", "21", "51"}},  // 22 excluded
      {"wholelevel.nodeinfo('realsize')", R3, {"100", "101", "102", "103", "104"}},
      // The inner wholelevel reaches a level the outer walk has not: the
      // tree computes it while the outer level is being delivered.
      {"wholelevel.setcount(children.wholelevel)", A, {"12", "0", "12", "0", "0"}},
      {"allrecords.x", A, {"1", "-2", "3", "4", "5"}},
      {"filter(nodes; x > 0).x", Tree.get(), {"1", "3", "4", "5"}},
      {"filter(children; childrencount > 2).nodeinfo('realsize')", Tree.get(), {"10"}},
      {"filter(nodes; x > 10).x", Tree.get(), {}},
      {"filter(allrecords; x < 0).x", A, {"-2"}},
      {"parent.nodeinfo('realsize')", A1, {"10"}},
      {"parent.parent.nodeinfo('realsize')", R0, {"10"}},
      {"evalfor(parent; nodeinfo('realsize'))", A3, {"10"}},
      {"root.nodeinfo('realsize')", R3, {"1"}},
      {"displayroot.nodeinfo('realsize')", R3, {"20"}},
      {"displayroot.nodeinfo('realsize')", Tree.get(), {"1"}},
      {"scope.nodeinfo('realsize')", B1, {"21"}},
      {"levelindex", R0, {"3"}},
      {"levelindex", Tree.get(), {"0"}},
      {"childrencount", A, {"3"}},
      {"childrencount", R0, {"0"}},
      {"clustername", B, {"South"}},
      {"clustername", A1, {""}},
      {"children.clustername", Tree.get(), {"North", "", "South", ""}},
  };
  for (const TSetCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTreeEval eval(Host, true);
    ASSERT_TRUE(eval.Load(c.Text, c.Scope)) << (eval.Errors().empty() ? "" : eval.Errors().front());
    EXPECT_EQ(eval.Elements(c.Scope), c.Expected);
    // A second pass gives the same sequence.
    EXPECT_EQ(eval.Elements(c.Scope), c.Expected);
    EXPECT_TRUE(eval.Errors().empty()) << eval.Errors().front();
  }
}

TEST_F(ScopeTree, SetStatesLookOneElementAhead) {
  TTreeEval eval(Host, true);
  ASSERT_TRUE(eval.Load("children", Tree.get()));
  std::vector<int> states;
  eval.Node().EvaluateEx(Tree.get(), true);
  states.push_back(eval.Node().SetState());
  while (eval.Node().SetState() == jssMore) {
    eval.Node().EvaluateEx(Tree.get(), false);
    states.push_back(eval.Node().SetState());
  }
  EXPECT_EQ(states, (std::vector<int>{jssMore, jssMore, jssMore, jssLast}));
  EXPECT_EQ(eval.Node().Result()->ToText(eval.Root().FormatSettings()), "Node");
  // The children of a record-less leaf group: an empty set.
  EXPECT_EQ(eval.Evaluate(&Tree->Child(3)), "<empty>");
}

TEST_F(ScopeTree, AllRecordsDeliversEveryRecordOfTheDataSource) {
  TTreeEval eval(Host, true);
  ASSERT_TRUE(eval.Load("allrecords", R0));
  std::vector<int> states;
  std::vector<int32_t> records;
  bool first = true;
  do {
    eval.Node().EvaluateEx(R3, first);
    first = false;
    states.push_back(eval.Node().SetState());
    records.push_back(eval.Node().Result()->AsScope(nullptr)->RecordIndex());
  } while (eval.Node().SetState() == jssMore);
  EXPECT_EQ(states, (std::vector<int>{jssMore, jssMore, jssMore, jssMore, jssLast}));
  EXPECT_EQ(records, (std::vector<int32_t>{0, 1, 2, 3, 4}));
  // The private record node equals the tree's node of the same record.
  EXPECT_TRUE(SameNode(eval.Node().Result()->AsScope(nullptr), &B->Child(1).Child(0)));
  EXPECT_EQ(eval.Node().Result()->AsScope(nullptr)->Parent(), nullptr);

  Host.Data.Records = 0;
  EXPECT_EQ(eval.Evaluate(R0), "<empty>");
}

struct TErrorCase {
  const char* Text;
  TTreeMapNode* Scope;
  const char* Message;
};

TEST_F(ScopeTree, MovesThatCannotBeMadeAreReported) {
  const TErrorCase cases[] = {
      {"parent.x", Tree.get(), "Already at root level, parent scope not available"},
      {"setcount(children)", R0, "Already at node level, cannot change scope to children"},
      {"setcount(nodes)", R3, "Already at node level, change of scope to nodes is meaningless"},
      {"setcount(allrecords.children)", A, "Already at node level, cannot change scope to children"},
      {"nodeinfo('width')", A, "Node property unknown: width"},
      {"nodeinfo(1)", A, "Incompatible types: \"string\" and \"integer\""},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Parse(c.Text));
    // Prepared on a node where the move works, evaluated where it does not.
    eval.Node().Prepare(B1);
    EXPECT_EQ(eval.Evaluate(c.Scope), "<error>");
    EXPECT_TRUE(eval.HasMessage(c.Message)) << (eval.Errors().empty() ? "" : eval.Errors().front());
  }
}

TEST_F(ScopeTree, NodeInfoReadsRectanglesAndSizesInAnyCase) {
  A->SetRect({1.5f, 2, 30, 40});
  A->SetChildrenRect({2, 3, 29, 39});
  A->SetDisplaySize(7.25);
  const std::pair<const char*, const char*> cases[] = {
      {"nodeinfo('selfleft')", "1.5"},     {"nodeinfo('SelfLeft')", "1.5"},     {"nodeinfo('SELFTOP')", "2"},
      {"nodeinfo('selfright')", "30"},     {"nodeinfo('selfbottom')", "40"},    {"nodeinfo('childrenleft')", "2"},
      {"nodeinfo('childrentop')", "3"},    {"nodeinfo('childrenright')", "29"}, {"nodeinfo('childrenbottom')", "39"},
      {"nodeinfo('realsize')", "10"},      {"nodeinfo('displaysize')", "7.25"},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, A));
    EXPECT_EQ(eval.Evaluate(A), expected);
    EXPECT_EQ(eval.Node().Result()->TypeName(), "double");
  }
  // A leaf's children rectangle is its own.
  R0->SetRect({5, 6, 7, 8});
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("nodeinfo('childrenright')", R0));
  EXPECT_EQ(eval.Evaluate(R0), "7");
}

TEST_F(ScopeTree, ForbiddenScopesAreReportedWhileParsing) {
  const std::pair<const char*, const char*> cases[] = {
      {"setcount(nodes)", "Use of \"Nodes\" scope not allowed here"},
      {"setcount(allrecords)", "\"AllRecords\" scope not allowed here"},
      {"setcount(wholelevel)", "Use of \"WholeLevel\" scope not allowed here"},
      {"parent.x", "Use of \"Parent\" scope not allowed here"},
      {"setcount(children)", "Use of \"Children\" scope not allowed here"},
      {"scope.x", "Use of the \"Scope\" scope not allowed here"},
      {"root.x", "Use of \"Root\" scope not allowed here"},
      {"displayroot.x", "Use of \"Displayroot\" scope not allowed here"},
  };
  constexpr uint16_t kMasks[] = {jsmNodes, jsmAllRecords, jsmWholeLevel, jsmParent,
                                 jsmChildren, jsmScope, jsmRoot, jsmDisplayRoot};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    TTreeEval forbidden(Host, false, static_cast<uint16_t>(jsmAll & ~kMasks[i]));
    EXPECT_FALSE(forbidden.Parse(cases[i].first));
    EXPECT_EQ(forbidden.Errors(), TList{cases[i].second});
    TTreeEval allowed(Host, false, kMasks[i]);
    EXPECT_TRUE(allowed.Parse(cases[i].first));
  }
}

TEST_F(ScopeTree, SetsAreAcceptedOnlyWhereAConsumerTakesThem) {
  const std::pair<const char*, bool> cases[] = {
      {"children.x + 1", false}, {"nodes", false},         {"wholelevel.x", false},
      {"filter(nodes; x > 0)", false}, {"sum(children.x)", true}, {"sum(children.x + 1)", true},
      {"filter(children; isempty(nodes))", false},     {"setcount(filter(children; isempty(nodes)))", true},
      {"parent.x", true},        {"allrecords.x", true},  // allrecords makes no set check
  };
  for (const auto& [text, accepted] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    EXPECT_EQ(eval.Parse(text), accepted);
    if (!accepted) {
      EXPECT_EQ(eval.Errors(), TList{"Set value encountered where a scalar was expected"});
    }
  }
}

TEST_F(ScopeTree, ConstantScopeOperandHintsAtTheDecimalSeparator) {
  TTreeEval comma(Host);
  comma.Root().FormatSettings().DecimalSeparator = ',';
  EXPECT_FALSE(comma.Parse("1.5"));
  EXPECT_EQ(comma.Errors(), TList{"Invalid scope: \"1\". Perhaps the wrong decimal separator?"});

  // Only the first error of a parse is told.
  TTreeEval second(Host);
  EXPECT_FALSE(second.Parse("maxf(1) + pi.x"));
  EXPECT_EQ(second.Errors(), TList{"Not enough parameters for function \"maxf\""});
}

TEST_F(ScopeTree, MetaCountsChangesOfScopeAndScopeSets) {
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Parse("sum(children.nodes.x) + evalfor(parent; setcount(wholelevel)) + sum(allrecords.x)"));
  TJUX_META& meta = eval.Root().Meta();
  EXPECT_EQ(meta.ChangeOfScopeCount, 4);
  EXPECT_EQ(meta.ScopeSetNames.Names(), (TList{"children", "nodes", "wholelevel"}));
  EXPECT_TRUE(meta.DirectAttributeNames.Names().empty());
  EXPECT_EQ(meta.AttributeNames.Names(), TList{"x"});
}

// An aggregate over a set that follows the scope is computed again for every
// scope node, also while the host walks with `first` false.
TEST_F(ScopeTree, AggregatesOverScopeSetsFollowTheScope) {
  const std::pair<const char*, TList> cases[] = {
      {"sum(nodes.x)", {"2", "9", "3"}},
      {"setcount(children)", {"2", "2", "1"}},
      {"mean(parent.nodes.x)", {"2.2", "2.2", "0.666667"}},
      {"sum(children.childrencount)", {"3", "2", "0"}},
  };
  TTreeMapNode* const scopes[] = {A, B, A3};
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, A));
    TList got;
    for (size_t i = 0; i < std::size(scopes); ++i) got.push_back(eval.Evaluate(scopes[i], i == 0));
    EXPECT_EQ(got, expected);
  }
}

// What a host sees of a pass over a list of scope nodes.
struct TPassRecord {
  TList Results;
  std::vector<TJUXFlags> Flags;  // the node's flags after each evaluation
  std::vector<int64_t> Counters;  // the loop counter after each evaluation
  std::vector<int64_t> Calls;     // the progress callback's counters
  TList Errors;
};

// Evaluates `text` on every node of `scopes` in turn, with a progress
// callback every `interval` steps that answers false at call `stopAtCall`
// (0: never). `onePass`: the host protocol, `first` for the first node
// only. Otherwise every node starts a pass of its own, so every aggregate
// is computed afresh; the kind flags are then gathered as one pass keeps them.
TPassRecord RunOverNodes(TTestHost& host, const char* text, const std::vector<TTreeMapNode*>& scopes, bool onePass,
                         int64_t interval, size_t stopAtCall) {
  TPassRecord record;
  TTreeEval eval(host);
  eval.Root().SetTickInterval(interval);
  eval.Root().SetProgressCallback([&record, stopAtCall](int64_t counter) {
    record.Calls.push_back(counter);
    return record.Calls.size() != stopAtCall;
  });
  EXPECT_TRUE(eval.Load(text, scopes.front()));
  TJUXFlags kinds = 0;
  for (size_t i = 0; i < scopes.size(); ++i) {
    record.Results.push_back(eval.Evaluate(scopes[i], !onePass || i == 0));
    kinds = static_cast<TJUXFlags>(kinds | (eval.Node().Flags() & ~jfError));
    record.Flags.push_back(onePass ? eval.Node().Flags()
                                   : static_cast<TJUXFlags>(kinds | (eval.Node().Flags() & jfError)));
    record.Counters.push_back(eval.Root().LoopCounter());
  }
  record.Errors = eval.Errors();
  return record;
}

void ExpectSamePass(const TPassRecord& got, const TPassRecord& expected) {
  EXPECT_EQ(got.Results, expected.Results);
  EXPECT_EQ(got.Flags, expected.Flags);
  EXPECT_EQ(got.Counters, expected.Counters);
  EXPECT_EQ(got.Calls, expected.Calls);
  EXPECT_EQ(got.Errors, expected.Errors);
}

// Aggregates over the whole level compute once per depth and pass and keep
// the result for the other nodes at that depth: the host sees the results,
// flags, loop counts and progress calls of a computation on every node.
TEST_F(ScopeTree, AggregatesOverTheWholeLevelShowWhatAFreshComputationShows) {
  const char* const texts[] = {
      "nodeinfo('realsize') / sum(wholelevel.nodeinfo('realsize'))",
      "setcount(wholelevel) + levelindex",
      "var(wholelevel.nodeinfo('realsize'))",  // one node at depth 0: +inf and kind 2
      "mean(wholelevel.x)",
      "sum(wholelevel.setcount(allrecords))",  // inner loops count too
      "setcounttrue(wholelevel.childrencount > 1) * 1000 + setmax(wholelevel.nodeinfo('realsize'))",
  };
  // Every node depth first, twice: the depths interleave, and each comes back.
  std::vector<TTreeMapNode*> scopes;
  for (int round = 0; round < 2; ++round) {
    std::vector<TTreeMapNode*> pending{Tree.get()};
    while (!pending.empty()) {
      TTreeMapNode* node = pending.back();
      pending.pop_back();
      scopes.push_back(node);
      for (int c = node->ChildCount(); c-- > 0;) pending.push_back(&node->Child(c));
    }
  }
  for (const char* text : texts) {
    for (const size_t stopAtCall : {size_t{0}, size_t{4}}) {
      SCOPED_TRACE(testing::Message() << text << ", stop at call " << stopAtCall);
      const TPassRecord pass = RunOverNodes(Host, text, scopes, true, 3, stopAtCall);
      ExpectSamePass(pass, RunOverNodes(Host, text, scopes, false, 3, stopAtCall));
      EXPECT_EQ(pass.Errors.empty(), stopAtCall == 0);
    }
  }
}

// The kept results belong to one state of the tree: every change to a node
// of it makes the next evaluation compute afresh, also within a pass.
TEST_F(ScopeTree, LevelResultsFollowEditsOfTheTree) {
  TTreeEval count(Host);
  ASSERT_TRUE(count.Load("setcount(wholelevel)", A));
  TTreeMapNode& c = Tree->Child(3);
  TTreeMapNode& e = Tree->Child(4);
  TTreeMapNode& b2 = B->Child(1);
  EXPECT_EQ(count.Evaluate(A, true), "5");
  EXPECT_EQ(count.Evaluate(A1, false), "6");
  EXPECT_EQ(count.Evaluate(B, false), "5");
  c.SetExcluded(true);
  EXPECT_EQ(count.Evaluate(B, false), "4");
  EXPECT_EQ(count.Evaluate(A3, false), "6");
  TTreeMapNode::TChildList removed = e.SetChildList({});
  EXPECT_EQ(count.Evaluate(A3, false), "5");
  b2.SetExcluded(false);
  EXPECT_EQ(count.Evaluate(B1, false), "6");
  Tree->AddChild(-1, &Levels[1], &Host.Data);
  EXPECT_EQ(count.Evaluate(A, false), "5");
  EXPECT_TRUE(count.Errors().empty());

  // The values of the level's nodes are read through their records.
  TTreeEval sum(Host);
  ASSERT_TRUE(sum.Load("sum(wholelevel.x)", R0));
  EXPECT_EQ(sum.Evaluate(R0, true), "11");
  EXPECT_EQ(sum.Evaluate(R3, false), "11");
  R0->SetRecordIndex(3);
  EXPECT_EQ(sum.Evaluate(R3, false), "14");
}

// The host's data is read once per pass, as for aggregates that do not depend
// on the scope; a new pass reads it again.
TEST_F(ScopeTree, LevelResultsReadTheDataOncePerPass) {
  TTreeEval sum(Host);
  ASSERT_TRUE(sum.Load("sum(wholelevel.x)", R0));
  EXPECT_EQ(sum.Evaluate(R0, true), "11");
  static_cast<eval_test::TTestColumn&>(*Host.Attributes.Descriptors[0]).Numbers[0] = 101;
  EXPECT_EQ(sum.Evaluate(R3, false), "11");
  EXPECT_EQ(sum.Evaluate(R3, true), "111");
}

TEST(LevelResults, ATreeBuiltWhereAFreedOneWasIsComputedAfresh) {
  TTestHost host(4);
  host.AddNumber("x", atDouble, {1, 2, 3, 4});
  host.BuildTree({{0, 1}, {2}});
  TTreeEval eval(host);
  ASSERT_TRUE(eval.Load("setcount(wholelevel) * 10 + sum(wholelevel.x)", &host.Record(0, 0)));
  EXPECT_EQ(eval.Evaluate(&host.Record(0, 0), true), "36");
  host.Tree.reset();  // the new tree may take the freed one's memory
  host.BuildTree({{0}, {1}, {2, 3}});
  EXPECT_EQ(eval.Evaluate(&host.Record(2, 1), false), "50");
}

TEST_F(ScopeTree, ValueOperandPreparedWithoutANodeIsPreparedWhenOneComes) {
  // Prepared on the root, "parent" has no node: the value operand waits.
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("parent.nodeinfo('realsize')", Tree.get()));
  EXPECT_EQ(eval.Errors(), TList{"Already at root level, parent scope not available"});
  EXPECT_EQ(eval.Evaluate(A1), "10");
  EXPECT_EQ(eval.Evaluate(R3, false), "21");
  EXPECT_EQ(eval.Errors().size(), 1u);
}

TEST_F(ScopeTree, EvaluationWithoutScopeIsReported) {
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("parent.x", A1));
  EXPECT_EQ(eval.Evaluate(nullptr), "<error>");
  EXPECT_TRUE(eval.HasMessage("JUX: evaluate called without scope parameter"));
}

TEST_F(ScopeTree, ClonesEvaluateOnTheirOwn) {
  std::unique_ptr<TJUXExpression> records, sum;
  {
    TTreeEval eval(Host, true);
    ASSERT_TRUE(eval.Load("allrecords", A));
    eval.Evaluate(A);
    records = eval.Node().Clone();
    TTreeEval total(Host);
    ASSERT_TRUE(total.Load("sum(children.nodes.x) + setcount(allrecords)", A));
    sum = total.Node().Clone();
  }
  // The originals are gone; the clones are roots of their own.
  records->SetAttributes(&Host.Attributes);
  records->SetSetAllowed(true);
  records->Prepare(A);
  std::vector<int32_t> seen;
  bool first = true;
  do {
    records->EvaluateEx(B, first);
    first = false;
    seen.push_back(records->Result()->AsScope(nullptr)->RecordIndex());
  } while (records->SetState() == jssMore);
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 3, 4}));

  sum->SetAttributes(&Host.Attributes);
  sum->Prepare(A);
  sum->EvaluateEx(Tree.get(), true);
  EXPECT_FALSE(sum->HasError());
  EXPECT_EQ(sum->Result()->ToText(sum->FormatSettings()), "16");
}

TEST(ScopeFunctionTable, RowsNameTheirClasses) {
  const std::span<const TJUXFunctionInfo> rows = ScopeFunctionTable();
  EXPECT_EQ(rows.size(), 14u);
  for (const TJUXFunctionInfo& row : rows) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_NE(row.Class, nullptr);
    EXPECT_FALSE(row.Signature.empty());
    EXPECT_FALSE(row.Description.empty());
  }
  EXPECT_EQ(rows[8].Name, "evalfor");
  EXPECT_EQ(rows[8].Class, JUXFunctionClass<TJUXChangeOfScope>());
}

}  // namespace
