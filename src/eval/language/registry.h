#pragma once
// The static vocabulary of the expression language: the binary and unary
// operator tables, the function registry assembled from the function groups'
// tables, the category names and the named constants.
//
// The registry lists the 116 functions in a fixed order; the row index is the
// function-table index every function node keeps. Rows come from the groups'
// <Group>FunctionTable() accessors; a name that no group provides (yet) is
// left out, so looking it up fails and the rows after it move up.
//
// Everything here is built once, on first use, and only read afterwards.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "eval/language/function.h"

class TJUXVar;

// Binary operators, 18 rows; no class stands in two rows.
std::span<const TJUXOperatorSpecs> JUXBinaryOperators();
// Unary operators, 3 rows: "not", "-", "+".
std::span<const TJUXOperatorSpecs> JUXUnaryOperators();

// The registry rows in registry order.
std::span<const TJUXFunctionInfo> JUXFunctionRegistry();
// The vocabulary handed to function nodes (registry, operators, token texts).
const TJUXFunctionTables& JUXFunctionTables();

// The registry names in registry order, whether or not a group provides them.
extern const std::array<std::string_view, 116> kJUXRegistryNames;
// Category names by TJUXFunctionCategory.
inline constexpr std::array<std::string_view, 12> kJUXCategoryNames = {
    "String", "Arithmatic", "Statistics", "Tree",     "Set",         "Lookup",
    "Display", "Attribute", "DateTime",   "TypeCast", "Conditional", "Other"};

// One named constant; the value is owned by the table.
struct TJUXConstantsRecord {
  std::string_view Name;  // lower case
  std::unique_ptr<TJUXVar> Value;
};
// pi, e, true, false, nan, infinity, phi, in this order.
std::span<const TJUXConstantsRecord> JUXConstants();

// Row lookups; -1 when there is none. Names are compared in lower case as
// given (callers lower-case identifiers first).
int JUXFunctionIndexOfName(std::string_view lowerName);
int JUXConstantIndexOfName(std::string_view lowerName);
int JUXBinaryOperatorIndexOfKind(uint8_t tokenKind);
int JUXUnaryOperatorIndexOfKind(uint8_t tokenKind);
// The highest binary-table row whose class is the node's class; -1 if none
// (also for a node that is not a function node).
int OperatorIndexOfClass(const TJUXExpression* expression);
