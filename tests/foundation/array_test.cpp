#include "foundation/array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/string.h"

// The allocation failure tests (here and for STRING) need AddressSanitizer to let huge requests
// fail with null instead of ending the program, whatever the environment says.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

using vek::AllocError;
using vek::Array;
using vek::IndexError;
using vek::SortedArray;

// A plain record like the chess program's Move.
struct Record {
    int a;
    char b;
    std::int64_t c;
    void* d;
};

TEST(Array, StartsEmptyWithoutStorage) {
    Array<int> array;
    EXPECT_EQ(array.getCount(), 0u);
    EXPECT_EQ(array.getCapacity(), 0u);
    EXPECT_EQ(array.getGrowthStep(), 32u);
    EXPECT_EQ(array.begin(), nullptr);
    EXPECT_TRUE(array.isEmpty());
}

TEST(Array, GrowthFigures) {
    Array<int> array;
    array.grow(1);
    EXPECT_EQ(array.getCapacity(), 32u);
    array.grow(300);  // step 300 div 8 = 37, 37 * (300 div 37 + 1) = 37 * 9
    EXPECT_EQ(array.getCapacity(), 333u);

    Array<int> appended;
    for (int i = 0; i < 32; ++i)
        appended.append(i);
    EXPECT_EQ(appended.getCapacity(), 32u);
    appended.append(32);  // 33 elements: 2 blocks of 32
    EXPECT_EQ(appended.getCapacity(), 64u);
    EXPECT_EQ(appended.getCount(), 33u);
}

TEST(Array, GrowthStepRules) {
    Array<int> big(100);
    big.grow(1);
    EXPECT_EQ(big.getCapacity(), 100u);
    big.grow(250);
    EXPECT_EQ(big.getCapacity(), 300u);

    Array<int> small(4);  // below 32: the step is 32
    small.grow(1);
    EXPECT_EQ(small.getCapacity(), 32u);
    small.grow(32);  // 32 div 32 + 1 = 2 blocks
    EXPECT_EQ(small.getCapacity(), 64u);

    Array<int> large;
    large.grow(1000);  // step 125
    EXPECT_EQ(large.getCapacity(), 1125u);
    large.grow(1001);  // same capacity: nothing changes
    EXPECT_EQ(large.getCapacity(), 1125u);
}

TEST(Array, GrowingToTheSameCapacityKeepsTheStorage) {
    Array<int> array;
    array.append(7);
    const int* before = array.begin();
    array.grow(31);
    EXPECT_EQ(array.begin(), before);
    EXPECT_EQ(array.getCapacity(), 32u);
}

TEST(Array, ShrinkingKeepsAtMostTheNewCapacity) {
    Array<int> array;
    for (int i = 0; i < 40; ++i)
        array.append(i);
    EXPECT_EQ(array.getCapacity(), 64u);
    array.grow(1);
    EXPECT_EQ(array.getCapacity(), 32u);
    EXPECT_EQ(array.getCount(), 32u);
    EXPECT_EQ(array[31], 31);
}

TEST(Array, AppendedRecordIsAllZero) {
    Array<Record> array;
    array.grow(1);
    Record& record = array.append();
    EXPECT_EQ(record.a, 0);
    EXPECT_EQ(record.b, 0);
    EXPECT_EQ(record.c, 0);
    EXPECT_EQ(record.d, nullptr);
    EXPECT_EQ(array.getCount(), 1u);
}

TEST(Array, AddedStorageHoldsDefaultElements) {
    Array<Record*> pointers;
    pointers.writeAt(5) = reinterpret_cast<Record*>(&pointers);
    EXPECT_EQ(pointers.getCount(), 6u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(pointers[i], nullptr);
    for (std::size_t i = 6; i < pointers.getCapacity(); ++i)
        EXPECT_EQ(pointers.begin()[i], nullptr);

    Array<vek::STRING> strings;
    strings.writeAt(3) = "x";
    EXPECT_TRUE(strings[0].isEmpty());
    EXPECT_EQ(strings[0].getUseCount(), 0);
    EXPECT_EQ(strings[3], "x");
}

TEST(Array, WritingJustPastTheEndAppends) {
    Array<int> array;
    array.writeAt(0) = 1;
    array.writeAt(1) = 2;
    EXPECT_EQ(array.getCount(), 2u);
    array.writeAt(0) = 5;  // inside: count stays
    EXPECT_EQ(array.getCount(), 2u);
    array.writeAt(40) = 9;  // beyond the capacity: grows
    EXPECT_EQ(array.getCount(), 41u);
    EXPECT_EQ(array.getCapacity(), 64u);
    EXPECT_EQ(array[40], 9);
    EXPECT_EQ(array[20], 0);
}

TEST(Array, ReadingBeyondTheCountRaisesIndexError) {
    Array<int> array;
    EXPECT_THROW(array[0], IndexError);
    array.append(1);
    EXPECT_EQ(array[0], 1);
    EXPECT_THROW(array[1], IndexError);
    const Array<int>& constant = array;
    EXPECT_THROW(constant[5], IndexError);
    try {
        array[3];
        FAIL();
    } catch (const vek::MemoryError& error) {
        EXPECT_STREQ(error.what(), "Array Index Range Error");
    }
}

TEST(Array, IndexThatGrowingCannotReachRaisesIndexError) {
    Array<int> array;
    array.append(1);
    array.append(2);
    EXPECT_THROW(array.writeAt(static_cast<std::size_t>(-1)), IndexError);
    EXPECT_THROW(array.writeAt(static_cast<std::size_t>(-2)), IndexError);
    EXPECT_EQ(array.getCount(), 2u);
    EXPECT_EQ(array.getCapacity(), 32u);
    EXPECT_EQ(array[1], 2);
}

TEST(Array, AllocationFailureRaisesAllocErrorAndKeepsTheArray) {
    Array<char> array;
    array.append('a');
    array.append('b');
    const char* before = array.begin();
    const std::size_t huge = std::size_t{1} << 62;
    try {
        array.grow(huge);
        FAIL() << "no AllocError";
    } catch (const AllocError& error) {
        EXPECT_STREQ(error.what(), "Memory Allocation Failed");
    }
    EXPECT_EQ(array.begin(), before);
    EXPECT_EQ(array.getCount(), 2u);
    EXPECT_EQ(array.getCapacity(), 32u);
    EXPECT_EQ(array[1], 'b');
    EXPECT_THROW(array.writeAt(huge), AllocError);
    EXPECT_THROW(array.grow(static_cast<std::size_t>(-1)), AllocError);  // capacity beyond size_t
    EXPECT_EQ(array.getCount(), 2u);
}

TEST(Array, RemovingTheFirstOfThree) {
    Array<int> array;
    array.append(10);
    array.append(20);
    array.append(30);
    array.remove(0);
    ASSERT_EQ(array.getCount(), 2u);
    EXPECT_EQ(array[0], 20);
    EXPECT_EQ(array[1], 30);
    EXPECT_EQ(array.begin()[2], 0);  // the vacated element is a default one
    EXPECT_THROW(array[2], IndexError);
}

TEST(Array, RemovingAtOrBeyondTheCountChangesNothing) {
    Array<int> array;
    array.append(1);
    array.append(2);
    array.remove(2);
    array.remove(100);
    EXPECT_EQ(array.getCount(), 2u);
    EXPECT_EQ(array[1], 2);
    Array<int> empty;
    empty.remove(0);
    EXPECT_EQ(empty.getCount(), 0u);
}

TEST(Array, RemovedStringsReleaseTheirBlocks) {
    vek::STRING text("shared");
    Array<vek::STRING> array;
    array.append(text);
    array.append(text);
    EXPECT_EQ(text.getUseCount(), 3);
    array.remove(0);
    EXPECT_EQ(text.getUseCount(), 2);
    array.removeLast();
    EXPECT_EQ(text.getUseCount(), 1);
}

TEST(Array, GrowingKeepsUseCountsOfHandles) {
    vek::STRING text("kept");
    Array<vek::STRING> array;
    for (int i = 0; i < 32; ++i)
        array.append(text);
    EXPECT_EQ(text.getUseCount(), 33);
    array.append(array[0]);  // an element of the array itself, while the storage moves
    EXPECT_EQ(array.getCapacity(), 64u);
    EXPECT_EQ(text.getUseCount(), 34);
    EXPECT_EQ(array[32], "kept");
    array.clear();
    EXPECT_EQ(text.getUseCount(), 1);
}

TEST(Array, ClearReleasesTheStorage) {
    Array<int> array;
    array.writeAt(100) = 1;
    array.clear();
    EXPECT_EQ(array.getCount(), 0u);
    EXPECT_EQ(array.getCapacity(), 0u);
    EXPECT_EQ(array.begin(), nullptr);
    array.append(3);
    EXPECT_EQ(array.getCapacity(), 32u);
}

TEST(Array, CopiesAreIndependent) {
    Array<int> array(64);
    array.append(1);
    Array<int> copy(array);
    copy[0] = 2;
    copy.append(3);
    EXPECT_EQ(array[0], 1);
    EXPECT_EQ(array.getCount(), 1u);
    EXPECT_EQ(copy.getGrowthStep(), 64u);
    Array<int> moved(std::move(copy));
    EXPECT_EQ(moved.getCount(), 2u);
    array = moved;
    EXPECT_EQ(array.getCount(), 2u);
    EXPECT_EQ(array[1], 3);
}

TEST(Array, IterationCoversTheCount) {
    Array<int> array;
    for (int i = 1; i <= 5; ++i)
        array.append(i);
    int sum = 0;
    for (int value : array)
        sum += value;
    EXPECT_EQ(sum, 15);
}

TEST(SortedArray, InsertKeepsKeysInOrder) {
    SortedArray<int, std::string> map;
    map.insert(5, "five");
    map.insert(1, "one");
    map.insert(3, "three");
    map.insert(9, "nine");
    ASSERT_EQ(map.getCount(), 4u);
    EXPECT_EQ(map[0].key, 1);
    EXPECT_EQ(map[1].key, 3);
    EXPECT_EQ(map[2].key, 5);
    EXPECT_EQ(map[3].key, 9);
    EXPECT_EQ(map[2].value, "five");
}

TEST(SortedArray, EqualKeysGoAfterTheExistingOnes) {
    SortedArray<int, int> map;
    map.insert(2, 1);
    map.insert(2, 2);
    map.insert(1, 0);
    map.insert(2, 3);
    EXPECT_EQ(map[1].value, 1);
    EXPECT_EQ(map[2].value, 2);
    EXPECT_EQ(map[3].value, 3);
}

TEST(SortedArray, FindByBinarySearch) {
    SortedArray<int, int> map;
    EXPECT_EQ(map.find(1), nullptr);
    for (int i = 0; i < 100; i += 2)
        map.insert(i, i * 10);
    for (int i = 0; i < 100; ++i) {
        auto* pair = map.find(i);
        if (i % 2 == 0) {
            ASSERT_NE(pair, nullptr) << i;
            EXPECT_EQ(pair->value, i * 10);
        } else {
            EXPECT_EQ(pair, nullptr) << i;
        }
    }
    EXPECT_EQ(map.find(-1), nullptr);
    EXPECT_EQ(map.find(1000), nullptr);
}

TEST(SortedArray, FindOrInsert) {
    SortedArray<int, int> map;
    map.insert(4, 40);
    auto& existing = map.findOrInsert(4);
    EXPECT_EQ(existing.value, 40);
    EXPECT_EQ(map.getCount(), 1u);
    auto& fresh = map.findOrInsert(2);
    EXPECT_EQ(fresh.key, 2);
    EXPECT_EQ(fresh.value, 0);
    fresh.value = 20;
    EXPECT_EQ(map.getCount(), 2u);
    EXPECT_EQ(map[0].value, 20);
    EXPECT_EQ(map[1].value, 40);
}

TEST(SortedArray, StringKeysFollowTheCollation) {
    SortedArray<vek::STRING, int> map;
    map.insert("b", 1);
    map.insert("A", 2);
    map.insert("a", 3);
    map.insert("B", 4);
    map.insert("\xC4", 5);  // Ä after A
    EXPECT_EQ(map[0].key, "A");
    EXPECT_EQ(map[1].key, "\xC4");
    EXPECT_EQ(map[2].key, "B");
    EXPECT_EQ(map[3].key, "a");
    EXPECT_EQ(map[4].key, "b");
    ASSERT_NE(map.find("a"), nullptr);
    EXPECT_EQ(map.find("a")->value, 3);
    EXPECT_EQ(map.find("c"), nullptr);
    // A key that is an element of the map itself.
    map.insert(map[0].key, 9);
    EXPECT_EQ(map.getCount(), 6u);
    EXPECT_EQ(map[1].value, 9);
}

TEST(SortedArray, RemoveAndClear) {
    SortedArray<int, int> map;
    map.insert(1, 1);
    map.insert(2, 2);
    map.remove(0);
    EXPECT_EQ(map.getCount(), 1u);
    EXPECT_EQ(map[0].key, 2);
    map.clear();
    EXPECT_EQ(map.getCount(), 0u);
    EXPECT_TRUE(map.isEmpty());
}

}  // namespace
