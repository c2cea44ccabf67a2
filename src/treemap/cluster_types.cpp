#include "treemap/cluster_types.h"

#include <memory>

#include "treemap/strings_type_cluster.h"

TStringsTypeCluster& DefaultCluster() {
  static const std::unique_ptr<TStringsTypeCluster> cluster = [] {
    auto made = std::make_unique<TStringsTypeCluster>(nullptr);
    made->SetID(-1);
    return made;
  }();
  return *cluster;
}
