// Tests of the ActiveX host control against a fake in-process OLE control and the system browser object.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "veneer/control/UIActiveXSite.h"
#include "ControlTestUtil.h"
#include "FakeOleControl.h"
#include "HostWindowFixture.h"

#include <exdisp.h>
#include <gtest/gtest.h>
#include <string>

using namespace Veneer;
using namespace ActiveXTest;
using ControlTest::RectEq;

namespace {

const wchar_t kFakeClsid[] = L"{5C3A1F0E-8E51-4C57-9B0B-6E3D2A41C0D1}";
const wchar_t kBrowserClsid[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

// The host window with the fake control's class registered.
class ActiveXTest : public HostTest::HostWindowTest
{
protected:
    void SetUp() override
    {
        HostTest::HostWindowTest::SetUp();
        ResetFakeLog();
        m_scope = new CFakeClassScope;
        ASSERT_TRUE(m_scope->IsRegistered());
    }

    void TearDown() override
    {
        delete m_scope;
        m_scope = NULL;
        HostTest::HostWindowTest::TearDown();
        ResetFakeLog();
    }

    CActiveXUI* Find(const wchar_t* name)
    {
        return static_cast<CActiveXUI*>(m_pm->FindControl(name));
    }

    CFakeClassScope* m_scope = NULL;
};

TEST_F(ActiveXTest, CreationWaitsForTheFirstLayoutUnlessDelayIsTurnedOff)
{
    CControlUI* root = Build(std::wstring(L"<ActiveX name=\"late\" clsid=\"") + kFakeClsid + L"\" height=\"100\"/>");
    ASSERT_TRUE(root != NULL);
    CActiveXUI* late = Find(L"late");
    ASSERT_TRUE(late != NULL);
    EXPECT_EQ(0, g_fake.nCreated) << "parsing must not create the object";
    void* unused = NULL;
    EXPECT_EQ(E_PENDING, late->GetControl(IID_IOleObject, &unused));
    EXPECT_EQ(E_POINTER, late->GetControl(IID_IOleObject, NULL));

    Layout(root);
    EXPECT_EQ(1, g_fake.nLive);
    EXPECT_EQ(1, m_notes.Count(L"showactivex"));
    IOleObject* object = NULL;
    ASSERT_EQ(S_OK, late->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)));
    object->Release();

    // A later layout keeps the object: creation is attempted once.
    Layout(root, 380, 280);
    EXPECT_EQ(1, g_fake.nCreated);

    // delaycreate="false" after clsid creates while the attribute is applied.
    ResetFakeLog();
    CActiveXUI* now = new CActiveXUI;
    now->SetManager(m_pm, NULL, false);
    now->SetAttribute(L"clsid", kFakeClsid);
    EXPECT_EQ(0, g_fake.nCreated);
    now->SetAttribute(L"delaycreate", L"false");
    EXPECT_EQ(1, g_fake.nLive);
    EXPECT_FALSE(now->IsDelayCreate());
    delete now;
    EXPECT_EQ(0, g_fake.nLive) << "deleting the control releases the object";
}

TEST_F(ActiveXTest, ClassTextsThatDoNotResolveCreateNothing)
{
    CActiveXUI control;
    EXPECT_FALSE(control.CreateControl(L"No.Such.ProgId"));
    EXPECT_FALSE(control.CreateControl(L"{not a class id}"));
    EXPECT_FALSE(control.CreateControl(static_cast<LPCWSTR>(NULL)));
    CLSID null = {};
    EXPECT_TRUE(::IsEqualCLSID(null, control.GetClisd()));
    // Texts longer than the parse buffer are cut, not overrun.
    std::wstring longText(500, L'x');
    EXPECT_FALSE(control.CreateControl(longText.c_str()));

    EXPECT_TRUE(control.CreateControl(kFakeClsid));
    EXPECT_TRUE(::IsEqualCLSID(CLSID_FakeOleControl, control.GetClisd()));
    EXPECT_EQ(0, g_fake.nCreated) << "delay create is on by default";
    EXPECT_STREQ(L"ActiveXUI", control.GetClass());
    EXPECT_EQ(&control, control.GetInterface(L"ActiveX"));
}

TEST_F(ActiveXTest, TagsWithoutAUsableClassIdCreateNothingAtLayout)
{
    // Were the null class ever asked for, this registration would answer it.
    CFakeClassScope nullClass(CLSID_NULL);
    ASSERT_TRUE(nullClass.IsRegistered());
    const wchar_t* const tags[] = {
        L"<ActiveX name=\"ax\"/>", L"<ActiveX name=\"ax\" clsid=\"\"/>", L"<ActiveX name=\"ax\" clsid=\"{5C3A1F0E\"/>",
        L"<ActiveX name=\"ax\" clsid=\"{00000000-0000-0000-0000-000000000000}\" delaycreate=\"false\"/>",
        L"<ActiveX name=\"ax\" clsid=\"No.Such.ProgId\" modulename=\"no-such-module.dll\"/>",
    };
    for (const wchar_t* tag : tags) {
        CControlUI* root = Build(tag);
        ASSERT_TRUE(root != NULL) << tag;
        Layout(root);
        void* unused = NULL;
        EXPECT_EQ(E_PENDING, Find(L"ax")->GetControl(IID_IOleObject, &unused)) << tag;
        EXPECT_EQ(0, g_fake.nCreated) << tag;
        EXPECT_EQ(0, m_notes.Count(L"showactivex")) << tag;
    }
}

TEST_F(ActiveXTest, WindowlessObjectIsActivatedSizedAndPainted)
{
    CControlUI* root =
        Build(std::wstring(L"<Control height=\"50\"/><ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\" height=\"100\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    CActiveXUI* ax = Find(L"ax");
    ASSERT_EQ(1, g_fake.nLive);

    // The creation sequence: site before InitNew unless the object asks for it first.
    ASSERT_GE(g_fake.calls.size(), 4u);
    EXPECT_EQ(L"InitNew", g_fake.calls[0]);
    EXPECT_EQ(L"SetClientSite", g_fake.calls[1]);
    EXPECT_TRUE(FakeLogHas(L"SetHostNames:UIActiveX"));
    EXPECT_TRUE(FakeLogHas(L"DoVerb:-5"));

    EXPECT_EQ(m_hWnd, ax->GetHostWindow()) << "a windowless object shows in the paint window";
    EXPECT_TRUE(ChildOfClass(L"ActiveXWnd") == NULL);
    EXPECT_TRUE(RectEq(g_fake.rcObject, 0, 50, 400, 150));
    EXPECT_TRUE(RectEq(g_fake.rcWindowContext, 0, 50, 400, 150));

    HDC screen = ::GetDC(NULL);
    const int expectCx = ::MulDiv(400, 2540, ::GetDeviceCaps(screen, LOGPIXELSX));
    const int expectCy = ::MulDiv(100, 2540, ::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(NULL, screen);
    EXPECT_EQ(expectCx, g_fake.szExtent.cx);
    EXPECT_EQ(expectCy, g_fake.szExtent.cy);

    // A new layout moves the object with the control.
    Layout(root, 300, 300);
    EXPECT_TRUE(RectEq(g_fake.rcObject, 0, 50, 300, 150));

    // Painting draws the object into the given DC at the control's rectangle, only when it is met.
    HDC mem = ::CreateCompatibleDC(NULL);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 400;
    bmi.bmiHeader.biHeight = -300;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bmp = ::CreateDIBSection(mem, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT outside = { 0, 0, 300, 40 };
    ax->DoPaint(mem, outside);
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(mem, 10, 60));
    RECT all = { 0, 0, 400, 300 };
    ax->DoPaint(mem, all);
    EXPECT_EQ(RGB(0, 200, 0), ::GetPixel(mem, 10, 60));
    EXPECT_EQ(RGB(0, 200, 0), ::GetPixel(mem, 299, 149));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(mem, 10, 151));
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
}

TEST_F(ActiveXTest, WindowlessObjectTakesOnlyTheMessagesMeantForIt)
{
    CControlUI* root =
        Build(std::wstring(L"<Control height=\"50\"/><ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\" height=\"100\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    CActiveXUI* ax = Find(L"ax");
    ASSERT_TRUE(ax != NULL);

    bool handled = false;
    // A click inside the object reaches it and counts as handled; outside it does not reach it.
    EXPECT_EQ(77, ax->MessageHandler(WM_LBUTTONDOWN, 0, MAKELPARAM(20, 60), handled));
    EXPECT_TRUE(handled);
    handled = false;
    EXPECT_EQ(0, ax->MessageHandler(WM_LBUTTONDOWN, 0, MAKELPARAM(20, 10), handled));
    EXPECT_FALSE(handled);
    ASSERT_EQ(1u, g_fake.messages.size());

    // The cursor message is passed on but left to the window.
    handled = false;
    ax->MessageHandler(WM_SETCURSOR, 0, MAKELPARAM(20, 60), handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(2u, g_fake.messages.size());

    // Keys need the focus; help and context menus pass unhandled; other messages stay with the window.
    handled = false;
    ax->MessageHandler(WM_KEYDOWN, VK_SPACE, 0, handled);
    EXPECT_EQ(2u, g_fake.messages.size());
    ax->SetFocus();
    ax->MessageHandler(WM_KEYDOWN, VK_SPACE, 0, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(3u, g_fake.messages.size());
    handled = false;
    ax->MessageHandler(WM_CONTEXTMENU, 0, 0, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(4u, g_fake.messages.size());
    ax->MessageHandler(WM_SIZE, 0, 0, handled);
    ax->MessageHandler(0x020E /* horizontal wheel */, 0, MAKELPARAM(20, 60), handled);
    EXPECT_EQ(4u, g_fake.messages.size());

    // A control that takes no mouse input passes no mouse messages.
    ax->SetMouseEnabled(false);
    ax->MessageHandler(WM_LBUTTONUP, 0, MAKELPARAM(20, 60), handled);
    EXPECT_EQ(4u, g_fake.messages.size());
    ax->SetMouseEnabled(true);

    // The control is a message filter of its window: a real message to the window reaches the object.
    g_fake.messages.clear();
    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 70));
    ASSERT_EQ(1u, g_fake.messages.size());
    EXPECT_EQ(static_cast<UINT>(WM_MOUSEMOVE), g_fake.messages[0]);

    // Once released the filter is gone.
    m_pm->AttachDialog(new CControlUI);
    Pump();
    g_fake.messages.clear();
    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 70));
    EXPECT_TRUE(g_fake.messages.empty());
}

TEST_F(ActiveXTest, WindowedObjectLivesInAChildWindowThatFollowsTheControl)
{
    g_fake.bWindowless = false;
    CControlUI* root =
        Build(std::wstring(L"<Control height=\"50\"/><ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\" height=\"100\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    CActiveXUI* ax = Find(L"ax");
    HWND child = ChildOfClass(L"ActiveXWnd");
    ASSERT_TRUE(child != NULL);
    EXPECT_EQ(child, ax->GetHostWindow());
    EXPECT_EQ(child, g_fake.hwndParent) << "the object asks the site for its window";
    wchar_t title[32] = {};
    ::GetWindowTextW(child, title, 32);
    EXPECT_STREQ(L"UIActiveX", title);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              ::GetWindowLongW(child, GWL_STYLE));

    RECT rc = {};
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(RectEq(rc, 0, 50, 400, 150));
    EXPECT_TRUE(RectEq(g_fake.rcObject, 0, 0, 400, 100)) << "a windowed object's rectangle starts at its origin";

    Layout(root, 200, 300);
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(RectEq(rc, 0, 50, 200, 150));

    // Visibility follows the control, including when a parent hides it.
    ax->SetVisible(false);
    EXPECT_EQ(0, ::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
    ax->SetVisible(true);
    EXPECT_NE(0, ::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
    ax->SetInternVisible(false);
    EXPECT_EQ(0, ::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
    ax->SetInternVisible(true);

    // The wheel stops at the child window.
    EXPECT_EQ(0, ::SendMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(10, 60)));

    // Re-creating releases the first object and its window first.
    ax->CreateControl(CLSID_FakeOleControl);
    ax->SetDelayCreate(false);
    EXPECT_EQ(1, g_fake.nLive);
    EXPECT_EQ(2, g_fake.nCreated);
    EXPECT_TRUE(FakeLogHas(L"Close"));
    EXPECT_TRUE(FakeLogHas(L"SetClientSite:null"));
    HWND first = ChildOfClass(L"ActiveXWnd");
    ASSERT_TRUE(first != NULL);
    EXPECT_EQ(first, ax->GetHostWindow());
    EXPECT_TRUE(::FindWindowExW(m_hWnd, first, L"ActiveXWnd", NULL) == NULL) << "the old child window is gone";
}

// The window's size box stays the window's: the object's child window leaves it out while the
// window can be resized, so the border resizes also where the object lies under it.
TEST_F(ActiveXTest, WindowedObjectLeavesTheSizeBoxToTheWindow)
{
    g_fake.bWindowless = false;
    const RECT rcSizeBox = {4, 4, 6, 6};
    m_pm->SetSizeBox(rcSizeBox);
    ASSERT_TRUE(Build(std::wstring(L"<ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\"/>") != NULL);
    // Object rectangles in a 400 x 300 client whose size box takes x < 4, x > 394, y < 4 and y > 294,
    // and what of each stays the object's, in its own coordinates.
    const struct { RECT rcItem; bool bZoomed; bool bClipped; RECT rcShown; } cases[] = {
        {{0, 0, 400, 300}, false, true, {4, 4, 395, 295}},
        {{2, 32, 398, 298}, false, true, {2, 0, 393, 263}},
        {{396, 0, 400, 300}, false, true, {0, 0, 0, 0}},
        {{10, 10, 390, 290}, false, false, {}},
        {{0, 0, 400, 300}, true, false, {}},
    };
    for (const auto& c : cases) {
        ::ShowWindow(m_hWnd, c.bZoomed ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        Find(L"ax")->SetPos(c.rcItem);
        HWND child = ChildOfClass(L"ActiveXWnd");
        ASSERT_TRUE(child != NULL);
        RECT rcBox = {};
        const int nRegion = ::GetWindowRgnBox(child, &rcBox);
        EXPECT_EQ(c.bClipped, nRegion != ERROR) << c.rcItem.left << "," << c.rcItem.top;
        EXPECT_TRUE(RectEq(rcBox, c.rcShown.left, c.rcShown.top, c.rcShown.right, c.rcShown.bottom));
    }
}

TEST_F(ActiveXTest, MiscStatusOrdersTheSiteAndCanSkipActivation)
{
    g_fake.dwMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
    CActiveXUI* ax = new CActiveXUI;
    ax->SetManager(m_pm, NULL, false);
    ax->CreateControl(CLSID_FakeOleControl);
    ax->SetDelayCreate(false);
    ASSERT_GE(g_fake.calls.size(), 2u);
    EXPECT_EQ(L"SetClientSite", g_fake.calls[0]);
    EXPECT_EQ(L"InitNew", g_fake.calls[1]);
    EXPECT_FALSE(FakeLogHas(L"DoVerb:-5")) << "an object invisible at run time is not activated";
    delete ax;

    // InitNew failing ends creation; the control does not retry at its next layout.
    ResetFakeLog();
    m_notes.types.clear();
    g_fake.bFailInitNew = true;
    CControlUI* root = Build(std::wstring(L"<ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    Layout(root, 300, 200);
    EXPECT_EQ(1, g_fake.nCreated);
    EXPECT_EQ(0, m_notes.Count(L"showactivex"));
}

TEST_F(ActiveXTest, SiteAndFrameAnswerUnexpectedOnceTheControlLetsGo)
{
    CControlUI* root = Build(std::wstring(L"<ActiveX name=\"ax\" clsid=\"") + kFakeClsid + L"\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    ASSERT_TRUE(g_fake.pKeptSite != NULL);
    ASSERT_TRUE(g_fake.pKeptFrame != NULL);

    IOleInPlaceSiteWindowless* site = NULL;
    ASSERT_EQ(S_OK, g_fake.pKeptSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site)));
    HWND hwnd = NULL;
    EXPECT_EQ(S_OK, site->GetWindow(&hwnd));
    EXPECT_EQ(m_hWnd, hwnd);
    EXPECT_EQ(S_FALSE, site->GetCapture());
    EXPECT_EQ(S_OK, g_fake.pKeptFrame->GetWindow(&hwnd));
    EXPECT_EQ(m_hWnd, hwnd);
    EXPECT_EQ(static_cast<HRESULT>(INPLACE_E_NOTOOLSPACE), g_fake.pKeptFrame->RequestBorderSpace(NULL));

    // The container enumerates its one object once.
    IOleContainer* container = NULL;
    ASSERT_EQ(S_OK, g_fake.pKeptSite->GetContainer(&container));
    IEnumUnknown* objects = NULL;
    ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, &objects));
    IUnknown* first = NULL;
    ULONG fetched = 0;
    EXPECT_EQ(S_OK, objects->Next(1, &first, &fetched));
    EXPECT_EQ(1u, fetched);
    ASSERT_TRUE(first != NULL);
    first->Release();
    EXPECT_EQ(S_FALSE, objects->Next(1, &first, &fetched));
    EXPECT_EQ(0u, fetched);
    objects->Reset();
    EXPECT_EQ(S_OK, objects->Next(1, &first, &fetched));
    first->Release();
    objects->Release();
    container->Release();

    // The tree goes; the object and the site are released but the fake still holds both.
    m_pm->AttachDialog(new CControlUI);
    Pump();
    EXPECT_EQ(0, g_fake.nLive);
    EXPECT_EQ(E_UNEXPECTED, site->GetWindow(&hwnd));
    EXPECT_EQ(E_UNEXPECTED, site->SetFocus(TRUE));
    EXPECT_EQ(E_UNEXPECTED, site->InvalidateRect(NULL, FALSE));
    EXPECT_EQ(E_UNEXPECTED, g_fake.pKeptSite->ShowObject());
    EXPECT_EQ(E_UNEXPECTED, g_fake.pKeptFrame->GetWindow(&hwnd));
    site->Release();
}

// The platform's browser object (present under Wine without a page engine) runs windowed in the host.
TEST_F(ActiveXTest, HostsTheSystemBrowserObject)
{
    CControlUI* root = Build(std::wstring(L"<ActiveX name=\"web\" clsid=\"") + kBrowserClsid + L"\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    CActiveXUI* web = Find(L"web");
    IWebBrowser2* browser = NULL;
    ASSERT_EQ(S_OK, web->GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    browser->Release();
    EXPECT_EQ(1, m_notes.Count(L"showactivex"));
    HWND child = ChildOfClass(L"ActiveXWnd");
    ASSERT_TRUE(child != NULL);
    EXPECT_EQ(child, web->GetHostWindow());
    web->SetVisible(false);
    EXPECT_EQ(0, ::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
}

} // namespace
