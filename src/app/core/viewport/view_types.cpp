#include "app/core/viewport/view_types.h"

#include "foundation/assertion.h"

const TViewTypeInfo& GetViewTypeInfo(TViewType viewType) {
  Require(viewType < kNumViewTypes, "view type out of range");
  return ViewTypeInfo[viewType];
}
