#include "eval/values/scalar_operations.h"

#include "eval/language/expression.h"

void JUXFlagKind(TJUXExpression* sink, uint8_t kind) {
  if (sink) sink->SetFlags(JUXKindFlag(kind), true);
}
