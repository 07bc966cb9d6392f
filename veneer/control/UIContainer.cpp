// CContainerUI: child ownership, float placement, painting with clips and hit testing (scrolling: its own file).
#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"
#include "veneer/control/UIScrollBar.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

namespace {

bool IntersectsRect(const RECT& a, const RECT& b)
{
    RECT unused;
    return RenderUtil::IntersectRects(unused, a, b);
}

// The share of a change in the parent's size that a relative child follows: percent of d, truncated,
// worked out wide so a large percentage cannot overflow, and held to the extents a skin may give.
int PercentOf(int d, int percent)
{
    return CUIAttribute::ClampExtent(static_cast<long long>(d) * percent / 100);
}

} // namespace

CContainerUI::CContainerUI()
    : m_iChildPadding(0),
      m_bAutoDestroy(true),
      m_bDelayedDestroy(true),
      m_bMouseChildEnabled(true),
      m_bScrollProcess(false),
      m_pVerticalScrollBar(NULL),
      m_pHorizontalScrollBar(NULL)
{
    ::SetRectEmpty(&m_rcInset);
}

CContainerUI::~CContainerUI()
{
    // Children go now: the manager may be going away with this container.
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = NULL;
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = NULL;
}

LPCWSTR CContainerUI::GetClass() const
{
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (name != NULL && ::wcscmp(name, L"Container") == 0) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    return static_cast<CControlUI*>(m_items.GetAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    return m_items.Find(control);
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index)
{
    int current = m_items.Find(control);
    if (current < 0) return false;
    // After the removal the valid places are 0..count-1; refusing others keeps the child in the list.
    if (index < 0 || index >= m_items.GetSize()) return false;
    NeedUpdate();
    m_items.Remove(current);
    return m_items.InsertAt(index, control);
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* control)
{
    return AddAt(control, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (control == NULL) return false;
    // Check the place first so that a refused child is not left attached to this container.
    if (index < 0 || index > m_items.GetSize()) return false;

    if (m_pManager != NULL) m_pManager->InitControls(control, this);
    if (IsVisible()) NeedUpdate();
    else control->SetInternVisible(false);
    return m_items.InsertAt(index, control);
}

bool CContainerUI::Remove(CControlUI* control)
{
    if (control == NULL) return false;
    int index = m_items.Find(control);
    if (index < 0) return false;

    NeedUpdate();
    // Out of the list before it is destroyed, so nothing reached from its destruction sees it as a child.
    m_items.Remove(index);
    DestroyChild(control);
    return true;
}

bool CContainerUI::RemoveAt(int index)
{
    CControlUI* control = GetItemAt(index);
    if (control == NULL) return false;
    return Remove(control);
}

void CContainerUI::RemoveAll()
{
    CStdPtrArray items(m_items);
    m_items.Empty();
    for (int i = 0; i < items.GetSize(); ++i) DestroyChild(static_cast<CControlUI*>(items[i]));
    NeedUpdate();
}

void CContainerUI::DestroyChild(CControlUI* control)
{
    if (!m_bAutoDestroy) return;
    if (m_bDelayedDestroy && m_pManager != NULL) m_pManager->AddDelayedCleanup(control);
    else delete control;
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->DoEvent(event);
        else CControlUI::DoEvent(event);
        return;
    }

    if (event.Type == EVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == EVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }

    CScrollBarUI* vbar = m_pVerticalScrollBar;
    CScrollBarUI* hbar = m_pHorizontalScrollBar;
    bool vertical = vbar != NULL && vbar->IsVisible() && vbar->IsEnabled();
    bool horizontal = !vertical && hbar != NULL && hbar->IsVisible() && hbar->IsEnabled();
    if (vertical || horizontal) {
        if (event.Type == EVENT_KEYDOWN) {
            switch (event.chKey) {
            case VK_PRIOR:
                if (vertical) PageUp(); else PageLeft();
                return;
            case VK_NEXT:
                if (vertical) PageDown(); else PageRight();
                return;
            case VK_END:
                if (vertical) EndDown(); else EndRight();
                return;
            case VK_HOME:
                if (vertical) HomeUp(); else HomeLeft();
                return;
            case VK_UP:
                if (vertical) LineUp(); else LineLeft();
                return;
            case VK_DOWN:
                if (vertical) LineDown(); else LineRight();
                return;
            default:
                break;
            }
        }
        else if (event.Type == EVENT_SCROLLWHEEL) {
            switch (LOWORD(event.wParam)) {
            case SB_LINEUP:
                if (vertical) LineUp(); else LineLeft();
                return;
            case SB_LINEDOWN:
                if (vertical) LineDown(); else LineRight();
                return;
            default:
                break;
            }
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (CScrollBarUI* bar = m_pVerticalScrollBar) bar->SetMouseEnabled(enabled);
    if (CScrollBarUI* bar = m_pHorizontalScrollBar) bar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT inset)
{
    m_rcInset = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int padding)
{
    m_iChildPadding = padding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool autoDestroy)
{
    m_bAutoDestroy = autoDestroy;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool delayed)
{
    m_bDelayedDestroy = delayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool enabled)
{
    m_bMouseChildEnabled = enabled;
}

int CContainerUI::FindSelectable(int index, bool forward) const
{
    int count = m_items.GetSize();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index > count - 1) index = count - 1;

    auto selectable = [this](int i) {
        CControlUI* item = GetItemAt(i);
        return item->GetInterface(L"ListItem") != NULL && item->IsVisible() && item->IsEnabled();
    };
    if (forward) {
        for (int i = index; i < count; ++i)
            if (selectable(i)) return i;
        return -1;
    }
    for (int i = index; i >= 0; --i)
        if (selectable(i)) return i;
    return FindSelectable(0, true);
}

RECT CContainerUI::GetInsetRect() const
{
    RECT rc = m_rcItem;
    const RECT rcInset = ScaleRect(m_rcInset);
    rc.left += rcInset.left;
    rc.top += rcInset.top;
    rc.right -= rcInset.right;
    rc.bottom -= rcInset.bottom;
    return rc;
}

RECT CContainerUI::GetInnerRect() const
{
    RECT rc = GetInsetRect();
    if (IsVerticalBarShown()) rc.right -= Scale(m_pVerticalScrollBar->GetFixedWidth());
    if (IsHorizontalBarShown()) rc.bottom -= Scale(m_pHorizontalScrollBar->GetFixedHeight());
    return rc;
}

bool CContainerUI::IsVerticalBarShown() const
{
    return m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible();
}

bool CContainerUI::IsHorizontalBarShown() const
{
    return m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;

    const RECT inner = GetInsetRect();

    // Every flowing child covers the same inner area; a plain container does not touch its scroll bars.
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible()) continue;
        if (control->IsFloat()) SetFloatPos(i);
        else control->SetPos(inner);
    }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!RenderUtil::IntersectRects(rcTemp, rcPaint, m_rcItem)) return;

    // The first two children are asked for before this container paints itself; the walk asks for the
    // others two places ahead, and for the fields a child names one place ahead (naming them is in its
    // first line, asked for before).
    for (int i = 0; i < m_items.GetSize() && i < 2; ++i)
        static_cast<CControlUI*>(m_items.GetAt(i))->PrefetchForPaint();

    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rcTemp, clip);
    CControlUI::DoPaint(hDC, rcPaint);

    // The children straight from the array, taken after the container's own paint parts, which a
    // subclass may override to change them: a paint walks every one of them.
    LPVOID* items = m_items.GetData();
    const int nItems = m_items.GetSize();
    if (nItems > 0) {
        static_cast<CControlUI*>(items[0])->PrefetchFieldsForPaint();
        RECT inner = GetInnerRect();
        if (!RenderUtil::IntersectRects(rcTemp, rcPaint, inner)) {
            // Only float children can show outside the inner area.
            for (int i = 0; i < nItems; ++i) {
                CControlUI* control = static_cast<CControlUI*>(items[i]);
                if (!control->IsVisible() || !control->IsFloat()) continue;
                if (!IntersectsRect(rcPaint, control->GetPos())) continue;
                if (!IntersectsRect(m_rcItem, control->GetPos())) continue;
                control->DoPaint(hDC, rcPaint);
            }
        }
        else {
            CRenderClip childClip;
            CRenderClip::GenerateClip(hDC, rcTemp, childClip);
            for (int i = 0; i < nItems; ++i) {
                CControlUI* control = static_cast<CControlUI*>(items[i]);
                if (i + 2 < nItems) static_cast<CControlUI*>(items[i + 2])->PrefetchForPaint();
                if (i + 1 < nItems) static_cast<CControlUI*>(items[i + 1])->PrefetchFieldsForPaint();
                if (!control->IsVisible()) continue;
                const RECT& rcControl = control->GetPos();
                if (control->IsFloat()) {
                    // Float children may draw over the inset and the scroll bars.
                    if (!IntersectsRect(rcPaint, rcControl) || !IntersectsRect(m_rcItem, rcControl)) continue;
                    CRenderClip::UseOldClipBegin(hDC, childClip);
                    control->DoPaint(hDC, rcPaint);
                    CRenderClip::UseOldClipEnd(hDC, childClip);
                }
                else if (IntersectsRect(rcTemp, rcControl)) {
                    // rcTemp is the paint rectangle within the inner area: a rectangle meets both when
                    // it meets their intersection.
                    control->DoPaint(hDC, rcPaint);
                }
            }
        }
    }

    CScrollBarUI* vbar = m_pVerticalScrollBar;
    if (vbar != NULL && vbar->IsVisible() && IntersectsRect(rcPaint, vbar->GetPos())) vbar->DoPaint(hDC, rcPaint);
    CScrollBarUI* hbar = m_pHorizontalScrollBar;
    if (hbar != NULL && hbar->IsVisible() && IntersectsRect(rcPaint, hbar->GetPos())) hbar->DoPaint(hDC, rcPaint);
}

void CContainerUI::SetFloatPos(int index)
{
    CControlUI* control = GetItemAt(index);
    if (control == NULL || !control->IsVisible() || !control->IsFloat()) return;

    // Skin units: a negative position measures from the right or bottom edge at the scale too.
    const SIZE xy = ScaleSize(control->GetFixedXY());
    const SIZE size = ScaleSize(SIZE{control->GetFixedWidth(), control->GetFixedHeight()});
    RECT rcCtrl;
    if (xy.cx >= 0) {
        rcCtrl.left = m_rcItem.left + xy.cx;
        rcCtrl.right = rcCtrl.left + size.cx;
    }
    else {
        rcCtrl.right = m_rcItem.right + xy.cx;
        rcCtrl.left = rcCtrl.right - size.cx;
    }
    if (xy.cy >= 0) {
        rcCtrl.top = m_rcItem.top + xy.cy;
        rcCtrl.bottom = rcCtrl.top + size.cy;
    }
    else {
        rcCtrl.bottom = m_rcItem.bottom + xy.cy;
        rcCtrl.top = rcCtrl.bottom - size.cy;
    }

    if (control->IsRelativePos()) {
        TRelativePosUI relative = control->GetRelativePos();
        // Recorded in skin units, so that a new display scale is no growth to follow.
        SIZE current = { Unscale(m_rcItem.right - m_rcItem.left), Unscale(m_rcItem.bottom - m_rcItem.top) };
        // The first layout only records the size; later ones follow the growth since then.
        if (relative.szParent.cx != 0) {
            int dx = current.cx - relative.szParent.cx;
            int dy = current.cy - relative.szParent.cy;
            rcCtrl.left += Scale(PercentOf(dx, relative.nMoveXPercent));
            rcCtrl.top += Scale(PercentOf(dy, relative.nMoveYPercent));
            rcCtrl.right = rcCtrl.left + size.cx + Scale(PercentOf(dx, relative.nZoomXPercent));
            rcCtrl.bottom = rcCtrl.top + size.cy + Scale(PercentOf(dy, relative.nZoomYPercent));
        }
        control->SetRelativeParentSize(current);
    }

    control->SetPos(rcCtrl);
}

void CContainerUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL) return;
    if (value == NULL) value = L"";

    if (::wcscmp(name, L"inset") == 0) SetInset(CUIAttribute::ParseRect(value));
    else if (::wcscmp(name, L"mousechild") == 0) SetMouseChildEnabled(CUIAttribute::ParseBool(value));
    else if (::wcscmp(name, L"vscrollbar") == 0) {
        EnableScrollBar(CUIAttribute::ParseBool(value), GetHorizontalScrollBar() != NULL);
    }
    else if (::wcscmp(name, L"vscrollbarstyle") == 0) {
        EnableScrollBar(true, GetHorizontalScrollBar() != NULL);
        if (CScrollBarUI* bar = GetVerticalScrollBar()) bar->ApplyAttributeList(value);
    }
    else if (::wcscmp(name, L"hscrollbar") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != NULL, CUIAttribute::ParseBool(value));
    }
    else if (::wcscmp(name, L"hscrollbarstyle") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != NULL, true);
        if (CScrollBarUI* bar = GetHorizontalScrollBar()) bar->ApplyAttributeList(value);
    }
    else if (::wcscmp(name, L"childpadding") == 0) SetChildPadding(CUIAttribute::ParseExtent(value));
    else CControlUI::SetAttribute(name, value);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // Children first, so that they are initialised before their container.
    for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetManager(manager, this, init);
    if (CScrollBarUI* bar = m_pVerticalScrollBar) bar->SetManager(manager, this, init);
    if (CScrollBarUI* bar = m_pHorizontalScrollBar) bar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags)
{
    if ((flags & FIND_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((flags & FIND_ENABLED) != 0 && !IsEnabled()) return NULL;

    bool hitTest = (flags & FIND_HIT_TEST) != 0;
    CScrollBarUI* vbar = m_pVerticalScrollBar;
    CScrollBarUI* hbar = m_pHorizontalScrollBar;
    CControlUI* result = NULL;

    if (hitTest) {
        if (!::PtInRect(&m_rcItem, *static_cast<POINT*>(data))) return NULL;
        if (!m_bMouseChildEnabled) {
            if (vbar != NULL) result = vbar->FindControl(proc, data, flags);
            if (result == NULL && hbar != NULL) result = hbar->FindControl(proc, data, flags);
            if (result == NULL) result = CControlUI::FindControl(proc, data, flags);
            return result;
        }
    }

    if (vbar != NULL) result = vbar->FindControl(proc, data, flags);
    if (result != NULL) return result;
    if (hbar != NULL) result = hbar->FindControl(proc, data, flags);
    if (result != NULL) return result;

    if ((flags & FIND_SELF_FIRST) != 0) {
        result = CControlUI::FindControl(proc, data, flags);
        if (result != NULL) return result;
    }

    RECT inner = GetInnerRect();
    int count = m_items.GetSize();
    bool topFirst = (flags & FIND_TOP_FIRST) != 0;
    for (int n = 0; n < count; ++n) {
        // The list may shrink under a visitor; re-check the index on every step.
        int i = topFirst ? count - 1 - n : n;
        CControlUI* child = GetItemAt(i);
        if (child == NULL) continue;
        result = child->FindControl(proc, data, flags);
        if (result == NULL) continue;
        // A flowing child is only hit inside the inner area; floats may lie over inset and bars.
        if (hitTest && !result->IsFloat() && !::PtInRect(&inner, *static_cast<POINT*>(data))) continue;
        return result;
    }

    if ((flags & FIND_SELF_FIRST) == 0) return CControlUI::FindControl(proc, data, flags);
    return NULL;
}

CControlUI* CContainerUI::FindSubControl(LPCWSTR subControlName)
{
    if (m_pManager == NULL) return NULL;
    return m_pManager->FindSubControlByName(this, subControlName);
}

bool CContainerUI::SetSubControlText(LPCWSTR subControlName, LPCWSTR text)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return false;
    control->SetText(text);
    return true;
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR subControlName, int height)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return false;
    control->SetFixedHeight(height);
    return true;
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR subControlName, int width)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return false;
    control->SetFixedWidth(width);
    return true;
}

bool CContainerUI::SetSubControlUserData(LPCWSTR subControlName, LPCWSTR text)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return false;
    control->SetUserData(text);
    return true;
}

CUIString CContainerUI::GetSubControlText(LPCWSTR subControlName)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return CUIString();
    return control->GetText();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR subControlName)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return -1;
    return control->GetFixedHeight();
}

int CContainerUI::GetSubControlFixedWdith(LPCWSTR subControlName)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return -1;
    return control->GetFixedWidth();
}

CUIString CContainerUI::GetSubControlUserData(LPCWSTR subControlName)
{
    CControlUI* control = FindSubControl(subControlName);
    if (control == NULL) return CUIString();
    return control->GetUserData();
}

} // namespace Veneer
