#pragma once
// Helpers shared by the scope and tree functions.

#include <cstdint>
#include <string_view>

#include "eval/language/expression.h"
#include "eval/values/derived_vars.h"

// Reports kind 8 `message` unless the root allows the scope function of `mask`.
void CheckScopeAllowed(TJUXExpression& node, uint16_t mask, std::string_view message);

// Marks `node` and its ancestors as depending on the scope, unless the node
// lies in the value operand of a change of scope (which hands down a scope of
// its own).
void MarkReadsScope(TJUXExpression& node);
// The same for a node that reads only the depth of the scope node and the
// tree it is in.
void MarkReadsScopeLevel(TJUXExpression& node);

// Reports "JUX: evaluate called without scope parameter" (kind 8) when
// `scope` is missing; answers whether it is present.
bool RequireScope(TJUXExpression& node, const TTreeMapNode* scope);

// The node's result as a scope value, made fresh when it is none or of
// another class.
TJUXVar_Scope& ScopeResult(TJUXExpression& node);
