// Reading attribute values of the host into attribute-reference results.
#include "eval/language/expression.h"

#include <array>

#include "eval/values/derived_vars.h"
#include "foundation/rounding.h"
#include "treemap/tree_map_node.h"

namespace {

using TNumberSetter = void (TJUXVar::*)(double, TJUXExpression*);

// Setters of the number types 2..8 (index = type code; 0 and 1 are special).
constexpr std::array<TNumberSetter, 9> kNumberSetters = {
    nullptr,           nullptr,           &TJUXVar::SetDouble,   &TJUXVar::SetDateTime,  &TJUXVar::SetDate,
    &TJUXVar::SetTime, &TJUXVar::SetDuration, &TJUXVar::SetCurrency, &TJUXVar::SetPercentage};

constexpr std::array<TJUXVarKind, 9> kAttributeKinds = {
    TJUXVarKind::String, TJUXVarKind::Integer,  TJUXVarKind::Double,   TJUXVarKind::DateTime,  TJUXVarKind::Date,
    TJUXVarKind::Time,   TJUXVarKind::Duration, TJUXVarKind::Currency, TJUXVarKind::Percentage};

}  // namespace

const TJUXVarClass* AttributeValueClass(int32_t typeCode) {
  if (typeCode < 0 || typeCode >= static_cast<int32_t>(kAttributeKinds.size())) return nullptr;
  return &JUXVarClass(kAttributeKinds[static_cast<size_t>(typeCode)]);
}

void ReadAttributeValue(TJUXExpression& node, TAttributeDescriptor& attribute, const TTreeMapNode* scope) {
  TJUXVar& result = *node.Result();
  const int32_t type = attribute.TypeCode;
  if (type == atFixedText) {
    result.SetString(attribute.FixedText, &node);
    return;
  }
  if (type == atFixedNumber) {
    result.SetDouble(attribute.FixedNumber, &node);
    return;
  }
  if (type < atText || type > atPercentage) {
    node.AddError(jeInternal, "Internal error: attribute type not listed");
    return;
  }
  const int32_t record = scope ? scope->RecordIndex() : -1;
  if (type == atText) {
    if (attribute.ByIndex)
      result.SetString(attribute.IndexText(attribute.Index, FixedFormatSettings()), &node);
    else if (result.Storage() == TJUXVarStorage::String)
      attribute.ReadRecordText(record, static_cast<TJUXVar_String&>(result).MutableValue());
    else
      result.SetString(attribute.RecordText(record), &node);
    return;
  }
  const double number = attribute.ByIndex ? attribute.IndexNumber(attribute.Index) : attribute.RecordNumber(record);
  // The setters of the two commonest cases, without their virtual calls.
  if (type == atDouble && result.Storage() == TJUXVarStorage::Float)
    static_cast<TJUXVar_Double&>(result).SetValue(number);
  else if (type == atInteger && result.Storage() == TJUXVarStorage::Integer)
    static_cast<TJUXVar_Integer&>(result).SetValue(RoundDouble(number));
  else if (type == atInteger)
    result.SetInteger(RoundDouble(number), &node);
  else
    (result.*kNumberSetters[static_cast<size_t>(type)])(number, &node);
}
