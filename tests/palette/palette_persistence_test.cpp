// LoadSave of every palette kind through the XML persistence helpers.

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/pugi_xml_node.h"
#include "palette/base_palette.h"
#include "palette/custom_palette.h"
#include "palette/diverging_palette.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"

namespace {

// Values with at most 15 significant digits, which the helpers write exactly.
constexpr double kColdWarm = 0.123456789012345;
constexpr double kBrightness = 0.61;
constexpr double kSaturation = 0.45;
constexpr double kContrast = 0.7;
constexpr double kHue0 = 123.456;
constexpr double kHue1 = 301.5;

class PalettePersistence : public testing::Test {
 protected:
  // Saves p into a new element and returns it.
  pugi::xml_node Save(TBasePalette& p) {
    pugi::xml_node element = FDoc.append_child("Palette");
    TPugiXmlNode node(element);
    int childIndex = -1;
    p.LoadSave(false, node, childIndex);
    return element;
  }

  // Loads p from element; returns the running child index afterwards.
  static int Load(TBasePalette& p, pugi::xml_node element) {
    TPugiXmlNode node(element);
    int childIndex = -1;
    p.LoadSave(true, node, childIndex);
    return childIndex;
  }

  pugi::xml_node Parse(const char* xml) {
    EXPECT_TRUE(FDoc.load_string(xml));
    return FDoc.first_child();
  }

  static std::vector<std::string> ChildNames(pugi::xml_node element) {
    std::vector<std::string> names;
    for (pugi::xml_node c : element.children()) names.emplace_back(c.name());
    return names;
  }

  static void ShapeCurvePalette(TQuantitativePalette& p) {
    p.SetNumColors(7);
    p.SetContinuous(false);
    p.SetColdWarm(kColdWarm);
    p.SetBrightness(kBrightness);
    p.SetSaturation(kSaturation);
    p.SetContrast(kContrast);
    p.SetAutomatedContrast(true);
    p.SetHue(0, kHue0);
    if (p.NumCurves() > 1) p.SetHue(1, kHue1);
  }

  static void ExpectSameCurvePalette(const TQuantitativePalette& got,
                                     const TQuantitativePalette& want) {
    EXPECT_EQ(got.NumColors(), want.NumColors());
    EXPECT_EQ(got.Continuous(), want.Continuous());
    EXPECT_EQ(got.ColdWarm(), want.ColdWarm());
    EXPECT_EQ(got.Brightness(), want.Brightness());
    EXPECT_EQ(got.Saturation(), want.Saturation());
    EXPECT_EQ(got.Contrast(), want.Contrast());
    EXPECT_EQ(got.AutomatedContrast(), want.AutomatedContrast());
    ASSERT_EQ(got.NumCurves(), want.NumCurves());
    for (int i = 0; i < got.NumCurves(); ++i) {
      EXPECT_EQ(got.GetHue(i), want.GetHue(i));
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got.GetControlPoint(i, k), want.GetControlPoint(i, k));
    }
    // The curves are in line after the load: the colours are the same.
    for (double t : {0.0, 0.3, 0.5, 0.8, 1.0}) {
      TRGB a, b;
      got.GetColor(false, a, t);
      want.GetColor(false, b, t);
      EXPECT_EQ(a, b) << t;
    }
  }

  pugi::xml_document FDoc;
};

TEST_F(PalettePersistence, SaveWritesTheKeysInOrder) {
  TSequentialPalette p;
  const pugi::xml_node element = Save(p);
  EXPECT_EQ(ChildNames(element),
            (std::vector<std::string>{"PaletteType", "PaletteNumColors", "Continuous",
                                      "PaletteColdWarm", "PaletteBrightness", "PaletteSaturation",
                                      "PaletteContrast", "PaletteAutomatedContrast",
                                      "PaletteNumCurves", "PaletteHue0", "ReversePalette"}));
  EXPECT_STREQ(element.child_value("PaletteType"), "4");
  EXPECT_STREQ(element.child_value("PaletteNumColors"), "5");
  EXPECT_STREQ(element.child_value("PaletteBrightness"), "0,75");
  EXPECT_STREQ(element.child_value("PaletteContrast"), "0,88");
  EXPECT_STREQ(element.child_value("PaletteNumCurves"), "1");

  TDivergingPalette d;
  const std::vector<std::string> names = ChildNames(Save(d));
  EXPECT_EQ(std::vector<std::string>(names.end() - 5, names.end()),
            (std::vector<std::string>{"PaletteNumCurves", "PaletteHue0", "PaletteHue1", "MidPoint",
                                      "MidPointType"}));
}

TEST_F(PalettePersistence, LoadOfAnEmptyElementGivesTheDefaults) {
  TSequentialPalette p;
  ShapeCurvePalette(p);
  p.SetReversePalette(true);
  // Ten keys are read (the type is written on save only): the index runs
  // from -1 to 9.
  EXPECT_EQ(Load(p, FDoc.append_child("Palette")), 9);
  EXPECT_EQ(p.NumColors(), 100);
  EXPECT_TRUE(p.Continuous());
  EXPECT_EQ(p.ColdWarm(), 0);
  EXPECT_EQ(p.Brightness(), 0.75);
  EXPECT_EQ(p.Saturation(), 0.6);
  EXPECT_EQ(p.Contrast(), 0.88);
  EXPECT_FALSE(p.AutomatedContrast());
  EXPECT_EQ(p.GetHue(0), 0);
  EXPECT_FALSE(p.ReversePalette());
  TSequentialPalette fresh;
  fresh.SetNumColors(100);
  fresh.SetContinuous(true);
  ExpectSameCurvePalette(p, fresh);
}

TEST_F(PalettePersistence, BaseFieldsRoundTrip) {
  TBasePalette source;
  source.SetNumColors(12);
  source.SetContinuous(false);
  const pugi::xml_node element = Save(source);
  EXPECT_STREQ(element.child_value("PaletteType"), "1");
  TBasePalette loaded;
  loaded.SetContinuous(true);
  Load(loaded, element);
  EXPECT_EQ(loaded.NumColors(), 12);
  EXPECT_FALSE(loaded.Continuous());
}

TEST_F(PalettePersistence, SequentialRoundTrip) {
  TColorSettings settings;
  TSequentialPalette source;
  source.SetName("AutoPalette");
  source.SetColorSettings(&settings);
  ShapeCurvePalette(source);
  source.SetReversePalette(true);
  const pugi::xml_node element = Save(source);

  TSequentialPalette loaded;
  loaded.SetName("Stored");
  Load(loaded, element);
  EXPECT_TRUE(loaded.ReversePalette());
  ExpectSameCurvePalette(loaded, source);
  // Name and settings are not persisted.
  EXPECT_EQ(loaded.Name(), "Stored");
  EXPECT_EQ(loaded.ColorSettings(), nullptr);
}

TEST_F(PalettePersistence, DivergingRoundTripKeepsTheMidPointUnsnapped) {
  TDivergingPalette source;
  source.SetContinuous(true);
  ShapeCurvePalette(source);  // not continuous again: 7 colours, grid of 1/12
  source.SetContinuous(true);
  source.SetMidPoint(0.3, 2);
  source.SetContinuous(false);
  const pugi::xml_node element = Save(source);

  TDivergingPalette loaded;
  Load(loaded, element);
  ExpectSameCurvePalette(loaded, source);
  EXPECT_EQ(loaded.MidPoint(), 0.3);  // stored as read
  EXPECT_EQ(loaded.MidPointType(), 2);
}

TEST_F(PalettePersistence, MidPointTypeKeepsTheLowByte) {
  TDivergingPalette p;
  Load(p, Parse("<P><MidPointType>258</MidPointType><MidPoint>0,125</MidPoint></P>"));
  EXPECT_EQ(p.MidPointType(), 2);
  EXPECT_EQ(p.MidPoint(), 0.125);
}

TEST_F(PalettePersistence, CurveCountFromTheFileNeverResizes) {
  TSequentialPalette seq;
  seq.SetHue(0, 50);
  std::ostringstream seqXml;
  Save(seq).print(seqXml);
  struct Case {
    std::string xml;
    double hue0;
  };
  const Case cases[] = {
      {"<P><PaletteHue0>10</PaletteHue0></P>", 10},  // no count
      {"<P><PaletteNumCurves>0</PaletteNumCurves><PaletteHue0>10</PaletteHue0></P>", 10},
      {"<P><PaletteNumCurves>-3</PaletteNumCurves></P>", 0},
      {"<P><PaletteNumCurves>5</PaletteNumCurves><PaletteHue4>9</PaletteHue4></P>", 0},
      {seqXml.str(), 50},  // a sequential palette's element
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(c.xml.c_str()));
    TDivergingPalette p;
    Load(p, doc.first_child());
    ASSERT_EQ(p.NumCurves(), 2);
    EXPECT_EQ(p.GetHue(0), c.hue0);
    EXPECT_EQ(p.GetHue(1), 0);  // absent: the default
    for (int i = 0; i < p.NumColors(); ++i) {
      TRGB rgb;
      p.GetIndexColor(i, rgb);
    }
    TSequentialPalette s;
    Load(s, doc.first_child());
    EXPECT_EQ(s.NumCurves(), 1);
  }
}

TEST_F(PalettePersistence, QualitativePersistsOnlyTheBaseKeys) {
  TQualitativePalette source;
  source.SetNumColors(9);
  source.SetContinuous(false);
  source.SetSaturation(0.1);
  source.SetBrightness(0.2);
  source.SetContrast(0.3);
  source.SetHueRange(0.4);
  source.SetHueShift(0.5);
  const pugi::xml_node element = Save(source);
  EXPECT_EQ(ChildNames(element),
            (std::vector<std::string>{"PaletteType", "PaletteNumColors", "Continuous"}));
  EXPECT_STREQ(element.child_value("PaletteType"), "6");

  TQualitativePalette loaded;
  Load(loaded, element);
  EXPECT_EQ(loaded.NumColors(), 9);
  EXPECT_FALSE(loaded.Continuous());
  TQualitativePalette defaults;
  EXPECT_EQ(loaded.Saturation(), defaults.Saturation());
  EXPECT_EQ(loaded.Brightness(), defaults.Brightness());
  EXPECT_EQ(loaded.Contrast(), defaults.Contrast());
  EXPECT_EQ(loaded.HueRange(), defaults.HueRange());
  EXPECT_EQ(loaded.HueShift(), defaults.HueShift());
}

TEST_F(PalettePersistence, CustomRoundTripReplacesTheKeys) {
  TCustomPalette source;
  source.SetNumColors(3);
  source.SetInterpolationMethod(imCIELCHuv);
  source.AddKey(TRGB{12.5, 0, 255});
  source.AddKey(TRGB{300, -4.25, 0.000123456789012345});  // outside 0..255 stays as it is
  const pugi::xml_node element = Save(source);
  const std::vector<std::string> names = ChildNames(element);
  EXPECT_EQ(std::vector<std::string>(names.begin() + 3, names.end()),
            (std::vector<std::string>{"InterpolationMethod", "NumKeys", "Key_0_R", "Key_0_G",
                                      "Key_0_B", "Key_1_R", "Key_1_G", "Key_1_B"}));

  TCustomPalette loaded;
  loaded.AddKey(TRGB{1, 1, 1});
  loaded.AddKey(TRGB{2, 2, 2});
  loaded.AddKey(TRGB{3, 3, 3});
  Load(loaded, element);
  EXPECT_EQ(loaded.NumColors(), 3);
  EXPECT_EQ(loaded.InterpolationMethod(), imCIELCHuv);
  ASSERT_EQ(loaded.GetKeyCount(), 2);
  TRGB key;
  loaded.GetKey(0, key);
  EXPECT_EQ(key, (TRGB{12.5, 0, 255}));
  loaded.GetKey(1, key);
  EXPECT_EQ(key, (TRGB{300, -4.25, 0.000123456789012345}));
}

// A load reads as many keys as "NumKeys" says, each key's missing components
// being 0, but never more keys than the element has key children: a count
// beyond them costs nothing.
TEST_F(PalettePersistence, CustomKeyCountsFromTheFile) {
  struct Case {
    const char* xml;
    int keys;
  };
  const Case cases[] = {
      {"<P><NumKeys>-1</NumKeys></P>", 0},
      {"<P><NumKeys>70000</NumKeys></P>", 0},
      {"<P><NumKeys>2147483647</NumKeys></P>", 0},
      {"<P><NumKeys>2147483647</NumKeys><Key_0_R>1</Key_0_R></P>", 1},
      // Only children named like a key component count toward the cap, and every
      // such child does: Key_9_B, past a count of 3, counts; Key_0_X, Key__R,
      // Key_x_G, Key_ and Other do not.
      {"<P><NumKeys>3</NumKeys><Key_0_R>1</Key_0_R><Key_0_X>1</Key_0_X><Key__R>1</Key__R><Key_x_G>1</Key_x_G>"
       "<Key_9_B>1</Key_9_B><Key_>1</Key_><Other>1</Other></P>",
       2},
      {"<P><NumKeys>2</NumKeys><Key_1_G>7</Key_1_G><Key_1_B>0</Key_1_B></P>", 2},  // missing components are 0
      {"<P/>", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    TCustomPalette p;
    p.AddKey(TRGB{5, 5, 5});
    Load(p, Parse(c.xml));
    EXPECT_EQ(p.GetKeyCount(), c.keys);
    EXPECT_EQ(p.InterpolationMethod(), imCIELUV);  // the default
  }
  TCustomPalette p;
  Load(p, Parse("<P><InterpolationMethod>259</InterpolationMethod><NumKeys>2</NumKeys>"
                "<Key_1_G>7</Key_1_G><Key_1_B>0</Key_1_B></P>"));
  EXPECT_EQ(p.InterpolationMethod(), 3);  // the low byte
  ASSERT_EQ(p.GetKeyCount(), 2);
  TRGB key;
  p.GetKey(0, key);
  EXPECT_EQ(key, (TRGB{0, 0, 0}));
  p.GetKey(1, key);
  EXPECT_EQ(key, (TRGB{0, 7, 0}));
}

// Key lists up to the palette bound of 100000 colours round-trip whole
// (300000 key children), counts past 65536 included. The saved type key puts
// every later key one place after its load position, so each is found by
// name, through a lookup that does not walk the children: the load stays
// linear in their number (a slow case found by fuzzing the palette load).
TEST_F(PalettePersistence, CustomRoundTripOfLargeKeyCounts) {
  for (const int count : {65537, 100000}) {
    SCOPED_TRACE(count);
    TCustomPalette source;
    for (int i = 0; i < count; ++i) source.AddKey(TRGB{i % 256 + 0.5, double(i / 256), -1.0 * i});
    TCustomPalette loaded;
    Load(loaded, Save(source));
    ASSERT_EQ(loaded.GetKeyCount(), count);
    for (int i = 0; i < count; ++i) {
      TRGB want, got;
      source.GetKey(i, want);
      loaded.GetKey(i, got);
      ASSERT_EQ(got, want) << i;
    }
  }
}

}  // namespace
