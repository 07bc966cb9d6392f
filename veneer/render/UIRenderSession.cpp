// CRenderSession: source DCs, font and frame pen kept selected over one paint.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderSession.h"

namespace Veneer {

namespace {

thread_local CRenderSession* t_pInnermost = NULL;

} // namespace

CRenderSession::CRenderSession(HDC hDC)
    : m_hDC(hDC), m_pOuter(t_pInnermost), m_nUses(0), m_hOldFont(NULL), m_hOldPen(NULL), m_hOldBrush(NULL)
{
    ::ZeroMemory(m_sources, sizeof(m_sources));
    t_pInnermost = this;
}

CRenderSession::~CRenderSession()
{
    for (TSource& source : m_sources) {
        if (source.hDC == NULL) continue;
        if (source.hOldBitmap != NULL) ::SelectObject(source.hDC, source.hOldBitmap);
        ::DeleteDC(source.hDC);
    }
    if (m_hOldFont != NULL) ::SelectObject(m_hDC, m_hOldFont);
    if (m_hOldPen != NULL) ::SelectObject(m_hDC, m_hOldPen);
    if (m_hOldBrush != NULL) ::SelectObject(m_hDC, m_hOldBrush);
    // Sessions end in the reverse order they began; one ended out of order is unlinked all the same.
    CRenderSession** ppLink = &t_pInnermost;
    while (*ppLink != NULL && *ppLink != this)
        ppLink = &(*ppLink)->m_pOuter;
    if (*ppLink == this) *ppLink = m_pOuter;
}

CRenderSession* CRenderSession::Current(HDC hDC)
{
    CRenderSession* pSession = t_pInnermost;
    return pSession != NULL && hDC != NULL && pSession->m_hDC == hDC ? pSession : NULL;
}

HDC CRenderSession::GetSourceDC(HBITMAP hBitmap)
{
    if (hBitmap == NULL) return NULL;
    ++m_nUses;
    // A DC holding nothing serves first, then a slot without a DC, then the DC used longest ago.
    auto rank = [](const TSource& source) { return source.hDC == NULL ? 1 : (source.hBitmap == NULL ? 0 : 2); };
    TSource* pVictim = &m_sources[0];
    for (TSource& source : m_sources) {
        if (source.hBitmap == hBitmap) {
            source.nLastUse = m_nUses;
            return source.hDC;
        }
        const int nRank = rank(source);
        const int nVictimRank = rank(*pVictim);
        if (nRank < nVictimRank || (nRank == nVictimRank && source.nLastUse < pVictim->nLastUse)) pVictim = &source;
    }
    if (pVictim->hDC == NULL) {
        pVictim->hDC = ::CreateCompatibleDC(m_hDC);
        if (pVictim->hDC == NULL) return NULL;
    }
    HGDIOBJ hOld = ::SelectObject(pVictim->hDC, hBitmap);
    if (hOld == NULL || hOld == HGDI_ERROR) {
        // Selected elsewhere, or not a bitmap: the slot keeps what it had.
        pVictim->hBitmap = NULL;
        return NULL;
    }
    if (pVictim->hOldBitmap == NULL) pVictim->hOldBitmap = hOld;
    pVictim->hBitmap = hBitmap;
    pVictim->nLastUse = m_nUses;
    return pVictim->hDC;
}

void CRenderSession::ReleaseBitmap(HBITMAP hBitmap)
{
    if (hBitmap == NULL) return;
    for (CRenderSession* pSession = t_pInnermost; pSession != NULL; pSession = pSession->m_pOuter) {
        for (TSource& source : pSession->m_sources) {
            if (source.hBitmap != hBitmap) continue;
            ::SelectObject(source.hDC, source.hOldBitmap);
            source.hBitmap = NULL;
        }
    }
}

void CRenderSession::UseFont(HFONT hFont)
{
    if (hFont == NULL || ::GetCurrentObject(m_hDC, OBJ_FONT) == hFont) return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
    if (m_hOldFont == NULL) m_hOldFont = hOld;
}

void CRenderSession::UseFramePen(COLORREF color)
{
    HGDIOBJ hPen = ::GetStockObject(DC_PEN);
    if (::GetCurrentObject(m_hDC, OBJ_PEN) != hPen) {
        HGDIOBJ hOld = ::SelectObject(m_hDC, hPen);
        if (m_hOldPen == NULL) m_hOldPen = hOld;
    }
    HGDIOBJ hBrush = ::GetStockObject(NULL_BRUSH);
    if (::GetCurrentObject(m_hDC, OBJ_BRUSH) != hBrush) {
        HGDIOBJ hOld = ::SelectObject(m_hDC, hBrush);
        if (m_hOldBrush == NULL) m_hOldBrush = hOld;
    }
    ::SetDCPenColor(m_hDC, color);
}

} // namespace Veneer
