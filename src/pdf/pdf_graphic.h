#pragma once
// The picture an image builder is given: a bitmap or a JPEG image. Builders
// pick the kind they accept by its dynamic type.

class TPdfGraphic {
 public:
  virtual ~TPdfGraphic() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

 protected:
  TPdfGraphic() = default;
  TPdfGraphic(const TPdfGraphic&) = default;
  TPdfGraphic& operator=(const TPdfGraphic&) = default;
  TPdfGraphic(TPdfGraphic&&) = default;
  TPdfGraphic& operator=(TPdfGraphic&&) = default;
};
