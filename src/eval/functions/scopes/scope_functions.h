#pragma once
// Function classes of the expression language: scopes and tree functions.
//
// Every expression is evaluated with a tree-map node as its scope. The
// functions here read properties of the scope node (levelindex,
// childrencount, clustername, nodeinfo), move to one other node (parent,
// scope, root, displayroot) or produce a set of nodes one element per
// evaluation (children, nodes, wholelevel, allrecords, filter). The change of
// scope ("." and evalfor) evaluates its value operand with every node of its
// scope operand as scope.
//
// Every function that moves the scope is gated by the root's allowed scopes
// (checked when the node is built). A scope function that reads the scope it
// is given marks its ancestors as depending on the scope (at Prepare), unless
// it lies in the value operand of a change of scope, where the scope is the
// one the change of scope hands down; so an aggregate over «children.x» is
// recomputed for every scope node while «sum(allrecords.x)» is computed once.
// wholelevel marks them as depending only on the scope node's depth and tree,
// so «sum(wholelevel.x)» is computed once per depth (functions/casts/cast_functions.h).
//
// The group's registry rows are published by ScopeFunctionTable().

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "eval/language/function.h"
#include "eval/values/derived_vars.h"
#include "treemap/tree_map_levels.h"

// "." and evalfor: evaluates the value operand (parameter 1) with the node or
// nodes of the scope operand (parameter 0) as scope. A value operand that is
// empty for one scope node is passed over, so the set goes on with the next
// scope node.
class TJUXChangeOfScope : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  bool IsChangeOfScope() const override { return true; }
  // A constant scope operand reports «Invalid scope: "1". Perhaps the wrong
  // decimal separator?» (kind 8); counts the change of scope in the meta.
  void EndConstruct() override;
  // The value operand is prepared with the scope operand's node; without a
  // node it is prepared at the first evaluation that has one.
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  // Prepares the value operand with `node` and makes the result a copy of its value.
  void PrepareValue(TTreeMapNode* node);
  bool FValuePrepared = false;
};

// Base of the set-producing scope functions: delivers one node per
// evaluation with one element of look-ahead. Built where no set is accepted,
// it reports "Set value encountered where a scalar was expected" (kind 8).
class TJUXFuncSetScopeBase : public TJUXFunction {
 public:
  explicit TJUXFuncSetScopeBase(TJUXExpression* parent);
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
  // Moves to the first (`first`) or next element, stores it into the current
  // value and answers whether there was one.
  virtual bool NextNode(TTreeMapNode* scope, bool first) = 0;

 protected:
  TJUXVar_Scope& Current() { return *FCurrent; }

 private:
  std::unique_ptr<TJUXVar_Scope> FCurrent;  // the element found last
  bool FHasCurrent = false;
};

// Parameterless set producers; their names go into the meta's scope-set names.
class TJUXFuncScopeOutNoParamBase : public TJUXFuncSetScopeBase {
 public:
  using TJUXFuncSetScopeBase::TJUXFuncSetScopeBase;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;

 protected:
  // The Prepare of children and nodes: marks the scope as read and makes the
  // result the first node, or a null scope when there is none.
  void PrepareWithFirstNode(TTreeMapNode* scope);
};

// nodes: the record nodes below the scope node, depth first, children in
// list order.
class TJUXFunc_COS_Nodes : public TJUXFuncScopeOutNoParamBase {
 public:
  using TJUXFuncScopeOutNoParamBase::TJUXFuncScopeOutNoParamBase;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  bool NextNode(TTreeMapNode* scope, bool first) override;

 private:
  struct TStep {
    const TTreeMapNode* Node;
    int Next;  // the child to look at next
  };
  std::vector<TStep> FWalk;  // the path from the scope node down to the record found last
};

// children: the children of the scope node, passing over empty groups
// (children with neither children nor a record).
class TJUXFunc_COS_Children : public TJUXFuncScopeOutNoParamBase {
 public:
  using TJUXFuncScopeOutNoParamBase::TJUXFuncScopeOutNoParamBase;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  bool NextNode(TTreeMapNode* scope, bool first) override;

 private:
  int32_t FPosition = 0;
};

// wholelevel: every node at the depth of the scope node, left to right
// across the whole tree, passing over excluded nodes. The level comes from
// the tree's levels (tree_map_levels.h): computed once, then reused while
// the tree is unchanged.
class TJUXFunc_COS_WholeLevel : public TJUXFuncScopeOutNoParamBase {
 public:
  using TJUXFuncScopeOutNoParamBase::TJUXFuncScopeOutNoParamBase;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  bool NextNode(TTreeMapNode* scope, bool first) override;

 private:
  std::shared_ptr<TTreeMapLevels> FLevels;  // of the tree walked last
  int FDepth = -1;                          // the level being delivered
  size_t FNext = 0;                         // its next element
};

// filter(AScopeSet; ATest): the nodes of parameter 0 for which parameter 1,
// evaluated with that node as scope, is true.
class TJUXFunc_ScopeFilt : public TJUXFuncSetScopeBase {
 public:
  using TJUXFuncSetScopeBase::TJUXFuncSetScopeBase;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  bool NextNode(TTreeMapNode* scope, bool first) override;
};

// allrecords: every record of the data set, as one private record node whose
// record index changes from element to element.
class TJUXFunc_COS_AllRecords : public TJUXNoParamFunc {
 public:
  explicit TJUXFunc_COS_AllRecords(TJUXExpression* parent);
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  // Precondition: the root has an attribute collection (its data source
  // gives the record count).
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  int32_t FPosition = 0;
  TTreeMapNode* FRecordNode = nullptr;  // the private node, owned by the result
};

// The one-node moves: parent, scope, root, displayroot.
class TJUXFunc_COS_Parent : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  // On the root: "Already at root level, parent scope not available" (kind 8).
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

class TJUXFunc_COS_Scope : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

class TJUXFunc_COS_Root : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

class TJUXFunc_COS_DisplayRoot : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// Scalar properties of the scope node.
// levelindex: the number of ancestors (0 for the root).
class TJUXFunc_LevelIndex : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// childrencount: the number of children.
class TJUXFunc_ChildrenCount : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// clustername: the text of the node's cluster value; empty without one.
class TJUXFunc_ClusterName : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// nodeinfo(AName): a rectangle coordinate or size of the node as a double;
// the name is compared in lower case ("selfleft", "childrentop", "realsize",
// ...). Another name reports "Node property unknown: " + name (kind 10).
class TJUXFunc_NodeInfo : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> ScopeFunctionTable();
