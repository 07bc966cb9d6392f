// CRenderEngine::DrawImageString: the images of a description string, fetched from the paint manager's cache.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/window/UIManager.h"
#include "veneer/core/UIGeometry.h"

namespace Veneer {

namespace {

// Draws each image a description string completes, fetched from the manager's cache.
class CImageStringPainter : public CImageStringParser
{
public:
    CImageStringPainter(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint, int nDestDpi)
        : CImageStringParser(rc, nDestDpi), m_hDC(hDC), m_pManager(manager), m_rc(rc), m_rcPaint(rcPaint)
    {
    }

protected:
    void OnImage(const TImageDrawSettings& settings) override
    {
        if (settings.sImageName.IsEmpty()) return;
        // The picture made for the manager's scale, whose pixels the source and corners are scaled to.
        const TImageInfo* image = m_pManager->GetScaledImage(
            settings.sImageName, settings.sResType.IsEmpty() ? NULL : settings.sResType.GetData(), settings.dwMask);
        if (image == NULL || image->hBmp == NULL) return;
        // Worked out on a copy: the next image of the string starts from the setting, not from this image's size.
        RECT rcSource = settings.bPixelSource ? settings.rcSource : m_pManager->ScaleRect(settings.rcSource);
        const RECT rcCorners = m_pManager->ScaleRect(settings.rcCorners);
        if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
            rcSource.right = image->nWidth;
            rcSource.bottom = image->nHeight;
        }
        if (rcSource.right > image->nWidth) rcSource.right = image->nWidth;
        if (rcSource.bottom > image->nHeight) rcSource.bottom = image->nHeight;
        RECT rcTemp;
        if (!::IntersectRect(&rcTemp, &settings.rcDest, &m_rc)) return;
        if (!::IntersectRect(&rcTemp, &settings.rcDest, &m_rcPaint)) return;
        CRenderEngine::DrawImage(m_hDC, image->hBmp, settings.rcDest, m_rcPaint, rcSource, rcCorners,
                                 image->bAlpha, settings.uFade, settings.bHole, settings.bTiledX,
                                 settings.bTiledY);
    }

private:
    HDC m_hDC;
    CPaintManagerUI* m_pManager;
    RECT m_rc;
    RECT m_rcPaint;
};

} // namespace

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint,
                                    LPCWSTR image, LPCWSTR modify)
{
    if (hDC == NULL || manager == NULL) return false;
    CImageStringPainter painter(hDC, manager, rc, rcPaint, manager->GetDPI());
    painter.Parse(image, modify);
    return true;
}

bool DrawImageStringInPixels(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint, LPCWSTR image)
{
    if (hDC == NULL || manager == NULL) return false;
    CImageStringPainter painter(hDC, manager, rc, rcPaint, UI_DEFAULT_DPI);
    painter.Parse(image, NULL);
    return true;
}

} // namespace Veneer
