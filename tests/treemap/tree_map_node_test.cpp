#include "treemap/tree_map_node.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "foundation/assertion.h"
#include "test_attribute.h"

namespace {

class TCountingSource : public TTreeMapDataSource {
 public:
  int32_t RecordCount() const override { return 3; }
};

// root (group, display root) -> two groups -> records 0, 1 and 2.
struct TTreeFixture : testing::Test {
  TTestAttribute Region{"Region", {"North", "South", "North"}};
  TTreeMapLevel RootLevel, GroupLevel, RecordLevel;
  TCountingSource Source;
  std::unique_ptr<TTreeMapNode> Root;

  void SetUp() override {
    RootLevel.HasChildren = 1;
    RootLevel.DisplayRoot = true;
    GroupLevel.HasChildren = 1;
    GroupLevel.GroupingAttribute = &Region;
    Root = TTreeMapNode::CreateRoot(-1, &RootLevel, &Source);
    TTreeMapNode& north = Root->AddChild(-1, &GroupLevel, &Source);
    north.SetClusterValueIndex(0);
    north.AddChild(0, &RecordLevel, &Source);
    north.AddChild(2, &RecordLevel, &Source);
    TTreeMapNode& south = Root->AddChild(-1, &GroupLevel, &Source);
    south.SetClusterValueIndex(1);
    south.AddChild(1, &RecordLevel, &Source);
  }
};

TEST_F(TTreeFixture, StructureAndNavigation) {
  EXPECT_FALSE(Root->IsLeaf());
  ASSERT_EQ(Root->ChildCount(), 2);
  TTreeMapNode& record = Root->Child(0).Child(1);
  EXPECT_TRUE(record.IsLeaf());
  EXPECT_EQ(record.ChildList(), nullptr);
  EXPECT_EQ(record.ChildCount(), 0);
  EXPECT_EQ(record.RecordIndex(), 2);
  EXPECT_EQ(record.Depth(), 2);
  EXPECT_EQ(&record.Root(), Root.get());
  EXPECT_EQ(&record.DisplayRoot(), Root.get());
  EXPECT_EQ(record.Parent(), &Root->Child(0));
  EXPECT_EQ(record.ClusterValueIndex(), -1);
  EXPECT_EQ(record.HostInteger(), -1);
  EXPECT_TRUE(record.HostFlag());
  EXPECT_FALSE(record.Excluded());

  GroupLevel.DisplayRoot = true;
  EXPECT_EQ(&record.DisplayRoot(), &Root->Child(0));
}

TEST_F(TTreeFixture, ChildIndexOutOfRangeFails) {
  EXPECT_THROW(Root->Child(2), EAssertionFailed);
  EXPECT_THROW(Root->Child(-1), EAssertionFailed);
  EXPECT_THROW(Root->Child(0).Child(0).Child(0), EAssertionFailed);
  try {
    Root->Child(7);
    FAIL() << "no precondition failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Child index out of bounds (7)");
  }
}

TEST_F(TTreeFixture, ClassStringComesFromTheGroupingAttribute) {
  EXPECT_EQ(Root->Child(1).GetClassString(), "South");
  EXPECT_EQ(Root->GetClassString(), "No class string");  // level without grouping attribute
  EXPECT_EQ(TTreeMapNode::CreateRoot(-1, nullptr, nullptr)->GetClassString(), "No class string");
}

TEST_F(TTreeFixture, LeafRectanglesAndValues) {
  TTreeMapNode& record = Root->Child(1).Child(0);
  record.SetRect({1, 2, 3, 4});
  EXPECT_EQ(record.GetChildrenRect(), (TTreeMapRect{1, 2, 3, 4}));
  record.SetChildrenRect({9, 9, 9, 9});  // a leaf has no children area
  EXPECT_EQ(record.GetChildrenRect(), (TTreeMapRect{1, 2, 3, 4}));

  Root->SetRect({0, 0, 10, 10});
  Root->SetChildrenRect({1, 1, 9, 9});
  EXPECT_EQ(Root->GetChildrenRect(), (TTreeMapRect{1, 1, 9, 9}));

  record.SetByteField(255);
  EXPECT_EQ(record.ByteField(), 255);
  EXPECT_THROW(record.SetByteField(256), EAssertionFailed);
  EXPECT_THROW(record.SetByteField(-1), EAssertionFailed);
  Root->SetByteField(100000);  // inner nodes take any value
  EXPECT_EQ(Root->ByteField(), 100000);
}

TEST_F(TTreeFixture, LeavesTakeNoChildren) {
  TTreeMapNode& record = Root->Child(0).Child(0);
  EXPECT_THROW(record.AddChild(5, nullptr, nullptr), EAssertionFailed);
  EXPECT_THROW(record.SetChildList({}), EAssertionFailed);
  const auto noLevel = TTreeMapNode::CreateRoot(-1, nullptr, nullptr);
  EXPECT_TRUE(noLevel->IsLeaf());
}

TEST_F(TTreeFixture, SetChildListReparentsAndReturnsTheOldList) {
  TTreeMapNode& north = Root->Child(0);
  TTreeMapNode& south = Root->Child(1);
  TTreeMapNode::TChildList moved = south.SetChildList({});
  ASSERT_EQ(moved.size(), 1u);
  const TTreeMapNode* record = moved.front().get();
  TTreeMapNode::TChildList list;
  list.push_back(std::move(moved.front()));
  const TTreeMapNode::TChildList old = north.SetChildList(std::move(list));
  EXPECT_EQ(old.size(), 2u);
  EXPECT_EQ(north.ChildCount(), 1);
  EXPECT_EQ(record->Parent(), &north);
  EXPECT_EQ(south.ChildCount(), 0);

  TTreeMapNode::TChildList withHole(1);
  EXPECT_THROW(north.SetChildList(std::move(withHole)), EAssertionFailed);
  EXPECT_EQ(north.ChildCount(), 1);
}

TEST_F(TTreeFixture, MovedSubtreesTakeTheDepthAndRootOfTheirPlace) {
  // A deeper tree: the north group's records get a level of their own.
  TTreeMapNode& north = Root->Child(0);
  TTreeMapNode& south = Root->Child(1);
  TTreeMapNode::TChildList records = north.SetChildList({});
  // The records left the tree: they are roots now.
  for (const auto& record : records) {
    EXPECT_EQ(record->Parent(), nullptr);
    EXPECT_EQ(record->Depth(), 0);
    EXPECT_EQ(&record->Root(), record.get());
  }
  auto sub = TTreeMapNode::CreateRoot(-1, &GroupLevel, &Source);
  TTreeMapNode& inner = sub->AddChild(-1, &GroupLevel, &Source);
  TTreeMapNode& record = inner.AddChild(7, &RecordLevel, &Source);
  TTreeMapNode* const subRoot = sub.get();
  TTreeMapNode::TChildList list;
  list.push_back(std::move(sub));
  south.Child(0).SetRecordIndex(-1);
  (void)north.SetChildList(std::move(list));
  EXPECT_EQ(subRoot->Parent(), &north);
  // Depth and root as a walk up the parents finds them, for every node.
  for (const TTreeMapNode* node : {subRoot, &inner, &record, &south.Child(0), Root.get()}) {
    int depth = 0;
    const TTreeMapNode* top = node;
    for (; top->Parent(); top = top->Parent()) ++depth;
    EXPECT_EQ(node->Depth(), depth);
    EXPECT_EQ(&node->Root(), top);
  }
  EXPECT_EQ(record.Depth(), 4);
  EXPECT_EQ(&record.Root(), Root.get());

  // A tree's own root cannot become a child inside the tree (the refused
  // list, and with it that tree, is freed).
  auto other = TTreeMapNode::CreateRoot(-1, &GroupLevel, &Source);
  TTreeMapNode& otherChild = other->AddChild(-1, &GroupLevel, &Source);
  TTreeMapNode::TChildList cycle;
  cycle.push_back(std::move(other));
  EXPECT_THROW(otherChild.SetChildList(std::move(cycle)), EAssertionFailed);
}

// The nodes at a depth as a depth-first walk meets them, without the excluded ones.
std::vector<const TTreeMapNode*> WalkLevel(const TTreeMapNode& root, int depth) {
  std::vector<const TTreeMapNode*> level;
  std::vector<const TTreeMapNode*> pending{&root};
  while (!pending.empty()) {
    const TTreeMapNode* node = pending.back();
    pending.pop_back();
    int d = 0;
    for (const TTreeMapNode* up = node->Parent(); up; up = up->Parent()) ++d;
    if (d == depth && !node->Excluded()) level.push_back(node);
    for (int c = node->ChildCount(); c-- > 0;) pending.push_back(&node->Child(c));
  }
  return level;
}

TEST(TreeMapLevels, LevelsListTheIncludedNodesOfEachDepthLeftToRight) {
  // Ragged: inner nodes of 0..3 children at depths up to 4; every fifth node
  // excluded, inner ones too (their children still count).
  TTreeMapLevel inner, leaf;
  inner.HasChildren = 1;
  auto root = TTreeMapNode::CreateRoot(-1, &inner, nullptr);
  std::vector<TTreeMapNode*> open{root.get()};
  int made = 0;
  for (size_t i = 0; i < open.size(); ++i) {
    TTreeMapNode& parent = *open[i];
    if (parent.IsLeaf() || parent.Depth() >= 4) continue;
    const size_t children = i == 0 ? 3 : (i * 7 + 3) % 4;
    for (size_t c = 0; c < children; ++c) {
      ++made;
      TTreeMapNode& child = parent.AddChild(made, made % 3 == 0 ? &leaf : &inner, nullptr);
      child.SetExcluded(made % 5 == 0);
      open.push_back(&child);
    }
  }
  const auto& levels = root->Levels();
  for (int depth = 0; depth <= 6; ++depth) {
    SCOPED_TRACE(depth);
    const std::span<TTreeMapNode* const> level = levels->Level(depth);
    EXPECT_EQ(std::vector<const TTreeMapNode*>(level.begin(), level.end()), WalkLevel(*root, depth));
  }
  EXPECT_GT(levels->Level(3).size(), 3u);  // the tree is as deep as meant
  EXPECT_TRUE(levels->Level(-1).empty());
  root->SetExcluded(true);
  EXPECT_TRUE(root->Levels()->Level(0).empty());
}

TEST_F(TTreeFixture, EveryChangeGivesTheTreeNewLevels) {
  TTreeMapNode& record = Root->Child(0).Child(1);
  const std::pair<const char*, std::function<void()>> edits[] = {
      {"AddChild", [&] { Root->Child(1).AddChild(5, &RecordLevel, &Source); }},
      {"SetChildList", [&] { (void)Root->Child(1).SetChildList({}); }},
      {"SetExcluded", [&] { record.SetExcluded(true); }},
      {"SetRecordIndex", [&] { record.SetRecordIndex(9); }},
      {"SetDataSource", [&] { record.SetDataSource(nullptr); }},
      {"SetClusterValueIndex", [&] { Root->Child(0).SetClusterValueIndex(4); }},
      {"SetRect", [&] { record.SetRect({1, 1, 2, 2}); }},
      {"SetChildrenRect", [&] { Root->SetChildrenRect({1, 1, 2, 2}); }},
      {"SetByteField", [&] { record.SetByteField(3); }},
      {"SetRealSize", [&] { record.SetRealSize(2); }},
      {"SetDisplaySize", [&] { record.SetDisplaySize(2); }},
      {"SetHostInteger", [&] { record.SetHostInteger(2); }},
      {"SetHostFlag", [&] { record.SetHostFlag(false); }},
  };
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    const std::shared_ptr<TTreeMapLevels> before = record.Levels();
    EXPECT_EQ(Root->Levels(), before);  // one object for the whole tree while it is unchanged
    edit();
    EXPECT_NE(record.Levels(), before);
  }
  // A tree built anew where a freed one was never answers the old levels,
  // which a holder keeps alive.
  const std::shared_ptr<TTreeMapLevels> held = Root->Levels();
  Root.reset();
  Root = TTreeMapNode::CreateRoot(-1, &RootLevel, &Source);
  EXPECT_NE(Root->Levels(), held);
}

TEST_F(TTreeFixture, SameNodeComparesRecordsByIndex) {
  const auto copyOfRecord1 = TTreeMapNode::CreateRoot(1, nullptr, nullptr);
  EXPECT_TRUE(SameNode(copyOfRecord1.get(), &Root->Child(1).Child(0)));
  EXPECT_FALSE(SameNode(&Root->Child(0), &Root->Child(1)));  // two groups
  EXPECT_TRUE(SameNode(&Root->Child(0), &Root->Child(0)));
  EXPECT_FALSE(SameNode(&Root->Child(0), &Root->Child(0).Child(0)));
  EXPECT_FALSE(SameNode(nullptr, Root.get()));
  EXPECT_FALSE(SameNode(Root.get(), nullptr));
}

TEST(TreeMapNode, RecordCountOfDataSource) {
  TCountingSource source;
  EXPECT_EQ(GetRecordCount(&source), 3);
  EXPECT_EQ(GetRecordCount(nullptr), 0);
}

TEST(TreeMapNode, DeepChainIsFreedWithoutRecursion) {
  TTreeMapLevel inner;
  inner.HasChildren = 1;
  auto root = TTreeMapNode::CreateRoot(-1, &inner, nullptr);
  TTreeMapNode* node = root.get();
  for (int i = 0; i < 200000; ++i) node = &node->AddChild(-1, &inner, nullptr);
  EXPECT_EQ(&node->Root(), root.get());
  EXPECT_EQ(&node->DisplayRoot(), root.get());  // no display-root level: the root
  root.reset();
}

}  // namespace
