// Hostile skin sweep: every control the builder makes, given bad values for every attribute it knows, is
// laid out at several client sizes, painted and driven with real messages; the tree must stay sane.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"
#include "ControlTestUtil.h"
#include "HostWindowFixture.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::RectEq;

namespace {

// Attribute names, grouped by the class that reads them; a tag knows its own group and its bases'.
const LPCWSTR kControlAttrs[] = {
    L"pos", L"relativepos", L"padding", L"bkcolor", L"bkcolor1", L"bkcolor2", L"bkcolor3", L"bordercolor",
    L"focusbordercolor", L"colorhsl", L"bordersize", L"leftbordersize", L"topbordersize", L"rightbordersize",
    L"bottombordersize", L"borderstyle", L"borderround", L"bkimage", L"width", L"height", L"minwidth",
    L"minheight", L"maxwidth", L"maxheight", L"name", L"text", L"tooltip", L"userdata", L"enabled", L"mouse",
    L"keyboard", L"visible", L"float", L"shortcut", L"menu", L"virtualwnd" };
const LPCWSTR kContainerAttrs[] = { L"inset", L"mousechild", L"vscrollbar", L"vscrollbarstyle", L"hscrollbar",
                                    L"hscrollbarstyle", L"childpadding" };
const LPCWSTR kVerticalAttrs[] = { L"sepheight", L"sepimm" };
const LPCWSTR kHorizontalAttrs[] = { L"sepwidth", L"sepimm" };
const LPCWSTR kTabAttrs[] = { L"selectedid" };
const LPCWSTR kTileAttrs[] = { L"columns", L"itemsize" };
const LPCWSTR kChildAttrs[] = { L"xmlfile" };
const LPCWSTR kLabelAttrs[] = {
    L"align", L"endellipsis", L"font", L"textcolor", L"disabledtextcolor", L"textcolor1", L"textshadowcolora",
    L"textshadowcolorb", L"strokecolor", L"textpadding", L"showhtml", L"enabledeffect", L"enabledstroke",
    L"enabledshadow", L"rhaa", L"transshadow", L"transtext", L"transshadow1", L"transtext1", L"transstroke",
    L"gradientangle", L"gradientlength", L"shadowoffset" };
const LPCWSTR kButtonAttrs[] = { L"normalimage", L"hotimage", L"pushedimage", L"focusedimage", L"disabledimage",
                                 L"foreimage", L"hotforeimage", L"hotbkcolor", L"hottextcolor",
                                 L"pushedtextcolor", L"focusedtextcolor" };
const LPCWSTR kOptionAttrs[] = { L"selected", L"group", L"selectedbkcolor", L"selectedtextcolor",
                                 L"selectedimage", L"selectedhotimage" };
const LPCWSTR kProgressAttrs[] = { L"hor", L"isstretchfore", L"max", L"min", L"value", L"foreimage" };
const LPCWSTR kSliderAttrs[] = { L"step", L"thumbsize", L"thumbimage", L"thumbhotimage", L"thumbpushedimage" };
const LPCWSTR kEditAttrs[] = { L"maxchar", L"readonly", L"password", L"normalimage", L"hotimage",
                               L"focusedimage", L"disabledimage", L"nativebkcolor", L"numberonly" };
const LPCWSTR kScrollBarAttrs[] = {
    L"button1normalimage", L"button1hotimage", L"button1pushedimage", L"button1disabledimage",
    L"button2normalimage", L"button2hotimage", L"button2pushedimage", L"button2disabledimage",
    L"thumbnormalimage", L"thumbhotimage", L"thumbpushedimage", L"thumbdisabledimage", L"railnormalimage",
    L"railhotimage", L"railpushedimage", L"raildisabledimage", L"bknormalimage", L"bkhotimage",
    L"bkpushedimage", L"bkdisabledimage", L"hor", L"linesize", L"range", L"value", L"showbutton1",
    L"showbutton2" };

template <size_t N> void Append(std::vector<LPCWSTR>& names, const LPCWSTR (&group)[N])
{
    names.insert(names.end(), group, group + N);
}

struct TTag
{
    LPCWSTR tag;
    bool container;
    std::vector<LPCWSTR> attrs;
};

// The tags of the builder's table that make a control here (the hosted ones are swept with OLE below).
std::vector<TTag> BuiltTags()
{
    enum { kControl = 1, kContainer = 2, kLabel = 4, kButton = 8, kOption = 16, kProgress = 32 };
    struct { LPCWSTR tag; int bases; std::vector<LPCWSTR> own; } rows[] = {
        { L"Control", kControl, {} },
        { L"Label", kControl | kLabel, {} },
        { L"Text", kControl | kLabel, {} },
        { L"DateTime", kControl | kLabel, {} },
        { L"Button", kControl | kLabel | kButton, {} },
        { L"Option", kControl | kLabel | kButton | kOption, {} },
        { L"CheckBox", kControl | kLabel | kButton | kOption, {} },
        { L"Progress", kControl | kLabel | kProgress, {} },
        { L"Slider", kControl | kLabel | kProgress, { std::begin(kSliderAttrs), std::end(kSliderAttrs) } },
        { L"Edit", kControl | kLabel, { std::begin(kEditAttrs), std::end(kEditAttrs) } },
        { L"ScrollBar", kControl, { std::begin(kScrollBarAttrs), std::end(kScrollBarAttrs) } },
        { L"Container", kControl | kContainer, {} },
        { L"VerticalLayout", kControl | kContainer, { std::begin(kVerticalAttrs), std::end(kVerticalAttrs) } },
        { L"HorizontalLayout", kControl | kContainer,
          { std::begin(kHorizontalAttrs), std::end(kHorizontalAttrs) } },
        { L"TabLayout", kControl | kContainer, { std::begin(kTabAttrs), std::end(kTabAttrs) } },
        { L"TileLayout", kControl | kContainer, { std::begin(kTileAttrs), std::end(kTileAttrs) } },
        { L"ChildLayout", kControl | kContainer, { std::begin(kChildAttrs), std::end(kChildAttrs) } },
    };
    std::vector<TTag> tags;
    for (const auto& row : rows) {
        TTag tag = { row.tag, (row.bases & kContainer) != 0, {} };
        Append(tag.attrs, kControlAttrs);
        if (row.bases & kContainer) Append(tag.attrs, kContainerAttrs);
        if (row.bases & kLabel) Append(tag.attrs, kLabelAttrs);
        if (row.bases & kButton) Append(tag.attrs, kButtonAttrs);
        if (row.bases & kOption) Append(tag.attrs, kOptionAttrs);
        if (row.bases & kProgress) Append(tag.attrs, kProgressAttrs);
        tag.attrs.insert(tag.attrs.end(), row.own.begin(), row.own.end());
        tags.push_back(tag);
    }
    return tags;
}

// Tags of the table that no class of this framework serves: skipped with their subtrees.
const LPCWSTR kUnbuiltTags[] = { L"List", L"Combo", L"RichEdit", L"ComboBox", L"TreeView", L"ListHeader",
                                 L"ListHeaderItem", L"ListTextElement", L"ListLabelElement",
                                 L"ListContainerElement", L"button" };

// Values no skin should hold, with a few sound ones so the paths behind flags ("true") are taken too.
std::vector<std::wstring> HostileValues()
{
    const std::wstring longText(10000, L'x');
    const std::wstring longDigits(10000, L'9');
    std::wstring longTags;
    for (int i = 0; i < 1000; ++i) longTags += L"{b}{c #FFFF0000}{a z}";
    return {
        L"", L" ", L"\t\r\n ", longText, longDigits, longTags, L"-1", L"0", L"-2147483648", L"2147483647",
        L"-99999999999", L"99999999999", L"1,2", L"1,2,3", L",,,", L"-5,-5,-5,-5",
        L"2147483647,2147483647,2147483647,2147483647", L"-2147483648,-2147483648,2147483647,2147483647",
        L"10,10,-10,-10", L"#", L"#GGGGGG", L"0x", L"#FFFFFFFFFFFF", L"#80FF0000", L"true", L"TRUE",
        L"left right center vcenter bottom top", L"%s%s%n%d",
        L"file='img", L"file='img' source='0,0,99999,99999' corner='99999,99999,99999,99999'",
        L"file='img' source='-5,-5,2147483647,-2147483648' corner='-10,-10,-10,-10' dest='2147483647,"
        L"-2147483648,5,5'",
        L"file='img' dest='-2147483648,-2147483648,2147483647,2147483647' corner='4,4,4,4' fade='-1' hole='true'",
        L"file='img' source='0,0,3,3' corner='1,1,1,1' xtiled='true' ytiled='true' mask='#'",
        L"file='missing.png'", L"missing.png", L"img", L"res='99999' restype='PNG'", L"file='' res='' restype=''",
        L"{b}{i}{u}unbalanced{/b", L"<b><c #GG>{a x}link{/a}</i></u>{f 999}{f -1}{x 2147483647}{y -2147483648}",
        L"{p 99999}<n><i img 0 99>{i missing.png 2147483647 -1}{i file='img}", L"{r}raw never closed{",
        L"{f Arial 2147483647 bold}big{/f}{f Arial -2147483648 italic}small", L"{c}{a}{/a}{/c}{/c}{/f}{/p}{s}",
        L"{x -2147483648}{y 2147483647}{p -2147483648}x", L"&<>\"'", L"{", L"<", L"{/", L"\xD800\xFFFF",
        L"name=\"v\" x=\"", L"hotimage=\"img\" width=\"5\"  visible=\"false\" bkcolor=\"#FFFF0000\"",
        L"{8856F961-340A-11D0-A96B-00C04FD705A2}", L"{00000000-0000", L"Shell.Explorer", L"<Window><Label/>",
    };
}

// Values with a chance of leading somewhere: flags on, moderate numbers, images and text that draw.
const LPCWSTR kSoundValues[] = { L"true", L"true", L"true", L"1", L"5", L"30", L"2,2,2,2", L"10,10,120,60",
                                 L"3,3", L"#FFFF00FF", L"img", L"file='img' corner='2,2,2,2'",
                                 L"{a x}link{/a} {b}bold{/b}", L"g" };

std::wstring Escaped(const std::wstring& value)
{
    std::wstring out;
    for (wchar_t ch : value) {
        switch (ch) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        default: out += ch; break;
        }
    }
    return out;
}

typedef std::vector<std::pair<std::wstring, std::wstring>> TAttrList;

std::wstring Element(const std::wstring& tag, const TAttrList& attrs, const std::wstring& children)
{
    std::wstring xml = L"<" + tag;
    for (const auto& attr : attrs) xml += L" " + attr.first + L"=\"" + Escaped(attr.second) + L"\"";
    if (children.empty()) return xml + L"/>";
    return xml + L">" + children + L"</" + tag + L">";
}

// Children that give a container something to lay out, hit and paint.
const wchar_t kPlainChildren[] = L"<Label text=\"a\" height=\"10\"/><Button text=\"b\" hotimage=\"img\"/>"
                                 L"<Option group=\"g\" text=\"c\"/><Control float=\"true\" pos=\"5,5,15,15\" "
                                 L"bkcolor=\"#FFFF00FF\"/>";

const DWORD kRootColor = 0x0000FF;
const DWORD kMarkerColor = 0x00FF00;
const RECT kSandbox = { 10, 10, 290, 290 };
const RECT kMarker = { 300, 10, 390, 60 };
// No layout of these skins has a reason to place anything this far out; further means arithmetic wrapped.
const LONG kFar = 1 << 24;

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; text != NULL && *text != L'\0'; ++text) out += (*text < 128) ? static_cast<char>(*text) : '?';
    return out;
}

// Nothing in the tree is inverted or flung away.
void CheckSubtree(CControlUI* control)
{
    const RECT rc = control->GetPos();
    if (rc.right < rc.left || rc.bottom < rc.top || rc.left < -kFar || rc.top < -kFar || rc.right > kFar ||
        rc.bottom > kFar) {
        ADD_FAILURE() << "control of class " << Narrow(control->GetClass()) << " at (" << rc.left << ","
                      << rc.top << "," << rc.right << "," << rc.bottom << ")";
    }
    IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == NULL) return;
    for (int i = 0; i < container->GetCount(); ++i) CheckSubtree(container->GetItemAt(i));
    CContainerUI* box = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    if (box->GetVerticalScrollBar() != NULL) CheckSubtree(box->GetVerticalScrollBar());
    if (box->GetHorizontalScrollBar() != NULL) CheckSubtree(box->GetHorizontalScrollBar());
}

// The case being run, named by the crash report when a case brings the program down.
char g_szCase[512] = "";

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    std::fprintf(stderr, "\nhostile skin case crashed (code 0x%08lX): %s\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), g_szCase);
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

class HostileSkinTest : public SkinWindowFixture
{
protected:
    void SetUp() override
    {
        SkinWindowFixture::SetUp();
        AddSolidImage(L"img", 8, 8, 0xC08040);
        m_pfnOldFilter = ::SetUnhandledExceptionFilter(&ReportCrash);
    }
    void TearDown() override
    {
        ::SetUnhandledExceptionFilter(m_pfnOldFilter);
        g_szCase[0] = '\0';
        SkinWindowFixture::TearDown();
    }

    // Builds the hostile elements into a sandbox beside a marker, then lays out, paints and drives the
    // tree at each client size: with the whole mouse grid and every key at full size, with two points
    // and a Tab at the others.
    void RunCase(const std::string& name, const std::wstring& resources, const std::wstring& hostile,
                 bool drive = true, const std::wstring& windowAttrs = L"")
    {
        std::snprintf(g_szCase, sizeof(g_szCase), "%s", name.c_str());
        SCOPED_TRACE(name);
        const std::wstring xml =
            L"<Window" + windowAttrs + L">" + resources + L"<Container name=\"root\" bkcolor=\"#FF0000FF\">"
            L"<VerticalLayout name=\"sandbox\" float=\"true\" pos=\"10,10,290,290\">" + hostile +
            L"<Button name=\"after\" height=\"20\" text=\"ok\"/></VerticalLayout>"
            L"<Control name=\"marker\" float=\"true\" pos=\"300,10,390,60\" bkcolor=\"#FF00FF00\"/>"
            L"</Container></Window>";
        ASSERT_TRUE(Build(xml) != NULL);
        static const SIZE kSizes[] = { { 400, 300 }, { 0, 0 }, { 1, 1 }, { 150, 70 } };
        for (const SIZE& size : kSizes) {
            const SIZE client = Resize(size);
            CControlUI* root = m_pm->GetRoot();
            ASSERT_TRUE(root != NULL);
            ASSERT_NO_FATAL_FAILURE(CheckLayout(root, client));
            ASSERT_NO_FATAL_FAILURE(CheckPaint(client));
            if (!drive) continue;
            if (size.cx == 400) Drive(40, 15);
            else Drive(kSandbox.bottom - kSandbox.top, 1);
            Layout(root, client);
            ASSERT_NO_FATAL_FAILURE(CheckLayout(root, client));
            ASSERT_NO_FATAL_FAILURE(CheckPaint(client));
            // Hit testing still finds the marker over whatever the sandbox holds.
            const POINT ptMarker = { (kMarker.left + kMarker.right) / 2, (kMarker.top + kMarker.bottom) / 2 };
            if (ptMarker.x < client.cx && ptMarker.y < client.cy) {
                EXPECT_EQ(m_pm->FindControl(L"marker"), m_pm->FindControl(ptMarker));
            }
        }
        // Clicking the root beside the sandbox takes the focus away, which closes native edit and picker
        // windows.
        Resize(kSizes[0]);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(395, 295));
        Post(WM_LBUTTONUP, 0, MAKELPARAM(395, 295));
        Pump();
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[64] = L"";
            ::GetClassNameW(child, cls, 64);
            ADD_FAILURE() << "native window of class " << Narrow(cls) << " left open";
        }
        DWORD_PTR answer = 0;
        EXPECT_NE(0, ::SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
    }

    // Shown and active, native edit and picker windows take the keyboard and the window paints itself
    // at each turn of the queue; hidden, the sweep runs faster.
    void ShowActive()
    {
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
    }

    SIZE Resize(SIZE size)
    {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        RECT rc = {};
        ::GetClientRect(m_hWnd, &rc);
        SIZE client = { rc.right, rc.bottom };
        // The manager skips an empty client area; the tree is laid out over it all the same.
        Layout(m_pm->GetRoot(), client);
        return client;
    }
    void Layout(CControlUI* root, SIZE client)
    {
        RECT rc = { 0, 0, client.cx, client.cy };
        root->SetPos(rc);
    }

    // The frame of the skin stays where it was put, and the sandbox's tree is sound.
    void CheckLayout(CControlUI* root, SIZE client)
    {
        EXPECT_TRUE(RectEq(root->GetPos(), 0, 0, client.cx, client.cy));
        CControlUI* sandbox = m_pm->FindControl(L"sandbox");
        CControlUI* marker = m_pm->FindControl(L"marker");
        CControlUI* after = m_pm->FindControl(L"after");
        ASSERT_TRUE(sandbox != NULL && marker != NULL && after != NULL);
        EXPECT_TRUE(RectEq(sandbox->GetPos(), kSandbox.left, kSandbox.top, kSandbox.right, kSandbox.bottom));
        EXPECT_TRUE(RectEq(marker->GetPos(), kMarker.left, kMarker.top, kMarker.right, kMarker.bottom));
        EXPECT_EQ(kSandbox.left, after->GetPos().left);
        EXPECT_EQ(kSandbox.right, after->GetPos().right);
        CheckSubtree(sandbox);
    }

    // Printed through the window: outside the sandbox only the root and the marker show, so nothing
    // drew past its clip, left a clip behind or broke off the paint.
    void CheckPaint(SIZE client)
    {
        if (client.cx <= 0 || client.cy <= 0) return;
        CDibCanvas canvas(client.cx, client.cy, 0xFFABCDEF);
        // Straight to the manager: it reports the message unhandled, and the fixture's window class
        // would then print its own background over the tree.
        LRESULT lRes = 0;
        m_pm->MessageHandler(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT, lRes);
        const DWORD* bits = canvas.GetBits();
        int wrong = 0;
        POINT first = { -1, -1 };
        for (int y = 0; y < client.cy; ++y) {
            for (int x = 0; x < client.cx; ++x) {
                const POINT pt = { x, y };
                if (::PtInRect(&kSandbox, pt)) continue;
                const DWORD expected = ::PtInRect(&kMarker, pt) ? kMarkerColor : kRootColor;
                if ((bits[y * client.cx + x] & 0xFFFFFF) == expected) continue;
                if (wrong++ == 0) first = pt;
            }
        }
        EXPECT_EQ(0, wrong) << "first wrong pixel at (" << first.x << "," << first.y << ")";
    }

    // Mouse over points of the sandbox, rows apart by the given step in two columns: moves, presses,
    // drags and releases everywhere; cursor queries, double and right clicks, menus and the wheel at
    // every fourth point, where the mouse also rests for a tooltip. Then keys, shortcuts and timers,
    // posted and run through the manager's loop steps the way the message loop hands them over.
    void Drive(int step, size_t keys)
    {
        const int width = kSandbox.right - kSandbox.left;
        const int columns[] = { kSandbox.left + width / 5, kSandbox.right - width / 3 };
        int n = 0;
        for (int y = kSandbox.top + step / 2; y < kSandbox.bottom; y += step) {
            for (int x : columns) {
                const LPARAM pt = MAKELPARAM(x, y);
                Message(WM_MOUSEMOVE, 0, pt);
                Message(WM_LBUTTONDOWN, MK_LBUTTON, pt);
                Message(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 7, y - 9));
                Message(WM_LBUTTONUP, 0, MAKELPARAM(x + 7, y - 9));
                if (n++ % 4 != 0) continue;
                POINT screen = { x, y };
                ::ClientToScreen(m_hWnd, &screen);
                Message(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                Message(WM_MOUSEHOVER, 0, pt);
                Message(WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
                Message(WM_LBUTTONUP, 0, pt);
                Message(WM_RBUTTONDOWN, MK_RBUTTON, pt);
                Message(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(screen.x, screen.y));
                Message(WM_MOUSEWHEEL, MAKEWPARAM(0, (n & 4) != 0 ? WHEEL_DELTA : -WHEEL_DELTA),
                        MAKELPARAM(screen.x, screen.y));
            }
        }
        Message(WM_MOUSELEAVE, 0, 0);
        // Keys go where the keyboard focus is, a native edit or picker window when one is open; each Tab
        // moves it, so the queue is run after each.
        static const UINT kKeys[] = { VK_TAB, VK_SPACE, VK_RETURN, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR,
                                      VK_NEXT, VK_HOME, VK_END, VK_DELETE, VK_BACK, VK_ESCAPE, VK_TAB };
        for (size_t i = 0; i < keys && i < lengthof(kKeys); ++i) {
            HWND target = ::GetFocus();
            if (target == NULL || (target != m_hWnd && !::IsChild(m_hWnd, target))) target = m_hWnd;
            ::PostMessageW(target, WM_KEYDOWN, kKeys[i], 1);
            ::PostMessageW(target, WM_CHAR, L'7', 1);
            ::PostMessageW(target, WM_KEYUP, kKeys[i], 0xC0000001);
            if (kKeys[i] == VK_TAB) Pump();
        }
        if (keys > 3) {
            for (wchar_t ch : { L'x', L'{', L'%', L'\xD800' }) Post(WM_SYSCHAR, ch, 0x20000001);
        }
        // Control timers take native ids from 1 up.
        for (UINT id = 1; id <= (keys > 1 ? 8u : 2u); ++id) Post(WM_TIMER, id, 0);
        Pump();
    }

    void Post(UINT uMsg, WPARAM wParam, LPARAM lParam) { ::PostMessageW(m_hWnd, uMsg, wParam, lParam); }
    // Runs the thread's queue through the manager's loop steps (Tab, shortcuts) as the message loop does.
    void Pump()
    {
        MSG msg;
        for (int i = 0; i < 2000 && ::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); ++i) {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // A random element of the tag with random attributes drawn from both value lists, children for
    // containers while depth remains.
    std::wstring RandomElement(std::mt19937& rng, const std::vector<TTag>& tags, const TTag& tag, int depth)
    {
        TAttrList attrs;
        for (LPCWSTR attr : tag.attrs) {
            if (rng() % 3 != 0) continue;
            // One value in three is sound, so that the paths behind the flags are taken often.
            if (rng() % 3 == 0) attrs.emplace_back(attr, kSoundValues[rng() % lengthof(kSoundValues)]);
            else attrs.emplace_back(attr, m_values[rng() % m_values.size()]);
        }
        for (size_t i = attrs.size(); i > 1; --i) std::swap(attrs[i - 1], attrs[rng() % i]);
        std::wstring children;
        if (tag.container && depth > 0) {
            for (unsigned n = rng() % 4; n > 0; --n)
                children += RandomElement(rng, tags, tags[rng() % tags.size()], depth - 1);
        }
        return Element(tag.tag, attrs, children);
    }

    const std::vector<std::wstring> m_values = HostileValues();
    LPTOP_LEVEL_EXCEPTION_FILTER m_pfnOldFilter = NULL;
};

// The hosted controls need OLE, which the host-window fixture sets up.
class HostileHostTest : public HostTest::HostWindowTest
{
protected:
    void SetUp() override
    {
        HostTest::HostWindowTest::SetUp();
        m_pfnOldFilter = ::SetUnhandledExceptionFilter(&ReportCrash);
    }
    void TearDown() override
    {
        ::SetUnhandledExceptionFilter(m_pfnOldFilter);
        HostTest::HostWindowTest::TearDown();
    }

    LPTOP_LEVEL_EXCEPTION_FILTER m_pfnOldFilter = NULL;
};

} // namespace

TEST_F(HostileSkinTest, EveryAttributeOfEveryTagTakesEachValue)
{
    // One skin per value: every tag, each attribute it knows set to that value. Visibility and enabling
    // stay on so that what the value does is laid out, printed and hit. The window stays hidden here;
    // the random skins are the ones it paints itself and types into.
    const std::vector<TTag> tags = BuiltTags();
    for (size_t v = 0; v < m_values.size(); ++v) {
        std::wstring elements;
        for (const TTag& tag : tags) {
            TAttrList attrs;
            for (LPCWSTR attr : tag.attrs) {
                if (::wcscmp(attr, L"visible") != 0 && ::wcscmp(attr, L"enabled") != 0)
                    attrs.emplace_back(attr, m_values[v]);
            }
            elements += Element(tag.tag, attrs, tag.container ? kPlainChildren : L"");
        }
        ASSERT_NO_FATAL_FAILURE(RunCase("every tag, value #" + std::to_string(v), L"", elements));
    }
}

TEST_F(HostileSkinTest, RandomSkins)
{
    // Each skin: three random elements (containers with random children, two levels deep), every
    // attribute taken with a chance of one in three, in random order, from the hostile and sound values;
    // sometimes a default list, font and image of hostile values as well.
    std::mt19937 rng(20240611u);
    const std::vector<TTag> tags = BuiltTags();
    ShowActive();
    for (int round = 0; round < 40; ++round) {
        std::wstring resources;
        if (rng() % 4 == 0) {
            // Containers style their scroll bars from the lists of these two names.
            const size_t pick = rng() % (tags.size() + 2);
            const LPCWSTR name = pick < tags.size() ? tags[pick].tag : (pick == tags.size() ? L"VScrollBar"
                                                                                            : L"HScrollBar");
            resources += Element(L"Default", { { L"name", name },
                                               { L"value", L"bkcolor=\"" + m_values[rng() % m_values.size()] +
                                                               L"\" width=\"-5\" text=\"{b}\"" } }, L"");
        }
        if (rng() % 4 == 0) {
            resources += Element(L"Font", { { L"name", m_values[rng() % m_values.size()] },
                                            { L"size", m_values[rng() % m_values.size()] },
                                            { L"bold", L"true" } }, L"");
            resources += Element(L"Image", { { L"name", m_values[rng() % m_values.size()] },
                                             { L"mask", m_values[rng() % m_values.size()] } }, L"");
        }
        std::wstring elements;
        for (int i = 0; i < 3; ++i) elements += RandomElement(rng, tags, tags[rng() % tags.size()], 2);
        ASSERT_NO_FATAL_FAILURE(RunCase("random skin #" + std::to_string(round), resources, elements));
    }
}

TEST_F(HostileSkinTest, WindowAttributesTakeEachValue)
{
    // The root's window settings: sizes, caption and size box, corners, shadow images and rectangles,
    // opacity and default colours, each value then painted by the window itself as well.
    const LPCWSTR kWindowAttrs[] = { L"size", L"sizebox", L"caption", L"roundcorner", L"mininfo", L"maxinfo",
                                     L"showdirty", L"shadow", L"shadowimage", L"shadowtopleft",
                                     L"shadowtopright", L"shadowbottomleft", L"shadowbottomright", L"alpha",
                                     L"bktrans", L"disabledfontcolor", L"defaultfontcolor", L"linkfontcolor",
                                     L"linkhoverfontcolor", L"selectedcolor" };
    ShowActive();
    for (size_t v = 0; v < m_values.size(); ++v) {
        std::wstring attrs;
        for (LPCWSTR attr : kWindowAttrs) attrs += std::wstring(L" ") + attr + L"=\"" + Escaped(m_values[v]) + L"\"";
        ASSERT_NO_FATAL_FAILURE(RunCase("window, value #" + std::to_string(v), L"",
                                        L"<Text showhtml=\"true\" text=\"{a x}link{/a} {s}sel{/s}\"/>", false, attrs));
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        DWORD_PTR answer = 0;
        EXPECT_NE(0, ::SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
    }
}

TEST_F(HostileSkinTest, TagsWithoutAClassBuildNothing)
{
    for (size_t i = 0; i < lengthof(kUnbuiltTags); ++i) {
        const std::wstring element = Element(kUnbuiltTags[i], { { L"text", m_values[3] }, { L"pos", L"1,2" } },
                                             L"<Button name=\"inner\" text=\"x\"/>");
        ASSERT_NO_FATAL_FAILURE(RunCase("tag " + Narrow(kUnbuiltTags[i]), L"", element, false));
        CContainerUI* sandbox = static_cast<CContainerUI*>(m_pm->FindControl(L"sandbox"));
        ASSERT_TRUE(sandbox != NULL);
        EXPECT_EQ(1, sandbox->GetCount());
        EXPECT_TRUE(m_pm->FindControl(L"inner") == NULL);
    }
}

TEST_F(HostileHostTest, ActiveXAndBrowserTakeEachValue)
{
    // The ActiveX host gets every value on every attribute it knows; only the two values that name the
    // browser's class create an object. The browser itself is made each time, so it gets a few.
    const std::vector<std::wstring> values = HostileValues();
    const std::vector<std::wstring> pages = { L"", values[3], L"%s%s%n%d", L"\xD800\xFFFF", L"missing.png",
                                              L"{8856F961-340A-11D0-A96B-00C04FD705A2}" };
    std::vector<LPCWSTR> attrs(std::begin(kControlAttrs), std::end(kControlAttrs));
    attrs.insert(attrs.end(), { L"modulename", L"delaycreate", L"clsid" });
    for (size_t v = 0; v < values.size(); ++v) {
        std::snprintf(g_szCase, sizeof(g_szCase), "ActiveX value #%u", static_cast<unsigned>(v));
        SCOPED_TRACE(g_szCase);
        TAttrList list;
        for (LPCWSTR attr : attrs) {
            if (::wcscmp(attr, L"visible") != 0 && ::wcscmp(attr, L"enabled") != 0) list.emplace_back(attr, values[v]);
        }
        std::wstring children = Element(L"ActiveX", list, L"");
        if (v < pages.size()) {
            children += Element(L"WebBrowser", { { L"name", L"browser" }, { L"homepage", pages[v] },
                                                 { L"autonavi", L"true" },
                                                 { L"clsid", values[v] }, { L"bkcolor", values[v] } }, L"");
        }
        children += L"<Button name=\"after\" height=\"20\"/>";
        CControlUI* root = Build(children);
        ASSERT_TRUE(root != NULL);
        for (SIZE size : { SIZE{ 400, 300 }, SIZE{ 0, 0 }, SIZE{ 1, 1 } }) {
            Layout(root, size.cx, size.cy);
            CheckSubtree(root);
            for (int y = 5; y < size.cy; y += 60) {
                ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, y));
                ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, y));
                ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(200, y));
            }
            ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_TAB, 0);
            Pump();
        }
        if (v < pages.size()) {
            // Whatever its page, the browser object is made and hosted.
            CActiveXUI* browser = static_cast<CActiveXUI*>(m_pm->FindControl(L"browser"));
            ASSERT_TRUE(browser != NULL);
            IUnknown* unknown = NULL;
            EXPECT_EQ(S_OK, browser->GetControl(IID_IUnknown, reinterpret_cast<LPVOID*>(&unknown)));
            if (unknown != NULL) unknown->Release();
        }
        CControlUI* after = m_pm->FindControl(L"after");
        ASSERT_TRUE(after != NULL);
        EXPECT_EQ(0, after->GetPos().left);
        EXPECT_EQ(1, after->GetPos().right);
        DWORD_PTR answer = 0;
        EXPECT_NE(0, ::SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
    }
    g_szCase[0] = '\0';
}
