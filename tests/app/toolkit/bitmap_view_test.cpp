#include "app/toolkit/bitmap_view.h"

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "app/toolkit/bitmap_qimage.h"
#include "graphics/bitmap32.h"

TEST(BitmapQImage, WrapsPixelsWithoutCopyAndDrawsText) {
  TBitmap32 bmp(40, 20);
  bmp.Clear(0xFF102030);
  QImage image = WrapBitmap(bmp);
  EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(bmp.Bits()));
  EXPECT_EQ(image.pixel(3, 4), 0xFF102030u);
  RenderText(bmp, 1, 1, "X", 0xFFFFFFFF, false);
  int white = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) white += bmp.Pixel(x, y) == 0xFFFFFFFF;
  EXPECT_GT(white, 3);
  EXPECT_GT(TextWidth("XXXX"), TextWidth("X"));
  EXPECT_GT(TextHeight("X"), 5);
}

TEST(BitmapView, MouseEventsArriveAsButtonAndPosition) {
  QWidget window;
  auto* view = new TBitmapView(&window);
  view->setGeometry(0, 0, 50, 50);
  TBitmap32 bmp(50, 50);
  view->SetBitmap(&bmp);
  window.show();
  std::vector<std::string> log;
  view->OnMouseDown = [&](TMouseButton b, int x, int y) {
    log.push_back("down " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  view->OnMouseUp = [&](TMouseButton b, int x, int y) {
    log.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  QTest::mousePress(view, Qt::RightButton, {}, QPoint(10, 12));
  QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(70, -5));  // released outside
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "down 1 10,12");
  EXPECT_EQ(log[1], "up 1 70,-5");
}

TEST(BitmapView, FractionalPositionsFloorToThePixelUnderThePointer) {
  EXPECT_EQ(PixelAt(QPointF(199.6, 0.4)), QPoint(199, 0));
  EXPECT_EQ(PixelAt(QPointF(-0.5, 3.999)), QPoint(-1, 3));
}
