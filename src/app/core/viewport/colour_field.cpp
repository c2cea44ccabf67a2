// A field render: the settings resolved once, then the view type's renderer.
#include "app/core/viewport/colour_field.h"

#include "app/core/viewport/colour_field_internal.h"

namespace cfi = colour_field_internal;

void RenderField(TBitmap32& Bitmap, const TFieldParams& Params) {
  GetViewTypeInfo(Params.ViewType);  // checks the view type
  if (Bitmap.Width() < 2 || Bitmap.Height() < 2) return;
  cfi::TContext c;
  c.W = Bitmap.Width();
  c.H = Bitmap.Height();
  c.S = Params.SliderValue;
  if (Params.ViewType <= vtLabH) {  // converted through CIE XYZ
    c.CIE.emplace(Params.Settings);
  }
  if (FollowsPalettePath(Params.ViewType)) c.Path = BuildPathTable(c.S, Params.Palettes, Params.Settings);
  const cfi::TRenderFn render = Params.ViewType <= vtLabH
                                     ? cfi::CIERenderer(Params.ViewType, Params.ShowPixelsOutOfRange)
                                     : cfi::DeviceRenderer(Params.ViewType, Params.ShowPixelsOutOfRange);
  render(Bitmap, c);
}
