#include "winlib/string_cache.h"

#include <gtest/gtest.h>

namespace {

TEST(StringCache, FindsStoredTextsAndMissesByIdInAnyOrder) {
    winlib::StringCache cache;
    EXPECT_EQ(cache.find(5), nullptr);
    for (int id : {40, 7, 1000, -3, 7, 12}) {
        cache.store(id, vek::STRING::fromNumber(id * 10));
    }
    cache.store(99, vek::STRING());  // a miss is cached as an empty text
    EXPECT_EQ(cache.getCount(), 6u);
    for (int id : {40, 7, 1000, -3, 12}) {
        ASSERT_NE(cache.find(id), nullptr) << id;
        EXPECT_EQ(*cache.find(id), vek::STRING::fromNumber(id * 10));
    }
    ASSERT_NE(cache.find(99), nullptr);
    EXPECT_TRUE(cache.find(99)->isEmpty());
    EXPECT_EQ(cache.find(8), nullptr);
    cache.store(7, "seven");
    EXPECT_EQ(*cache.find(7), "seven");
    EXPECT_EQ(cache.getCount(), 6u);
}

TEST(StringCache, GrowsBeyondOneBlock) {
    winlib::StringCache cache;
    for (int id = 100; id > 0; --id)
        cache.store(id, vek::STRING::fromNumber(id));
    for (int id = 1; id <= 100; ++id)
        ASSERT_EQ(*cache.find(id), vek::STRING::fromNumber(id));
}

}  // namespace
