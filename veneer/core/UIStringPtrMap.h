// CStdStringPtrMap: chained hash map from texts to untyped pointers, with move-to-front lookups.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

namespace Veneer {

// Values are stored, never owned: an owner of heap values enumerates the map and frees them itself.
class CStdStringPtrMap
{
public:
    enum { DEFAULT_BUCKETS = 83, MIN_BUCKETS = 16 };

// Construction
    explicit CStdStringPtrMap(int nSize = DEFAULT_BUCKETS);
    CStdStringPtrMap(const CStdStringPtrMap& src);
    ~CStdStringPtrMap();
    CStdStringPtrMap& operator=(const CStdStringPtrMap& src);

// Attributes
    int GetSize() const;
    LPCWSTR GetAt(int iIndex) const;
    LPCWSTR operator[](int nIndex) const;

// Operations
    void Resize(int nSize = DEFAULT_BUCKETS);
    LPVOID Find(LPCWSTR key, bool optimize = true) const;
    bool Insert(LPCWSTR key, LPVOID pData);
    LPVOID Set(LPCWSTR key, LPVOID pData);
    bool Remove(LPCWSTR key);
    void RemoveAll();

// Implementation
protected:
    struct TITEM;

    static UINT HashKey(LPCWSTR key);
    void DeleteAll();
    void CopyFrom(const CStdStringPtrMap& src);

    TITEM** m_aT;
    int m_nBuckets;
    int m_nCount;
};

} // namespace Veneer
