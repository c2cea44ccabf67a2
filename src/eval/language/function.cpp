#include "eval/language/function.h"

#include <algorithm>

#include <array>
#include <vector>

#include "foundation/assertion.h"

namespace {

struct TSetStateStep {
  uint8_t State;
  bool Mismatch;
};

// New set state of a node [node state][parameter state].
constexpr std::array<std::array<TSetStateStep, 4>, 4> kSetStateSteps = {{
    {{{jssScalar, false}, {jssMore, false}, {jssLast, false}, {jssEmpty, false}}},
    {{{jssMore, false}, {jssMore, false}, {jssMore, true}, {jssEmpty, false}}},
    {{{jssLast, false}, {jssLast, true}, {jssLast, false}, {jssEmpty, false}}},
    {{{jssEmpty, false}, {jssEmpty, false}, {jssEmpty, false}, {jssEmpty, false}}},
}};

// Chains of parameters 0 shorter than this are prepared and evaluated by the
// plain calls: their depth costs little stack, and the calls are quicker
// than the walk for a few nodes.
constexpr size_t kMinChainWalk = 16;

// Parameter 0 of `node` when it continues a chain of the standard order.
TJUXFunction* ChainNext(const TJUXFunction& node) {
  if (node.ParamCount() == 0) return nullptr;
  auto* next = dynamic_cast<TJUXFunction*>(node.Param(0));
  return next && next->KeepsParamZeroFirst() ? next : nullptr;
}

// Each restart of the unification moves to a wider class; more restarts than
// this mean the classes cannot be unified.
constexpr int kMaxUnifyRestarts = 4 * kJUXVarKindCount;

template <class TRow>
int32_t RowOfClass(std::span<const TRow> rows, const TJUXFunctionClass* cls, bool last) {
  int32_t found = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Class != cls) continue;
    found = static_cast<int32_t>(i);
    if (!last) break;
  }
  return found;
}

}  // namespace

TJUXFunction::~TJUXFunction() {
  // Frees the subtree without recursion: every function node below gives up
  // its parameters before it is freed, so a chain of any length is freed in
  // a loop.
  std::vector<std::unique_ptr<TJUXExpression>> pending;
  for (auto& param : FParams)
    if (param) pending.push_back(std::move(param));
  while (!pending.empty()) {
    std::unique_ptr<TJUXExpression> node = std::move(pending.back());
    pending.pop_back();
    if (auto* function = dynamic_cast<TJUXFunction*>(node.get()))
      for (auto& param : function->FParams)
        if (param) pending.push_back(std::move(param));
  }
}

void TJUXFunction::GetFunctionInfo(TJUXFuncInfo& info) const {
  info = TJUXFuncInfo{};
  if (FTables && FClass) {
    info.FunctionIndex = RowOfClass(FTables->Functions, FClass, true);
    if (info.FunctionIndex >= 0) info.Name = FTables->Functions[static_cast<size_t>(info.FunctionIndex)].Name;
    info.BinaryOperatorIndex = RowOfClass(FTables->BinaryOperators, FClass, false);
    const int32_t unary = RowOfClass(FTables->UnaryOperators, FClass, false);
    if (unary >= 0) info.UnaryOperatorIndex = unary;
  }
  info.MinParams = 1;
  info.MaxParams = 1;
}

void TJUXNoParamFunc::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 0;
  info.MaxParams = 0;
}

void TJUXTwoParamFunc::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 2;
  info.MaxParams = 2;
}

void TJUXThreeParamFunc::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 3;
  info.MaxParams = 3;
}

bool TJUXFunction::BeginConstruct(const TJUXFunctionTables& tables, bool operatorSyntax, int paramCount) {
  FTables = &tables;
  FOperatorSyntax = operatorSyntax;
  GetFunctionInfo(FFunctionInfo);
  if (paramCount < FFunctionInfo.MinParams) {
    AddError(jeSyntax, "Not enough parameters for function \"" + FFunctionInfo.Name + "\"");
    return false;
  }
  if (paramCount > FFunctionInfo.MaxParams) {
    AddError(jeSyntax, "Too many parameters for function \"" + FFunctionInfo.Name + "\"");
    return false;
  }
  FParams.resize(static_cast<size_t>(paramCount));
  return true;
}

void TJUXFunction::Construct(bool operatorSyntax, TJUXParamSource& params) {
  if (BeginConstruct(params.Tables(), operatorSyntax, params.Count())) {
    for (int i = 0; i < ParamCount(); ++i) {
      // While parameter i is built, set producers below it ask this flag.
      BeginParam(i);
      SetParam(i, params.Build(i, *this));
    }
  }
  EndConstruct();
}

void TJUXFunction::AppendChildren(std::vector<TJUXExpression*>& children) const {
  for (const auto& param : FParams)
    if (param) children.push_back(param.get());
}

void TJUXFunction::Prepare(TTreeMapNode* scope) {
  size_t from = 0;
  if (FParamZeroPrepared) {
    // A node inside a chain: its chain top has prepared parameter 0.
    FParamZeroPrepared = false;
    FChain = {};
    FChainTop = false;
    from = 1;
  } else if (PrepareChainBelow(scope)) {
    from = 1;
  }
  for (size_t i = from; i < FParams.size(); ++i) {
    Require(FParams[i] != nullptr, kJUXUnparsedTree);
    FParams[i]->Prepare(scope);
  }
}

// Whether Prepare walks the chain below Top in a loop: the test that
// PrepareChainBelow makes, without preparing anything.
bool WalksChainBelow(const TJUXFunction& top) {
  if (!top.KeepsParamZeroFirst()) return false;
  size_t length = 0;
  for (const TJUXFunction* node = ChainNext(top); node && length < kMinChainWalk; node = ChainNext(*node)) ++length;
  return length >= kMinChainWalk;
}

int EvaluationDepth(const TJUXExpression& root, int limit) {
  struct TVisit {
    const TJUXExpression* Node;
    int Depth;
    bool InWalkedChain;  // parameter 0 of a node of a walked chain
  };
  std::vector<TVisit> stack{{&root, 1, false}};
  std::vector<TJUXExpression*> children;
  int deepest = 0;
  while (!stack.empty()) {
    const TVisit visit = stack.back();
    stack.pop_back();
    deepest = std::max(deepest, visit.Depth);
    if (deepest > limit) return deepest;
    children.clear();
    visit.Node->AppendChildren(children);
    const auto* function = dynamic_cast<const TJUXFunction*>(visit.Node);
    const bool walked = function && (visit.InWalkedChain || WalksChainBelow(*function));
    for (size_t i = 0; i < children.size(); ++i) {
      const bool chained = walked && i == 0 && function->ParamCount() > 0 && children[0] == function->Param(0) &&
                           ChainNext(*function) != nullptr;
      stack.push_back({children[i], chained ? visit.Depth : visit.Depth + 1, chained});
    }
  }
  return deepest;
}

bool TJUXFunction::PrepareChainBelow(TTreeMapNode* scope) {
  FChain = {};
  FChainTop = false;
  if (!KeepsParamZeroFirst()) return false;
  size_t length = 0;
  for (const TJUXFunction* node = ChainNext(*this); node && length < kMinChainWalk; node = ChainNext(*node)) ++length;
  if (length < kMinChainWalk) return false;
  std::vector<TJUXFunction*> chain;
  for (TJUXFunction* node = ChainNext(*this); node; node = ChainNext(*node)) chain.push_back(node);
  // Bottom-up: the deepest node prepares all its parameters, each node above
  // all but parameter 0, which is done by then.
  for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
    TJUXFunction* const node = *at;
    node->FParamZeroPrepared = at != chain.rbegin();
    node->Prepare(scope);
    Require(!node->FParamZeroPrepared, "JUX: a chained function class did not prepare through TJUXFunction::Prepare");
  }
  FChain = std::move(chain);
  FChainTop = true;
  return true;
}

void TJUXFunction::EvaluateChain(TTreeMapNode* scope, bool first) {
  // The plain calls clear every node's flags on the way down, before any
  // node computes; then each node computes after its parameter 0.
  for (TJUXFunction* node : FChain) node->ResetFlags(first);
  // A node done counts as a constant until the walk ends, so that the node
  // above, evaluating its parameter 0 with EvaluateParam, passes it by. The
  // common path of EvaluateParam thus tests nothing more.
  struct TDoneMarks {
    std::vector<TJUXFunction*>& Chain;
    ~TDoneMarks() {
      for (TJUXFunction* node : Chain) node->FConstant = false;
    }
  } marks{FChain};
  for (auto at = FChain.rbegin(); at != FChain.rend(); ++at) {
    TJUXFunction* const node = *at;
    node->Evaluate(scope, first);
    node->FConstant = true;
  }
  Evaluate(scope, first);
}

void TJUXFunction::Evaluate(TTreeMapNode* scope, bool first) {
  if (FParams.empty()) return;
  for (const auto& param : FParams) Require(param != nullptr, kJUXUnparsedTree);
  FParams[0]->EvaluateParam(scope, first);
  if (!HasError()) InitResult();
  for (size_t i = 1; i < FParams.size(); ++i) {
    FParams[i]->EvaluateParam(scope, first);
    if (HasError()) return;
    CombineParam(static_cast<int>(i));
  }
}

void TJUXFunction::InitResult() {
  const TJUXVar& value = ParamValue(0);
  if (!FResult) FResult = value.GetClass().Create();
  FResult->Assign(value, this);
  FSetState = FParams[0]->SetState();
}

void TJUXFunction::CombineParam(int) { Require(false, "Non-implemented abstract method called. Please check."); }

void TJUXFunction::ClearErrorFlag() {
  // Down parameter 0 in a loop, so an operator chain costs no stack; the
  // other parameters by the call.
  for (TJUXFunction* node = this; node;) {
    node->TJUXExpression::ClearErrorFlag();
    TJUXFunction* next = nullptr;
    for (size_t i = 0; i < node->FParams.size(); ++i) {
      TJUXExpression* const param = node->FParams[i].get();
      if (!param) continue;
      if (i == 0 && (next = dynamic_cast<TJUXFunction*>(param)) != nullptr) continue;  // the loop's next node
      param->ClearErrorFlag();
    }
    node = next;
  }
}

int TJUXFunction::IndexOfParam(const TJUXExpression* expression) const {
  for (size_t i = 0; i < FParams.size(); ++i)
    if (FParams[i].get() == expression) return static_cast<int>(i);
  return -1;
}

void TJUXFunction::UnifyParamTypes(int firstParam, const TJUXVarClass* cls) {
  const int count = ParamCount();
  int i = firstParam;
  if (!cls) {
    Require(firstParam >= 0 && firstParam < count, "UnifyParamTypes: parameter index out of range");
    cls = &ParamValue(firstParam).GetClass();
    i = firstParam + 1;
  }
  int restarts = 0;
  while (i < count) {
    const TJUXVarClass& other = ParamValue(i).GetClass();
    const TJUXVarClass* next = nullptr;
    if (cls->AcceptsClass(other)) {
      ++i;
      continue;
    }
    if (other.AcceptsClass(*cls))
      next = &other;
    else
      next = cls->PromotedClass();
    if (!next || ++restarts > kMaxUnifyRestarts) {
      AddError(jeIncompatibleTypes,
               "Incompatible types: " + std::string(cls->TypeName) + " and " + std::string(other.TypeName));
      break;
    }
    cls = next;
    i = firstParam;
  }
  FResult = cls->Create();
}

void TJUXFunction::MergeSetState(int index) {
  const uint8_t param = FParams[static_cast<size_t>(index)]->SetState();
  if (FSetState > jssEmpty || param > jssEmpty) return;
  const TSetStateStep step = kSetStateSteps[FSetState][param];
  FSetState = step.State;
  if (step.Mismatch) AddError(jeScopeSet, "Number of set-elements does not match");
}

void TJUXFunction::CloneFields(TJUXFunction&) const {}

std::unique_ptr<TJUXFunction> TJUXFunction::CloneNode(TJUXFunction* parent) const {
  Require(FClass != nullptr, "JUX: function node without class reference cannot be cloned");
  std::unique_ptr<TJUXFunction> copy = FClass->NewInstance(nullptr);
  copy->FTables = FTables;
  copy->FFunctionInfo = FFunctionInfo;
  copy->FOperatorSyntax = FOperatorSyntax;
  CopyBaseInto(*copy);
  copy->FParams.resize(FParams.size());
  if (parent) copy->SetParent(parent);
  return copy;
}

std::unique_ptr<TJUXExpression> TJUXFunction::Clone() const {
  // Top-down with an explicit stack, so a chain of any length costs no
  // stack; each copy joins its parent before its own parameters are copied.
  std::unique_ptr<TJUXFunction> top = CloneNode(nullptr);
  struct TStep {
    const TJUXFunction* Source;
    TJUXFunction* Copy;
    size_t Next;  // the parameter to copy next
  };
  std::vector<TStep> steps{{this, top.get(), 0}};
  while (!steps.empty()) {
    TStep& step = steps.back();
    if (step.Next == step.Source->FParams.size()) {
      step.Source->CloneFields(*step.Copy);
      steps.pop_back();
      continue;
    }
    const size_t i = step.Next++;
    const TJUXExpression* param = step.Source->FParams[i].get();
    if (!param) continue;
    if (const auto* function = dynamic_cast<const TJUXFunction*>(param)) {
      std::unique_ptr<TJUXFunction> copy = function->CloneNode(step.Copy);
      TJUXFunction* const copyNode = copy.get();
      step.Copy->FParams[i] = std::move(copy);
      steps.push_back({function, copyNode, 0});
      continue;
    }
    std::unique_ptr<TJUXExpression> copy = param->Clone();
    copy->SetParent(step.Copy);
    step.Copy->FParams[i] = std::move(copy);
  }
  return top;
}
