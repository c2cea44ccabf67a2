#pragma once
// Function classes of the expression language: lookup, attribute and
// evaluation functions; the set functions are in set_functions.h.
//
// - Lookup: mapstr, lookup, mapindex, find map a value to a position or a
//   position to a value.
// - Attributes named by a text computed at evaluation time: attr, and the
//   value-index tests attrisnull, attrisempty, attrisconverr.
// - eval parses and evaluates an expression text at evaluation time, below
//   itself; the tree is rebuilt only when the text changes.
// - samevalue compares two numbers within a tolerance; datatype names the
//   class of a value.
//
// The group's registry rows, those of the set functions included, are
// published by LookupFunctionTable().

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "eval/language/function.h"

class TJUXVar_Boolean;

// How many eval nodes may nest through evaluated texts (an eval whose text
// contains eval, and so on). A text that evaluates itself would otherwise
// recurse until the stack is exhausted; the innermost eval reports
// "Expression nested too deeply" (kind 1) instead.
inline constexpr int kJUXMaxEvalNesting = 16;

// mapstr(AText; APattern1; ...): the zero-based index of the last pattern
// that occurs in AText (plain, case-sensitive); -1 when none does. An empty
// pattern never occurs.
class TJUXFunc_MapStr : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  // A set only in parameter 0, and only where mapstr itself may be a set.
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// lookup(AIndex; Result0; Result1; ...): the value of Result<AIndex>; only the
// chosen parameter is evaluated. The results share one class (kind 4 at
// Prepare otherwise); an index outside them reports kind 12.
class TJUXFunc_Lookup : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// mapindex(AValue; AValue0; AValue1; ...): the zero-based index of the first
// parameter equal to AValue (equality of AValue's class); -1 when none is.
class TJUXFunc_MapIndex : public TJUXFunction {
 public:
  explicit TJUXFunc_MapIndex(TJUXExpression* parent);
  ~TJUXFunc_MapIndex() override;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 private:
  std::unique_ptr<TJUXVar_Boolean> FComparison;  // outcome of one equality test
};

// find(ATest0; ATest1; ...): the index of the first true parameter, -1 when
// none is. Every parameter is evaluated, errors included.
class TJUXFunc_MapIndexBool : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// eval(AText): parses AText below this node and evaluates it. The text is
// computed once at Prepare (on the Prepare scope), and the result class is
// that of the first tree; at each evaluation a changed text is parsed,
// prepared and evaluated anew. A text that yields a set reports kind 8.
class TJUXFunc_Eval : public TJUXFunction {
 public:
  explicit TJUXFunc_Eval(TJUXExpression* parent);
  ~TJUXFunc_Eval() override;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

  // The text the current tree was built from ("?" before the first).
  const std::string& CachedText() const { return FCachedText; }
  // The tree of the cached text; null when none is built.
  const TJUXExpression* SubExpression() const { return FSubExpression.get(); }
  // The parameters and the tree of the cached text.
  void AppendChildren(std::vector<TJUXExpression*>& children) const override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  // Frees the old tree and builds one for `text` below this node; the
  // cached text changes only when the text scans. Answers whether a tree
  // was built (errors have been reported otherwise).
  bool BuildSubExpression(const std::string& text);
  // Computes the text on the Prepare scope and builds and prepares its tree.
  void PrepareFirstTree(TTreeMapNode* scope);

  std::string FCachedText = "?";
  std::unique_ptr<TJUXExpression> FSubExpression;
};

// attr(AName): the value of the attribute named by a text (so also of
// attributes whose names are shadowed by functions or constants). The result
// class follows the attribute found at Prepare (an integer attribute gives a
// double); a name unknown there gives a double and kind 10.
class TJUXFunc_Attr : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  // Precondition: the root has an attribute collection.
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  std::string FCachedName = "\r\n";
  TAttributeDescriptor* FAttribute = nullptr;  // not owned
};

// Base of attrisnull, attrisempty and attrisconverr: a Boolean telling
// whether the scope node's record has a value index of one kind in the
// attribute named by parameter 0 (which must be a text).
class TJUXFunc_AttrValIndexTests : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  // Precondition: the root has an attribute collection. A parameter that is
  // not a text reports "AttrIsNull: character string expected" (kind 4).
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
  // Whether a value index (>= 0, or kValueIndexNull / Empty /
  // ConversionError) passes the test.
  virtual bool TestValueIndex(int32_t valueIndex) const = 0;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  std::string FCachedName = "\r\n";
  TAttributeDescriptor* FAttribute = nullptr;  // not owned
};

// attrisnull(AName): the record's value is null.
class TJUXFunc_AttrValIsNull : public TJUXFunc_AttrValIndexTests {
 public:
  using TJUXFunc_AttrValIndexTests::TJUXFunc_AttrValIndexTests;
  bool TestValueIndex(int32_t valueIndex) const override;
};

// attrisempty(AName): the record's value is empty.
class TJUXFunc_AttrValIsEmpty : public TJUXFunc_AttrValIndexTests {
 public:
  using TJUXFunc_AttrValIndexTests::TJUXFunc_AttrValIndexTests;
  bool TestValueIndex(int32_t valueIndex) const override;
};

// attrisconverr(AName): the record's value failed conversion.
class TJUXFunc_AttrValIsConvErr : public TJUXFunc_AttrValIndexTests {
 public:
  using TJUXFunc_AttrValIndexTests::TJUXFunc_AttrValIndexTests;
  bool TestValueIndex(int32_t valueIndex) const override;
};

// samevalue(A; B; [Tolerance]): true unless |A - B| >= Tolerance (1e-10 by
// default), compared as doubles; a NaN difference gives true.
class TJUXFunc_SameValue : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// datatype(AValue): the type name of the parameter's prepared value; fixed at
// Prepare, the parameter is never evaluated.
class TJUXFunc_DataType : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode*, bool) override {}
};

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> LookupFunctionTable();
