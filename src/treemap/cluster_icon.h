#pragma once
// TIcon: the image of a cluster, with a working copy that a host draws
// (blended, with the draft stretch filter) and a few values of the host's
// drawing state.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/bitmap32.h"
#include "graphics/stretch_filter.h"

class TXmlNode;

// Drawing state kept for the host; this code only resets and copies it.
struct TIconDrawState {
  std::array<int32_t, 4> Bounds{};  // reset to 0
  bool Flag = false;                // reset to false
  std::array<int32_t, 2> Kept{};    // left unchanged by a reset
  int32_t Index = -1;               // reset to -1
  int32_t Mode = 2;                 // reset to 2

  void Reset() {
    Bounds = {};
    Flag = false;
    Index = -1;
    Mode = 2;
  }
};

class TIcon {
 public:
  // The image of the file: ".png" (letter case ignored) through the PNG
  // decoder, any other name by its extension or content (JPEG, bitmap
  // files); an empty name gives an empty image. Raises EBitmapIOError when
  // the file cannot be read or decoded.
  explicit TIcon(const std::string& fileName);
  // A copy of image, working copy and drawing state.
  TIcon(const TIcon& source);
  TIcon& operator=(const TIcon&) = delete;

  // Stores or loads the image as the bitmap element "Bitmap" of Node. A load
  // renews the working copy and resets the drawing state.
  void LoadSave(bool load, TXmlNode& node);

  const TBitmap32& Image() const { return *FImage; }
  // Replaces the image; the working copy and drawing state follow.
  void SetImage(const TBitmap32& image);
  const TBitmap32& WorkingCopy() const { return *FWorkingCopy; }
  TBitmap32& WorkingCopy() { return *FWorkingCopy; }
  TStretchFilter WorkingStretchFilter() const { return FWorkingFilter; }

  TIconDrawState DrawState;

 private:
  void RenewWorkingCopy();

  std::unique_ptr<TBitmap32> FImage;
  std::unique_ptr<TBitmap32> FWorkingCopy;
  TStretchFilter FWorkingFilter = TStretchFilter::sfDraft;
};
