// CControlUI: geometry and layout hints, state, attributes, invalidation, event routing and searching.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CControlUI::CControlUI()
    : m_pManager(NULL),
      m_bVisible(true),
      m_bInternVisible(true),
      m_bFloat(false),
      m_bFocused(false),
      m_bColorHSL(false),
      m_bEnabled(true),
      m_cbPaintFields(0),
      m_dwBackColor(0),
      m_dwBackColor2(0),
      m_dwBackColor3(0),
      m_dwBorderColor(0),
      m_dwFocusBorderColor(0),
      m_nBorderSize(0),
      m_nBorderStyle(PS_SOLID),
      m_pParent(NULL),
      m_bUpdateNeeded(true),
      m_bMenuUsed(false),
      m_bMouseEnabled(true),
      m_bKeyboardEnabled(true),
      m_bSetPos(false),
      m_chShortcut(L'\0'),
      m_pTag(0),
      m_nTooltipWidth(300)
{
    ::SetRectEmpty(&m_rcItem);
    ::SetRectEmpty(&m_rcPadding);
    m_cXY.cx = m_cXY.cy = 0;
    m_cxyFixed.cx = m_cxyFixed.cy = 0;
    m_cxyMin.cx = m_cxyMin.cy = 0;
    m_cxyMax.cx = m_cxyMax.cy = 9999;
    m_tRelativePos.bRelative = false;
    m_tRelativePos.szParent.cx = m_tRelativePos.szParent.cy = 0;
    m_tRelativePos.nMoveXPercent = m_tRelativePos.nMoveYPercent = 0;
    m_tRelativePos.nZoomXPercent = m_tRelativePos.nZoomYPercent = 0;
    m_cxyBorderRound.cx = m_cxyBorderRound.cy = 0;
    ::SetRectEmpty(&m_rcPaint);
    ::SetRectEmpty(&m_rcBorderSize);
}

CControlUI::~CControlUI()
{
    if (DestroyHook) DestroyHook(this);
    // The manager must not keep pointing at a control that no longer exists (focus, hover, timers, names).
    if (m_pManager != NULL) m_pManager->ReapObjects(this);
}

CUIString CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(LPCWSTR name)
{
    m_sName = name;
}

LPCWSTR CControlUI::GetClass() const
{
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"Control") == 0) return this;
    return NULL;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    m_pManager = manager;
    m_pParent = parent;
    if (init && m_pParent != NULL) Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CUIString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(LPCWSTR text)
{
    if (text == NULL) text = L"";
    if (m_sText == text) return;
    m_sText = text;
    Invalidate();
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    CUIRect invalidateRc = m_rcItem;
    if (::IsRectEmpty(&invalidateRc)) invalidateRc = rc;

    m_rcItem = rc;
    if (m_pManager == NULL) return;

    if (!m_bSetPos) {
        m_bSetPos = true;
        if (SizeHook) SizeHook(this);
        m_bSetPos = false;
    }

    if (m_bFloat && m_pParent != NULL) {
        // Keep the float position measured from the edge it was given against, in skin units. A length
        // the layout placed from its units keeps them: below 100 % units to pixels and back can drift.
        auto units = [this](LONG& nUnits, int nPixels) {
            if (Scale(nUnits) != nPixels) nUnits = Unscale(nPixels);
        };
        const RECT& rcParent = m_pParent->GetPos();
        units(m_cXY.cx, (m_cXY.cx >= 0) ? m_rcItem.left - rcParent.left : m_rcItem.right - rcParent.right);
        units(m_cXY.cy, (m_cXY.cy >= 0) ? m_rcItem.top - rcParent.top : m_rcItem.bottom - rcParent.bottom);
        units(m_cxyFixed.cx, m_rcItem.right - m_rcItem.left);
        units(m_cxyFixed.cy, m_rcItem.bottom - m_rcItem.top);
    }

    m_bUpdateNeeded = false;
    invalidateRc.Join(m_rcItem);
    InvalidateArea(invalidateRc);
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT padding)
{
    m_rcPadding = padding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE xy)
{
    m_cXY = xy;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetMinWidth() const
{
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (m_cxyMin.cx == cx || cx < 0) return;
    m_cxyMin.cx = cx;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (m_cxyMax.cx == cx || cx < 0) return;
    m_cxyMax.cx = cx;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (m_cxyMin.cy == cy || cy < 0) return;
    m_cxyMin.cy = cy;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (m_cxyMax.cy == cy || cy < 0) return;
    m_cxyMax.cy = cy;
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

void CControlUI::SetRelativePos(SIZE move, SIZE zoom)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = move.cx;
    m_tRelativePos.nMoveYPercent = move.cy;
    m_tRelativePos.nZoomXPercent = zoom.cx;
    m_tRelativePos.nZoomYPercent = zoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE size)
{
    m_tRelativePos.szParent = size;
}

TRelativePosUI CControlUI::GetRelativePos() const
{
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_tRelativePos.bRelative;
}

CUIString CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR text)
{
    CUIString tip(text);
    tip.Replace(L"<n>", L"\r\n");
    m_sToolTip = tip;
}

void CControlUI::SetToolTipWidth(int width)
{
    m_nTooltipWidth = width;
}

int CControlUI::GetToolTipWidth() const
{
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool used)
{
    m_bMenuUsed = used;
}

CUIString CControlUI::GetUserData() const
{
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR text)
{
    m_sUserData = text;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR tag)
{
    m_pTag = tag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;

    bool wasVisible = IsVisible();
    m_bVisible = visible;
    m_bFocused = false;
    if (!visible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
    if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible)
{
    m_bInternVisible = visible;
    if (!visible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    m_bMouseEnabled = enabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enabled)
{
    m_bKeyboardEnabled = enabled;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != NULL) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool isFloat)
{
    if (m_bFloat == isFloat) return;
    m_bFloat = isFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags)
{
    if ((flags & FIND_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((flags & FIND_ENABLED) != 0 && !IsEnabled()) return NULL;
    if ((flags & FIND_HIT_TEST) != 0 && (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<POINT*>(data))))
        return NULL;
    return proc(this, data);
}

void CControlUI::Init()
{
    DoInit();
    if (InitHook) InitHook(this);
}

void CControlUI::DoInit()
{
}

void CControlUI::Event(TEventUI& event)
{
    if (EventHook(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case EVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
        return;
    case EVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case EVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case EVENT_TIMER:
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case EVENT_CONTEXTMENU:
        if (IsContextMenuUsed()) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != NULL) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL) return;
    if (value == NULL) value = L"";

    if (::wcscmp(name, L"pos") == 0) {
        RECT rcPos = CUIAttribute::ParseRect(value);
        // A negative edge measures from the parent's right or bottom edge.
        SIZE xy = { rcPos.left >= 0 ? rcPos.left : rcPos.right, rcPos.top >= 0 ? rcPos.top : rcPos.bottom };
        SetFixedXY(xy);
        SetFixedWidth(rcPos.right - rcPos.left);
        SetFixedHeight(rcPos.bottom - rcPos.top);
    }
    else if (::wcscmp(name, L"relativepos") == 0) {
        RECT rc = CUIAttribute::ParseRect(value);
        SIZE move = { rc.left, rc.top };
        SIZE zoom = { rc.right, rc.bottom };
        SetRelativePos(move, zoom);
    }
    else if (::wcscmp(name, L"padding") == 0) SetPadding(CUIAttribute::ParseRect(value));
    else if (::wcscmp(name, L"bkcolor") == 0 || ::wcscmp(name, L"bkcolor1") == 0)
        SetBkColor(CUIAttribute::ParseColorSkipBlanks(value));
    else if (::wcscmp(name, L"bkcolor2") == 0) SetBkColor2(CUIAttribute::ParseColorSkipBlanks(value));
    else if (::wcscmp(name, L"bkcolor3") == 0) SetBkColor3(CUIAttribute::ParseColorSkipBlanks(value));
    else if (::wcscmp(name, L"bordercolor") == 0) SetBorderColor(CUIAttribute::ParseColor(value));
    else if (::wcscmp(name, L"focusbordercolor") == 0) SetFocusBorderColor(CUIAttribute::ParseColor(value));
    else if (::wcscmp(name, L"colorhsl") == 0) SetColorHSL(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"bordersize") == 0) {
        if (::wcschr(value, L',') == NULL) {
            SetBorderSize(CUIAttribute::ParseExtent(value));
            RECT noSides = { 0, 0, 0, 0 };
            SetBorderSize(noSides);
        }
        else {
            SetBorderSize(CUIAttribute::ParseRect(value));
        }
    }
    else if (::wcscmp(name, L"leftbordersize") == 0) SetLeftBorderSize(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"topbordersize") == 0) SetTopBorderSize(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"rightbordersize") == 0) SetRightBorderSize(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"bottombordersize") == 0) SetBottomBorderSize(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"borderstyle") == 0) SetBorderStyle(CUIAttribute::ParseInt(value));
    else if (::wcscmp(name, L"borderround") == 0) SetBorderRound(CUIAttribute::ParseSize(value));
    else if (::wcscmp(name, L"bkimage") == 0) SetBkImage(value);
    else if (::wcscmp(name, L"width") == 0) SetFixedWidth(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"height") == 0) SetFixedHeight(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"minwidth") == 0) SetMinWidth(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"minheight") == 0) SetMinHeight(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"maxwidth") == 0) SetMaxWidth(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"maxheight") == 0) SetMaxHeight(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"name") == 0) SetName(value);
    else if (::wcscmp(name, L"text") == 0) SetText(value);
    else if (::wcscmp(name, L"tooltip") == 0) SetToolTip(value);
    else if (::wcscmp(name, L"userdata") == 0) SetUserData(value);
    else if (::wcscmp(name, L"enabled") == 0) SetEnabled(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"mouse") == 0) SetMouseEnabled(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"keyboard") == 0) SetKeyboardEnabled(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"visible") == 0) SetVisible(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"float") == 0) SetFloat(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"shortcut") == 0) SetShortcut(value[0]);
    else if (::wcscmp(name, L"menu") == 0) SetContextMenuUsed(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"virtualwnd") == 0) SetVirtualWnd(value);
    else if (m_pManager != NULL && m_pManager->GetUnknownAttributeListener() != NULL) {
        m_pManager->GetUnknownAttributeListener()->UnknownAttribute(this, name, value);
    }
}

void CControlUI::ApplyAttributeList(LPCWSTR list)
{
    if (list == NULL) return;

    CUIString name;
    CUIString value;
    LPCWSTR p = list;
    while (*p != L'\0') {
        LPCWSTR start = p;
        while (*p != L'\0' && *p != L'=') ++p;
        if (*p != L'=') return;
        name.Assign(start, static_cast<int>(p - start));
        ++p;
        if (*p != L'"') return;
        ++p;
        start = p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p != L'"') return;
        value.Assign(start, static_cast<int>(p - start));
        ++p;
        SetAttribute(name, value);
        // Exactly one space separates entries; anything else ends the list.
        if (*p != L' ') return;
        ++p;
    }
}

SIZE CControlUI::EstimateSize(SIZE available)
{
    (void)available;
    return ScaleSize(m_cxyFixed);
}

bool CControlUI::ClipToAncestors(RECT& rc) const
{
    for (CControlUI* parent = m_pParent; parent != NULL; parent = parent->GetParent()) {
        if (!::IntersectRect(&rc, &rc, &parent->GetPos())) return false;
    }
    return true;
}

void CControlUI::InvalidateArea(const RECT& rc)
{
    RECT area = rc;
    if (!ClipToAncestors(area)) return;
    if (m_pManager != NULL) m_pManager->Invalidate(area);
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    InvalidateArea(m_rcItem);
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != NULL) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    }
    else {
        NeedUpdate();
    }
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

CUIString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    if (m_pParent != NULL) return m_pParent->GetVirtualWnd();
    return CUIString();
}

void CControlUI::SetVirtualWnd(LPCWSTR name)
{
    m_sVirtualWnd = name;
    if (m_pManager != NULL) m_pManager->UsedVirtualWnd(true);
}

} // namespace Veneer
