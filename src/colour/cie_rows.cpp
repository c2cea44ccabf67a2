// The converter of one setting: the settings read once.
#include "colour/cie_rows.h"

namespace colour_rows {

TCIERowConverter::TCIERowConverter(const TColorSettings* Settings)
    : FWhite(GetReferenceWhite(Settings)),
      FMatrix(GetXYZToRGBMatrix(Settings)),
      FEncoder(GetGamma(Settings)) {}

}  // namespace colour_rows
