// CStdStringPtrMap: hashing, chained buckets, move-to-front and enumeration from the last bucket.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIStringPtrMap.h"

namespace Veneer {

struct CStdStringPtrMap::TITEM
{
    CUIString Key;
    LPVOID Data;
    TITEM* pPrev;
    TITEM* pNext;
};

CStdStringPtrMap::CStdStringPtrMap(int nSize) : m_aT(NULL), m_nBuckets(0), m_nCount(0)
{
    if( nSize < MIN_BUCKETS ) nSize = MIN_BUCKETS;
    Resize(nSize);
}

CStdStringPtrMap::CStdStringPtrMap(const CStdStringPtrMap& src) : m_aT(NULL), m_nBuckets(0), m_nCount(0)
{
    CopyFrom(src);
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    DeleteAll();
}

CStdStringPtrMap& CStdStringPtrMap::operator=(const CStdStringPtrMap& src)
{
    // Each map has its own entries (sharing them would free them twice); the values stay shared.
    if( this != &src ) {
        DeleteAll();
        CopyFrom(src);
    }
    return *this;
}

void CStdStringPtrMap::CopyFrom(const CStdStringPtrMap& src)
{
    Resize(src.m_nBuckets);
    if( m_aT == NULL ) return;
    // Chains are copied in their order so both maps enumerate alike.
    for( int i = 0; i < m_nBuckets; i++ ) {
        TITEM* pLast = NULL;
        for( const TITEM* pSrc = src.m_aT[i]; pSrc != NULL; pSrc = pSrc->pNext ) {
            TITEM* pItem = new TITEM;
            pItem->Key = pSrc->Key;
            pItem->Data = pSrc->Data;
            pItem->pPrev = pLast;
            pItem->pNext = NULL;
            if( pLast == NULL ) m_aT[i] = pItem;
            else pLast->pNext = pItem;
            pLast = pItem;
            m_nCount++;
        }
    }
}

void CStdStringPtrMap::DeleteAll()
{
    if( m_aT != NULL ) {
        for( int i = 0; i < m_nBuckets; i++ ) {
            TITEM* pItem = m_aT[i];
            while( pItem != NULL ) {
                TITEM* pKill = pItem;
                pItem = pItem->pNext;
                delete pKill;
            }
        }
        delete[] m_aT;
        m_aT = NULL;
    }
    m_nBuckets = 0;
    m_nCount = 0;
}

void CStdStringPtrMap::Resize(int nSize)
{
    // Entries are not rehashed: resizing empties the map.
    DeleteAll();
    if( nSize < 0 ) nSize = 0;
    if( nSize > 0 ) {
        m_aT = new (std::nothrow) TITEM*[nSize];
        if( m_aT == NULL ) return;
        memset(m_aT, 0, static_cast<size_t>(nSize) * sizeof(TITEM*));
    }
    m_nBuckets = nSize;
}

void CStdStringPtrMap::RemoveAll()
{
    Resize(m_nBuckets);
}

UINT CStdStringPtrMap::HashKey(LPCWSTR key)
{
    UINT h = 0;
    for( size_t i = wcslen(key); i-- > 0; ) {
        h = (h << 5) + h + static_cast<UINT>(key[i]);
    }
    return h;
}

LPVOID CStdStringPtrMap::Find(LPCWSTR key, bool optimize) const
{
    if( m_nBuckets == 0 || m_nCount == 0 ) return NULL;
    if( key == NULL ) key = L"";
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for( TITEM* pItem = m_aT[slot]; pItem != NULL; pItem = pItem->pNext ) {
        if( pItem->Key == key ) {
            if( optimize && pItem != m_aT[slot] ) {
                // Move to the head of the chain: frequently looked-up keys are met first.
                pItem->pPrev->pNext = pItem->pNext;
                if( pItem->pNext != NULL ) pItem->pNext->pPrev = pItem->pPrev;
                pItem->pPrev = NULL;
                pItem->pNext = m_aT[slot];
                pItem->pNext->pPrev = pItem;
                m_aT[slot] = pItem;
            }
            return pItem->Data;
        }
    }
    return NULL;
}

bool CStdStringPtrMap::Insert(LPCWSTR key, LPVOID pData)
{
    if( m_nBuckets == 0 ) return false;
    if( key == NULL ) key = L"";
    if( Find(key) != NULL ) return false;

    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    TITEM* pItem = new TITEM;
    pItem->Key = key;
    pItem->Data = pData;
    pItem->pPrev = NULL;
    pItem->pNext = m_aT[slot];
    if( pItem->pNext != NULL ) pItem->pNext->pPrev = pItem;
    m_aT[slot] = pItem;
    m_nCount++;
    return true;
}

LPVOID CStdStringPtrMap::Set(LPCWSTR key, LPVOID pData)
{
    if( m_nBuckets == 0 ) return pData;
    if( key == NULL ) key = L"";
    if( m_nCount > 0 ) {
        const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
        for( TITEM* pItem = m_aT[slot]; pItem != NULL; pItem = pItem->pNext ) {
            if( pItem->Key == key ) {
                LPVOID pOldData = pItem->Data;
                pItem->Data = pData;
                return pOldData;
            }
        }
    }
    Insert(key, pData);
    return NULL;
}

bool CStdStringPtrMap::Remove(LPCWSTR key)
{
    if( m_nBuckets == 0 || m_nCount == 0 ) return false;
    if( key == NULL ) key = L"";
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for( TITEM* pItem = m_aT[slot]; pItem != NULL; pItem = pItem->pNext ) {
        if( pItem->Key == key ) {
            if( pItem->pPrev != NULL ) pItem->pPrev->pNext = pItem->pNext;
            else m_aT[slot] = pItem->pNext;
            if( pItem->pNext != NULL ) pItem->pNext->pPrev = pItem->pPrev;
            delete pItem;
            m_nCount--;
            return true;
        }
    }
    return false;
}

int CStdStringPtrMap::GetSize() const
{
    return m_nCount;
}

LPCWSTR CStdStringPtrMap::GetAt(int iIndex) const
{
    if( m_aT == NULL || iIndex < 0 || iIndex >= m_nCount ) return NULL;
    int pos = 0;
    for( int i = m_nBuckets - 1; i >= 0; i-- ) {
        for( const TITEM* pItem = m_aT[i]; pItem != NULL; pItem = pItem->pNext ) {
            if( pos++ == iIndex ) return pItem->Key.GetData();
        }
    }
    return NULL;
}

LPCWSTR CStdStringPtrMap::operator[](int nIndex) const
{
    return GetAt(nIndex);
}

} // namespace Veneer
