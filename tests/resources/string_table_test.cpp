#include "resources/string_table.h"

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(StringTable, LooksUpTextsByNumber) {
    EXPECT_EQ(LoadString(str::kMemoryAllocationFailed), "メモリの確保に失敗しました");
    EXPECT_EQ(LoadString(30016), LoadString(30012));
    EXPECT_EQ(LoadString(30007), "");
    EXPECT_EQ(MessageText(str::kFileNotFound, "/x/a.png\n"), "/x/a.png\nファイルが見つかりません");
}

}  // namespace
}  // namespace palvex
