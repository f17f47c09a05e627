#include "store/orderindex.h"

#include <gtest/gtest.h>

#include <string>

#include "store/itemlines.h"

namespace {

TEST(OrderIndex, NamesKeepTheirTrailingSpaces)
{
    const std::string bytes = "share name  \r\nb.txt\nb.TXT\r\nx\r\n";
    MemorySource source = {bytes.data(), bytes.size(), 0};
    OrderIndex index;
    BuildOrderIndex(&index, ReadFromMemory, &source);
    EXPECT_EQ(4, index.lineCount);
    EXPECT_EQ(0, FindOrderLine(&index, "Share Name  "));
    EXPECT_EQ(-1, FindOrderLine(&index, "share name"));
    EXPECT_EQ(1, FindOrderLine(&index, "B.txt"));
    EXPECT_EQ(-1, FindOrderLine(&index, "x"));   // two bytes with its line end
}

}  // namespace
