// Delegates (free or member functions taking one untyped pointer) and CEventSource, a list of them.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIArray.h"

namespace Veneer {

class CDelegateBase
{
public:
// Construction
    // pFn points at the function pointer itself (cbFn bytes): member function pointers do not fit
    // in a data pointer, so the delegate keeps their bytes.
    CDelegateBase(void* pObject, const void* pFn, size_t cbFn);
    CDelegateBase(const CDelegateBase& rhs);
    virtual ~CDelegateBase();

// Attributes
    bool Equals(const CDelegateBase& rhs) const;

// Operations
    bool operator()(void* param);

// Overridables
    virtual CDelegateBase* Duplicate() const = 0;
    virtual bool Run(void* param) = 0;

// Implementation
protected:
    enum { MAX_FN_SIZE = 4 * sizeof(void*) };

    CDelegateBase& operator=(const CDelegateBase& rhs);
    void* GetObjectPointer() const;
    const void* GetFn() const;

private:
    void* m_pObject;
    unsigned char m_aFn[MAX_FN_SIZE];
};

class CDelegateStatic : public CDelegateBase
{
public:
    typedef bool (*Fn)(void*);

// Construction
    explicit CDelegateStatic(Fn pFn);
    CDelegateStatic(const CDelegateStatic& rhs);

// Overridables
    CDelegateBase* Duplicate() const override;
    bool Run(void* param) override;
};

template <class O, class T>
class CDelegate : public CDelegateBase
{
public:
    typedef bool (T::*Fn)(void*);

// Construction
    CDelegate(O* pObj, Fn pFn) : CDelegateBase(static_cast<void*>(pObj), &pFn, sizeof(pFn))
    {
        static_assert(sizeof(Fn) <= MAX_FN_SIZE, "member function pointer too large for a delegate");
    }
    CDelegate(const CDelegate& rhs) : CDelegateBase(rhs)
    {
    }

// Overridables
    CDelegateBase* Duplicate() const override
    {
        return new CDelegate(*this);
    }
    bool Run(void* param) override
    {
        O* pObject = static_cast<O*>(GetObjectPointer());
        Fn pFn;
        memcpy(&pFn, GetFn(), sizeof(pFn));
        return (pObject->*pFn)(param);
    }
};

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*))
{
    return CDelegate<O, T>(pObject, pFn);
}

// Calls its delegates in the order they were added; the first that answers false stops the call.
class CEventSource
{
public:
    typedef bool (*FnType)(void*);

// Construction
    CEventSource();
    CEventSource(const CEventSource& src);
    ~CEventSource();
    CEventSource& operator=(const CEventSource& src);

// Attributes
    explicit operator bool() const;

// Operations
    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);
    bool operator()(void* param);

// Implementation
protected:
    void DeleteAll();
    void CopyFrom(const CEventSource& src);
    void Detach(int iIndex);
    void EndCall();

    CStdPtrArray m_aDelegates;
    // While a call walks the list, removed delegates leave a null slot (so the walk neither skips
    // nor repeats one) and wait here; both are cleaned up when the outermost call returns.
    CStdPtrArray m_aRemoved;
    int m_nCallDepth;
};

} // namespace Veneer
