#pragma once
// TJUXFunction: the node of every function call and operator. The base class
// owns and builds the parameters, checks their number, and supplies the
// standard evaluation (evaluate parameter 0, take its value, fold every
// further parameter into it with CombineParam) and the set protocol.
//
// Set protocol: sets are never materialized. A set-valued node delivers one
// element per EvaluateEx call: `first` = true positions on the first element,
// false asks for the next; afterwards the set state says jssMore, jssLast,
// jssEmpty (no element) or jssScalar. Elementwise functions pass `first` on to
// every parameter and merge the parameters' states (CombineSetState).
//
// Class references and tables: a function class is referred to by the
// address of its TJUXFunctionClass record, JUXFunctionClass<T>(), which also
// holds its virtual constructor. The registry rows (TJUXFunctionInfo) and the
// operator rows (TJUXOperatorSpecs) hold such references; each function group
// publishes `std::span<const TJUXFunctionInfo> <Group>FunctionTable()`.
//
// Writing a function class:
//   class TJUXFunc_Sqrt : public TJUXFunction {
//    public:
//     using TJUXFunction::TJUXFunction;                       // ctor (parent)
//     void GetFunctionInfo(TJUXFuncInfo& info) const override; // base, then counts
//     void Prepare(TTreeMapNode* scope) override;             // base, then the result
//     void CombineParam(int index) override;                  // for >= 2 params
//     void Evaluate(TTreeMapNode* scope, bool first) override;   // if not standard
//   };
// Extra construction checks go into an override of Construct (call the base
// first); fields that a clone must carry are copied in CloneFields.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/expression.h"

class TJUXFunction;
class TJUXParamSource;

// A class reference of a function class.
struct TJUXFunctionClass {
  // The virtual constructor used by the parser: creates the node below
  // `parent` and builds its parameters from `params`.
  std::unique_ptr<TJUXFunction> (*Create)(TJUXExpression* parent, bool operatorSyntax, TJUXParamSource& params);
  // A bare node of the class (no parameters built), for Clone.
  std::unique_ptr<TJUXFunction> (*NewInstance)(TJUXExpression* parent);
};

template <class T>
std::unique_ptr<TJUXFunction> CreateJUXFunction(TJUXExpression* parent, bool operatorSyntax, TJUXParamSource& params);
template <class T>
std::unique_ptr<TJUXFunction> NewJUXFunctionInstance(TJUXExpression* parent);

template <class T>
inline constexpr TJUXFunctionClass kJUXFunctionClass{&CreateJUXFunction<T>, &NewJUXFunctionInstance<T>};

// The class reference of T.
template <class T>
constexpr const TJUXFunctionClass* JUXFunctionClass() {
  return &kJUXFunctionClass<T>;
}

// Category indexes of registry rows.
enum TJUXFunctionCategory : uint8_t {
  jfcString = 0,
  jfcArithmetic = 1,  // shown as "Arithmatic"
  jfcStatistics = 2,
  jfcTree = 3,
  jfcSet = 4,
  jfcLookup = 5,
  jfcDisplay = 6,
  jfcAttribute = 7,
  jfcDateTime = 8,
  jfcTypeCast = 9,
  jfcConditional = 10,
  jfcOther = 11,
};

// One registry row. Parameter counts are not here: they belong to the class
// (GetFunctionInfo), because operator-only classes have no row.
struct TJUXFunctionInfo {
  std::string_view Name;  // lower case
  const TJUXFunctionClass* Class;
  std::string_view Description;
  std::string_view Signature;
  std::array<std::string_view, 8> Keywords;
  uint8_t Category;
};

// One operator row (binary or unary table).
struct TJUXOperatorSpecs {
  uint8_t TokenKind;
  const TJUXFunctionClass* Class;
  int32_t Level;  // precedence; higher binds tighter
  std::string_view Text;
};

// The vocabulary a node looks its rows up in (static tables of the registry).
struct TJUXFunctionTables {
  std::span<const TJUXFunctionInfo> Functions;
  std::span<const TJUXOperatorSpecs> BinaryOperators;
  std::span<const TJUXOperatorSpecs> UnaryOperators;
  // The text of a token kind ("+", "mod", ...), for printing operators.
  std::string_view (*TokenText)(uint8_t kind) = nullptr;
};

// What the parser hands to a function's constructor: the argument slices and
// the vocabulary. Build(i, parent) parses argument i with `parent` as parent
// (BuildExpression); it returns null when the argument did not parse (the
// error has then been reported). Tables() must outlive the nodes built (the
// registry's static tables): nodes keep a pointer to it for printing.
class TJUXParamSource {
 public:
  virtual ~TJUXParamSource() = default;
  virtual int Count() const = 0;
  virtual std::unique_ptr<TJUXExpression> Build(int index, TJUXExpression& parent) = 0;
  virtual const TJUXFunctionTables& Tables() const = 0;
};

inline constexpr int32_t kJUXUnlimitedParams = 2147483647;

// The precondition message of preparing or evaluating a tree with empty
// parameter slots.
inline constexpr std::string_view kJUXUnparsedTree =
    "JUX: an expression with syntax errors cannot be prepared or evaluated";

struct TJUXFuncInfo {
  int32_t FunctionIndex = -1;       // registry row, -1 if none
  int32_t BinaryOperatorIndex = -1; // binary-table row, -1 if none
  int32_t UnaryOperatorIndex = 0;   // unary-table row, 0 if none
  int32_t MinParams = 1;
  int32_t MaxParams = 1;            // kJUXUnlimitedParams: no limit
  std::string Name;                 // registry name; empty for operator-only classes
};

class TJUXFunction : public TJUXExpression {
 public:
  explicit TJUXFunction(TJUXExpression* parent) : TJUXExpression(parent) {}
  ~TJUXFunction() override;

  // The standard evaluation: params[0], InitResult, then for each further
  // parameter: evaluate it, stop at an error, else CombineParam.
  void Evaluate(TTreeMapNode* scope, bool first) override;
  std::unique_ptr<TJUXExpression> Clone() const override;
  // As an operator (binary or unary) or as a call by name. Chains of binary
  // operators are printed without recursion.
  std::string AsTextEx(bool outer) const override;
  // Prepares every parameter in order (derived classes then set up the result).
  // At the top of a long chain of parameters 0 whose classes keep the
  // standard order (KeepsParamZeroFirst), the chain is prepared bottom-up in
  // a loop, in the order the calls would have had, and kept for EvaluateEx.
  void Prepare(TTreeMapNode* scope) override;
  // At the top of a chain kept by Prepare: clears the flags down the chain,
  // then evaluates it bottom-up in a loop (each node's parameter 0 is done by
  // then) and this node last; the same steps in the same order as the calls
  // of the plain EvaluateEx, without their stack. Elsewhere: the base.
  void EvaluateEx(TTreeMapNode* scope, bool first) override {
    ResetFlags(first);  // what the base does, here without a further call
    if (!FChainTop) [[likely]] {
      Evaluate(scope, first);
      return;
    }
    EvaluateChain(scope, first);
  }
  // Clears bit 0 here and in every parameter, down the whole subtree.
  void ClearErrorFlag() override;
  // True for a class that keeps the standard order around parameter 0: its
  // Prepare calls TJUXFunction::Prepare (once) before anything else and
  // prepares parameter 0 only there; its Evaluate does nothing observable
  // before Param(0)->EvaluateParam, always calls it, and it keeps the base
  // EvaluateEx. Base: false.
  virtual bool KeepsParamZeroFirst() const { return false; }
  int IndexOfParam(const TJUXExpression* expression) const override;

  // Fills the rows of this class in the tables and the counts 1..1;
  // derived classes call it and then set their counts.
  virtual void GetFunctionInfo(TJUXFuncInfo& info) const;
  // result := parameter 0's value (Assign, this node as sink); set state :=
  // parameter 0's. A result of another class than parameter 0's is created
  // first only when there is none.
  virtual void InitResult();
  // Folds parameter `index` into the result. Base: precondition failure
  // "Non-implemented abstract method called. Please check.".
  virtual void CombineParam(int index);
  // Second phase of the virtual constructor: function info, parameter count
  // check (kind 1 "Not enough/Too many parameters for function "name""; no
  // parameters are kept then), then every parameter is built with this
  // node's set-allowed flag = AcceptsSetParam(i), then EndConstruct.
  // Overrides call it first.
  virtual void Construct(bool operatorSyntax, TJUXParamSource& params);
  // The steps of Construct, for a builder that must not recurse (the parser
  // builds operator chains of any length this way): BeginConstruct, which
  // answers false after a parameter-count error; unless it did, for each
  // parameter i BeginParam(i), then SetParam(i, the parameter built below
  // this node); in any case EndConstruct. The classes of the binary operator
  // table are built by these steps alone, so their construction checks
  // belong in EndConstruct, not in a Construct override.
  bool BeginConstruct(const TJUXFunctionTables& tables, bool operatorSyntax, int paramCount);
  void BeginParam(int index) { FSetAllowed = AcceptsSetParam(index); }
  void SetParam(int index, std::unique_ptr<TJUXExpression> param) {
    FParams[static_cast<size_t>(index)] = std::move(param);
  }
  // Checks once the parameters are built (base: none).
  virtual void EndConstruct() {}

  void AppendChildren(std::vector<TJUXExpression*>& children) const override;

  // Picks the common value class of parameters firstParam.. (starting from
  // `cls`, or parameter firstParam's class when null) and replaces the result
  // with a fresh value of it. Kind 4 "Incompatible types: A and B" on a conflict.
  void UnifyParamTypes(int firstParam, const TJUXVarClass* cls = nullptr);
  // Merges parameter index's set state into this node's (kind 8 "Number of
  // set-elements does not match" for sets of unequal length).
  void CombineSetState(int index) {
    // Two scalars stay a scalar: the common case, decided here without the table.
    if ((FSetState | FParams[static_cast<size_t>(index)]->SetState()) != jssScalar) MergeSetState(index);
  }
  void CombineAllSetStates() {
    if (FParams.empty()) return;
    FSetState = FParams[0]->SetState();
    for (int i = 1; i < ParamCount(); ++i) CombineSetState(i);
  }
  // Printing: whether parameter index needs parentheses under this operator.
  bool ParamNeedsParens(int index) const;

  int ParamCount() const { return static_cast<int>(FParams.size()); }
  // Parameter i; null when its text did not parse.
  TJUXExpression* Param(int index) const { return FParams[static_cast<size_t>(index)].get(); }
  // The result value of parameter i (which must exist and be prepared).
  TJUXVar& ParamValue(int index) const { return *FParams[static_cast<size_t>(index)]->Result(); }
  const TJUXFuncInfo& FunctionInfo() const { return FFunctionInfo; }
  bool OperatorSyntax() const { return FOperatorSyntax; }
  const TJUXFunctionClass* FunctionClass() const { return FClass; }
  const TJUXFunctionTables* Tables() const { return FTables; }

 protected:
  // CombineSetState by the table, for states that are not both scalar.
  void MergeSetState(int index);

  // Copies a derived class's own fields into a fresh clone (base: nothing).
  // The clone's parameters are copied by then.
  virtual void CloneFields(TJUXFunction& copy) const;

  std::vector<std::unique_ptr<TJUXExpression>> FParams;
  TJUXFuncInfo FFunctionInfo;
  bool FOperatorSyntax = false;

 private:
  // A copy of this node without its parameters (their slots empty), joined
  // to Parent when given.
  std::unique_ptr<TJUXFunction> CloneNode(TJUXFunction* parent) const;

  template <class T>
  friend std::unique_ptr<TJUXFunction> CreateJUXFunction(TJUXExpression*, bool, TJUXParamSource&);
  template <class T>
  friend std::unique_ptr<TJUXFunction> NewJUXFunctionInstance(TJUXExpression*);

  // Prepare of a chain top: prepares the chain below this node and keeps it
  // when it is long enough to be walked; false (nothing done) otherwise.
  bool PrepareChainBelow(TTreeMapNode* scope);
  // EvaluateEx of a chain top, after its own flags are reset.
  void EvaluateChain(TTreeMapNode* scope, bool first);

  const TJUXFunctionClass* FClass = nullptr;
  const TJUXFunctionTables* FTables = nullptr;
  // At a chain top: the chain's nodes below it, top-down (made by Prepare).
  std::vector<TJUXFunction*> FChain;
  bool FParamZeroPrepared = false;  // set by the chain top's Prepare for one call
};

// The deepest nesting of calls that Prepare and EvaluateEx make over the
// tree below Root (the root itself is level 1): each parameter is one level
// deeper, except parameter 0 inside a chain that is walked in a loop. Counts
// no further than Limit + 1, so a caller learns only whether Limit is passed.
// Walks the tree with its own stack, so it is safe at any depth.
int EvaluationDepth(const TJUXExpression& root, int limit);

// Fixed parameter counts 0..0, 2..2 and 3..3.
class TJUXNoParamFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
};

class TJUXTwoParamFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
};

class TJUXThreeParamFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
};

template <class T>
std::unique_ptr<TJUXFunction> NewJUXFunctionInstance(TJUXExpression* parent) {
  std::unique_ptr<TJUXFunction> node = std::make_unique<T>(parent);
  node->FClass = JUXFunctionClass<T>();
  return node;
}

template <class T>
std::unique_ptr<TJUXFunction> CreateJUXFunction(TJUXExpression* parent, bool operatorSyntax, TJUXParamSource& params) {
  std::unique_ptr<TJUXFunction> node = NewJUXFunctionInstance<T>(parent);
  node->FTables = &params.Tables();
  node->Construct(operatorSyntax, params);
  return node;
}
