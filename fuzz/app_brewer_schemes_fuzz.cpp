// Reading arbitrary bytes as a scheme table. The reader reports a format
// problem in the result and raises nothing: any exception, crash or
// sanitizer report is a finding. What it keeps are complete schemes with a
// colour count in 0..kMaxNumColors (larger counts are refused before any
// work is sized by them), and the browser's filters can list them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/core/window/brewer_schemes.h"
#include "app/core/window/brewer_selection.h"
#include "app/core/window/num_colors_limit.h"
#include "colour/colour_settings.h"
#include "palette/custom_palette.h"

namespace {

constexpr std::string_view kSource = "fuzz";

void Check(bool condition) {
  if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TColorSettings settings;
  const TBrewerLoadResult r = ReadBrewerSchemesText(text, &settings, kSource);

  if (!r.HeaderFound) Check(r.Schemes.empty() && r.Problem.empty());
  if (!r.Problem.empty()) Check(r.Problem.starts_with(std::string(kSource) + ", line "));
  for (const auto& scheme : r.Schemes) {
    Check(scheme != nullptr);
    Check(scheme->Typ() == ptCustom);
    const int count = scheme->GetNumColors();
    Check(count >= 0 && count <= kMaxNumColors);
    Check(scheme->CustPal().GetKeyCount() == count);
  }

  // A type change lists every count between the smallest and the largest
  // scheme and every scheme name.
  const TBrewerFilter previous{ptSeq, 5, kBrewerAll};
  const TBrewerSelection all = SelectBrewerSchemes(r.Schemes, previous, {0, kBrewerAll, kBrewerAll});
  Check(all.Filtered.size() == r.Schemes.size());
  Check(all.NumberItems.size() <= static_cast<size_t>(kMaxNumColors) + 2);
  return 0;
}
