// The evaluator fuzz targets' dictionary holds the whole vocabulary of the
// language, so a new function or operator is fuzzed by name from the start.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "eval/language/registry.h"
#include "eval/language/tokenizer.h"
#include "support/fuzz_dictionary.h"

namespace {

TEST(EvalFuzzDictionary, HoldsEveryFunctionOperatorAndConstant) {
  const std::set<std::string> dict = ReadFuzzDictionary(FuzzSourceDir() / "eval.dict");
  const auto expectWord = [&dict](std::string_view what, std::string_view word) {
    EXPECT_TRUE(dict.contains(std::string(word))) << what << " \"" << word << "\" is missing from fuzz/eval.dict";
  };
  for (std::string_view name : kJUXRegistryNames) expectWord("function", name);
  // The rows the groups provide, looked up as the parser does.
  ASSERT_FALSE(JUXFunctionRegistry().empty());
  for (const TJUXFunctionInfo& row : JUXFunctionRegistry()) expectWord("function", row.Name);
  for (const TJUXTokenKindRow& row : kJUXTokenKindTable)
    if (!row.Text.empty()) expectWord("token", row.Text);
  ASSERT_FALSE(JUXConstants().empty());
  for (const TJUXConstantsRecord& constant : JUXConstants()) expectWord("constant", constant.Name);
}

}  // namespace
