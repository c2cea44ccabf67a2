#pragma once
// The host's data source: the records a tree-map is built over.

#include <cstdint>

class TTreeMapDataSource {
 public:
  virtual ~TTreeMapDataSource() = default;
  virtual int32_t RecordCount() const = 0;
};

// The number of records of Data; 0 without a data source.
inline int32_t GetRecordCount(const TTreeMapDataSource* data) { return data ? data->RecordCount() : 0; }
