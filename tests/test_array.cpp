// MyCArray growth and release rules, and the small utilities: Shell sort,
// the fatal-message routines and string_add.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "support/fatal.h"
#include "support/my_carray.h"
#include "support/uponeub.h"

using namespace vetrix;

namespace {

std::vector<int> contents(const IntArray &a) { return std::vector<int>(a.data, a.data + a.size); }

// Fills an array to size n with 1, 2, ..., n by appending.
void fill_sequence(IntArray &a, int n) {
    for (int k = 0; k < n; ++k) {
        int v = k + 1;
        a.SetAtGrow(a.size, v);
    }
}

// ---------------------------------------------------------------- storage

TEST(ArrayAlloc, FreshArrayOwnsNothing) {
    IntArray a;
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(a.size, 0);
    EXPECT_EQ(a.max_size, 0);
    EXPECT_EQ(a.grow_by, 0);
}

TEST(ArrayAlloc, FirstAllocationIsExactAndZeroed) {
    IntArray a;
    a.SetSize(5, -1);
    EXPECT_EQ(a.size, 5);
    EXPECT_EQ(a.max_size, 5); // no growth step on the first allocation
    EXPECT_EQ(contents(a), std::vector<int>(5, 0));
}

TEST(ArrayAlloc, ExplicitStepIsStoredAndUsed) {
    IntArray a;
    a.SetSize(5, 3);
    EXPECT_EQ(a.grow_by, 3);
    EXPECT_EQ(a.max_size, 5);
    a.SetSize(6, -1); // -1 keeps the stored step
    EXPECT_EQ(a.grow_by, 3);
    EXPECT_EQ(a.max_size, 8); // 5 + 3, not the automatic 5 + 4
    a.SetSize(30, -1);        // larger than 8 + 3: exactly the size asked for
    EXPECT_EQ(a.max_size, 30);
    a.SetSize(31, 100);
    EXPECT_EQ(a.max_size, 130);
}

TEST(ArrayAlloc, StepIsStoredEvenWhenEmptyingOrReleasing) {
    IntArray a;
    a.SetSize(0, 7);
    EXPECT_EQ(a.grow_by, 7);
    EXPECT_EQ(a.data, nullptr);
    a.SetSize(-1, 9);
    EXPECT_EQ(a.grow_by, 9);
    a.SetSize(2, -1);
    a.SetSize(3, -1);
    EXPECT_EQ(a.max_size, 11); // 2 + 9
}

TEST(ArrayAlloc, AppendingOneByOneGrowsByTheAutomaticStep) {
    // Step 4 while the size is below 40, then size / 8.
    IntArray a;
    std::vector<int> capacities;
    for (int k = 0; k < 72; ++k) {
        int v = k;
        a.SetAtGrow(a.size, v);
        if (capacities.empty() || capacities.back() != a.max_size)
            capacities.push_back(a.max_size);
    }
    const std::vector<int> want = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64, 72};
    EXPECT_EQ(capacities, want);
    for (int k = 0; k < 72; ++k)
        ASSERT_EQ(a[k], k);
}

TEST(ArrayAlloc, AutomaticStepBoundaries) {
    struct Row {
        int size;     // size == capacity before the append
        int capacity; // capacity after one more element
    };
    const Row rows[] = {
        {1, 5},          {10, 14},          {31, 35},          {39, 43},
        {40, 45},        {100, 112},        {8199, 8199 + 1024}, {8200, 8200 + 1024},
        {20000, 21024},
    };
    for (const Row &r : rows) {
        IntArray a;
        a.SetSize(r.size, -1);
        ASSERT_EQ(a.max_size, r.size);
        int v = 42;
        a.SetAtGrow(r.size, v);
        EXPECT_EQ(a.max_size, r.capacity) << "size " << r.size;
        EXPECT_EQ(a.size, r.size + 1);
        EXPECT_EQ(a[r.size], 42);
    }
}

TEST(ArrayAlloc, SetAtGrowBeyondTheSize) {
    IntArray a;
    int v = 17;
    a.SetAtGrow(7, v);
    EXPECT_EQ(a.size, 8);
    EXPECT_EQ(a.max_size, 8);
    EXPECT_EQ(contents(a), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 17}));
    int w = -3;
    a.SetAtGrow(2, w); // inside the size: a plain store
    EXPECT_EQ(a.size, 8);
    EXPECT_EQ(a[2], -3);
}

// -------------------------------------------------------- shrink and regrow

TEST(ArrayShrink, ElementsComingBackIntoUseAreZero) {
    IntArray a;
    fill_sequence(a, 5);
    a.SetSize(2, -1);
    EXPECT_EQ(a.max_size, 5);
    a.SetSize(5, -1); // within the capacity
    EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 0, 0, 0}));

    // Also when the regrowth reallocates: the old slots 2..4 held values.
    IntArray b;
    b.SetSize(5, -1);
    for (int k = 0; k < 5; ++k)
        b[k] = 9;
    b.SetSize(2, -1);
    b.SetSize(50, -1);
    EXPECT_EQ(b.max_size, 50);
    EXPECT_EQ(b[0], 9);
    EXPECT_EQ(b[1], 9);
    for (int k = 2; k < 50; ++k)
        ASSERT_EQ(b[k], 0) << k;
}

TEST(ArrayShrink, EmptyingKeepsTheStorage) {
    IntArray a;
    fill_sequence(a, 6);
    int *before = a.data;
    const int capacity = a.max_size;
    a.SetSize(0, -1);
    EXPECT_EQ(a.size, 0);
    EXPECT_EQ(a.data, before);
    EXPECT_EQ(a.max_size, capacity);
    a.SetSize(3, -1);
    EXPECT_EQ(a.data, before); // refilled in place
    EXPECT_EQ(contents(a), (std::vector<int>{0, 0, 0}));
}

TEST(ArrayShrink, ReleaseFreesTheStorage) {
    IntArray a;
    fill_sequence(a, 6);
    a.SetSize(-1, -1);
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(a.size, 0);
    EXPECT_EQ(a.max_size, 0);

    IntArray never;
    never.SetSize(-1, -1);
    EXPECT_EQ(never.data, nullptr);
    EXPECT_EQ(never.size, 0);
    EXPECT_EQ(never.max_size, 0);

    a.SetSize(2, -1); // a first allocation again: exact
    EXPECT_EQ(a.max_size, 2);
}

TEST(ArrayShrink, DecreaseSizeKeepsTheSlot) {
    IntArray a;
    fill_sequence(a, 4);
    const int capacity = a.max_size;
    a.DecreaseSize();
    EXPECT_EQ(a.size, 3);
    EXPECT_EQ(a.max_size, capacity);
    EXPECT_EQ(a.data[3], 4); // the removed value stays in place
    int v = 99;
    a.SetAtGrow(a.size, v);
    EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 3, 99}));
    EXPECT_EQ(a.max_size, capacity);
}

TEST(ArrayShrink, OtherElementTypesFollowTheSameRules) {
    MyCArray<unsigned int, unsigned int &> u;
    u.SetSize(3, -1);
    u[2] = 0xFFFFFFFFu;
    u.SetSize(1, -1);
    u.SetSize(3, -1);
    EXPECT_EQ(u[2], 0u);

    MyCArray<int *, int *&> p;
    int x = 0;
    p.SetSize(2, -1);
    p[1] = &x;
    p.SetSize(1, -1);
    p.SetSize(4, -1);
    EXPECT_EQ(p.max_size, 6); // 2 + 4: the step comes from the size 1
    EXPECT_EQ(p[1], nullptr);
    EXPECT_EQ(p[3], nullptr);
}

// ----------------------------------------------------------- nested arrays

#if defined(__SANITIZE_ADDRESS__)
#define VETRIX_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VETRIX_UNDER_ASAN 1
#endif
#endif

#ifndef VETRIX_UNDER_ASAN
size_t heap_in_use() {
    struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}
#endif

TEST(ArrayNested, ShrinkFreesInnerStorageAndRegrowYieldsEmptyArrays) {
    IntArrays outer;
    outer.SetSize(4, -1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(outer[k].data, nullptr);
        EXPECT_EQ(outer[k].size, 0);
        outer[k].SetSize(3, 5);
        outer[k][0] = k + 1;
    }
    outer.SetSize(2, -1);
    EXPECT_EQ(outer.size, 2);
    EXPECT_EQ(outer[1][0], 2);
    outer.SetSize(4, -1);
    for (int k = 2; k < 4; ++k) {
        EXPECT_EQ(outer[k].data, nullptr) << k;
        EXPECT_EQ(outer[k].size, 0) << k;
        EXPECT_EQ(outer[k].max_size, 0) << k;
        EXPECT_EQ(outer[k].grow_by, 0) << k;
    }
    // Growing the outer array moves the inner arrays with their storage.
    outer.SetSize(40, -1);
    EXPECT_EQ(outer[0].size, 3);
    EXPECT_EQ(outer[0][0], 1);
    EXPECT_EQ(outer[1].grow_by, 5);
    EXPECT_EQ(outer[39].data, nullptr);
}

TEST(ArrayNested, ShrinkAndReleaseReturnTheInnerMemory) {
#ifdef VETRIX_UNDER_ASAN
    GTEST_SKIP() << "allocator statistics are not kept under AddressSanitizer";
#else
    const int inner = 1 << 20; // 4 MiB per inner array
    const size_t bytes = static_cast<size_t>(inner) * sizeof(int);
    IntArrays outer;
    outer.SetSize(4, -1);
    for (int k = 0; k < 4; ++k)
        outer[k].SetSize(inner, -1);
    const size_t full = heap_in_use();
    outer.SetSize(2, -1); // inner arrays 2 and 3 are destroyed
    const size_t half = heap_in_use();
    EXPECT_GE(full - half, 2 * bytes - bytes / 8);
    outer.SetSize(0, -1); // the rest too, while the outer storage stays
    EXPECT_GE(half - heap_in_use(), 2 * bytes - bytes / 8);
    EXPECT_NE(outer.data, nullptr);
#endif
}

// ------------------------------------------------------------ fatal sizes

TEST(ArrayFatal, SizeBelowMinusOneIsFatal) {
    EXPECT_TRUE(fails_with(
        [] {
            IntArray a;
            a.SetSize(-2, -1);
        },
        "wrong array size\n"));
    EXPECT_TRUE(fails_with(
        [] {
            IntArrays d;
            d.SetSize(4, -1);
            d.SetSize(INT_MIN, 3);
        },
        "wrong array size\n"));
}

// ---------------------------------------------------------------- utilities

TEST(ShellSort, SortsAscendingInPlace) {
    struct Row {
        std::vector<int> in;
        std::vector<int> want;
    };
    const Row rows[] = {
        {{5, 3, 5, -1, 0}, {-1, 0, 3, 5, 5}},
        {{}, {}},
        {{7}, {7}},
        {{2, 1}, {1, 2}},
        {{1, 2}, {1, 2}},
        {{4, 4, 4}, {4, 4, 4}},
        {{-3, -7, -1, -7}, {-7, -7, -3, -1}},
        {{INT_MAX, 0, INT_MIN, -1, 1}, {INT_MIN, -1, 0, 1, INT_MAX}},
        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Row &r : rows) {
        std::vector<int> a = r.in;
        a.push_back(12345); // a guard after the n elements stays untouched
        Uponeub_sh1(a.data(), static_cast<int>(r.in.size()));
        a.pop_back();
        EXPECT_EQ(a, r.want);
    }
}

TEST(ShellSort, OnlyTheFirstNElementsAreSorted) {
    std::vector<int> a = {3, 2, 1, 0, -1};
    Uponeub_sh1(a.data(), 3);
    EXPECT_EQ(a, (std::vector<int>{1, 2, 3, 0, -1}));
    Uponeub_sh1(a.data(), 1);
    Uponeub_sh1(a.data(), 0);
    EXPECT_EQ(a, (std::vector<int>{1, 2, 3, 0, -1}));
}

TEST(ShellSort, AgreesWithStdSortOnPseudoRandomArrays) {
    unsigned int x = 12345u;
    for (int n = 0; n < 300; n += 7) {
        std::vector<int> a(static_cast<size_t>(n));
        for (int &v : a) {
            x = x * 1103515245u + 12345u;
            v = static_cast<int>((x >> 8) % 41) - 20; // many duplicates
        }
        std::vector<int> want = a;
        std::sort(want.begin(), want.end());
        Uponeub_sh1(a.data(), n);
        ASSERT_EQ(a, want) << "n = " << n;
    }
}

TEST(MessageBox, CarriesTheTextUnchangedAndStatusOne) {
    const char *texts[] = {
        "\n please, increase max_base_inc",
        "\n please, stop and increase max_size_queu",
        "\n please, stop and increase max_cub_nb",
    };
    for (const char *text : texts) // no line end is added after the text
        EXPECT_TRUE(fails_with([&] { AfxMessageBox(text); }, text));
}

TEST(MemoryGuard, AllocationFailureBecomesTheOutOfMemoryMessage) {
    EXPECT_EQ(with_memory_guard([] { return 7; }), 7);
    EXPECT_TRUE(fails_with([] { with_memory_guard([]() -> int { throw std::bad_alloc(); }); }, "out of memory\n"));
}

TEST(StringAdd, AppendsUpToTheNul) {
    std::string s = "ab";
    string_add(s, "");
    EXPECT_EQ(s, "ab");
    string_add(s, "cd");
    EXPECT_EQ(s, "abcd");
    const char with_nul[] = {'x', 'y', '\0', 'z', '\0'};
    string_add(s, with_nul);
    EXPECT_EQ(s, "abcdxy");
    std::string empty;
    string_add(empty, " 1,");
    EXPECT_EQ(empty, " 1,");
}

} // namespace
