#include "foundation/format_settings.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>

#include "foundation/posix_locale.h"
#include "foundation/pugi_xml_node.h"
#include "foundation/xml_persistence.h"

namespace {

// Separators the other way round from the fixed record, with digit grouping:
// what a stream-based or locale-aware number conversion would pick up.
struct TPointAndCommaGroups : std::numpunct<char> {
  char do_decimal_point() const override { return '.'; }
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

// Makes that the program's global C++ locale for its lifetime.
class TGlobalLocale {
 public:
  TGlobalLocale() : FSaved(std::locale::global(std::locale(std::locale::classic(), new TPointAndCommaGroups))) {}
  ~TGlobalLocale() { std::locale::global(FSaved); }
  TGlobalLocale(const TGlobalLocale&) = delete;
  TGlobalLocale& operator=(const TGlobalLocale&) = delete;

 private:
  std::locale FSaved;
};

}  // namespace

// Persisted real numbers use the fixed record, decimal "," and no thousands
// separator, whatever the process locale says: the text written reads back
// as the same number, and texts in other conventions read as the default.
TEST(FormatSettings, PersistedNumbersUseTheFixedRecordWhateverTheLocale) {
  const TGlobalLocale locale;
  ASSERT_EQ((std::ostringstream() << 1234.5).str(), "1,234.5");  // the locale is in force
  struct TCase { double Value; const char* Text; };
  const TCase cases[] = {
      {1234.5, "1234,5"}, {1234567.25, "1234567,25"}, {0.75, "0,75"}, {-1e-5, "-1E-5"}, {1.5e20, "1,5E20"},
  };
  pugi::xml_document saved;
  TPugiXmlNode node(saved.append_child("E"));
  int index = -1;
  for (TCase c : cases) XMLReadWriteDouble(false, node, index, c.Value, "N", 0);
  index = -1;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(node.Child(index + 1)->Value(), std::string(c.Text));
    double back = 0;
    XMLReadWriteDouble(true, node, index, back, "N", -1);
    EXPECT_EQ(back, c.Value);
  }
  for (const char* text : {"1234.5", "1,234.5", "1.234,5"}) {
    SCOPED_TRACE(text);
    pugi::xml_document other;
    TPugiXmlNode element(other.append_child("E"));
    element.AddChild("N")->SetValue(text);
    index = -1;
    double back = 0;
    XMLReadWriteDouble(true, element, index, back, "N", -1);
    EXPECT_EQ(back, -1);
  }
}

TEST(FormatSettings, With24hClockUsesTheRecordsOwnSeparatorAndDropsAmPm) {
  TFormatSettings twelve = FormatSettingsFromPosix(CLocaleInfo());
  twelve.TimeSeparator = '.';
  twelve.LongTimeFormat = "hh:mm:ss ampm";
  const TFormatSettings h24 = With24hClock(twelve);
  EXPECT_EQ(h24.ShortTimeFormat, "hh.mm.ss");
  EXPECT_EQ(h24.LongTimeFormat, "hh.mm.ss");
  EXPECT_EQ(h24.TimeAMString, "");
  EXPECT_EQ(h24.TimePMString, "");
  EXPECT_EQ(h24.ShortDateFormat, twelve.ShortDateFormat);
}

TEST(FormatSettings, UserRecordsAreFilledAndStable) {
  InitializeFormatSettings();
  // Whatever the machine's locale: the 24-hour copy is the user record with
  // its clock changed, and nothing is left empty that every locale has.
  const TFormatSettings& user = UserFormatSettings();
  EXPECT_EQ(UserFormatSettings24h(), With24hClock(user));
  EXPECT_TRUE(UserFormatSettings24h().TimeAMString.empty());
  EXPECT_NE(user.DecimalSeparator, '\0');
  EXPECT_NE(user.DecimalSeparator, user.ThousandSeparator);
  EXPECT_EQ(&UserFormatSettings(), &user);
}

TEST(FormatSettings, FloatingPointExceptionsStayMasked) {
  InitializeFormatSettings();  // the start-up step reads the locale
  EXPECT_EQ(fegetexcept(), 0);  // no exception traps
  volatile double zero = 0;
  EXPECT_TRUE(std::isinf(1.0 / zero));
  EXPECT_TRUE(std::isnan(zero / zero));
  EXPECT_TRUE(std::isinf(1e308 * (zero + 10)));
}
