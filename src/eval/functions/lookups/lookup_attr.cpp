// attr and the value-index tests attrisnull, attrisempty, attrisconverr.
#include "eval/functions/lookups/lookup_functions.h"

#include <string>
#include <string_view>

#include "eval/values/scalar_vars.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

TDravolinAttributes& RequireAttributes(const TJUXExpression& node) {
  TDravolinAttributes* const attributes = node.Attributes();
  Require(attributes != nullptr, "JUX: DravolinAttributes is not defined when evaluating a non-constant expression");
  return *attributes;
}

// Looks `name` up in the root's collection; a descriptor found loads its values.
void LookUp(const TJUXExpression& node, const std::string& name, std::string& cachedName,
            TAttributeDescriptor*& attribute) {
  TDravolinAttributes& attributes = RequireAttributes(node);
  attribute = FindAttributeByVariant(attributes, std::string_view(name));
  cachedName = name;
  if (attribute) attribute->LoadValues(attributes.DataSource, attributes);
}

// What attr yields for an attribute type. Integers are read as doubles here;
// the fixed-text and fixed-number types yield their fixed value.
std::unique_ptr<TJUXVar> AttrResultFor(TJUXExpression& node, int32_t typeCode) {
  if (typeCode == atInteger || typeCode == atFixedNumber) return std::make_unique<TJUXVar_Double>();
  if (typeCode == atFixedText) return std::make_unique<TJUXVar_String>();
  if (const TJUXVarClass* cls = AttributeValueClass(typeCode)) return cls->Create();
  node.AddError(jeInternal, "Internal error: attribute type not listed");
  return std::make_unique<TJUXVar_Double>();
}

void MarkDynamicAccess(TJUXExpression& node) {
  // Which attribute is read is known only at evaluation.
  if (node.Parent()) node.Parent()->MarkDependsOnScope();
  node.Meta().DynamicAccess = true;
}

int32_t RecordOf(const TTreeMapNode* scope) { return scope ? scope->RecordIndex() : -1; }

// The Evaluate step shared by attr and the value-index tests: evaluates the
// name (parameter 0), takes over its set state and finds the attribute,
// looked up again only when the name changed. False when there is nothing to
// read: an error, an empty set or an unknown attribute (reported here).
bool EvaluateAttribute(TJUXFunction& node, TTreeMapNode* scope, bool first, std::string& cachedName,
                       TAttributeDescriptor*& attribute) {
  RequireAttributes(node);
  TJUXExpression& name = *node.Param(0);
  name.EvaluateEx(scope, first);
  const std::string text = name.Result()->AsString(&node);
  node.SetSetState(name.SetState());
  if (node.HasError() || node.SetState() == jssEmpty) return false;
  if (text != cachedName) LookUp(node, text, cachedName, attribute);
  if (!attribute) {
    node.AddError(jeAttributeUnknown, "Attribute unknown: " + cachedName);
    return false;
  }
  return true;
}

}  // namespace

// --- attr

void TJUXFunc_Attr::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  MarkDynamicAccess(*this);
}

void TJUXFunc_Attr::Prepare(TTreeMapNode* scope) {
  RequireAttributes(*this);
  ClearErrorFlag();  // errors of an earlier evaluation must not stop this preparation
  FResult = std::make_unique<TJUXVar_Double>();  // kept when no attribute is found
  TJUXExpression& name = *FParams[0];
  name.Prepare(scope);
  if (HasError()) return;
  name.EvaluateEx(scope, true);
  if (HasError()) return;
  const std::string text = name.Result()->AsString(this);
  if (HasError()) return;
  LookUp(*this, text, FCachedName, FAttribute);
  if (!FAttribute) {
    AddError(jeAttributeUnknown, "Attribute unknown: " + text);
    return;
  }
  FResult = AttrResultFor(*this, FAttribute->TypeCode);
}

void TJUXFunc_Attr::Evaluate(TTreeMapNode* scope, bool first) {
  // The result class stays that of the attribute found at Prepare.
  if (!EvaluateAttribute(*this, scope, first, FCachedName, FAttribute)) return;
  ReadAttributeValue(*this, *FAttribute, scope);
}

void TJUXFunc_Attr::CloneFields(TJUXFunction& copy) const {
  auto& target = static_cast<TJUXFunc_Attr&>(copy);
  target.FCachedName = FCachedName;
  target.FAttribute = FAttribute;
}

// --- value-index tests

void TJUXFunc_AttrValIndexTests::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  MarkDynamicAccess(*this);
}

void TJUXFunc_AttrValIndexTests::Prepare(TTreeMapNode* scope) {
  RequireAttributes(*this);
  TJUXFunction::Prepare(scope);
  const TJUXVar* name = FParams[0]->Result();
  if (!name || !name->AcceptsClass(TJUXVar_String::Class()))
    AddError(jeIncompatibleTypes, "AttrIsNull: character string expected");
  // The result is a Boolean even after the error, so an evaluation still
  // finds a value of its class.
  FResult = std::make_unique<TJUXVar_Boolean>();
  FCachedName = "\r\n";
  FAttribute = nullptr;
}

void TJUXFunc_AttrValIndexTests::Evaluate(TTreeMapNode* scope, bool first) {
  if (!EvaluateAttribute(*this, scope, first, FCachedName, FAttribute)) return;
  FResult->SetBoolean(TestValueIndex(FAttribute->RecordValueIndex(RecordOf(scope))), this);
}

void TJUXFunc_AttrValIndexTests::CloneFields(TJUXFunction& copy) const {
  auto& target = static_cast<TJUXFunc_AttrValIndexTests&>(copy);
  target.FCachedName = FCachedName;
  target.FAttribute = FAttribute;
}

bool TJUXFunc_AttrValIsNull::TestValueIndex(int32_t valueIndex) const { return valueIndex == kValueIndexNull; }
bool TJUXFunc_AttrValIsEmpty::TestValueIndex(int32_t valueIndex) const { return valueIndex == kValueIndexEmpty; }
bool TJUXFunc_AttrValIsConvErr::TestValueIndex(int32_t valueIndex) const {
  return valueIndex == kValueIndexConversionError;
}
