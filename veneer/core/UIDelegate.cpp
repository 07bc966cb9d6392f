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

namespace {

// Keeps the call depth right even when a delegate throws out of the walk.
class CCallScope
{
public:
    explicit CCallScope(int& nDepth) : m_nDepth(nDepth) { ++m_nDepth; }
    ~CCallScope() { --m_nDepth; }

private:
    int& m_nDepth;
};

} // namespace

CEventSource::CEventSource() : m_nCallDepth(0)
{
}

CEventSource::CEventSource(const CEventSource& src) : m_nCallDepth(0)
{
    CopyFrom(src);
}

CEventSource::~CEventSource()
{
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    for( int i = 0; i < m_aRemoved.GetSize(); i++ ) delete static_cast<CDelegateBase*>(m_aRemoved[i]);
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
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) Detach(i);
    if( m_nCallDepth == 0 ) m_aDelegates.Empty();
}

void CEventSource::CopyFrom(const CEventSource& src)
{
    for( int i = 0; i < src.m_aDelegates.GetSize(); i++ ) {
        const CDelegateBase* pObject = static_cast<const CDelegateBase*>(src.m_aDelegates[i]);
        if( pObject != NULL ) m_aDelegates.Add(pObject->Duplicate());
    }
}

// Takes the delegate at iIndex out of the list: freed at once outside a call, later inside one.
void CEventSource::Detach(int iIndex)
{
    CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[iIndex]);
    if( pObject == NULL ) return;
    if( m_nCallDepth == 0 ) delete pObject;
    // With no room to defer the delete the delegate stays listed rather than be freed while running.
    else if( !m_aRemoved.Add(pObject) ) return;
    m_aDelegates.SetAt(iIndex, NULL);
}

// Frees what calls removed and closes the gaps they left, once no call walks the list any more.
void CEventSource::EndCall()
{
    if( m_nCallDepth != 0 ) return;
    for( int i = 0; i < m_aRemoved.GetSize(); i++ ) delete static_cast<CDelegateBase*>(m_aRemoved[i]);
    m_aRemoved.Empty();
    for( int i = m_aDelegates.GetSize() - 1; i >= 0; i-- ) {
        if( m_aDelegates[i] == NULL ) m_aDelegates.Remove(i);
    }
}

CEventSource::operator bool() const
{
    for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
        if( m_aDelegates[i] != NULL ) return true;
    }
    return false;
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
        const CDelegateBase* pObject = static_cast<const CDelegateBase*>(m_aDelegates[i]);
        if( pObject != NULL && pObject->Equals(d) ) {
            Detach(i);
            EndCall();
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
    bool bResult = true;
    {
        CCallScope scope(m_nCallDepth);
        // The size is read afresh each time: a delegate may add delegates, which are called too.
        for( int i = 0; i < m_aDelegates.GetSize(); i++ ) {
            CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
            if( pObject != NULL && !pObject->Run(param) ) {
                bResult = false;
                break;
            }
        }
    }
    EndCall();
    return bResult;
}

} // namespace Veneer
