// Tests of the pointer and value arrays, the string map and the geometry wrappers.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIArray.h"
#include "veneer/core/UIStringPtrMap.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/core/UIWaitCursor.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace {

// Capacity is internal; the growth rule is observable only through it.
class CPtrArrayProbe : public CStdPtrArray
{
public:
    explicit CPtrArrayProbe(int iPrealloc = 0) : CStdPtrArray(iPrealloc) {}
    int Capacity() const { return m_nAllocated; }
};

class CValArrayProbe : public CStdValArray
{
public:
    explicit CValArrayProbe(int iElementSize) : CStdValArray(iElementSize) {}
    int Capacity() const { return m_nAllocated; }
};

LPVOID Ptr(INT_PTR i)
{
    return reinterpret_cast<LPVOID>(i);
}

std::vector<std::wstring> Keys(const CStdStringPtrMap& map)
{
    std::vector<std::wstring> keys;
    for( int i = 0; i < map.GetSize(); i++ ) keys.push_back(map.GetAt(i));
    return keys;
}

typedef std::vector<std::wstring> KeyList;

bool RectIs(const RECT& rc, int l, int t, int r, int b)
{
    return rc.left == l && rc.top == t && rc.right == r && rc.bottom == b;
}

} // namespace

TEST(StdPtrArray, GrowsTo11Then22Then44KeepingAFreeSlot)
{
    CPtrArrayProbe a;
    EXPECT_EQ(0, a.Capacity());
    EXPECT_EQ(NULL, a.GetData());
    std::vector<int> capacities;
    for( INT_PTR i = 1; i <= 23; i++ ) {
        ASSERT_TRUE(a.Add(Ptr(i)));
        capacities.push_back(a.Capacity());
    }
    EXPECT_EQ(11, capacities[0]);
    EXPECT_EQ(11, capacities[9]);
    EXPECT_EQ(22, capacities[10]);   // the 11th element already grows the array
    EXPECT_EQ(22, capacities[20]);
    EXPECT_EQ(44, capacities[21]);
    for( int i = 0; i < 23; i++ ) EXPECT_EQ(Ptr(i + 1), a[i]);

    CPtrArrayProbe pre(3);
    EXPECT_EQ(3, pre.Capacity());
    EXPECT_TRUE(pre.IsEmpty());
    pre.Add(Ptr(1));
    pre.Add(Ptr(2));
    EXPECT_EQ(3, pre.Capacity());
    pre.Add(Ptr(3));
    EXPECT_EQ(6, pre.Capacity());
}

TEST(StdPtrArray, InsertAtRemoveAndSetAtCheckTheirBounds)
{
    CStdPtrArray a;
    EXPECT_FALSE(a.InsertAt(1, Ptr(9)));
    EXPECT_FALSE(a.InsertAt(-1, Ptr(9)));
    EXPECT_TRUE(a.InsertAt(0, Ptr(2)));      // at the count: appends
    EXPECT_TRUE(a.InsertAt(1, Ptr(4)));
    EXPECT_TRUE(a.InsertAt(0, Ptr(1)));
    EXPECT_TRUE(a.InsertAt(2, Ptr(3)));
    EXPECT_FALSE(a.InsertAt(5, Ptr(9)));     // count + 1
    ASSERT_EQ(4, a.GetSize());
    for( int i = 0; i < 4; i++ ) EXPECT_EQ(Ptr(i + 1), a.GetAt(i));

    EXPECT_EQ(2, a.Find(Ptr(3)));
    EXPECT_EQ(-1, a.Find(Ptr(9)));
    EXPECT_EQ(NULL, a.GetAt(4));
    EXPECT_EQ(NULL, a.GetAt(-1));
    EXPECT_FALSE(a.SetAt(4, Ptr(9)));
    EXPECT_FALSE(a.SetAt(-1, Ptr(9)));
    EXPECT_TRUE(a.SetAt(3, Ptr(5)));

    EXPECT_FALSE(a.Remove(4));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_TRUE(a.Remove(2));                // the last one
    ASSERT_EQ(2, a.GetSize());
    EXPECT_EQ(Ptr(2), a[0]);
    EXPECT_EQ(Ptr(3), a[1]);

    // Inserting at the front of a full array grows it and keeps the order.
    CStdPtrArray b;
    for( INT_PTR i = 0; i < 10; i++ ) b.Add(Ptr(i + 1));
    EXPECT_TRUE(b.InsertAt(0, Ptr(100)));
    ASSERT_EQ(11, b.GetSize());
    EXPECT_EQ(Ptr(100), b[0]);
    EXPECT_EQ(Ptr(10), b[10]);
}

TEST(StdPtrArray, ResizeEmptiesAndFillsWithNulls)
{
    CPtrArrayProbe a;
    a.Add(Ptr(7));
    a.Resize(5);
    ASSERT_EQ(5, a.GetSize());
    EXPECT_EQ(5, a.Capacity());
    for( int i = 0; i < 5; i++ ) EXPECT_EQ(NULL, a.GetAt(i));
    EXPECT_EQ(0, a.Find(NULL));
    EXPECT_TRUE(a.Add(Ptr(8)));
    EXPECT_EQ(Ptr(8), a.GetAt(5));

    a.Empty();
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(0, a.Capacity());
    EXPECT_EQ(NULL, a.GetData());
}

TEST(StdPtrArray, CopiesHaveTheirOwnStorage)
{
    CStdPtrArray a;
    for( INT_PTR i = 1; i <= 12; i++ ) a.Add(Ptr(i));

    CStdPtrArray copied(a);
    CStdPtrArray assigned;
    assigned.Add(Ptr(99));
    assigned = a;
    EXPECT_NE(a.GetData(), copied.GetData());
    EXPECT_NE(a.GetData(), assigned.GetData());
    ASSERT_EQ(12, assigned.GetSize());

    a.SetAt(0, Ptr(50));
    a.Empty();
    EXPECT_EQ(Ptr(1), copied[0]);
    EXPECT_EQ(Ptr(1), assigned[0]);
    EXPECT_EQ(Ptr(12), assigned[11]);

    assigned = assigned;
    EXPECT_EQ(12, assigned.GetSize());
}

TEST(StdValArray, StoresCopiesOfRecords)
{
    struct TRecord { int a; short b; };
    CValArrayProbe v(sizeof(TRecord));
    for( int i = 0; i < 12; i++ ) {
        TRecord r = { i, static_cast<short>(-i) };
        ASSERT_TRUE(v.Add(&r));
        r.a = 1000;   // the array holds its own copy
    }
    EXPECT_EQ(22, v.Capacity());
    ASSERT_EQ(12, v.GetSize());
    EXPECT_EQ(7, static_cast<TRecord*>(v.GetAt(7))->a);
    EXPECT_EQ(-7, static_cast<TRecord*>(v[7])->b);
    EXPECT_EQ(NULL, v.GetAt(12));
    EXPECT_EQ(NULL, v.GetAt(-1));

    EXPECT_FALSE(v.Remove(12));
    EXPECT_TRUE(v.Remove(0));
    ASSERT_EQ(11, v.GetSize());
    EXPECT_EQ(1, static_cast<TRecord*>(v.GetAt(0))->a);
    EXPECT_EQ(11, static_cast<TRecord*>(v.GetAt(10))->a);

    // Emptying keeps the storage for reuse.
    LPVOID storage = v.GetData();
    v.Empty();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(NULL, v.GetAt(0));
    TRecord r = { 42, 1 };
    v.Add(&r);
    EXPECT_EQ(storage, v.GetData());
    EXPECT_EQ(22, v.Capacity());
}

TEST(StdValArray, CopiesHaveTheirOwnStorage)
{
    CStdValArray a(sizeof(int));
    for( int i = 0; i < 5; i++ ) a.Add(&i);
    CStdValArray copied(a);
    CStdValArray assigned(sizeof(double));
    assigned = a;
    ASSERT_EQ(5, assigned.GetSize());
    EXPECT_NE(a.GetData(), copied.GetData());
    EXPECT_NE(a.GetData(), assigned.GetData());
    *static_cast<int*>(a.GetAt(4)) = 77;
    EXPECT_EQ(4, *static_cast<int*>(copied.GetAt(4)));
    EXPECT_EQ(4, *static_cast<int*>(assigned.GetAt(4)));
    EXPECT_EQ(3, *static_cast<int*>(assigned.GetAt(3)));
}

TEST(StdStringPtrMap, EnumeratesFromTheLastBucketDownByThe33Hash)
{
    // Buckets in an 83-bucket map: ab 11, ba 62 (characters hashed last to first),
    // abcdefghijklmnop 4 and zzzzzzzzzz 51 (both depend on unsigned 32-bit wrapping).
    CStdStringPtrMap map;
    EXPECT_TRUE(map.Insert(L"abcdefghijklmnop", Ptr(1)));
    EXPECT_TRUE(map.Insert(L"ab", Ptr(2)));
    EXPECT_TRUE(map.Insert(L"zzzzzzzzzz", Ptr(3)));
    EXPECT_TRUE(map.Insert(L"ba", Ptr(4)));
    EXPECT_EQ(4, map.GetSize());
    EXPECT_EQ((KeyList{ L"ba", L"zzzzzzzzzz", L"ab", L"abcdefghijklmnop" }), Keys(map));
    EXPECT_EQ(NULL, map.GetAt(4));
    EXPECT_EQ(NULL, map.GetAt(-1));
    EXPECT_STREQ(L"ab", map[2]);
}

TEST(StdStringPtrMap, HeadInsertionAndMoveToFrontReorderAChain)
{
    // a and q share bucket 1 of 16.
    CStdStringPtrMap map(4);   // raised to 16 buckets
    map.Insert(L"a", Ptr(1));
    map.Insert(L"q", Ptr(2));
    map.Insert(L"b", Ptr(3));  // bucket 2, enumerated first
    EXPECT_EQ((KeyList{ L"b", L"q", L"a" }), Keys(map));

    EXPECT_EQ(Ptr(1), map.Find(L"a", false));
    EXPECT_EQ((KeyList{ L"b", L"q", L"a" }), Keys(map));
    EXPECT_EQ(Ptr(1), map.Find(L"a"));
    EXPECT_EQ((KeyList{ L"b", L"a", L"q" }), Keys(map));

    // Set replaces in place without reordering.
    EXPECT_EQ(Ptr(2), map.Set(L"q", Ptr(20)));
    EXPECT_EQ((KeyList{ L"b", L"a", L"q" }), Keys(map));
    EXPECT_EQ(Ptr(20), map.Find(L"q", false));

    // Removing from the middle and the head keeps the chain intact.
    map.Insert(L"A", Ptr(4));  // 65: bucket 1, new head
    EXPECT_EQ((KeyList{ L"b", L"A", L"a", L"q" }), Keys(map));
    EXPECT_TRUE(map.Remove(L"a"));
    EXPECT_EQ((KeyList{ L"b", L"A", L"q" }), Keys(map));
    EXPECT_TRUE(map.Remove(L"A"));
    EXPECT_EQ((KeyList{ L"b", L"q" }), Keys(map));
    EXPECT_FALSE(map.Remove(L"A"));
    EXPECT_EQ(Ptr(20), map.Find(L"q"));
    EXPECT_EQ(2, map.GetSize());
}

TEST(StdStringPtrMap, InsertSetAndFindResults)
{
    CStdStringPtrMap map;
    EXPECT_EQ(NULL, map.Find(L"x"));
    EXPECT_EQ(NULL, map.Set(L"Font", Ptr(1)));
    EXPECT_EQ(Ptr(1), map.Find(L"Font"));
    EXPECT_EQ(NULL, map.Find(L"font"));       // case-sensitive
    EXPECT_FALSE(map.Insert(L"Font", Ptr(2)));
    EXPECT_EQ(Ptr(1), map.Set(L"Font", Ptr(3)));
    EXPECT_EQ(Ptr(3), map.Find(L"Font"));
    EXPECT_TRUE(map.Insert(L"font", Ptr(4)));
    EXPECT_EQ(2, map.GetSize());

    // A key stored with a null value looks absent, so it can be inserted again.
    EXPECT_TRUE(map.Insert(L"empty", NULL));
    EXPECT_TRUE(map.Insert(L"empty", NULL));
    EXPECT_EQ(4, map.GetSize());
    EXPECT_TRUE(map.Remove(L"empty"));
    EXPECT_TRUE(map.Remove(L"empty"));
    EXPECT_FALSE(map.Remove(L"empty"));
    EXPECT_EQ(2, map.GetSize());
}

TEST(StdStringPtrMap, ResizeEmptiesAndZeroBucketsRefuseEverything)
{
    CStdStringPtrMap map;
    map.Insert(L"one", Ptr(1));
    map.Insert(L"two", Ptr(2));
    map.Resize(20);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(NULL, map.Find(L"one"));
    EXPECT_TRUE(map.Insert(L"one", Ptr(1)));
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"one", Ptr(1)));

    map.Resize(0);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_FALSE(map.Insert(L"one", Ptr(1)));
    EXPECT_EQ(Ptr(5), map.Set(L"one", Ptr(5)));
    EXPECT_EQ(NULL, map.Find(L"one"));
    EXPECT_FALSE(map.Remove(L"one"));
    EXPECT_EQ(NULL, map.GetAt(0));
    map.RemoveAll();
    map.Resize(-3);
    EXPECT_FALSE(map.Insert(L"one", Ptr(1)));
}

TEST(StdStringPtrMap, CopiesOwnTheirEntriesAndEnumerateAlike)
{
    CStdStringPtrMap map(16);
    map.Insert(L"a", Ptr(1));
    map.Insert(L"q", Ptr(2));
    map.Insert(L"b", Ptr(3));

    CStdStringPtrMap copied(map);
    CStdStringPtrMap assigned;
    assigned.Insert(L"old", Ptr(9));
    assigned = map;
    EXPECT_EQ(Keys(map), Keys(copied));
    EXPECT_EQ(Keys(map), Keys(assigned));
    EXPECT_EQ(NULL, assigned.Find(L"old"));

    map.Set(L"a", Ptr(10));
    map.Remove(L"b");
    map.RemoveAll();
    EXPECT_EQ(3, copied.GetSize());
    EXPECT_EQ(Ptr(1), copied.Find(L"a"));
    EXPECT_EQ(Ptr(3), assigned.Find(L"b"));
    // The copy keeps the source's bucket count: a and q still share a chain.
    EXPECT_EQ((KeyList{ L"b", L"q", L"a" }), Keys(assigned));
    EXPECT_EQ(Ptr(1), assigned.Find(L"a"));
    EXPECT_EQ((KeyList{ L"b", L"a", L"q" }), Keys(assigned));
}

TEST(Geometry, RectangleArithmetic)
{
    CUIRect rc(10, 20, 30, 60);
    EXPECT_EQ(20, rc.GetWidth());
    EXPECT_EQ(40, rc.GetHeight());
    rc.Join(CUIRect(0, 30, 50, 40));
    EXPECT_TRUE(RectIs(rc, 0, 20, 50, 60));
    rc.ResetOffset();
    EXPECT_TRUE(RectIs(rc, 0, 0, 50, 40));
    rc.Offset(5, -5);
    rc.Deflate(1, 2);
    EXPECT_TRUE(RectIs(rc, 6, -3, 54, 33));
    rc.Inflate(1, 2);
    EXPECT_TRUE(RectIs(rc, 5, -5, 55, 35));

    CUIRect flipped(30, 40, 10, 20);
    flipped.Normalize();
    EXPECT_TRUE(RectIs(flipped, 10, 20, 30, 40));
    flipped.Union(CUIRect(0, 0, 5, 5));
    EXPECT_TRUE(RectIs(flipped, 0, 0, 30, 40));
    flipped.Empty();
    EXPECT_TRUE(flipped.IsNull());
    EXPECT_FALSE(CUIRect(0, 0, 0, 1).IsNull());

    const RECT raw = { 3, 4, 13, 24 };
    const CSize sz(raw);
    EXPECT_EQ(10, sz.cx);
    EXPECT_EQ(20, sz.cy);
}

TEST(Geometry, PointFromMessageParameterIsSignExtended)
{
    const CPoint pt(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(300))));
    EXPECT_EQ(-5, pt.x);
    EXPECT_EQ(300, pt.y);
    const CPoint pt2(static_cast<LPARAM>(MAKELPARAM(40000, static_cast<WORD>(-2))));
    EXPECT_EQ(40000 - 65536, pt2.x);
    EXPECT_EQ(-2, pt2.y);
}

TEST(WaitCursor, ShowsTheWaitCursorAndRestoresThePreviousOne)
{
    HCURSOR hArrow = ::LoadCursorW(NULL, IDC_ARROW);
    ::SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::LoadCursorW(NULL, IDC_WAIT), ::GetCursor());
    }
    EXPECT_EQ(hArrow, ::GetCursor());
}
