#pragma once
// The host's attribute descriptor: one column of the data set behind a
// tree-map. The evaluator reads the public fields and calls the virtual
// operations below; how a descriptor stores and loads its values is the
// host's business.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct TFormatSettings;
class TDravolinAttributes;
class TTreeMapDataSource;
class TXmlNode;

// Type codes of an attribute (TAttributeDescriptor::TypeCode).
enum TAttributeType : int32_t {
  atText = 0,
  atInteger = 1,
  atDouble = 2,
  atDateTime = 3,
  atDate = 4,
  atTime = 5,
  atDuration = 6,
  atCurrency = 7,
  atPercentage = 8,
  atFixedText = 9,     // every record reads FixedText
  atFixedNumber = 10,  // every record reads FixedNumber
};

// What RecordValueIndex answers for a record without a regular value.
inline constexpr int32_t kValueIndexNull = -1;
inline constexpr int32_t kValueIndexEmpty = -2;
inline constexpr int32_t kValueIndexConversionError = -3;

// Display names by type code; codes 9 and 10 have none.
inline constexpr std::array<std::string_view, 11> kAttributeTypeNames = {
    "Text", "Integer", "Double", "Date + Time", "Date", "Time", "Duration", "Currency", "Percentage", "", ""};

// The first nine names again, then the ISO forms and "Boolean".
inline constexpr std::array<std::string_view, 14> kAttributeTypeNamesExtended = {
    "Text",           "Integer",           "Double",     "Date + Time",   "Date",
    "Time",           "Duration",          "Currency",   "Percentage",    "Date + Time (ISO)",
    "Date (ISO)",     "Time (ISO)",        "Duration (ISO)", "Boolean"};

class TAttributeDescriptor {
 public:
  virtual ~TAttributeDescriptor() = default;

  std::string Name;
  int32_t TypeCode = atText;
  // When set, every record reads the value at Index instead of its own.
  bool ByIndex = false;
  int32_t Index = 0;
  std::string FixedText;
  double FixedNumber = 0;

  // Makes the values available before the first read (called at every
  // preparation of an expression that names the attribute).
  virtual void LoadValues(TTreeMapDataSource* data, TDravolinAttributes& collection) = 0;
  // The value of record RecordIndex as text, or as a number (types 1..8).
  virtual std::string RecordText(int32_t recordIndex) = 0;
  // RecordText into `text`, for readers that keep one string per reading
  // place; a descriptor that overrides it to assign into `text` lets them
  // reuse its capacity instead of allocating per read.
  virtual void ReadRecordText(int32_t recordIndex, std::string& text) { text = RecordText(recordIndex); }
  virtual double RecordNumber(int32_t recordIndex) = 0;
  // The distinct value Index (the position in the attribute's value list, as
  // a cluster value index) as text in Settings, or as a number.
  virtual std::string IndexText(int32_t index, const TFormatSettings& settings) = 0;
  virtual double IndexNumber(int32_t index) = 0;
  // The value index of a record: >= 0, or one of the kValueIndex constants.
  virtual int32_t RecordValueIndex(int32_t recordIndex) = 0;

  // Persistence of a value text of a non-text attribute (string lists of
  // clusters). The base writes Text, read as a number in the user's locale,
  // as a real in FixedFormatSettings; a text that is no number is written as
  // it is.
  virtual void XMLWriteValueText(TXmlNode& node, int& childIndex, std::string_view name, const std::string& text);
  // The inverse: a stored text read as a number in FixedFormatSettings,
  // returned in the user's locale; a text that is no number comes back as it is.
  virtual std::string XMLValueTextToUserText(std::string_view storedText);
};
