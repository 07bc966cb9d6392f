// CScrollBarUI: layout of buttons and thumb, mouse handling with auto-repeat, painting by part state.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIScrollBar.h"
#include "veneer/control/UIContainer.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

#include <limits.h>

namespace Veneer {

namespace {

// Skin attribute names of the twenty images, by part and then by look.
const wchar_t* const kImageAttributes[5][4] = {
    { L"button1normalimage", L"button1hotimage", L"button1pushedimage", L"button1disabledimage" },
    { L"button2normalimage", L"button2hotimage", L"button2pushedimage", L"button2disabledimage" },
    { L"thumbnormalimage", L"thumbhotimage", L"thumbpushedimage", L"thumbdisabledimage" },
    { L"railnormalimage", L"railhotimage", L"railpushedimage", L"raildisabledimage" },
    { L"bknormalimage", L"bkhotimage", L"bkpushedimage", L"bkdisabledimage" },
};

// Outline drawn around a button or thumb that has no image to show.
const DWORD kFallbackOutlineColor = 0x0085E4FF;
const int kFallbackOutlineWidth = 2;
const int kDefaultThickness = 16;

int ClampToInt(long long value)
{
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// a * b / c, truncated, without overflowing in the product; c must not be 0.
int MulDivTruncate(long long a, long long b, long long c)
{
    return ClampToInt(a * b / c);
}

bool IsZeroRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false),
      m_nRange(100),
      m_nScrollPos(0),
      m_nLineSize(8),
      m_pOwner(NULL),
      m_nLastScrollPos(0),
      m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0),
      m_bShowButton1(true),
      m_bShowButton2(true),
      m_uButton1State(0),
      m_uButton2State(0),
      m_uThumbState(0)
{
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    ::SetRectEmpty(&m_rcButton1);
    ::SetRectEmpty(&m_rcButton2);
    ::SetRectEmpty(&m_rcThumb);
    m_cxyFixed.cx = kDefaultThickness;
}

LPCWSTR CScrollBarUI::GetClass() const
{
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"ScrollBar") == 0) return static_cast<CScrollBarUI*>(this);
    return CControlUI::GetInterface(name);
}

CContainerUI* CScrollBarUI::GetOwner() const
{
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* owner)
{
    m_pOwner = owner;
}

bool CScrollBarUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    // Keep the thickness on the new cross axis unless the skin already sized it there.
    if (m_bHorizontal) {
        if (m_cxyFixed.cy == 0) {
            m_cxyFixed.cx = 0;
            m_cxyFixed.cy = kDefaultThickness;
        }
    }
    else if (m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != NULL) m_pOwner->NeedUpdate();
    else NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const
{
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (m_nRange == range) return;
    m_nRange = range < 0 ? 0 : range;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const
{
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int pos)
{
    if (m_nScrollPos == pos) return;
    if (pos < 0) pos = 0;
    if (pos > m_nRange) pos = m_nRange;
    m_nScrollPos = pos;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const
{
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int size)
{
    m_nLineSize = size;
}

bool CScrollBarUI::GetShowButton1() const
{
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_bShowButton1 = show;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const
{
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_bShowButton2 = show;
    SetPos(m_rcItem);
}

const RECT& CScrollBarUI::GetButton1Rect() const
{
    return m_rcButton1;
}

const RECT& CScrollBarUI::GetButton2Rect() const
{
    return m_rcButton2;
}

const RECT& CScrollBarUI::GetThumbRect() const
{
    return m_rcThumb;
}

UINT CScrollBarUI::GetButton1State() const
{
    return m_uButton1State;
}

UINT CScrollBarUI::GetButton2State() const
{
    return m_uButton2State;
}

UINT CScrollBarUI::GetThumbState() const
{
    return m_uThumbState;
}

void CScrollBarUI::SetImage(Part part, Look look, LPCWSTR image)
{
    m_sImages[part][look] = image != NULL ? image : L"";
    Invalidate();
}

LPCWSTR CScrollBarUI::GetButton1NormalImage() const { return m_sImages[PART_BUTTON1][LOOK_NORMAL]; }
void CScrollBarUI::SetButton1NormalImage(LPCWSTR image) { SetImage(PART_BUTTON1, LOOK_NORMAL, image); }
LPCWSTR CScrollBarUI::GetButton1HotImage() const { return m_sImages[PART_BUTTON1][LOOK_HOT]; }
void CScrollBarUI::SetButton1HotImage(LPCWSTR image) { SetImage(PART_BUTTON1, LOOK_HOT, image); }
LPCWSTR CScrollBarUI::GetButton1PushedImage() const { return m_sImages[PART_BUTTON1][LOOK_PUSHED]; }
void CScrollBarUI::SetButton1PushedImage(LPCWSTR image) { SetImage(PART_BUTTON1, LOOK_PUSHED, image); }
LPCWSTR CScrollBarUI::GetButton1DisabledImage() const { return m_sImages[PART_BUTTON1][LOOK_DISABLED]; }
void CScrollBarUI::SetButton1DisabledImage(LPCWSTR image) { SetImage(PART_BUTTON1, LOOK_DISABLED, image); }

LPCWSTR CScrollBarUI::GetButton2NormalImage() const { return m_sImages[PART_BUTTON2][LOOK_NORMAL]; }
void CScrollBarUI::SetButton2NormalImage(LPCWSTR image) { SetImage(PART_BUTTON2, LOOK_NORMAL, image); }
LPCWSTR CScrollBarUI::GetButton2HotImage() const { return m_sImages[PART_BUTTON2][LOOK_HOT]; }
void CScrollBarUI::SetButton2HotImage(LPCWSTR image) { SetImage(PART_BUTTON2, LOOK_HOT, image); }
LPCWSTR CScrollBarUI::GetButton2PushedImage() const { return m_sImages[PART_BUTTON2][LOOK_PUSHED]; }
void CScrollBarUI::SetButton2PushedImage(LPCWSTR image) { SetImage(PART_BUTTON2, LOOK_PUSHED, image); }
LPCWSTR CScrollBarUI::GetButton2DisabledImage() const { return m_sImages[PART_BUTTON2][LOOK_DISABLED]; }
void CScrollBarUI::SetButton2DisabledImage(LPCWSTR image) { SetImage(PART_BUTTON2, LOOK_DISABLED, image); }

LPCWSTR CScrollBarUI::GetThumbNormalImage() const { return m_sImages[PART_THUMB][LOOK_NORMAL]; }
void CScrollBarUI::SetThumbNormalImage(LPCWSTR image) { SetImage(PART_THUMB, LOOK_NORMAL, image); }
LPCWSTR CScrollBarUI::GetThumbHotImage() const { return m_sImages[PART_THUMB][LOOK_HOT]; }
void CScrollBarUI::SetThumbHotImage(LPCWSTR image) { SetImage(PART_THUMB, LOOK_HOT, image); }
LPCWSTR CScrollBarUI::GetThumbPushedImage() const { return m_sImages[PART_THUMB][LOOK_PUSHED]; }
void CScrollBarUI::SetThumbPushedImage(LPCWSTR image) { SetImage(PART_THUMB, LOOK_PUSHED, image); }
LPCWSTR CScrollBarUI::GetThumbDisabledImage() const { return m_sImages[PART_THUMB][LOOK_DISABLED]; }
void CScrollBarUI::SetThumbDisabledImage(LPCWSTR image) { SetImage(PART_THUMB, LOOK_DISABLED, image); }

LPCWSTR CScrollBarUI::GetRailNormalImage() const { return m_sImages[PART_RAIL][LOOK_NORMAL]; }
void CScrollBarUI::SetRailNormalImage(LPCWSTR image) { SetImage(PART_RAIL, LOOK_NORMAL, image); }
LPCWSTR CScrollBarUI::GetRailHotImage() const { return m_sImages[PART_RAIL][LOOK_HOT]; }
void CScrollBarUI::SetRailHotImage(LPCWSTR image) { SetImage(PART_RAIL, LOOK_HOT, image); }
LPCWSTR CScrollBarUI::GetRailPushedImage() const { return m_sImages[PART_RAIL][LOOK_PUSHED]; }
void CScrollBarUI::SetRailPushedImage(LPCWSTR image) { SetImage(PART_RAIL, LOOK_PUSHED, image); }
LPCWSTR CScrollBarUI::GetRailDisabledImage() const { return m_sImages[PART_RAIL][LOOK_DISABLED]; }
void CScrollBarUI::SetRailDisabledImage(LPCWSTR image) { SetImage(PART_RAIL, LOOK_DISABLED, image); }

LPCWSTR CScrollBarUI::GetBkNormalImage() const { return m_sImages[PART_BK][LOOK_NORMAL]; }
void CScrollBarUI::SetBkNormalImage(LPCWSTR image) { SetImage(PART_BK, LOOK_NORMAL, image); }
LPCWSTR CScrollBarUI::GetBkHotImage() const { return m_sImages[PART_BK][LOOK_HOT]; }
void CScrollBarUI::SetBkHotImage(LPCWSTR image) { SetImage(PART_BK, LOOK_HOT, image); }
LPCWSTR CScrollBarUI::GetBkPushedImage() const { return m_sImages[PART_BK][LOOK_PUSHED]; }
void CScrollBarUI::SetBkPushedImage(LPCWSTR image) { SetImage(PART_BK, LOOK_PUSHED, image); }
LPCWSTR CScrollBarUI::GetBkDisabledImage() const { return m_sImages[PART_BK][LOOK_DISABLED]; }
void CScrollBarUI::SetBkDisabledImage(LPCWSTR image) { SetImage(PART_BK, LOOK_DISABLED, image); }

void CScrollBarUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;
    // The owner lays itself out again when it shows or hides its bars.
    m_bVisible = visible;
    m_bFocused = false;
}

void CScrollBarUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) {
        m_uButton1State = 0;
        m_uButton2State = 0;
        m_uThumbState = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != NULL) m_pOwner->SetFocus();
    else CControlUI::SetFocus();
}

int CScrollBarUI::GetThickness() const
{
    return Scale(m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx);
}

int CScrollBarUI::GetBarLength() const
{
    return m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
}

int CScrollBarUI::AxisOf(POINT pt) const
{
    return m_bHorizontal ? pt.x : pt.y;
}

int CScrollBarUI::StartOf(const RECT& rc) const
{
    return m_bHorizontal ? rc.left : rc.top;
}

int CScrollBarUI::EndOf(const RECT& rc) const
{
    return m_bHorizontal ? rc.right : rc.bottom;
}

int CScrollBarUI::GetThumbTravel() const
{
    if (IsZeroRect(m_rcThumb)) return 0;
    return StartOf(m_rcButton2) - EndOf(m_rcButton1) - (EndOf(m_rcThumb) - StartOf(m_rcThumb));
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;

    // Laid out along y; a horizontal bar swaps the axes through these references.
    const bool hor = m_bHorizontal;
    LONG& b1Start = hor ? m_rcButton1.left : m_rcButton1.top;
    LONG& b1End = hor ? m_rcButton1.right : m_rcButton1.bottom;
    LONG& b1Cross = hor ? m_rcButton1.top : m_rcButton1.left;
    LONG& b1CrossEnd = hor ? m_rcButton1.bottom : m_rcButton1.right;
    LONG& b2Start = hor ? m_rcButton2.left : m_rcButton2.top;
    LONG& b2End = hor ? m_rcButton2.right : m_rcButton2.bottom;
    LONG& b2Cross = hor ? m_rcButton2.top : m_rcButton2.left;
    LONG& b2CrossEnd = hor ? m_rcButton2.bottom : m_rcButton2.right;
    LONG& thStart = hor ? m_rcThumb.left : m_rcThumb.top;
    LONG& thEnd = hor ? m_rcThumb.right : m_rcThumb.bottom;
    LONG& thCross = hor ? m_rcThumb.top : m_rcThumb.left;
    LONG& thCrossEnd = hor ? m_rcThumb.bottom : m_rcThumb.right;
    const int start = hor ? rc.left : rc.top;
    const int end = hor ? rc.right : rc.bottom;
    const int cross = hor ? rc.top : rc.left;

    const int length = end - start;
    const int thickness = GetThickness();
    int track = length;
    if (m_bShowButton1) track -= thickness;
    if (m_bShowButton2) track -= thickness;

    if (thickness < track) {
        b1Cross = cross;
        b1Start = start;
        b1CrossEnd = m_bShowButton1 ? cross + thickness : cross;
        b1End = m_bShowButton1 ? start + thickness : start;

        b2Cross = cross;
        b2End = end;
        b2CrossEnd = m_bShowButton2 ? cross + thickness : cross;
        b2Start = m_bShowButton2 ? end - thickness : end;

        thCross = cross;
        thCrossEnd = cross + thickness;
        if (m_nRange <= 0) {
            thStart = b1End;
            thEnd = b2Start;
        }
        else {
            int thumb = MulDivTruncate(length, track, static_cast<long long>(length) + m_nRange);
            if (thumb < thickness) thumb = thickness;
            thStart = MulDivTruncate(track - thumb, m_nScrollPos, m_nRange) + b1End;
            thEnd = thStart + thumb;
            if (thEnd > b2Start) {
                thEnd = b2Start;
                thStart = thEnd - thumb;
            }
        }
    }
    else {
        // Too short for a thumb: the buttons share the bar.
        int half = length / 2;
        if (half > thickness) half = thickness;
        b1Cross = cross;
        b1Start = start;
        b1CrossEnd = m_bShowButton1 ? cross + thickness : cross;
        b1End = m_bShowButton1 ? start + half : start;

        b2Cross = cross;
        b2End = end;
        b2CrossEnd = m_bShowButton2 ? cross + thickness : cross;
        b2Start = m_bShowButton2 ? end - half : end;

        ::SetRectEmpty(&m_rcThumb);
    }
}

void CScrollBarUI::PassOn(TEventUI& event)
{
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

void CScrollBarUI::NotifyScroll()
{
    if (m_pManager != NULL && m_pOwner == NULL) m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::LineBack()
{
    if (m_pOwner == NULL) SetScrollPos(ClampToInt(static_cast<long long>(m_nScrollPos) - m_nLineSize));
    else if (m_bHorizontal) m_pOwner->LineLeft();
    else m_pOwner->LineUp();
}

void CScrollBarUI::LineForward()
{
    if (m_pOwner == NULL) SetScrollPos(ClampToInt(static_cast<long long>(m_nScrollPos) + m_nLineSize));
    else if (m_bHorizontal) m_pOwner->LineRight();
    else m_pOwner->LineDown();
}

bool CScrollBarUI::PageTowards(POINT pt)
{
    // Without a thumb there is no side of it to page towards.
    if (IsZeroRect(m_rcThumb) || ::PtInRect(&m_rcThumb, pt)) return false;

    if (AxisOf(pt) < StartOf(m_rcThumb)) {
        if (m_pOwner == NULL) SetScrollPos(ClampToInt(static_cast<long long>(m_nScrollPos) - GetBarLength()));
        else if (m_bHorizontal) m_pOwner->PageLeft();
        else m_pOwner->PageUp();
    }
    else {
        if (m_pOwner == NULL) SetScrollPos(ClampToInt(static_cast<long long>(m_nScrollPos) + GetBarLength()));
        else if (m_bHorizontal) m_pOwner->PageRight();
        else m_pOwner->PageDown();
    }
    return true;
}

void CScrollBarUI::ApplyDrag()
{
    int pos = ClampToInt(static_cast<long long>(m_nLastScrollPos) + m_nLastScrollOffset);
    if (m_pOwner != NULL) {
        SIZE sz = m_pOwner->GetScrollPos();
        if (m_bHorizontal) sz.cx = pos;
        else sz.cy = pos;
        m_pOwner->SetScrollPos(sz);
    }
    else {
        SetScrollPos(pos);
    }
    Invalidate();
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    const bool mouseEvent = event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND;
    if (!IsMouseEnabled() && mouseEvent) {
        PassOn(event);
        return;
    }

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
    case EVENT_CONTEXTMENU:
        return;

    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
        if (!IsEnabled()) return;
        m_nLastScrollOffset = 0;
        m_nScrollRepeatDelay = 0;
        if (m_pManager != NULL) m_pManager->SetTimer(this, REPEAT_TIMER_ID, REPEAT_TIMER_ELAPSE);

        if (::PtInRect(&m_rcButton1, event.ptMouse)) {
            m_uButton1State |= STATE_PUSHED;
            LineBack();
        }
        else if (::PtInRect(&m_rcButton2, event.ptMouse)) {
            m_uButton2State |= STATE_PUSHED;
            LineForward();
        }
        else if (::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState |= STATE_CAPTURED | STATE_PUSHED;
            m_ptLastMouse = event.ptMouse;
            m_nLastScrollPos = m_nScrollPos;
        }
        else {
            PageTowards(event.ptMouse);
        }
        NotifyScroll();
        return;

    case EVENT_BUTTONUP:
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            // The last move of a quick drag would otherwise wait for a tick that never comes.
            int before = m_nScrollPos;
            ApplyDrag();
            if (m_nScrollPos != before) NotifyScroll();
        }
        m_nScrollRepeatDelay = 0;
        m_nLastScrollOffset = 0;
        if (m_pManager != NULL) m_pManager->KillTimer(this, REPEAT_TIMER_ID);

        if ((m_uThumbState & STATE_CAPTURED) != 0) m_uThumbState &= ~(STATE_CAPTURED | STATE_PUSHED);
        else if ((m_uButton1State & STATE_PUSHED) != 0) m_uButton1State &= ~STATE_PUSHED;
        else if ((m_uButton2State & STATE_PUSHED) != 0) m_uButton2State &= ~STATE_PUSHED;
        else return;
        Invalidate();
        return;

    case EVENT_MOUSEMOVE:
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            int travel = GetThumbTravel();
            if (travel > 0) {
                m_nLastScrollOffset = MulDivTruncate(AxisOf(event.ptMouse) - AxisOf(m_ptLastMouse), m_nRange, travel);
            }
        }
        else if ((m_uThumbState & STATE_HOT) == 0) {
            if (IsEnabled() && ::PtInRect(&m_rcThumb, event.ptMouse)) {
                m_uThumbState |= STATE_HOT;
                Invalidate();
            }
        }
        else if (!::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState &= ~STATE_HOT;
            Invalidate();
        }
        return;

    case EVENT_TIMER:
        if (event.wParam != REPEAT_TIMER_ID) break;
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            ApplyDrag();
        }
        else if (m_nScrollRepeatDelay <= REPEAT_DELAY_TICKS) {
            // A held button waits before it repeats.
            return;
        }
        else if ((m_uButton1State & STATE_PUSHED) != 0) {
            LineBack();
        }
        else if ((m_uButton2State & STATE_PUSHED) != 0) {
            LineForward();
        }
        else {
            if (m_pManager == NULL) return;
            POINT pt = { 0, 0 };
            ::GetCursorPos(&pt);
            ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            if (!PageTowards(pt)) return;
        }
        NotifyScroll();
        return;

    case EVENT_MOUSEENTER:
        if (!IsEnabled()) return;
        m_uButton1State |= STATE_HOT;
        m_uButton2State |= STATE_HOT;
        if (::PtInRect(&m_rcThumb, event.ptMouse)) m_uThumbState |= STATE_HOT;
        Invalidate();
        return;

    case EVENT_MOUSELEAVE:
        if (!IsEnabled()) return;
        m_uButton1State &= ~STATE_HOT;
        m_uButton2State &= ~STATE_HOT;
        m_uThumbState &= ~STATE_HOT;
        Invalidate();
        return;

    default:
        break;
    }
    PassOn(event);
}

void CScrollBarUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    for (int part = 0; part < PART_COUNT; ++part) {
        for (int look = 0; look < LOOK_COUNT; ++look) {
            if (::wcscmp(name, kImageAttributes[part][look]) == 0) {
                SetImage(static_cast<Part>(part), static_cast<Look>(look), value);
                return;
            }
        }
    }
    if (::wcscmp(name, L"hor") == 0) SetHorizontal(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"linesize") == 0) SetLineSize(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"range") == 0) SetScrollRange(CUIAttribute::ParseInt(value));
    else if (::wcscmp(name, L"value") == 0) SetScrollPos(CUIAttribute::ParseInt(value));
    else if (::wcscmp(name, L"showbutton1") == 0) SetShowButton1(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"showbutton2") == 0) SetShowButton2(CUIAttribute::ParseBool(value));
    else CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
}

bool CScrollBarUI::PaintPart(HDC hDC, Part part, UINT& state, const RECT* rc)
{
    if (IsEnabled()) state &= ~STATE_DISABLED;
    else state |= STATE_DISABLED;

    LPCWSTR modify = NULL;
    if (rc != NULL) {
        m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rc->left - m_rcItem.left, rc->top - m_rcItem.top,
                                   rc->right - m_rcItem.left, rc->bottom - m_rcItem.top);
        modify = m_sImageModify;
    }

    Look look = LOOK_NORMAL;
    if ((state & STATE_DISABLED) != 0) look = LOOK_DISABLED;
    else if ((state & STATE_PUSHED) != 0) look = LOOK_PUSHED;
    else if ((state & STATE_HOT) != 0) look = LOOK_HOT;

    // An image that cannot be drawn is dropped so that it is not tried on every paint.
    CUIString& image = m_sImages[part][look];
    if (!image.IsEmpty()) {
        if (DrawImage(hDC, image, modify)) return true;
        image.Empty();
    }
    CUIString& normal = m_sImages[part][LOOK_NORMAL];
    if (look != LOOK_NORMAL && !normal.IsEmpty()) {
        if (DrawImage(hDC, normal, modify)) return true;
        normal.Empty();
    }
    return false;
}

void CScrollBarUI::PaintOutlinedPart(HDC hDC, Part part, UINT& state, const RECT& rc)
{
    if (!PaintPart(hDC, part, state, &rc)) {
        CRenderEngine::DrawRect(hDC, rc, Scale(kFallbackOutlineWidth), kFallbackOutlineColor);
    }
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    PaintPart(hDC, PART_BK, m_uThumbState, NULL);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (!m_bShowButton1) return;
    PaintOutlinedPart(hDC, PART_BUTTON1, m_uButton1State, m_rcButton1);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (!m_bShowButton2) return;
    PaintOutlinedPart(hDC, PART_BUTTON2, m_uButton2State, m_rcButton2);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (IsZeroRect(m_rcThumb)) return;
    PaintOutlinedPart(hDC, PART_THUMB, m_uThumbState, m_rcThumb);
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (IsZeroRect(m_rcThumb)) return;

    // A grip of the bar's thickness, centred on the thumb along the axis.
    const int thickness = GetThickness();
    RECT rc = m_rcThumb;
    if (m_bHorizontal) {
        rc.left = (m_rcThumb.left + m_rcThumb.right) / 2 - thickness / 2;
        rc.right = rc.left + thickness;
    }
    else {
        rc.top = (m_rcThumb.top + m_rcThumb.bottom) / 2 - thickness / 2;
        rc.bottom = rc.top + thickness;
    }
    PaintPart(hDC, PART_RAIL, m_uThumbState, &rc);
}

} // namespace Veneer
