// CRenderSession: drawing state kept over one paint of a tree into one DC.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

// While a session lives, the render engine draws into its DC with less set-up per call: images are
// copied from memory DCs that keep their bitmaps selected until the session ends (making and deleting
// a memory DC per image costs more than drawing most images), and the font and the 1-pixel frame pen
// stay selected between calls instead of being put back each time. The session puts back what it
// changed when it ends, so the DC leaves the paint as it came in, and no bitmap stays selected.
//
// Clips are kept lazily: a container's clip (CRenderClip::GenerateClip) is only recorded, and reaches
// the DC when something is about to be drawn that does not lie inside every recorded clip (most
// controls draw inside their parents, so most paints narrow the DC's clip region rarely or never).
// Every drawing routine of the render engine tells the session where it draws (Confine); drawing by
// other means (GDI calls of a control of one's own) first calls CRenderClip::ApplyPending.
//
// Sessions nest (a paint into another DC during a paint starts its own); the render engine uses the
// innermost session of the calling thread when it draws into that session's DC, and draws the plain
// way otherwise.
class CRenderSession
{
public:
    // Construction
    explicit CRenderSession(HDC hDC);
    ~CRenderSession();
    CRenderSession(const CRenderSession&) = delete;
    CRenderSession& operator=(const CRenderSession&) = delete;

    // Operations
    // The calling thread's innermost session when it paints into hDC, else null.
    static CRenderSession* Current(HDC hDC);
    // A memory DC with hBitmap selected, kept until the session ends; null when none can be had.
    HDC GetSourceDC(HBITMAP hBitmap);
    // Takes hBitmap out of every source DC of this thread's sessions, so it can be deleted or
    // selected elsewhere.
    static void ReleaseBitmap(HBITMAP hBitmap);
    // The header of hBitmap, asked of GDI once per session; false when it is no bitmap.
    bool GetBitmap(HBITMAP hBitmap, BITMAP& bm);
    // Selects hFont into the DC unless it is selected already.
    void UseFont(HFONT hFont);
    // Selects the DC pen in colour and the hollow brush, for 1-pixel outlines. Called per outline.
    void UseFramePen(COLORREF color)
    {
        if (!m_bFrameTools) SelectFrameTools();
        if (::GetDCPenColor(m_hDC) != color) ::SetDCPenColor(m_hDC, color);
    }
    // Records a clip to rc owned by pOwner; false when too many are recorded (the caller clips at once).
    bool PushClip(const void* pOwner, const RECT& rc);
    // Drops pOwner's clip, putting back the DC's clip region if it was applied. The clip on top, not
    // applied, is what every container drops after its paint: that case is settled here.
    void PopClip(const void* pOwner)
    {
        if (m_nClips > 0 && m_clips[m_nClips - 1].pOwner == pOwner && !m_clips[m_nClips - 1].bApplied) {
            --m_nClips;
            SummaryFromTop();
            return;
        }
        PopAnyClip(pOwner);
    }
    // Lifts pOwner's clip for a while (bSuspend) or puts it back.
    void SuspendClip(const void* pOwner, bool bSuspend);
    // Drawing is about to happen inside rcBounds (null: anywhere): applies the recorded clips unless
    // it stays inside all of them. Called per drawing.
    void Confine(const RECT* prcBounds)
    {
        if (m_nUnapplied == 0) return;
        const RECT& rc = m_rcClipsInside;
        if (prcBounds != NULL && prcBounds->left >= rc.left && prcBounds->top >= rc.top &&
            prcBounds->right <= rc.right && prcBounds->bottom <= rc.bottom)
            return;
        ApplyClips();
    }
    // The same for the session painting into hDC, if any.
    static void Confine(HDC hDC, const RECT* prcBounds);

    // Implementation
private:
    struct TSource
    {
        HDC hDC;
        HBITMAP hBitmap;
        HGDIOBJ hOldBitmap;
        unsigned long nLastUse;
    };
    static const int kSources = 8;
    struct TBitmapSize
    {
        HBITMAP hBitmap;
        BITMAP bm;
    };
    static const int kSizes = 16;
    struct TClip
    {
        const void* pOwner;
        RECT rc;
        HRGN hSavedRgn;  // the DC's clip region before this one was applied; null: it had none
        bool bSuspended;
        bool bApplied;
        RECT rcInside;   // the intersection of the clips up to this one that are not suspended
        int nUnapplied;  // of the clips up to this one, those recorded, not suspended and not applied
    };
    static const int kClips = 64;
    // Inside no clip at all.
    static constexpr RECT kEverywhere = {-0x3FFFFFFF, -0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF};

    void SelectFrameTools();
    // Drops pOwner's clip wherever it is, applied or not.
    void PopAnyClip(const void* pOwner);
    int FindClip(const void* pOwner) const;
    void ApplyClips();
    void UnapplyFrom(int iClip);
    void ClipsChanged();
    void SummaryFromTop()
    {
        m_rcClipsInside = m_nClips == 0 ? kEverywhere : m_clips[m_nClips - 1].rcInside;
        m_nUnapplied = m_nClips == 0 ? 0 : m_clips[m_nClips - 1].nUnapplied;
    }

    HDC m_hDC;
    CRenderSession* m_pOuter;
    TSource m_sources[kSources];
    unsigned long m_nUses;
    HGDIOBJ m_hOldFont;
    HGDIOBJ m_hOldPen;
    HGDIOBJ m_hOldBrush;
    HFONT m_hFont;       // the font this session last selected
    bool m_bFrameTools;  // the DC pen and the hollow brush are selected
    TBitmapSize m_sizes[kSizes];
    int m_nNextSize;
    TClip m_clips[kClips];
    int m_nClips;
    int m_nUnapplied;     // recorded, not suspended and not applied yet
    RECT m_rcClipsInside; // the intersection of the clips not suspended
};

} // namespace Veneer
