#pragma once
// The vocabulary of cluster categories and the default cluster.

#include <array>
#include <string_view>

class TStringsTypeCluster;

inline constexpr std::array<std::string_view, 5> kClusterCategoryNames = {
    "StringsTypeCategory", "RangeTypeCategory", "OtherTypeCategory", "CategoryExpression", "NullTypeCluster"};

// The categories a user may choose.
inline constexpr std::array<std::string_view, 3> kSelectableCategoryNames = {
    "StringsTypeCategory", "RangeTypeCategory", "CategoryExpression"};

inline constexpr std::array<std::string_view, 11> kPercentageLabels = {
    "0%", "5%", "10%", "20%", "25%", "50%", "75%", "80%", "90%", "95%", "100%"};

inline constexpr std::array<std::string_view, 15> kStandardDeviationLabels = {
    "Min",    "Avg-6SD", "Avg-5SD", "Avg-4SD", "Avg-3SD", "Avg-2SD", "Avg-SD", "Avg",
    "Avg+SD", "Avg+2SD", "Avg+3SD", "Avg+4SD", "Avg+5SD", "Avg+6SD", "Max"};

// The process-wide default cluster: a string cluster without owner whose ID
// is -1. Made on first use, freed at exit.
TStringsTypeCluster& DefaultCluster();
