#pragma once
// A rectangle of the tree-map layout in single-precision coordinates.

struct TTreeMapRect {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;
  bool operator==(const TTreeMapRect&) const = default;
};
