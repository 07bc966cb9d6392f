// CRenderEngine::DrawImageString and CImageStringCache: the images of a description string, fetched from the
// paint manager's cache.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"
#include "veneer/core/UIGeometry.h"

namespace Veneer {

namespace {

TImageInfo* FindImage(CPaintManagerUI* manager, const TImageDrawSettings& settings)
{
    if (settings.sImageName.IsEmpty()) return NULL;
    // The picture made for the manager's scale, whose pixels the source and corners are scaled to.
    return manager->GetScaledImage(settings.sImageName, settings.sResType.IsEmpty() ? NULL : settings.sResType.GetData(),
                                   settings.dwMask);
}

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
        DrawDescribedImage(m_hDC, m_pManager, FindImage(m_pManager, settings), settings, m_rc, m_rcPaint);
    }

private:
    HDC m_hDC;
    CPaintManagerUI* m_pManager;
    RECT m_rc;
    RECT m_rcPaint;
};

// Collects the settings of every image a string describes.
class CImageStringRecorder : public CImageStringParser
{
public:
    CImageStringRecorder() : CImageStringParser(RECT{0, 0, 0, 0}) {}
    ~CImageStringRecorder() override
    {
        for (int i = 0; i < m_aSettings.GetSize(); ++i)
            delete static_cast<TImageDrawSettings*>(m_aSettings[i]);
    }

    CStdPtrArray m_aSettings;

protected:
    void OnImage(const TImageDrawSettings& settings) override { m_aSettings.Add(new TImageDrawSettings(settings)); }
};

} // namespace

void DrawDescribedImage(HDC hDC, CPaintManagerUI* manager, const TImageInfo* image, const TImageDrawSettings& settings,
                        const RECT& rcControl, const RECT& rcPaint)
{
    if (image == NULL || image->hBmp == NULL) return;
    // Worked out on a copy: the next image of the string starts from the setting, not from this image's size.
    RECT rcSource = settings.bPixelSource ? settings.rcSource : manager->ScaleRect(settings.rcSource);
    const RECT rcCorners = manager->ScaleRect(settings.rcCorners);
    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
        rcSource.right = image->nWidth;
        rcSource.bottom = image->nHeight;
    }
    if (rcSource.right > image->nWidth) rcSource.right = image->nWidth;
    if (rcSource.bottom > image->nHeight) rcSource.bottom = image->nHeight;
    RECT rcTemp;
    if (!RenderUtil::IntersectRects(rcTemp, settings.rcDest, rcControl)) return;
    if (!RenderUtil::IntersectRects(rcTemp, settings.rcDest, rcPaint)) return;
    CRenderEngine::DrawImage(hDC, image->hBmp, settings.rcDest, rcPaint, rcSource, rcCorners, image->bAlpha,
                             settings.uFade, settings.bHole, settings.bTiledX, settings.bTiledY);
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint,
                                    LPCWSTR image, LPCWSTR modify)
{
    if (hDC == NULL || manager == NULL) return false;
    if (image != NULL && image[0] != L'\0' && (modify == NULL || modify[0] == L'\0')) {
        manager->GetImageStringCache().Draw(hDC, manager, rc, rcPaint, image);
        return true;
    }
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

// ---- CImageStringCache -----------------------------------------------------------------------

CImageStringCache::CImageStringCache() : m_entries(257)
{
}

CImageStringCache::~CImageStringCache()
{
    Clear();
}

int CImageStringCache::GetCount() const
{
    return m_entries.GetSize();
}

void CImageStringCache::Clear()
{
    for (int i = 0; i < m_entries.GetSize(); ++i) {
        LPCWSTR key = m_entries.GetAt(i);
        if (key == NULL) continue;
        TEntry* pEntry = static_cast<TEntry*>(m_entries.Find(key, false));
        delete pEntry;
    }
    m_entries.RemoveAll();
}

CImageStringCache::TEntry* CImageStringCache::Parse(LPCWSTR image)
{
    CImageStringRecorder recorder;
    recorder.Parse(image, NULL);
    const int nParts = recorder.m_aSettings.GetSize();
    TEntry* pEntry = new TEntry;
    pEntry->nParts = nParts;
    pEntry->pParts = new TPart[nParts];
    for (int i = 0; i < nParts; ++i) {
        TPart& part = pEntry->pParts[i];
        part.settings = *static_cast<const TImageDrawSettings*>(recorder.m_aSettings[i]);
        part.pImage = NULL;
        part.nVersion = 0;
        part.nDpi = 0;
    }
    return pEntry;
}

void CImageStringCache::Draw(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint, LPCWSTR image)
{
    TEntry* pEntry = static_cast<TEntry*>(m_entries.Find(image));
    if (pEntry == NULL) {
        if (m_entries.GetSize() >= kMaxStrings) Clear();
        pEntry = Parse(image);
        if (!m_entries.Insert(image, pEntry)) {
            delete pEntry;
            return;
        }
    }
    const unsigned long nVersion = manager->GetResourceVersion();
    const int nDpi = manager->GetDPI();
    for (int i = 0; i < pEntry->nParts; ++i) {
        TPart& part = pEntry->pParts[i];
        // Finding a picture may load it, which moves the version: the stamp is read after the lookup.
        if (part.pImage == NULL || part.nVersion != nVersion || part.nDpi != nDpi) {
            part.pImage = FindImage(manager, part.settings);
            part.nVersion = manager->GetResourceVersion();
            part.nDpi = nDpi;
        }
        // The kept settings take this control's place (a copy would copy their strings on every draw).
        TImageDrawSettings& settings = part.settings;
        settings.rcDest = CImageStringParser::PlaceDest(settings, rc, nDpi);
        DrawDescribedImage(hDC, manager, part.pImage, settings, rc, rcPaint);
    }
}

} // namespace Veneer
