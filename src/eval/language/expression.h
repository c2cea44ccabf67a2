#pragma once
// The expression tree. Every node of a parsed expression is a TJUXExpression:
// function and operator nodes (TJUXFunction, function.h), constants,
// attribute references and special variables (below). Every node owns its
// current value. The top node (the root) carries the host's data (attribute
// collection, format settings, allowed scopes, special variables, progress
// callback, clock) and collects the error messages of the whole tree.
//
// A host gives a root (TJUXExpr_Root) its data with the setters below before
// it tokenizes, because scanning reads the decimal separator and parsing the
// special-variable names and allowed scopes. It tokenizes and parses with the
// root as parent and stops when the root has an error, since a tree that did
// not build may have empty slots. Prepare, once per scope setup, resolves
// names and settles the result types that every evaluation then reuses;
// EvaluateEx runs per tree-map node with `first` true for the first one, as
// that starts the sets and forgets the error kinds of earlier evaluations.
// After each step node->Result() and node->SetState() hold the value, and
// the root's Flags() and Errors() tell whether and why it failed.
//
// Errors never raise exceptions: AddError sets the kind's bit and bit 0 in the
// node and its ancestors and the root keeps the first message of each kind.
// Only broken preconditions of the host raise EAssertionFailed.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "eval/values/var.h"
#include "eval/values/wall_clock.h"
#include "foundation/format_settings.h"

class TTreeMapNode;
class TDravolinAttributes;
class TAttributeDescriptor;

// Set state of a node after an evaluation (the set protocol, function.h).
enum TJUXSetState : uint8_t {
  jssScalar = 0,
  jssMore = 1,   // one element of a set, more to come
  jssLast = 2,   // the last element of a set
  jssEmpty = 3,  // an empty set; the result holds no element
};

// Allowed-scope bits of a root (masks of the scope functions).
enum TJUXScopeMask : uint16_t {
  jsmNodes = 2,
  jsmAllRecords = 4,
  jsmWholeLevel = 8,
  jsmParent = 16,
  jsmChildren = 32,
  jsmScope = 64,
  jsmRoot = 128,
  jsmDisplayRoot = 256,
  jsmAll = 0x1FE,
};

// A special variable of the host: matched by its name in lower case.
struct TSpecVarRec {
  std::string Name;
  std::unique_ptr<TJUXVar> Value;
};
using TSpecVarList = std::vector<TSpecVarRec>;

// Called with the loop counter every tick interval; false aborts ("User abort").
using TJUXProgressCallback = std::function<bool(int64_t loopCounter)>;

// A sorted list of names without duplicates, compared ignoring ASCII case.
class TJUXNameList {
 public:
  // Adds the name unless an equal one (ignoring case) is present.
  void Add(std::string_view name);
  bool Contains(std::string_view name) const;
  const std::vector<std::string>& Names() const { return FNames; }

 private:
  std::vector<std::string> FNames;
};

// What a host needs to know about an expression before evaluating it.
class TJUX_META {
 public:
  explicit TJUX_META(int specVarCount) : SpecVarUseCounts(specVarCount, 0) {}
  TJUXNameList AttributeNames;        // every attribute name referenced
  TJUXNameList DirectAttributeNames;  // referenced outside every change of scope
  TJUXNameList ScopeSetNames;         // "nodes", "children", "wholelevel" when used
  int32_t ChangeOfScopeCount = 0;
  std::vector<int32_t> SpecVarUseCounts;  // a use count for each special variable of the root
  bool DynamicAccess = false;             // eval, attr, attrisnull, attrisempty, attrisconverr
};

class TJUXExpression {
 public:
  static constexpr int64_t kDefaultTickInterval = 10000;

  // With a parent the node shares the tree's root data and format settings;
  // without one it is a root with its own error list, meta and a copy of the
  // user format settings.
  explicit TJUXExpression(TJUXExpression* parent);
  virtual ~TJUXExpression();
  TJUXExpression(const TJUXExpression&) = delete;
  TJUXExpression& operator=(const TJUXExpression&) = delete;

  // --- virtual operations
  // Computes the result for one scope node; `first` starts a set.
  virtual void Evaluate(TTreeMapNode* scope, bool first) = 0;
  // May the child at `index` produce a set? Base: whether this node itself may
  // be a set (the parent's set-allowed flag); false for a root.
  virtual bool AcceptsSetParam(int index) const;
  // A copy without parent (its own error list and meta) with a copy of the result.
  virtual std::unique_ptr<TJUXExpression> Clone() const = 0;
  std::string AsText() const { return AsTextEx(false); }
  // Base: empty text. `outer` asks an operator node to add parentheses.
  virtual std::string AsTextEx(bool outer) const;
  // First pass: resolves names, creates the result values, settles types.
  virtual void Prepare(TTreeMapNode* scope) = 0;
  // Clears the flags (all when `first`, else bit 0 only), then Evaluate.
  virtual void EvaluateEx(TTreeMapNode* scope, bool first);
  // EvaluateEx as a function node calls it on a parameter: without the call
  // for a constant, whose EvaluateEx does nothing.
  void EvaluateParam(TTreeMapNode* scope, bool first) {
    if (!FConstant) EvaluateEx(scope, first);
  }
  // ORs `flags` into the flag word; with `propagate` every ancestor does too.
  virtual void SetFlags(TJUXFlags flags, bool propagate = true);
  virtual void ClearErrorFlag();
  // Records an error (first message of each kind while bit 0 is set) here
  // and in every ancestor up to the root, or up to an ancestor that catches
  // it (CatchError). Walks up without recursion.
  void AddError(uint8_t kind, std::string_view message);
  // Whether this node takes an error raised here or below in place of its
  // ancestors (then it marks itself as it needs); base: false.
  virtual bool CatchError() { return false; }
  virtual int IndexOfParam(const TJUXExpression* expression) const;
  // True for the change-of-scope node classes ("." and evalfor).
  virtual bool IsChangeOfScope() const { return false; }
  // Appends the nodes this node owns below itself (base: none).
  virtual void AppendChildren(std::vector<TJUXExpression*>& children) const;

  // --- tree
  TJUXExpression* Parent() const { return FParent; }
  // The top node of the tree (the end of the parent chain, kept up to date
  // at construction and by SetParent, so it costs no walk).
  TJUXExpression* Root() { return FRoot; }
  const TJUXExpression* Root() const { return FRoot; }
  // With a parent: the node joins the parent's tree (root data and format
  // settings). Without one: it becomes a root with a fresh copy of the user
  // format settings. Error list and meta are kept. Costs the size of the
  // subtree the node already has.
  void SetParent(TJUXExpression* parent);
  // True when this node or an ancestor is a change of scope.
  bool InsideChangeOfScope() const { return FBelowChangeOfScope || IsChangeOfScope(); }

  // --- value and state
  TJUXVar* Result() const { return FResult.get(); }
  void SetResult(std::unique_ptr<TJUXVar> result) { FResult = std::move(result); }
  uint8_t SetState() const { return FSetState; }
  void SetSetState(uint8_t state) { FSetState = state; }
  TJUXFlags Flags() const { return FFlags; }
  bool HasError() const { return (FFlags & jfError) != 0; }
  bool HasErrorKind(uint8_t kind) const { return (FFlags & JUXKindFlag(kind)) != 0; }
  bool SetAllowed() const { return FSetAllowed; }
  void SetSetAllowed(bool allowed) { FSetAllowed = allowed; }
  bool DependsOnScope() const { return FDependsOnScope; }
  // Depends on the scope, but reads only the depth of the scope node and the
  // tree it is in (wholelevel), not the node itself.
  bool DependsOnScopeLevelOnly() const { return FDependsOnScope && !FDependsOnScopeNode; }

  // --- root data (read through any node; set on the root)
  // The error messages of the tree (the root's list; never cleared here).
  const std::vector<std::string>& Errors() const;
  TJUX_META& Meta();
  const TFormatSettings& FormatSettings() const;
  TFormatSettings& FormatSettings();  // the root's own record, for the host to adjust
  TDravolinAttributes* Attributes() const;
  void SetAttributes(TDravolinAttributes* attributes) { FAttributes = attributes; }
  uint16_t AllowedScopes() const;
  void SetAllowedScopes(uint16_t mask) { FAllowedScopes = mask; }
  // This node's own special variables (a root's are the expression's; other
  // nodes have none). Setting them resizes the meta's use counts.
  const TSpecVarList& SpecialVariables() const { return FSpecVars; }
  void SetSpecialVariables(TSpecVarList vars);
  void SetProgressCallback(TJUXProgressCallback callback) { FProgress = std::move(callback); }
  // The clock that now, today and dates without a (full) year read: the
  // root's, or the system clock when its host handed none.
  const TJUXClock& Clock() const;
  void SetClock(TJUXClock clock);
  void SetTickInterval(int64_t interval) { FTickInterval = interval; }
  int64_t LoopCounter() const;

  // --- helpers of the evaluation
  // Sets depends-on-scope on this node and every ancestor (the walk stops at
  // a node already marked: its ancestors are marked).
  void MarkDependsOnScope();
  // The same for a node that reads only the scope node's depth and tree.
  void MarkDependsOnScopeLevel();
  // One loop step over a set: counts at the root and calls the progress
  // callback every tick interval; a false answer adds kind 11 "User abort"
  // to this node.
  void LoopTick();
  // `count` loop steps at once, exactly as `count` calls of LoopTick: the
  // progress callback is called at the same counts, and a false answer adds
  // "User abort" and ends the steps there.
  void LoopTicks(int64_t count);

 protected:
  // Copies result and set state into a clone (for Clone overrides).
  void CopyBaseInto(TJUXExpression& copy) const;
  // What EvaluateEx does before Evaluate: clears the flags (all when
  // `first`, else bit 0 only).
  void ResetFlags(bool first) {
    FFlags = first ? TJUXFlags{0} : static_cast<TJUXFlags>(FFlags & ~jfError);
  }

  TJUXExpression* FParent = nullptr;
  std::unique_ptr<TJUXVar> FResult;
  TJUXFlags FFlags = 0;
  uint8_t FSetState = jssScalar;
  bool FSetAllowed = false;
  bool FDependsOnScope = false;
  bool FDependsOnScopeNode = false;  // reads more of the scope than its depth and tree
  // Set by TJUXExpr_Const; also, for the time of one walk, by the top of an
  // operator chain on the chain's nodes it has evaluated (function.h).
  bool FConstant = false;
  // Set by TJUXFunction at the top of an operator chain it walks; kept here,
  // beside the flags, so that the test costs no further memory access.
  bool FChainTop = false;

 private:
  // The end of the parent chain, and whether an ancestor is a change of
  // scope: what the parent chain says, cached for the subtree by SetParent.
  TJUXExpression* FRoot = this;
  bool FBelowChangeOfScope = false;
  // Root data: present, or used, in roots only. (The allowed scopes fill the
  // gap after the flag above, so the clock costs a node no size.)
  uint16_t FAllowedScopes = 0;
  std::unique_ptr<std::vector<std::string>> FErrors;
  std::unique_ptr<TJUX_META> FMeta;
  std::unique_ptr<TFormatSettingsObj> FFormatSettings;
  TDravolinAttributes* FAttributes = nullptr;
  TSpecVarList FSpecVars;
  int64_t FLoopCounter = 0;
  TJUXProgressCallback FProgress;
  int64_t FTickCounter = 0;
  int64_t FTickInterval = kDefaultTickInterval;
  // Null or empty: the system clock. Held apart, as only roots use it.
  std::unique_ptr<TJUXClock> FClock;
};

// The root's attribute collection and allowed scopes, read through any node.
inline TDravolinAttributes* GetAttributes(const TJUXExpression& node) { return node.Attributes(); }
inline uint16_t RootScopeMask(const TJUXExpression& node) { return node.AllowedScopes(); }

// True when the node or an ancestor is a T (or derived from it).
template <class T>
bool IsInsideClass(const TJUXExpression* node) {
  for (; node; node = node->Parent())
    if (dynamic_cast<const T*>(node)) return true;
  return false;
}

// Shared reporting helpers (null node: nothing recorded).
// kind 4: Incompatible types: "A" and "B"
void ReportIncompatibleTypes(TJUXExpression* node, std::string_view a, std::string_view b);
// kind 5: Function "F" not defined for variables of class "C"
void ReportFunctionNotDefined(TJUXExpression* node, std::string_view function, std::string_view typeName);
// kind 5: Operator "O" not defined for variables of class "C"
void ReportOperatorNotDefined(TJUXExpression* node, std::string_view op, std::string_view typeName);
// kind 6: Invalid typecast, from "A" to "B"
void ReportInvalidTypecast(TJUXExpression* node, std::string_view from, std::string_view to);

// Reads an attribute's value for a scope node into node's result, with the
// setter of the attribute's type (by-index attributes read the same value for
// every node). Kind 12 for an unlisted type.
void ReadAttributeValue(TJUXExpression& node, TAttributeDescriptor& attribute, const TTreeMapNode* scope);

// The value class an attribute reference creates for a type code (types
// 9, 10 and unknown codes: nullptr; the caller reports kind 12 and uses double).
const TJUXVarClass* AttributeValueClass(int32_t typeCode);

// Token kinds of literals (the tokenizer's numbering).
enum TJUXLiteralKind : uint8_t {
  jlkStringConstant = 2,
  jlkStringConstChar = 3,
  jlkDoubleConstant = 4,
  jlkIntegerConstant = 5,
};

// A constant: a literal (row -1) or a named constant. The parser reports
// "Syntax error, unused characters in input" itself when more tokens follow.
class TJUXExpr_Const : public TJUXExpression {
 public:
  // A literal from its token (kind and text as scanned). Kinds other than the
  // four literal kinds report kind 1 "JUX: Unhandled constant expression
  // token: " + text and leave a double 0. An integer literal outside 32 bits,
  // or a number literal that does not read (such as "1.2.3"), reports kind 7
  // (it would otherwise silently read as 0).
  TJUXExpr_Const(TJUXExpression* parent, uint8_t tokenKind, std::string tokenText);
  // A named constant: a copy of `value`; prints as `name`.
  TJUXExpr_Const(TJUXExpression* parent, int32_t constRow, std::string name, const TJUXVar& value,
                 uint8_t tokenKind, std::string tokenText);

  // Precondition failure: constants are never evaluated directly.
  void Evaluate(TTreeMapNode* scope, bool first) override;
  void EvaluateEx(TTreeMapNode* scope, bool first) override;
  void Prepare(TTreeMapNode* scope) override;
  std::unique_ptr<TJUXExpression> Clone() const override;
  std::string AsTextEx(bool outer) const override;

  int32_t ConstRow() const { return FConstRow; }
  const std::string& TokenText() const { return FTokenText; }
  uint8_t TokenKind() const { return FTokenKind; }

 private:
  explicit TJUXExpr_Const(TJUXExpression* parent) : TJUXExpression(parent) { FConstant = true; }
  int32_t FConstRow = -1;
  std::string FName;  // of a named constant
  std::string FTokenText;
  uint8_t FTokenKind = 0;
};

// An attribute reference by name (as written).
class TJUXExpr_Var : public TJUXExpression {
 public:
  TJUXExpr_Var(TJUXExpression* parent, std::string name);
  void Evaluate(TTreeMapNode* scope, bool first) override;
  // Precondition: the root has an attribute collection.
  void Prepare(TTreeMapNode* scope) override;
  std::unique_ptr<TJUXExpression> Clone() const override;
  std::string AsTextEx(bool) const override { return FName; }

  const std::string& Name() const { return FName; }
  TAttributeDescriptor* Attribute() const { return FAttribute; }

 private:
  std::string FName;
  TAttributeDescriptor* FAttribute = nullptr;  // not owned
};

// A special variable of the root, by index.
class TJUXExpr_SpecVar : public TJUXExpression {
 public:
  TJUXExpr_SpecVar(TJUXExpression* parent, int32_t index);
  void Evaluate(TTreeMapNode*, bool) override {}
  void Prepare(TTreeMapNode* scope) override;
  std::unique_ptr<TJUXExpression> Clone() const override;
  std::string AsTextEx(bool outer) const override;
  int32_t Index() const { return FIndex; }

 private:
  struct TCloneTag {};
  TJUXExpr_SpecVar(TCloneTag, int32_t index) : TJUXExpression(nullptr), FIndex(index) {}
  const TSpecVarRec* Variable() const;
  int32_t FIndex;
};

// The root a host creates: carries the host data and the error list and
// computes nothing itself (the parsed tree below it is what the host
// prepares and evaluates). Its format settings are a copy of the user's.
class TJUXExpr_Root : public TJUXExpression {
 public:
  TJUXExpr_Root() : TJUXExpression(nullptr) {}
  void Evaluate(TTreeMapNode*, bool) override {}
  void Prepare(TTreeMapNode*) override {}
  // A new root with the same format settings, attribute collection, allowed
  // scopes and clock (no special variables, callback or messages).
  std::unique_ptr<TJUXExpression> Clone() const override;
};
