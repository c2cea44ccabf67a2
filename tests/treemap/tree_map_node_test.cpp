#include "treemap/tree_map_node.h"

#include <gtest/gtest.h>

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
