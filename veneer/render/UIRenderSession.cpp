// CRenderSession: source DCs, font and frame pen kept selected over one paint.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderSession.h"

namespace Veneer {

namespace {

// The innermost session of each thread lives in a system TLS slot: the C++ thread_local of some
// toolchains goes through a lock on every access, and the render engine looks it up per drawing.
DWORD SessionSlot()
{
    static const DWORD s_dwSlot = ::TlsAlloc();
    return s_dwSlot;
}

CRenderSession* Innermost()
{
    const DWORD dwSlot = SessionSlot();
    return dwSlot == TLS_OUT_OF_INDEXES ? NULL : static_cast<CRenderSession*>(::TlsGetValue(dwSlot));
}

// rc becomes its intersection with rcBy; an empty result may come out inverted, which no drawing lies inside.
void Narrow(RECT& rc, const RECT& rcBy)
{
    if (rcBy.left > rc.left) rc.left = rcBy.left;
    if (rcBy.top > rc.top) rc.top = rcBy.top;
    if (rcBy.right < rc.right) rc.right = rcBy.right;
    if (rcBy.bottom < rc.bottom) rc.bottom = rcBy.bottom;
}

void SetInnermost(CRenderSession* pSession)
{
    const DWORD dwSlot = SessionSlot();
    if (dwSlot != TLS_OUT_OF_INDEXES) ::TlsSetValue(dwSlot, pSession);
}

} // namespace

CRenderSession::CRenderSession(HDC hDC)
    : m_hDC(hDC), m_pOuter(Innermost()), m_nUses(0), m_hOldFont(NULL), m_hOldPen(NULL), m_hOldBrush(NULL),
      m_hFont(NULL), m_bFrameTools(false), m_nNextSize(0), m_nClips(0), m_nUnapplied(0)
{
    ::ZeroMemory(m_sources, sizeof(m_sources));
    ::ZeroMemory(m_sizes, sizeof(m_sizes));
    ::ZeroMemory(m_clips, sizeof(m_clips));
    ClipsChanged();
    SetInnermost(this);
}

CRenderSession::~CRenderSession()
{
    UnapplyFrom(0);
    for (TSource& source : m_sources) {
        if (source.hDC == NULL) continue;
        if (source.hOldBitmap != NULL) ::SelectObject(source.hDC, source.hOldBitmap);
        ::DeleteDC(source.hDC);
    }
    if (m_hOldFont != NULL) ::SelectObject(m_hDC, m_hOldFont);
    if (m_hOldPen != NULL) ::SelectObject(m_hDC, m_hOldPen);
    if (m_hOldBrush != NULL) ::SelectObject(m_hDC, m_hOldBrush);
    // Sessions end in the reverse order they began; one ended out of order is unlinked all the same.
    CRenderSession* pInnermost = Innermost();
    if (pInnermost == this) {
        SetInnermost(m_pOuter);
        return;
    }
    for (CRenderSession* pInner = pInnermost; pInner != NULL; pInner = pInner->m_pOuter) {
        if (pInner->m_pOuter == this) {
            pInner->m_pOuter = m_pOuter;
            break;
        }
    }
}

CRenderSession* CRenderSession::Current(HDC hDC)
{
    if (hDC == NULL) return NULL;
    CRenderSession* pSession = Innermost();
    return pSession != NULL && pSession->m_hDC == hDC ? pSession : NULL;
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
    for (CRenderSession* pSession = Innermost(); pSession != NULL; pSession = pSession->m_pOuter) {
        for (TSource& source : pSession->m_sources) {
            if (source.hBitmap != hBitmap) continue;
            ::SelectObject(source.hDC, source.hOldBitmap);
            source.hBitmap = NULL;
        }
        // The handle may come back for another bitmap.
        for (TBitmapSize& size : pSession->m_sizes) {
            if (size.hBitmap == hBitmap) size.hBitmap = NULL;
        }
    }
}

bool CRenderSession::GetBitmap(HBITMAP hBitmap, BITMAP& bm)
{
    // Asking GDI for a bitmap's header costs a trip to the system; most paints draw few bitmaps often.
    for (const TBitmapSize& size : m_sizes) {
        if (size.hBitmap == hBitmap) {
            bm = size.bm;
            return true;
        }
    }
    if (::GetObjectW(hBitmap, sizeof(bm), &bm) != static_cast<int>(sizeof(bm))) return false;
    TBitmapSize& slot = m_sizes[m_nNextSize];
    m_nNextSize = (m_nNextSize + 1) % kSizes;
    slot.hBitmap = hBitmap;
    slot.bm = bm;
    return true;
}

void CRenderSession::UseFont(HFONT hFont)
{
    // Asking the DC what it holds costs as much as selecting: the session remembers what it selected.
    // Drawing code that selects another font puts the old one back (or restores a saved DC state).
    if (hFont == NULL || hFont == m_hFont) return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
    if (hOld == NULL || hOld == HGDI_ERROR) return;
    if (m_hOldFont == NULL) m_hOldFont = hOld;
    m_hFont = hFont;
}

void CRenderSession::SelectFrameTools()
{
    // Drawing code that selects another pen puts the old one back; the hollow brush is what the
    // other outline routines leave selected too.
    HGDIOBJ hOldPen = ::SelectObject(m_hDC, ::GetStockObject(DC_PEN));
    HGDIOBJ hOldBrush = ::SelectObject(m_hDC, ::GetStockObject(NULL_BRUSH));
    if (m_hOldPen == NULL) m_hOldPen = hOldPen;
    if (m_hOldBrush == NULL) m_hOldBrush = hOldBrush;
    m_bFrameTools = true;
}

// ---- lazy clips ------------------------------------------------------------------------------

bool CRenderSession::PushClip(const void* pOwner, const RECT& rc)
{
    if (m_nClips == kClips) return false;
    TClip& clip = m_clips[m_nClips++];
    clip.pOwner = pOwner;
    clip.rc = rc;
    clip.hSavedRgn = NULL;
    clip.bSuspended = false;
    clip.bApplied = false;
    // Containers push and pop a clip each per paint: the summary grows from the one below.
    clip.rcInside = m_rcClipsInside;
    Narrow(clip.rcInside, rc);
    clip.nUnapplied = m_nUnapplied + 1;
    m_rcClipsInside = clip.rcInside;
    m_nUnapplied = clip.nUnapplied;
    return true;
}

void CRenderSession::PopAnyClip(const void* pOwner)
{
    const int iClip = FindClip(pOwner);
    if (iClip < 0) return;
    UnapplyFrom(iClip);
    // Clips end in the reverse order they began; one ended out of order leaves the rest in order.
    for (int i = iClip; i + 1 < m_nClips; ++i)
        m_clips[i] = m_clips[i + 1];
    --m_nClips;
    ClipsChanged();
}

void CRenderSession::SuspendClip(const void* pOwner, bool bSuspend)
{
    const int iClip = FindClip(pOwner);
    if (iClip < 0 || m_clips[iClip].bSuspended == bSuspend) return;
    UnapplyFrom(iClip);
    m_clips[iClip].bSuspended = bSuspend;
    ClipsChanged();
}

void CRenderSession::Confine(HDC hDC, const RECT* prcBounds)
{
    CRenderSession* pSession = Current(hDC);
    if (pSession != NULL) pSession->Confine(prcBounds);
}

int CRenderSession::FindClip(const void* pOwner) const
{
    for (int i = m_nClips - 1; i >= 0; --i) {
        if (m_clips[i].pOwner == pOwner) return i;
    }
    return -1;
}

void CRenderSession::ApplyClips()
{
    for (int i = 0; i < m_nClips; ++i) {
        TClip& clip = m_clips[i];
        if (clip.bSuspended || clip.bApplied) continue;
        HRGN hSaved = ::CreateRectRgn(0, 0, 0, 0);
        if (hSaved != NULL && ::GetClipRgn(m_hDC, hSaved) != 1) {
            ::DeleteObject(hSaved);
            hSaved = NULL;
        }
        clip.hSavedRgn = hSaved;
        ::IntersectClipRect(m_hDC, clip.rc.left, clip.rc.top, clip.rc.right, clip.rc.bottom);
        clip.bApplied = true;
    }
    ClipsChanged();
}

void CRenderSession::UnapplyFrom(int iClip)
{
    // The lowest applied clip at or above iClip saved the region the DC goes back to; the clips
    // above it are applied again when needed.
    bool bRestored = false;
    for (int i = iClip; i < m_nClips; ++i) {
        TClip& clip = m_clips[i];
        if (!clip.bApplied) continue;
        if (!bRestored) {
            ::SelectClipRgn(m_hDC, clip.hSavedRgn);
            bRestored = true;
        }
        if (clip.hSavedRgn != NULL) ::DeleteObject(clip.hSavedRgn);
        clip.hSavedRgn = NULL;
        clip.bApplied = false;
    }
    if (bRestored) ClipsChanged();
}

void CRenderSession::ClipsChanged()
{
    RECT rcInside = kEverywhere;
    int nUnapplied = 0;
    for (int i = 0; i < m_nClips; ++i) {
        TClip& clip = m_clips[i];
        if (!clip.bSuspended) {
            if (!clip.bApplied) ++nUnapplied;
            Narrow(rcInside, clip.rc);
        }
        clip.rcInside = rcInside;
        clip.nUnapplied = nUnapplied;
    }
    SummaryFromTop();
}

} // namespace Veneer
