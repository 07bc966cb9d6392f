// CTextUI: link hit-testing and notification, multi-line painting and measuring.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIText.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CTextUI::CTextUI() : m_nLinks(0), m_nHoverLink(-1)
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
    ::ZeroMemory(m_rcLinks, sizeof(m_rcLinks));
}

CTextUI::~CTextUI()
{
}

LPCWSTR CTextUI::GetClass() const
{
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"Text") == 0) return static_cast<CTextUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    if (IsEnabled() && m_nLinks > 0) return UIFLAG_SETCURSOR;
    return 0;
}

CUIString* CTextUI::GetLinkContent(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nLinks || iIndex >= MAX_LINK) return NULL;
    return &m_sLinks[iIndex];
}

int CTextUI::GetLinkCount() const
{
    return m_nLinks;
}

RECT CTextUI::GetLinkRect(int iIndex) const
{
    RECT rc = { 0, 0, 0, 0 };
    if (iIndex >= 0 && iIndex < MAX_LINK) rc = m_rcLinks[iIndex];
    return rc;
}

int CTextUI::GetHoverLink() const
{
    return m_nHoverLink;
}

int CTextUI::LinkAt(POINT pt) const
{
    const int nLinks = std::min<int>(m_nLinks, MAX_LINK);
    for (int i = 0; i < nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }
    if (event.Type == EVENT_SETCURSOR) {
        if (LinkAt(event.ptMouse) >= 0) {
            ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
            return;
        }
    }
    if (event.Type == EVENT_BUTTONDOWN || (event.Type == EVENT_DBLCLICK && IsEnabled())) {
        if (LinkAt(event.ptMouse) >= 0) {
            Invalidate();
            return;
        }
    }
    if (event.Type == EVENT_BUTTONUP && IsEnabled()) {
        const int iLink = LinkAt(event.ptMouse);
        if (iLink >= 0) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
            return;
        }
    }
    if (event.Type == EVENT_CONTEXTMENU) return;
    if (event.Type == EVENT_MOUSEMOVE && IsEnabled() && m_nLinks > 0) {
        const int iHover = LinkAt(event.ptMouse);
        if (iHover != m_nHoverLink) {
            m_nHoverLink = iHover;
            Invalidate();
            return;
        }
    }
    if (event.Type == EVENT_MOUSELEAVE && IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
        m_nHoverLink = -1;
        Invalidate();
        return;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    const RECT rcPadding = ScaleRect(m_rcTextPadding);
    RECT rcText = { 0, 0, std::max<LONG>(Scale(GetFixedWidth()), szAvailable.cx), 9999 };
    rcText.left += rcPadding.left;
    rcText.right -= rcPadding.right;
    if (m_pManager != NULL) {
        HDC hDC = m_pManager->GetPaintDC();
        if (m_bShowHtml) {
            int nLinks = 0;
            CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, GetText(), m_dwTextColor, NULL, NULL, nLinks,
                                        DT_CALCRECT | m_uTextStyle);
        }
        else {
            CRenderEngine::DrawText(hDC, m_pManager, rcText, GetText(), m_dwTextColor, m_iFont,
                                    DT_CALCRECT | m_uTextStyle);
        }
    }
    SIZE cXY = { rcText.right - rcText.left + rcPadding.left + rcPadding.right,
                 rcText.bottom - rcText.top + rcPadding.top + rcPadding.bottom };
    if (GetFixedHeight() != 0) cXY.cy = Scale(GetFixedHeight());
    return cXY;
}

void CTextUI::PaintText(HDC hDC)
{
    CUIString sText = GetText();
    if (sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    ResolveDefaultColors();
    m_nLinks = MAX_LINK;
    RECT rc = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, sText, dwColor, m_rcLinks, m_sLinks, m_nLinks,
                                    m_uTextStyle);
    }
    else {
        CRenderEngine::DrawText(hDC, m_pManager, rc, sText, dwColor, m_iFont, m_uTextStyle);
    }
}

} // namespace Veneer
