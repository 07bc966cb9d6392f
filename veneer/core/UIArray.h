// CStdPtrArray and CStdValArray: growable arrays of untyped pointers and of fixed-size records.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

// Pointers are stored, never owned: whoever fills the array frees what the elements point to.
class CStdPtrArray
{
public:
// Construction
    explicit CStdPtrArray(int iPreallocSize = 0);
    CStdPtrArray(const CStdPtrArray& src);
    ~CStdPtrArray();
    CStdPtrArray& operator=(const CStdPtrArray& src);

// Attributes
    bool IsEmpty() const;
    int GetSize() const;
    LPVOID* GetData();
    LPVOID GetAt(int iIndex) const;
    LPVOID operator[](int iIndex) const;
    int Find(LPVOID pData) const;

// Operations
    void Empty();
    void Resize(int iSize);
    bool Add(LPVOID pData);
    bool SetAt(int iIndex, LPVOID pData);
    bool InsertAt(int iIndex, LPVOID pData);
    bool Remove(int iIndex);

// Implementation
protected:
    bool Grow();

    LPVOID* m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

// Records of one size, copied in and out byte for byte.
class CStdValArray
{
public:
// Construction
    explicit CStdValArray(int iElementSize, int iPreallocSize = 0);
    CStdValArray(const CStdValArray& src);
    ~CStdValArray();
    CStdValArray& operator=(const CStdValArray& src);

// Attributes
    bool IsEmpty() const;
    int GetSize() const;
    LPVOID GetData();
    LPVOID GetAt(int iIndex) const;
    LPVOID operator[](int iIndex) const;

// Operations
    void Empty();
    bool Add(LPCVOID pData);
    bool Remove(int iIndex);

// Implementation
protected:
    bool Grow();

    LPBYTE m_pVoid;
    int m_iElementSize;
    int m_nCount;
    int m_nAllocated;
};

} // namespace Veneer
