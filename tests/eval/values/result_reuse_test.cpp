// String results are rebuilt in place from one evaluation to the next: each
// record must still get its own text, with nothing left over from a longer
// or shorter text before it, and the storage stays once it is large enough.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/math_eval_helper.h"
#include "eval/values/scalar_vars.h"

namespace {

struct TReuseCase {
  const char* Text;
  const char* First;   // on record 0
  const char* Second;  // on record 1
};

// Texts above the short-string buffer, so that a copy would allocate.
constexpr TReuseCase kReuseCases[] = {
    {"uppercase(leftstr(t; 20)) + midstr(t; 5; 20)", "THE QUICK BROWN FOX quick brown fox jump",
     "A LAZY DOG SLEEPS INzy dog sleeps in the"},
    {"sprintf('%s-%d-%.2f'; t; 7; 2.5)", "the quick brown fox jumps over-7-2.50", "a lazy dog sleeps in the sun all-7-2.50"},
    {"replacestr(lowercase(t); 'o'; '0') + rightstr(t; 4)", "the quick br0wn f0x jumps 0verover", "a lazy d0g sleeps in the sun all all"},
};

TEST(JUXResultReuse, StringResultsKeepTheirStorageAcrossRecords) {
  eval_test::TTestHost host(2);
  host.AddText("t", {"the quick brown fox jumps over", "a lazy dog sleeps in the sun all"});
  host.BuildTree({{0, 1}});
  for (const TReuseCase& c : kReuseCases) {
    SCOPED_TRACE(c.Text);
    std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
    std::unique_ptr<TJUXExpression> node = math_eval::ParseText(c.Text, *root);
    ASSERT_TRUE(node);
    node->Prepare(&host.Record(0, 0));
    node->EvaluateEx(&host.Record(0, 0), true);
    const auto& result = static_cast<const TJUXVar_String&>(*node->Result());
    EXPECT_EQ(result.Value(), c.First);
    // The longer second text grows the storage once; from then on it stays.
    node->EvaluateEx(&host.Record(0, 1), false);
    EXPECT_EQ(result.Value(), c.Second);
    const char* storage = result.Value().data();
    node->EvaluateEx(&host.Record(0, 0), false);
    EXPECT_EQ(result.Value(), c.First);
    node->EvaluateEx(&host.Record(0, 1), false);
    EXPECT_EQ(result.Value(), c.Second);
    EXPECT_EQ(result.Value().data(), storage);
    EXPECT_TRUE(root->Errors().empty());
  }
}

}  // namespace
