#include "eval/functions/strings/string_functions.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Copy(s, index, count): an index below 1 counts as 1 with count unchanged;
// empty when s is empty, index is beyond s or count < 0; count is cut to what
// remains.
std::string_view CopyText(std::string_view s, int64_t index, int64_t count) {
  const auto length = static_cast<int64_t>(s.size());
  if (index < 1) index = 1;
  if (s.empty() || index > length || count < 0) return {};
  count = std::min(count, length - index + 1);
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

void MapASCII(std::string& text, char from, char to) {
  for (char& c : text)
    if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
}

// s with every occurrence of old replaced, written into out (not s).
void ReplaceAll(const std::string& s, const std::string& old, const std::string& replacement, std::string& out) {
  out.clear();
  if (old.empty()) {
    out = s;
    return;
  }
  size_t from = 0;
  for (size_t at = s.find(old); at != std::string::npos; at = s.find(old, from)) {
    out.append(s, from, at - from);
    out += replacement;
    from = at + old.size();
  }
  out.append(s, from, std::string::npos);
}

// The 1-based position of sub in s at or after start (>= 1); 0 if none.
int64_t FindText(const std::string& sub, const std::string& s, int64_t start) {
  if (sub.empty() || s.empty() || start > static_cast<int64_t>(s.size())) return 0;
  const size_t at = s.find(sub, static_cast<size_t>(std::max<int64_t>(start, 1) - 1));
  return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

// The node's string result to build in place (its capacity is reused from
// one evaluation to the next), or `scratch` when the result is of another
// class; Store then hands a scratch text to the result's SetString.
std::string& TextTarget(TJUXFunction& node, std::string& scratch) {
  TJUXVar& result = *node.Result();
  if (result.Storage() == TJUXVarStorage::String) return static_cast<TJUXVar_String&>(result).MutableValue();
  return scratch;
}

void Store(TJUXFunction& node, const std::string& target, const std::string& scratch) {
  if (&target == &scratch) node.Result()->SetString(scratch, &node);
}

void SetText(TJUXFunction& node, std::string_view text) {
  std::string scratch;
  std::string& target = TextTarget(node, scratch);
  target.assign(text);
  Store(node, target, scratch);
}

// The text with the ASCII letters from..from+25 moved to to..to+25.
void SetMappedText(TJUXFunction& node, const std::string& text, char from, char to) {
  std::string scratch;
  std::string& target = TextTarget(node, scratch);
  target.assign(text);
  MapASCII(target, from, to);
  Store(node, target, scratch);
}

// A position or length as a 32-bit integer result (texts above 2^31
// characters do not occur in practice).
void SetCount(TJUXFunction& node, int64_t count) { node.Result()->SetInteger(static_cast<int32_t>(count), &node); }

}  // namespace

// --- leftstr, rightstr, midstr

void TJUXPieceStrFunc::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXPieceStrFunc::InitResult() { SetSetState(Param(0)->SetState()); }

void TJUXFunc_LeftStr::CombineParam(int index) {
  std::string scratch;
  const std::string& s = JUXReadString(ParamValue(0), this, scratch);
  SetText(*this, CopyText(s, 1, JUXReadInteger(ParamValue(1), this)));
  CombineSetState(index);
}

void TJUXFunc_RightStr::CombineParam(int index) {
  std::string scratch;
  const std::string& s = JUXReadString(ParamValue(0), this, scratch);
  const int64_t n = JUXReadInteger(ParamValue(1), this);
  // Clamped to 0..length (a count <= 0 gives an empty text anyway), so the
  // index below cannot overflow, also for the most negative integer.
  const int64_t count = std::clamp<int64_t>(n, 0, static_cast<int64_t>(s.size()));
  SetText(*this, CopyText(s, static_cast<int64_t>(s.size()) - count + 1, count));
  CombineSetState(index);
}

void TJUXFunc_MidStr::Prepare(TTreeMapNode* scope) {
  TJUXThreeParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXFunc_MidStr::InitResult() { SetSetState(Param(0)->SetState()); }

void TJUXFunc_MidStr::CombineParam(int index) {
  CombineSetState(index);
  if (index != 2) return;
  std::string scratch;
  const std::string& s = JUXReadString(ParamValue(0), this, scratch);
  const int64_t position = JUXReadInteger(ParamValue(1), this);
  SetText(*this, CopyText(s, position, JUXReadInteger(ParamValue(2), this)));
}

// --- one-parameter text functions

void TJUXFunc_Lowercase::Compute(const std::string& text) { SetMappedText(*this, text, 'A', 'a'); }
void TJUXFunc_Uppercase::Compute(const std::string& text) { SetMappedText(*this, text, 'a', 'A'); }

void TJUXFunc_LenStr::Compute(const std::string& text) { SetCount(*this, static_cast<int64_t>(text.size())); }

void TJUXFunc_LTrimStr::Compute(const std::string& text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  SetText(*this, std::string_view(first, text.end()));
}

void TJUXFunc_RTrimStr::Compute(const std::string& text) {
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
  SetText(*this, std::string_view(text.begin(), last));
}

void TJUXFunc_TrimStr::Compute(const std::string& text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  const auto last = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(first), IsBlank).base();
  SetText(*this, std::string_view(first, last));
}

// --- replacestr, pos

void TJUXFunc_ReplaceStr::Prepare(TTreeMapNode* scope) {
  TJUXThreeParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXFunc_ReplaceStr::CombineParam(int index) {
  if (index != 2) return;
  std::string scratchText, scratchOld, scratchNew, scratchResult;
  const std::string& s = JUXReadString(ParamValue(0), this, scratchText);
  const std::string& old = JUXReadString(ParamValue(1), this, scratchOld);
  const std::string& replacement = JUXReadString(ParamValue(2), this, scratchNew);
  std::string& target = TextTarget(*this, scratchResult);
  ReplaceAll(s, old, replacement, target);
  Store(*this, target, scratchResult);
  CombineAllSetStates();
}

void TJUXFunc_Pos::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 2;
  info.MaxParams = 3;
}

void TJUXFunc_Pos::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_Pos::CombineParam(int index) {
  if (index != ParamCount() - 1) return;
  std::string scratchSub, scratchText;
  const std::string& sub = JUXReadString(ParamValue(0), this, scratchSub);
  const std::string& s = JUXReadString(ParamValue(1), this, scratchText);
  const int64_t start = ParamCount() == 3 ? JUXReadInteger(ParamValue(2), this) : 1;
  SetCount(*this, FindText(sub, s, start));
  CombineAllSetStates();
}
