#pragma once
// The recursive-splitting parser as it was before the parser became linear,
// kept as the reference the differential tests compare the parser with. It
// finds the split operator by rescanning each slice (quadratic in a flat
// chain) and counts every split as a level of depth.

#include <memory>

#include "eval/language/tokenizer.h"

class TJUXExpression;

namespace JUXReference {

// How deeply the reference parser lets slices nest.
inline constexpr int kMaxParseDepth = 500;

std::unique_ptr<TJUXExpression> BuildExpression(TJUXTokens* tokens, TJUXExpression* parent);

}  // namespace JUXReference
