// Tests of delegates and CEventSource: call order, stop on false, de-duplication, copies.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIDelegate.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace {

std::string g_trace;

bool FreeA(void* param)
{
    g_trace += 'A';
    return param == NULL;
}

bool FreeB(void*)
{
    g_trace += 'B';
    return true;
}

bool FreeStop(void*)
{
    g_trace += 'S';
    return false;
}

class CListener
{
public:
    explicit CListener(char tag) : m_tag(tag), m_pLast(NULL) {}
    bool OnEvent(void* param)
    {
        g_trace += m_tag;
        m_pLast = param;
        return true;
    }
    bool OnOther(void*)
    {
        g_trace += '*';
        return true;
    }
    char m_tag;
    void* m_pLast;
};

// A listener whose handler is a virtual of its base class, called through the derived object.
class CBaseHandler
{
public:
    virtual ~CBaseHandler() {}
    virtual bool Handle(void*) { g_trace += "base"; return true; }
};

class CDerivedHandler : public CBaseHandler
{
public:
    bool Handle(void*) override { g_trace += "derived"; return true; }
};

// Removes itself from the source while being called.
class CSelfRemover
{
public:
    explicit CSelfRemover(CEventSource* pSource) : m_pSource(pSource) {}
    bool OnEvent(void*)
    {
        g_trace += 'R';
        *m_pSource -= MakeDelegate(this, &CSelfRemover::OnEvent);
        return true;
    }
    CEventSource* m_pSource;
};

// Edits the source it is called from: removes and adds the delegates it was given, once.
class CEditor
{
public:
    explicit CEditor(CEventSource* pSource) : m_pSource(pSource), m_removeAll(false) {}
    ~CEditor()
    {
        Free(m_remove);
        Free(m_add);
    }
    bool OnEvent(void*)
    {
        g_trace += 'E';
        for( CDelegateBase* d : m_remove ) *m_pSource -= *d;
        for( CDelegateBase* d : m_add ) *m_pSource += *d;
        Free(m_remove);
        Free(m_add);
        if( m_removeAll ) *m_pSource = CEventSource();
        return true;
    }
    static void Free(std::vector<CDelegateBase*>& list)
    {
        for( CDelegateBase* d : list ) delete d;
        list.clear();
    }
    CEventSource* m_pSource;
    std::vector<CDelegateBase*> m_remove;
    std::vector<CDelegateBase*> m_add;
    bool m_removeAll;
};

class EventSourceTest : public ::testing::Test
{
protected:
    void SetUp() override { g_trace.clear(); }
};

} // namespace

TEST_F(EventSourceTest, CallsInOrderAndStopsAtTheFirstFalse)
{
    CEventSource source;
    EXPECT_FALSE(static_cast<bool>(source));
    EXPECT_TRUE(source(NULL));             // an empty source answers true

    CListener l('L');
    source += FreeB;
    source += MakeDelegate(&l, &CListener::OnEvent);
    source += FreeStop;
    source += FreeA;
    EXPECT_TRUE(static_cast<bool>(source));

    int value = 0;
    EXPECT_FALSE(source(&value));
    EXPECT_EQ("BLS", g_trace);             // FreeA after the stop is never called
    EXPECT_EQ(&value, l.m_pLast);

    g_trace.clear();
    source -= FreeStop;
    EXPECT_FALSE(source(&value));          // FreeA answers false for a non-null parameter
    EXPECT_EQ("BLA", g_trace);
    g_trace.clear();
    EXPECT_TRUE(source(NULL));
    EXPECT_EQ("BLA", g_trace);
}

TEST_F(EventSourceTest, EqualDelegatesAreHeldOnce)
{
    CEventSource source;
    CListener l1('1'), l2('2');
    source += FreeA;
    source += FreeA;
    source += MakeDelegate(FreeA);
    source += MakeDelegate(&l1, &CListener::OnEvent);
    source += MakeDelegate(&l1, &CListener::OnEvent);
    source += MakeDelegate(&l1, &CListener::OnOther);   // same object, other function
    source += MakeDelegate(&l2, &CListener::OnEvent);   // same function, other object
    source(NULL);
    EXPECT_EQ("A1*2", g_trace);

    EXPECT_TRUE(MakeDelegate(&l1, &CListener::OnEvent).Equals(MakeDelegate(&l1, &CListener::OnEvent)));
    EXPECT_FALSE(MakeDelegate(&l1, &CListener::OnEvent).Equals(MakeDelegate(&l2, &CListener::OnEvent)));
    EXPECT_FALSE(MakeDelegate(FreeA).Equals(MakeDelegate(FreeB)));

    g_trace.clear();
    source -= MakeDelegate(&l1, &CListener::OnEvent);
    source -= MakeDelegate(&l1, &CListener::OnEvent);   // already gone: nothing happens
    source -= FreeB;                                    // never added: nothing happens
    source(NULL);
    EXPECT_EQ("A*2", g_trace);
}

TEST_F(EventSourceTest, VirtualMemberHandlersDispatchOnTheObject)
{
    CDerivedHandler handler;
    CEventSource source;
    source += MakeDelegate(static_cast<CBaseHandler*>(&handler), &CBaseHandler::Handle);
    source(NULL);
    EXPECT_EQ("derived", g_trace);
}

TEST_F(EventSourceTest, ADelegateMayRemoveItselfWhileCalled)
{
    CEventSource source;
    CSelfRemover remover(&source);
    source += MakeDelegate(&remover, &CSelfRemover::OnEvent);
    source += FreeB;
    source(NULL);
    // The delegate after the removed one is still called in the same walk.
    EXPECT_EQ("RB", g_trace);
    g_trace.clear();
    source(NULL);
    EXPECT_EQ("B", g_trace);
    EXPECT_TRUE(static_cast<bool>(source));
}

TEST_F(EventSourceTest, RemovalsAndAdditionsDuringACallKeepTheWalkInStep)
{
    // The editor, second in line, removes the delegates before and after it and adds one.
    CEventSource source;
    CListener first('1'), last('3');
    CEditor editor(&source);
    source += MakeDelegate(&first, &CListener::OnEvent);
    source += MakeDelegate(&editor, &CEditor::OnEvent);
    source += FreeB;
    source += MakeDelegate(&last, &CListener::OnEvent);
    editor.m_remove.push_back(MakeDelegate(&first, &CListener::OnEvent).Duplicate());
    editor.m_remove.push_back(MakeDelegate(FreeB).Duplicate());
    editor.m_add.push_back(MakeDelegate(FreeA).Duplicate());
    source(NULL);
    // Removed ahead of the walk: FreeB is skipped; added during it: FreeA runs at the end.
    EXPECT_EQ("1E3A", g_trace);

    g_trace.clear();
    source(NULL);
    EXPECT_EQ("E3A", g_trace);

    // Everything removed from inside a call leaves an empty source afterwards.
    editor.m_removeAll = true;
    g_trace.clear();
    source(NULL);
    EXPECT_EQ("E", g_trace);
    EXPECT_FALSE(static_cast<bool>(source));
    EXPECT_TRUE(source(NULL));
}

TEST_F(EventSourceTest, CopiesHoldTheirOwnDelegates)
{
    CListener l('L');
    CEventSource* pSource = new CEventSource;
    *pSource += FreeB;
    *pSource += MakeDelegate(&l, &CListener::OnEvent);

    CEventSource copied(*pSource);
    CEventSource assigned;
    assigned += FreeStop;
    assigned = *pSource;
    *pSource -= FreeB;
    delete pSource;                      // the copies must not share what it deletes

    copied(NULL);
    EXPECT_EQ("BL", g_trace);
    g_trace.clear();
    EXPECT_TRUE(assigned(NULL));         // FreeStop was replaced
    EXPECT_EQ("BL", g_trace);

    assigned = assigned;
    g_trace.clear();
    assigned(NULL);
    EXPECT_EQ("BL", g_trace);
}
