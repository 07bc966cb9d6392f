// CDelegateBase, CDelegateStatic and CEventSource.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIDelegate.h"

namespace Veneer {

/////////////////////////////////////////////////////////////////////////////////////
// CDelegateBase

CDelegateBase::CDelegateBase(void* pObject, const void* pFn, size_t cbFn) : m_pObject(pObject)
{
    // Unused bytes stay zero so that Equals can compare the whole buffer.
    memset(m_aFn, 0, sizeof(m_aFn));
    memcpy(m_aFn, pFn, cbFn < sizeof(m_aFn) ? cbFn : sizeof(m_aFn));
}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs) : m_pObject(rhs.m_pObject)
{
    memcpy(m_aFn, rhs.m_aFn, sizeof(m_aFn));
}

CDelegateBase::~CDelegateBase()
{
}

CDelegateBase& CDelegateBase::operator=(const CDelegateBase& rhs)
{
    m_pObject = rhs.m_pObject;
    memcpy(m_aFn, rhs.m_aFn, sizeof(m_aFn));
    return *this;
}

bool CDelegateBase::Equals(const CDelegateBase& rhs) const
{
    return m_pObject == rhs.m_pObject && memcmp(m_aFn, rhs.m_aFn, sizeof(m_aFn)) == 0;
}

bool CDelegateBase::operator()(void* param)
{
    return Run(param);
}

void* CDelegateBase::GetObjectPointer() const
{
    return m_pObject;
}

const void* CDelegateBase::GetFn() const
{
    return m_aFn;
}

/////////////////////////////////////////////////////////////////////////////////////
// CDelegateStatic

CDelegateStatic::CDelegateStatic(Fn pFn) : CDelegateBase(NULL, &pFn, sizeof(pFn))
{
}

CDelegateStatic::CDelegateStatic(const CDelegateStatic& rhs) : CDelegateBase(rhs)
{
}

CDelegateBase* CDelegateStatic::Duplicate() const
{
    return new CDelegateStatic(*this);
}

bool CDelegateStatic::Run(void* param)
{
    Fn pFn;
    memcpy(&pFn, GetFn(), sizeof(pFn));
    return (*pFn)(param);
}

/////////////////////////////////////////////////////////////////////////////////////
// CEventSource

CEventSource::CEventSource()
{
}

CEventSource::CEventSource(const CEventSource& src)
{
    CopyFrom(src);
}

CEventSource::~CEventSource()
{
    DeleteAll();
}

CEventSource& CEventSource::operator=(const CEventSource& src)
{
    // The delegates are owned: each source holds its own copies.
    if( this != &src ) {
        DeleteAll();
        CopyFrom(src);
    }
    return *this;
}

void CEventSource::DeleteAll()
{
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    }
    m_aDelegates.Empty();
}

void CEventSource::CopyFrom(const CEventSource& src)
{
    for( int i = 0; i < src.m_aDelegates.GetSize(); i++ ) {
        const CDelegateBase* pObject = static_cast<const CDelegateBase*>(src.m_aDelegates[i]);
        if( pObject != NULL ) m_aDelegates.Add(pObject->Duplicate());
    }
}

CEventSource::operator bool() const
{
    return m_aDelegates.GetSize() > 0;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
        const CDelegateBase* pObject = static_cast<const CDelegateBase*>(m_aDelegates[i]);
        if( pObject != NULL && pObject->Equals(d) ) return;
    }
    CDelegateBase* pCopy = d.Duplicate();
    if( !m_aDelegates.Add(pCopy) ) delete pCopy;
}

void CEventSource::operator+=(FnType pFn)
{
    (*this) += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
        CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if( pObject != NULL && pObject->Equals(d) ) {
            delete pObject;
            m_aDelegates.Remove(i);
            return;
        }
    }
}

void CEventSource::operator-=(FnType pFn)
{
    (*this) -= CDelegateStatic(pFn);
}

bool CEventSource::operator()(void* param)
{
    // The size and the element are read afresh each time: a delegate may remove delegates.
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
        CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if( pObject != NULL && !pObject->Run(param) ) return false;
    }
    return true;
}

} // namespace Veneer
