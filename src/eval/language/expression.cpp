#include "eval/language/expression.h"

#include <algorithm>

#include "foundation/assertion.h"

namespace {

char LowerASCII(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive (ASCII) ordering of names.
int CompareNames(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerASCII(a[i]));
    const auto cb = static_cast<unsigned char>(LowerASCII(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

// --- TJUXNameList

void TJUXNameList::Add(std::string_view name) {
  const auto at = std::lower_bound(FNames.begin(), FNames.end(), name,
                                   [](const std::string& a, std::string_view b) { return CompareNames(a, b) < 0; });
  if (at != FNames.end() && CompareNames(*at, name) == 0) return;
  FNames.insert(at, std::string(name));
}

bool TJUXNameList::Contains(std::string_view name) const {
  return std::any_of(FNames.begin(), FNames.end(), [&](const std::string& n) { return CompareNames(n, name) == 0; });
}

// --- TJUXExpression

TJUXExpression::TJUXExpression(TJUXExpression* parent) : FParent(parent) {
  if (parent) {
    FRoot = parent->FRoot;
    FBelowChangeOfScope = parent->InsideChangeOfScope();
  } else {
    FErrors = std::make_unique<std::vector<std::string>>();
    FMeta = std::make_unique<TJUX_META>(0);
    FFormatSettings = std::make_unique<TFormatSettingsObj>(UserFormatSettings());
  }
}

TJUXExpression::~TJUXExpression() = default;

void TJUXExpression::SetParent(TJUXExpression* parent) {
  FParent = parent;
  // The subtree's cached root and change-of-scope context follow, parents
  // before children.
  std::vector<TJUXExpression*> pending{this};
  while (!pending.empty()) {
    TJUXExpression* const node = pending.back();
    pending.pop_back();
    node->FRoot = node->FParent ? node->FParent->FRoot : node;
    node->FBelowChangeOfScope = node->FParent && node->FParent->InsideChangeOfScope();
    node->AppendChildren(pending);
  }
  if (parent) return;
  FFormatSettings = std::make_unique<TFormatSettingsObj>(UserFormatSettings());
  // A node that becomes a root needs a place for its messages and meta.
  if (!FErrors) FErrors = std::make_unique<std::vector<std::string>>();
  if (!FMeta) FMeta = std::make_unique<TJUX_META>(static_cast<int>(FSpecVars.size()));
}

bool TJUXExpression::AcceptsSetParam(int) const { return FParent ? FParent->FSetAllowed : false; }

std::string TJUXExpression::AsTextEx(bool) const { return {}; }

void TJUXExpression::EvaluateEx(TTreeMapNode* scope, bool first) {
  ResetFlags(first);
  Evaluate(scope, first);
}

void TJUXExpression::SetFlags(TJUXFlags flags, bool propagate) {
  for (TJUXExpression* node = this; node; node = propagate ? node->FParent : nullptr)
    node->FFlags = static_cast<TJUXFlags>(node->FFlags | flags);
}

void TJUXExpression::ClearErrorFlag() { FFlags = static_cast<TJUXFlags>(FFlags & ~jfError); }

void TJUXExpression::AddError(uint8_t kind, std::string_view message) {
  const TJUXFlags kindFlag = kind < 16 ? JUXKindFlag(kind) : 0;
  // A loop, not a call per ancestor: an error deep in a long operator chain
  // climbs the whole chain.
  for (TJUXExpression* node = this;; node = node->FParent) {
    if (node->CatchError()) return;
    if (kindFlag != 0 && (node->FFlags & kindFlag) && (node->FFlags & jfError)) return;
    node->FFlags = static_cast<TJUXFlags>(node->FFlags | kindFlag | jfError);
    if (!node->FParent) {
      node->FErrors->emplace_back(message);
      return;
    }
  }
}

int TJUXExpression::IndexOfParam(const TJUXExpression*) const { return -1; }

void TJUXExpression::AppendChildren(std::vector<TJUXExpression*>&) const {}

const std::vector<std::string>& TJUXExpression::Errors() const { return *Root()->FErrors; }
TJUX_META& TJUXExpression::Meta() { return *Root()->FMeta; }
const TFormatSettings& TJUXExpression::FormatSettings() const { return Root()->FFormatSettings->FormatSettings; }
TFormatSettings& TJUXExpression::FormatSettings() { return Root()->FFormatSettings->FormatSettings; }
TDravolinAttributes* TJUXExpression::Attributes() const { return Root()->FAttributes; }
uint16_t TJUXExpression::AllowedScopes() const { return Root()->FAllowedScopes; }
int64_t TJUXExpression::LoopCounter() const { return Root()->FLoopCounter; }

const TJUXClock& TJUXExpression::Clock() const {
  const TJUXClock* own = Root()->FClock.get();
  return own && *own ? *own : JUXSystemClock();
}

void TJUXExpression::SetClock(TJUXClock clock) { FClock = std::make_unique<TJUXClock>(std::move(clock)); }

void TJUXExpression::SetSpecialVariables(TSpecVarList vars) {
  FSpecVars = std::move(vars);
  if (FMeta) FMeta->SpecVarUseCounts.resize(FSpecVars.size(), 0);
}

void TJUXExpression::MarkDependsOnScope() {
  // Ancestors of a marked node are marked already, so the walk stops there.
  for (TJUXExpression* node = this; node && !node->FDependsOnScopeNode; node = node->FParent) {
    node->FDependsOnScope = true;
    node->FDependsOnScopeNode = true;
  }
}

void TJUXExpression::MarkDependsOnScopeLevel() {
  for (TJUXExpression* node = this; node && !node->FDependsOnScope; node = node->FParent) node->FDependsOnScope = true;
}

void TJUXExpression::LoopTick() {
  TJUXExpression* root = Root();
  ++root->FLoopCounter;
  if (!root->FProgress) return;
  if (++root->FTickCounter <= root->FTickInterval) return;
  root->FTickCounter = 0;
  if (!root->FProgress(root->FLoopCounter)) AddError(jeUserAbort, "User abort");
}

void TJUXExpression::LoopTicks(int64_t count) {
  TJUXExpression* root = Root();
  if (!root->FProgress) {
    root->FLoopCounter += count;
    return;
  }
  while (count > 0) {
    // The steps that still leave the tick counter within the interval; the
    // one after them calls back.
    const int64_t quiet = root->FTickCounter < root->FTickInterval ? root->FTickInterval - root->FTickCounter : 0;
    if (count <= quiet) {
      root->FLoopCounter += count;
      root->FTickCounter += count;
      return;
    }
    root->FLoopCounter += quiet + 1;
    count -= quiet + 1;
    root->FTickCounter = 0;
    if (!root->FProgress(root->FLoopCounter)) {
      AddError(jeUserAbort, "User abort");
      return;
    }
  }
}

void TJUXExpression::CopyBaseInto(TJUXExpression& copy) const {
  copy.FResult = FResult ? FResult->Clone() : nullptr;
  copy.FSetState = FSetState;
}

// --- reporting helpers

void ReportIncompatibleTypes(TJUXExpression* node, std::string_view a, std::string_view b) {
  if (node) node->AddError(jeIncompatibleTypes, "Incompatible types: " + Quoted(a) + " and " + Quoted(b));
}

void ReportFunctionNotDefined(TJUXExpression* node, std::string_view function, std::string_view typeName) {
  if (node)
    node->AddError(jeNotDefined,
                   "Function " + Quoted(function) + " not defined for variables of class " + Quoted(typeName));
}

void ReportOperatorNotDefined(TJUXExpression* node, std::string_view op, std::string_view typeName) {
  if (node)
    node->AddError(jeNotDefined, "Operator " + Quoted(op) + " not defined for variables of class " + Quoted(typeName));
}

void ReportInvalidTypecast(TJUXExpression* node, std::string_view from, std::string_view to) {
  if (node) node->AddError(jeInvalidTypecast, "Invalid typecast, from " + Quoted(from) + " to " + Quoted(to));
}

std::unique_ptr<TJUXExpression> TJUXExpr_Root::Clone() const {
  auto copy = std::make_unique<TJUXExpr_Root>();
  copy->FormatSettings() = FormatSettings();
  copy->SetAttributes(Attributes());
  copy->SetAllowedScopes(AllowedScopes());
  copy->SetClock(Clock());
  CopyBaseInto(*copy);
  return copy;
}
