#include "app/toolkit/bitmap_qimage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QString>

#include "graphics/bitmap32.h"
#include "graphics/color32.h"

namespace {

constexpr TColor32 kPaper = 0xFFFFFFFFu;

// The smallest rectangle holding every pixel that is not the paper; null when none.
QRect InkBox(const TBitmap32& bmp) {
  QRect box;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.Pixel(x, y) != kPaper) box |= QRect(x, y, 1, 1);
  return box;
}

QFont PixelFont(int pixels) {
  QFont font = QApplication::font();
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

// The extent is what the layout of the swatch texts and the panel labels
// trusts: every pixel a text colours lies inside it, in any size and with
// ascenders, descenders and both decimal separators.
TEST(TextExtent, HoldsEveryPixelTheTextColours) {
  const char* texts[] = {"Avg: 269.6", "0123456789", "1", "12,34", "Hue Range:", "Cold/Warm:", "gjpqy", "W"};
  for (const QFont& font : {QApplication::font(), PixelFont(7), PixelFont(10), PixelFont(16)}) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(text) + " at " + std::to_string(QFontInfo(font).pixelSize()) + " px");
      TBitmap32 bmp(160, 60);
      bmp.Clear(kPaper);
      RenderText(bmp, 20, 15, text, clBlack32, font);
      const QRect ink = InkBox(bmp);
      ASSERT_FALSE(ink.isNull());
      const QRect extent = TextExtent(font, 20, 15, text);
      EXPECT_TRUE(extent.contains(ink)) << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                        << ink.height() << " extent " << extent.x() << "," << extent.y() << " "
                                        << extent.width() << "x" << extent.height();
      // Tight: at most the fringe and the advance's bearing beyond the ink.
      EXPECT_LE(extent.top(), ink.top());
      EXPECT_GE(extent.top(), ink.top() - 2);
      EXPECT_LE(extent.bottom(), ink.bottom() + 2);
    }
  }
  // Digits need less than a line: their extent is what lets crowded
  // distance texts stand closer than the line height.
  EXPECT_LT(TextExtent(QApplication::font(), 0, 0, "0123456789").height(), TextHeight("0123456789"));
}

TEST(FontFittingWidth, IsTheLargestFontNoLargerThanGivenThatFits) {
  const QFont font = QApplication::font();
  const int full = TextExtent(font, 0, 0, "Avg: 269.6").width();
  EXPECT_EQ(FontFittingWidth(font, "Avg: 269.6", full), font);  // fits: unchanged
  for (int width : {full - 1, full - 10, 30, 12}) {
    SCOPED_TRACE(width);
    const QFont fitted = FontFittingWidth(font, "Avg: 269.6", width);
    const int pixels = QFontInfo(fitted).pixelSize();
    EXPECT_LT(pixels, QFontInfo(font).pixelSize());
    EXPECT_LE(TextExtent(fitted, 0, 0, "Avg: 269.6").width(), width);
    EXPECT_GT(TextExtent(PixelFont(pixels + 1), 0, 0, "Avg: 269.6").width(), width);  // one pixel more would not fit
  }
  // Nothing fits in no room: the smallest font, and no endless loop.
  EXPECT_EQ(QFontInfo(FontFittingWidth(font, "Avg: 269.6", 0)).pixelSize(), 1);
}

TEST(BitmapTextWriter, WritesInTheFontItIsGiven) {
  TBitmap32 big(120, 40), small(120, 40);
  for (TBitmap32* bmp : {&big, &small}) bmp->Clear(kPaper);
  RenderText(big, 2, 2, "Avg: 19.9", clBlack32);
  TBitmapTextWriter writer(small);
  EXPECT_EQ(writer.Font(), QApplication::font());
  writer.SetFont(PixelFont(8));
  writer.Write(2, 2, "Avg: 19.9", clBlack32);
  EXPECT_EQ(writer.Extent(2, 2, "Avg: 19.9"), TextExtent(PixelFont(8), 2, 2, "Avg: 19.9"));
  EXPECT_LT(InkBox(small).width(), InkBox(big).width());
  EXPECT_TRUE(writer.Extent(2, 2, "Avg: 19.9").contains(InkBox(small)));
}
