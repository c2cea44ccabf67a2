#pragma once
// A test attribute over a column of texts: the distinct values in order of
// first appearance are its value indexes.

#include <algorithm>
#include <string>
#include <vector>

#include "treemap/attribute_descriptor.h"

class TTestAttribute : public TAttributeDescriptor {
 public:
  TTestAttribute(std::string name, std::vector<std::string> records = {}, int32_t typeCode = atText)
      : FRecords(std::move(records)) {
    Name = std::move(name);
    TypeCode = typeCode;
    for (const auto& r : FRecords)
      if (std::ranges::find(FDistinct, r) == FDistinct.end()) FDistinct.push_back(r);
  }

  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override { ++LoadCount; }
  std::string RecordText(int32_t record) override { return FRecords.at(static_cast<size_t>(record)); }
  double RecordNumber(int32_t record) override { return std::stod(RecordText(record)); }
  std::string IndexText(int32_t index, const TFormatSettings&) override {
    return FDistinct.at(static_cast<size_t>(index));
  }
  double IndexNumber(int32_t index) override { return std::stod(FDistinct.at(static_cast<size_t>(index))); }
  int32_t RecordValueIndex(int32_t record) override {
    const auto at = std::ranges::find(FDistinct, RecordText(record));
    return static_cast<int32_t>(at - FDistinct.begin());
  }

  int LoadCount = 0;

 private:
  std::vector<std::string> FRecords;
  std::vector<std::string> FDistinct;
};
