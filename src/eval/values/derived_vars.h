#pragma once
// The number classes that give a double a meaning (currency, percentage, date,
// datetime, time, duration) and the scope value, which holds a tree-map node.
// Dates and times count days from 30 December 1899 (day 0), the time of day
// being the fraction; a duration is a number of days; a percentage is stored
// unscaled (50 shows as "50%").

#include <memory>
#include <string>

#include "eval/values/scalar_vars.h"
#include "treemap/tree_map_node.h"

class TJUXVar_Currency : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Currency); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  // Money with the settings' currency string, decimals, separators and formats.
  std::string ToText(const TFormatSettings& settings) const override;
  double AsCurrency(TJUXExpression* sink) const override;
  void SetCurrency(double value, TJUXExpression* sink) override;
};

class TJUXVar_Percentage : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Percentage); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  std::string ToText(const TFormatSettings& settings) const override;
  double AsPercentage(TJUXExpression* sink) const override;
  void SetPercentage(double value, TJUXExpression* sink) override;
};

class TJUXVar_Date : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Date); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  // The settings' short date format.
  std::string ToText(const TFormatSettings& settings) const override;
  double AsDateTime(TJUXExpression* sink) const override;
  double AsDate(TJUXExpression* sink) const override;
  void SetDate(double value, TJUXExpression* sink) override;
};

class TJUXVar_DateTime : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::DateTime); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  // Short date, then (unless exactly midnight) a blank and the long time.
  std::string ToText(const TFormatSettings& settings) const override;
  double AsDateTime(TJUXExpression* sink) const override;
  double AsDate(TJUXExpression* sink) const override;  // whole days, truncated toward zero
  double AsTime(TJUXExpression* sink) const override;  // the fraction, with the value's sign
  void SetDateTime(double value, TJUXExpression* sink) override;
  void SetDate(double value, TJUXExpression* sink) override;
  void SetTime(double value, TJUXExpression* sink) override;
};

class TJUXVar_Time : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Time); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  // The settings' long time format.
  std::string ToText(const TFormatSettings& settings) const override;
  double AsDateTime(TJUXExpression* sink) const override;
  double AsTime(TJUXExpression* sink) const override;
  void SetTime(double value, TJUXExpression* sink) override;
};

class TJUXVar_Duration : public TJUXVar_Double {
 public:
  using TJUXVar_Double::TJUXVar_Double;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Duration); }
  const TJUXVarClass& GetClass() const override { return Class(); }
  // "[- ][N day(s), ]hh:mm:ss" on a 24-hour clock; the settings are not used.
  std::string ToText(const TFormatSettings& settings) const override;
  double AsTime(TJUXExpression* sink) const override;
  double AsDuration(TJUXExpression* sink) const override;
  void SetDuration(double value, TJUXExpression* sink) override;
};

// A tree-map node as a value: either a reference to a node of the tree (which
// must outlive the value) or a private record node that the value owns (no
// parent, no level; only the record index and data source of a source node).
class TJUXVar_Scope : public TJUXVar {
 public:
  TJUXVar_Scope();
  ~TJUXVar_Scope() override;
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Scope); }
  // A value referring to a node of the tree (not owned).
  static std::unique_ptr<TJUXVar_Scope> CreateWithNode(TTreeMapNode* node);
  // A value owning a private node.
  static std::unique_ptr<TJUXVar_Scope> CreateWithNode(std::unique_ptr<TTreeMapNode> node);

  TTreeMapNode* Node() const { return FNode; }

  const TJUXVarClass& GetClass() const override { return Class(); }
  bool OwnsNode() const override { return FOwnsNode; }
  // "Node", or «Node in cluster "V"» with the node's class string.
  std::string ToText(const TFormatSettings& settings) const override;
  TJUXVarRec ToVarRec() const override { return int64_t{0}; }
  TTreeMapNode* AsScope(TJUXExpression* sink) const override;
  // Refers to `value` without owning it (a private node held before is freed).
  void SetScope(TTreeMapNode* value, TJUXExpression* sink) override;
  // A private source node is copied into a private node of this value; a
  // referencing source gives a reference to the same node.
  void Assign(const TJUXVar& source, TJUXExpression* sink) override;
  // Equal by record index when either side owns a private node, else by
  // identity; false (for both) when either node is missing.
  void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;

 private:
  // Whether the values compare at all (both nodes present) and, if so, equal.
  bool Compare(const TJUXVar& other, TJUXExpression* sink, bool& equal) const;

  TTreeMapNode* FNode = nullptr;             // the node referred to or owned
  std::unique_ptr<TTreeMapNode> FOwnedNode;  // the private node, when owned
  bool FOwnsNode = false;
};
