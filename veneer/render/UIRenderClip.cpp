// CRenderClip: narrowing a DC's clip region to a control and restoring it afterwards.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"

namespace Veneer {

namespace {

// Clip regions are in device units while controls paint in logical ones; they differ as soon as
// a caller moves the DC's origin.
RECT ToDevice(HDC hDC, RECT rc)
{
    ::LPtoDP(hDC, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The clip the DC has now. The region itself, not just its box, so that a clip nested in a
// rounded parent gives back the rounded corners.
HRGN SaveClip(HDC hDC)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (hRgn == NULL) return NULL;
    if (::GetClipRgn(hDC, hRgn) != 1) {
        // No clip region: everything the DC can draw on, which its clip box tells.
        RECT rcBox = { 0, 0, 0, 0 };
        ::GetClipBox(hDC, &rcBox);
        rcBox = ToDevice(hDC, rcBox);
        ::SetRectRgn(hRgn, rcBox.left, rcBox.top, rcBox.right, rcBox.bottom);
    }
    return hRgn;
}

void Narrow(HDC hDC, const RECT& rc, HRGN hClipRgn, CRenderClip& clip)
{
    clip.hdc = hDC;
    clip.rect = rc;
    clip.hClipRgn = hClipRgn;
    if (hClipRgn == NULL) return;
    ::ExtSelectClipRgn(hDC, hClipRgn, RGN_AND);
    // Keep the intersection with the outer clip, so that UseOldClipEnd never widens it.
    ::GetClipRgn(hDC, hClipRgn);
}

} // namespace

// Made and released twice per container and paint: the rectangle is cleared here, not by a system call.
CRenderClip::CRenderClip() : rect(), hdc(NULL), hClipRgn(NULL), hSavedRgn(NULL)
{
}

CRenderClip::~CRenderClip()
{
    Release();
}

void CRenderClip::Release()
{
    // A clip kept by a paint's session has a DC and no regions.
    if (hdc != NULL && hSavedRgn == NULL && hClipRgn == NULL) {
        CRenderSession* pSession = CRenderSession::Current(hdc);
        if (pSession != NULL) pSession->PopClip(this);
    }
    if (hdc != NULL && hSavedRgn != NULL) ::SelectClipRgn(hdc, hSavedRgn);
    if (hSavedRgn != NULL) ::DeleteObject(hSavedRgn);
    if (hClipRgn != NULL) ::DeleteObject(hClipRgn);
    hdc = NULL;
    hClipRgn = NULL;
    hSavedRgn = NULL;
    rect = RECT();
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    clip.Release();
    // In a paint's session the clip is recorded and applied only when a drawing may leave it.
    CRenderSession* pSession = CRenderSession::Current(hDC);
    if (pSession != NULL && pSession->PushClip(&clip, rc)) {
        clip.hdc = hDC;
        clip.rect = rc;
        return;
    }
    if (pSession != NULL) pSession->Confine(NULL);
    clip.hSavedRgn = SaveClip(hDC);
    const RECT rcDevice = ToDevice(hDC, rc);
    Narrow(hDC, rc, ::CreateRectRgnIndirect(&rcDevice), clip);
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    clip.Release();
    // Recorded clips reach the DC first, so that this one is put back before them.
    CRenderSession::Confine(hDC, NULL);
    clip.hSavedRgn = SaveClip(hDC);
    const RECT rcDevice = ToDevice(hDC, rc);
    HRGN hClipRgn = ::CreateRectRgnIndirect(&rcDevice);
    if (hClipRgn != NULL) {
        // One pixel more on the right and bottom: the rounded region leaves out its last column and row.
        const RECT rcRound = ToDevice(hDC, rcItem);
        HRGN hRoundRgn = ::CreateRoundRectRgn(rcRound.left, rcRound.top, rcRound.right + 1, rcRound.bottom + 1,
                                              width, height);
        if (hRoundRgn != NULL) {
            ::CombineRgn(hClipRgn, hClipRgn, hRoundRgn, RGN_AND);
            ::DeleteObject(hRoundRgn);
        }
    }
    Narrow(hDC, rc, hClipRgn, clip);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    if (clip.hSavedRgn != NULL) ::SelectClipRgn(hDC, clip.hSavedRgn);
    else if (clip.hdc == hDC && clip.hClipRgn == NULL) SuspendKept(hDC, clip, true);
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    if (clip.hClipRgn != NULL) ::SelectClipRgn(hDC, clip.hClipRgn);
    else if (clip.hdc == hDC && clip.hSavedRgn == NULL) SuspendKept(hDC, clip, false);
}

void CRenderClip::SuspendKept(HDC hDC, CRenderClip& clip, bool bSuspend)
{
    CRenderSession* pSession = CRenderSession::Current(hDC);
    if (pSession != NULL) pSession->SuspendClip(&clip, bSuspend);
}

void CRenderClip::ApplyPending(HDC hDC)
{
    CRenderSession::Confine(hDC, NULL);
}

} // namespace Veneer
