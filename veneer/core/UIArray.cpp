// CStdPtrArray and CStdValArray: growth by doubling from 11 slots, bounds-checked edits.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIArray.h"

#include <limits.h>

namespace Veneer {

namespace {

const int FIRST_CAPACITY = 11;

// Next capacity after a full one, or 0 when doubling would overflow the int count.
int NextCapacity(int nAllocated)
{
    if( nAllocated == 0 ) return FIRST_CAPACITY;
    if( nAllocated > INT_MAX / 2 ) return 0;
    return nAllocated * 2;
}

} // namespace

/////////////////////////////////////////////////////////////////////////////////////
// CStdPtrArray

CStdPtrArray::CStdPtrArray(int iPreallocSize) : m_ppVoid(NULL), m_nCount(0), m_nAllocated(iPreallocSize)
{
    if( m_nAllocated < 0 ) m_nAllocated = 0;
    if( m_nAllocated > 0 ) {
        m_ppVoid = static_cast<LPVOID*>(malloc(static_cast<size_t>(m_nAllocated) * sizeof(LPVOID)));
        if( m_ppVoid == NULL ) m_nAllocated = 0;
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src) : m_ppVoid(NULL), m_nCount(0), m_nAllocated(0)
{
    for( int i = 0; i < src.GetSize(); i++ ) Add(src.GetAt(i));
}

CStdPtrArray::~CStdPtrArray()
{
    free(m_ppVoid);
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& src)
{
    // Each array keeps its own storage; sharing it would free it twice.
    if( this != &src ) {
        Empty();
        for( int i = 0; i < src.GetSize(); i++ ) Add(src.GetAt(i));
    }
    return *this;
}

void CStdPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = NULL;
    m_nCount = m_nAllocated = 0;
}

void CStdPtrArray::Resize(int iSize)
{
    Empty();
    if( iSize <= 0 ) return;
    m_ppVoid = static_cast<LPVOID*>(calloc(static_cast<size_t>(iSize), sizeof(LPVOID)));
    if( m_ppVoid == NULL ) return;
    m_nAllocated = iSize;
    m_nCount = iSize;
}

bool CStdPtrArray::IsEmpty() const
{
    return m_nCount == 0;
}

bool CStdPtrArray::Grow()
{
    // Called with the count already raised: keep at least one free slot behind the last element.
    if( m_nCount < m_nAllocated ) return true;
    const int nAllocated = NextCapacity(m_nAllocated);
    if( nAllocated == 0 ) return false;
    LPVOID* ppVoid = static_cast<LPVOID*>(realloc(m_ppVoid, static_cast<size_t>(nAllocated) * sizeof(LPVOID)));
    if( ppVoid == NULL ) return false;
    m_ppVoid = ppVoid;
    m_nAllocated = nAllocated;
    return true;
}

bool CStdPtrArray::Add(LPVOID pData)
{
    if( ++m_nCount >= m_nAllocated && !Grow() ) {
        --m_nCount;
        return false;
    }
    m_ppVoid[m_nCount - 1] = pData;
    return true;
}

bool CStdPtrArray::InsertAt(int iIndex, LPVOID pData)
{
    if( iIndex == m_nCount ) return Add(pData);
    if( iIndex < 0 || iIndex > m_nCount ) return false;
    if( ++m_nCount >= m_nAllocated && !Grow() ) {
        --m_nCount;
        return false;
    }
    memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], static_cast<size_t>(m_nCount - iIndex - 1) * sizeof(LPVOID));
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::SetAt(int iIndex, LPVOID pData)
{
    if( iIndex < 0 || iIndex >= m_nCount ) return false;
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::Remove(int iIndex)
{
    if( iIndex < 0 || iIndex >= m_nCount ) return false;
    if( iIndex < --m_nCount ) {
        memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], static_cast<size_t>(m_nCount - iIndex) * sizeof(LPVOID));
    }
    return true;
}

int CStdPtrArray::Find(LPVOID pData) const
{
    for( int i = 0; i < m_nCount; i++ ) {
        if( m_ppVoid[i] == pData ) return i;
    }
    return -1;
}

int CStdPtrArray::GetSize() const
{
    return m_nCount;
}

LPVOID* CStdPtrArray::GetData()
{
    return m_ppVoid;
}

LPVOID CStdPtrArray::GetAt(int iIndex) const
{
    if( iIndex < 0 || iIndex >= m_nCount ) return NULL;
    return m_ppVoid[iIndex];
}

LPVOID CStdPtrArray::operator[](int iIndex) const
{
    return m_ppVoid[iIndex];
}

/////////////////////////////////////////////////////////////////////////////////////
// CStdValArray

CStdValArray::CStdValArray(int iElementSize, int iPreallocSize)
    : m_pVoid(NULL), m_iElementSize(iElementSize), m_nCount(0), m_nAllocated(iPreallocSize)
{
    if( m_iElementSize < 0 ) m_iElementSize = 0;
    if( m_nAllocated < 0 ) m_nAllocated = 0;
    if( m_nAllocated > 0 ) {
        m_pVoid = static_cast<LPBYTE>(malloc(static_cast<size_t>(m_nAllocated) * static_cast<size_t>(m_iElementSize)));
        if( m_pVoid == NULL ) m_nAllocated = 0;
    }
}

CStdValArray::CStdValArray(const CStdValArray& src)
    : m_pVoid(NULL), m_iElementSize(src.m_iElementSize), m_nCount(0), m_nAllocated(0)
{
    for( int i = 0; i < src.GetSize(); i++ ) Add(src.GetAt(i));
}

CStdValArray::~CStdValArray()
{
    free(m_pVoid);
}

CStdValArray& CStdValArray::operator=(const CStdValArray& src)
{
    // The copy takes the source's record size; its storage is its own.
    if( this != &src ) {
        free(m_pVoid);
        m_pVoid = NULL;
        m_nCount = m_nAllocated = 0;
        m_iElementSize = src.m_iElementSize;
        for( int i = 0; i < src.GetSize(); i++ ) Add(src.GetAt(i));
    }
    return *this;
}

void CStdValArray::Empty()
{
    // The storage stays for the next records.
    m_nCount = 0;
}

bool CStdValArray::IsEmpty() const
{
    return m_nCount == 0;
}

bool CStdValArray::Grow()
{
    if( m_nCount < m_nAllocated ) return true;
    const int nAllocated = NextCapacity(m_nAllocated);
    if( nAllocated == 0 ) return false;
    LPBYTE pVoid = static_cast<LPBYTE>(realloc(m_pVoid, static_cast<size_t>(nAllocated) * static_cast<size_t>(m_iElementSize)));
    // A zero record size legitimately yields no block; nothing is ever read from it.
    if( pVoid == NULL && m_iElementSize > 0 ) return false;
    m_pVoid = pVoid;
    m_nAllocated = nAllocated;
    return true;
}

bool CStdValArray::Add(LPCVOID pData)
{
    if( ++m_nCount >= m_nAllocated && !Grow() ) {
        --m_nCount;
        return false;
    }
    if( m_iElementSize > 0 ) {
        memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * static_cast<size_t>(m_iElementSize), pData,
               static_cast<size_t>(m_iElementSize));
    }
    return true;
}

bool CStdValArray::Remove(int iIndex)
{
    if( iIndex < 0 || iIndex >= m_nCount ) return false;
    if( iIndex < --m_nCount ) {
        const size_t cbElement = static_cast<size_t>(m_iElementSize);
        memmove(m_pVoid + static_cast<size_t>(iIndex) * cbElement, m_pVoid + static_cast<size_t>(iIndex + 1) * cbElement,
                static_cast<size_t>(m_nCount - iIndex) * cbElement);
    }
    return true;
}

int CStdValArray::GetSize() const
{
    return m_nCount;
}

LPVOID CStdValArray::GetData()
{
    return static_cast<LPVOID>(m_pVoid);
}

LPVOID CStdValArray::GetAt(int iIndex) const
{
    if( iIndex < 0 || iIndex >= m_nCount ) return NULL;
    return m_pVoid + static_cast<size_t>(iIndex) * static_cast<size_t>(m_iElementSize);
}

LPVOID CStdValArray::operator[](int iIndex) const
{
    return m_pVoid + static_cast<size_t>(iIndex) * static_cast<size_t>(m_iElementSize);
}

} // namespace Veneer
