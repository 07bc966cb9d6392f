// CPaintManagerUI: the per-window store (fonts, images, default attributes, colours), colour adjustment and plug-ins.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/control/UIControl.h"

#include <algorithm>

namespace Veneer {

namespace {

bool SameFont(const TFontInfo* pFontInfo, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
              bool bItalic)
{
    return pFontInfo->sFontName == (pStrFontName != NULL ? pStrFontName : L"") && pFontInfo->iSize == nSize &&
           pFontInfo->bBold == bBold && pFontInfo->bUnderline == bUnderline && pFontInfo->bItalic == bItalic;
}

} // namespace

CUIString CPaintManagerUI::m_pStrDefaultFontName;
CStdPtrArray CPaintManagerUI::m_aPlugins;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;

// ---- colour adjustment, skin reload, plug-ins ------------------------------------------------

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    if (H != NULL) *H = m_H;
    if (S != NULL) *S = m_S;
    if (L != NULL) *L = m_L;
}

void CPaintManagerUI::SetHSL(bool /*bUseHSL*/, short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L) return;
    m_H = H < 0 ? 0 : (H > 360 ? 360 : H);
    m_S = S < 0 ? 0 : (S > 200 ? 200 : S);
    m_L = L < 0 ? 0 : (L > 200 ? 200 : L);
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pManager->GetRoot() != NULL) pManager->GetRoot()->Invalidate();
    }
}

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
    }
}

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName)
{
    if (pstrModuleName == NULL) return false;
    // Plug-in modules stay loaded: the controls they create live on in the trees.
    HMODULE hModule = ::LoadLibraryW(pstrModuleName);
    if (hModule == NULL) return false;
    void* pfnCreateControl = reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateControl"));
    if (pfnCreateControl == NULL) return false;
    if (m_aPlugins.Find(pfnCreateControl) >= 0) return true;
    return m_aPlugins.Add(pfnCreateControl);
}

CStdPtrArray* CPaintManagerUI::GetPlugins()
{
    return &m_aPlugins;
}

// ---- fall-back store and default colours -----------------------------------------------------

unsigned long CPaintManagerUI::GetResourceVersion() const
{
    // Every count only grows, so the sum changes whenever one of them does (UseParentResource keeps
    // the chain free of loops).
    unsigned long nVersion = 0;
    for (const CPaintManagerUI* p = this; p != NULL; p = p->m_pParentResourcePM)
        nVersion += p->m_nResourceVersion;
    return nVersion;
}

void CPaintManagerUI::ResourcesChanged()
{
    ++m_nResourceVersion;
}

CImageStringCache& CPaintManagerUI::GetImageStringCache()
{
    return *m_pImageStrings;
}

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    for (const CPaintManagerUI* p = pm; p != NULL; p = p->m_pParentResourcePM) {
        if (p == this) return false;
    }
    m_pParentResourcePM = pm;
    ResourcesChanged();
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const
{
    return m_pParentResourcePM;
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const
{
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->GetDefaultDisabledColor() : m_dwDefaultDisabledColor;
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor)
{
    m_dwDefaultDisabledColor = dwColor;
    ResourcesChanged();
}

DWORD CPaintManagerUI::GetDefaultFontColor() const
{
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->GetDefaultFontColor() : m_dwDefaultFontColor;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor)
{
    m_dwDefaultFontColor = dwColor;
    ResourcesChanged();
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const
{
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->GetDefaultLinkFontColor() : m_dwDefaultLinkFontColor;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_dwDefaultLinkFontColor = dwColor;
    ResourcesChanged();
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->GetDefaultLinkHoverFontColor()
                                       : m_dwDefaultLinkHoverFontColor;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_dwDefaultLinkHoverFontColor = dwColor;
    ResourcesChanged();
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const
{
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->GetDefaultSelectedBkColor()
                                       : m_dwDefaultSelectedBkColor;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_dwDefaultSelectedBkColor = dwColor;
    ResourcesChanged();
}

// ---- fonts -----------------------------------------------------------------------------------

TFontInfo* CPaintManagerUI::CreateFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                           bool bItalic)
{
    TFontInfo* pFontInfo = new TFontInfo;
    pFontInfo->sFontName = pStrFontName != NULL ? pStrFontName : L"";
    pFontInfo->iSize = nSize;
    pFontInfo->bBold = bBold;
    pFontInfo->bUnderline = bUnderline;
    pFontInfo->bItalic = bItalic;
    ::ZeroMemory(&pFontInfo->tm, sizeof(pFontInfo->tm));
    pFontInfo->hFont = CreateScaledFont(pFontInfo);
    if (pFontInfo->hFont == NULL) {
        delete pFontInfo;
        return NULL;
    }
    FillFontMetrics(pFontInfo);
    return pFontInfo;
}

HFONT CPaintManagerUI::CreateScaledFont(const TFontInfo* pFontInfo) const
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    ::lstrcpynW(lf.lfFaceName, pFontInfo->sFontName.GetData(), LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    // The size is in skin units: the font is made for the manager's DPI. The size asked for stays the
    // font's size (lookups find it by that); only its height is cut.
    const int nHeight = ScaleValue(pFontInfo->iSize);
    lf.lfHeight = -std::max(-kMaxFontSize, std::min(nHeight, kMaxFontSize));
    // Bold is relative to the stock font's weight; the stock default font keeps that weight as it is.
    const bool bStock = pFontInfo == &m_DefaultFontInfo && m_bStockDefaultFont;
    if (pFontInfo->bBold && !bStock) lf.lfWeight += FW_BOLD;
    if (pFontInfo->bUnderline) lf.lfUnderline = TRUE;
    if (pFontInfo->bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

void CPaintManagerUI::DeleteFontInfo(TFontInfo* pFontInfo)
{
    if (pFontInfo == NULL) return;
    ::DeleteObject(pFontInfo->hFont);
    delete pFontInfo;
}

void CPaintManagerUI::FillFontMetrics(TFontInfo* pFontInfo)
{
    // A height of 0 marks metrics not read yet; they need the window's DC.
    if (pFontInfo->tm.tmHeight != 0 || m_hDcPaint == NULL || pFontInfo->hFont == NULL) return;
    HFONT hOldFont = static_cast<HFONT>(::SelectObject(m_hDcPaint, pFontInfo->hFont));
    ::GetTextMetricsW(m_hDcPaint, &pFontInfo->tm);
    ::SelectObject(m_hDcPaint, hOldFont);
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    if (m_pParentResourcePM != NULL) return m_pParentResourcePM->GetDefaultFontInfo();
    FillFontMetrics(&m_DefaultFontInfo);
    return &m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    TFontInfo* pFontInfo = CreateFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (pFontInfo == NULL) return;
    m_bStockDefaultFont = false;
    ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo = *pFontInfo;
    delete pFontInfo;
    ResourcesChanged();
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_aCustomFonts.GetSize();
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    TFontInfo* pFontInfo = CreateFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (pFontInfo == NULL) return NULL;
    if (!m_aCustomFonts.Add(pFontInfo)) {
        DeleteFontInfo(pFontInfo);
        return NULL;
    }
    ResourcesChanged();
    return pFontInfo->hFont;
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    TFontInfo* pFontInfo = CreateFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (pFontInfo == NULL) return NULL;
    if (!m_aCustomFonts.InsertAt(index, pFontInfo)) {
        DeleteFontInfo(pFontInfo);
        return NULL;
    }
    ResourcesChanged();
    return pFontInfo->hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo()->hFont;
    return static_cast<TFontInfo*>(m_aCustomFonts[index])->hFont;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const int index = GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (index >= 0) return static_cast<TFontInfo*>(m_aCustomFonts[index])->hFont;
    if (m_pParentResourcePM != NULL) return m_pParentResourcePM->GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return NULL;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont) const
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (static_cast<const TFontInfo*>(m_aCustomFonts[i])->hFont == hFont) return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (SameFont(static_cast<const TFontInfo*>(m_aCustomFonts[i]), pStrFontName, nSize, bBold, bUnderline,
                     bItalic)) {
            return i;
        }
    }
    return -1;
}

bool CPaintManagerUI::FindFont(HFONT hFont) const
{
    if (GetFontIndex(hFont) >= 0) return true;
    return m_pParentResourcePM != NULL && m_pParentResourcePM->FindFont(hFont);
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    if (GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic) >= 0) return true;
    return m_pParentResourcePM != NULL &&
           m_pParentResourcePM->FindFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo();
    TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[index]);
    FillFontMetrics(pFontInfo);
    return pFontInfo;
}

TFontInfo* CPaintManagerUI::FindFontInfo(HFONT hFont)
{
    const int index = GetFontIndex(hFont);
    if (index >= 0) return GetFontInfo(index);
    // A manager's own default font is known by its handle too, parent or not.
    if (hFont != NULL && hFont == m_DefaultFontInfo.hFont) {
        FillFontMetrics(&m_DefaultFontInfo);
        return &m_DefaultFontInfo;
    }
    return m_pParentResourcePM != NULL ? m_pParentResourcePM->FindFontInfo(hFont) : NULL;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    TFontInfo* pFontInfo = FindFontInfo(hFont);
    return pFontInfo != NULL ? pFontInfo : GetDefaultFontInfo();
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    return RemoveFontAt(GetFontIndex(hFont));
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
    DeleteFontInfo(static_cast<TFontInfo*>(m_aCustomFonts[index]));
    ResourcesChanged();
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        DeleteFontInfo(static_cast<TFontInfo*>(m_aCustomFonts[i]));
    }
    m_aCustomFonts.Empty();
    ResourcesChanged();
}

// ---- images ----------------------------------------------------------------------------------

TImageInfo* CPaintManagerUI::LoadNamedImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) const
{
    if (type == NULL || type[0] == L'\0') return CRenderEngine::LoadImage(STRINGorID(bitmap), NULL, mask);
    // Typed images are module resources named by the number the name starts with.
    if (bitmap[0] < L'0' || bitmap[0] > L'9') return NULL;
    const unsigned long id = wcstoul(bitmap, NULL, 10);
    // Only 1..65535 can be a resource id; anything larger would be taken for a name pointer.
    if (id == 0 || id > 0xFFFF) return NULL;
    return CRenderEngine::LoadImage(STRINGorID(static_cast<UINT>(id)), type, mask);
}

TImageInfo* CPaintManagerUI::CacheImage(LPCWSTR bitmap, TImageInfo* data)
{
    if (!m_mImageHash.Insert(bitmap, data)) {
        CRenderEngine::FreeImage(data);
        return NULL;
    }
    ResourcesChanged();
    return data;
}

TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap)
{
    if (bitmap == NULL) return NULL;
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (data == NULL && m_pParentResourcePM != NULL) return m_pParentResourcePM->GetImage(bitmap);
    return data;
}

TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == NULL) return NULL;
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (data == NULL && AddImage(bitmap, type, mask) != NULL) {
        data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    }
    return data;
}

TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == NULL || bitmap[0] == L'\0') return NULL;
    // A cached name keeps its image; decoding a second copy only to drop it is wasted work.
    if (m_mImageHash.Find(bitmap, false) != NULL) return NULL;
    TImageInfo* data = LoadNamedImage(bitmap, type, mask);
    if (data == NULL) return NULL;
    if (m_bAlphaBackground) data->bAlpha = true;
    if (type != NULL) data->sResourceType = type;
    data->dwMaskColor = mask;
    return CacheImage(bitmap, data);
}

TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha)
{
    if (bitmap == NULL || bitmap[0] == L'\0' || hBitmap == NULL || iWidth <= 0 || iHeight <= 0) return NULL;
    TImageInfo* data = new TImageInfo;
    data->hBmp = hBitmap;
    data->nWidth = iWidth;
    data->nHeight = iHeight;
    data->bAlpha = bAlpha;
    data->dwMaskColor = 0;
    return CacheImage(bitmap, data);
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap)
{
    if (bitmap == NULL) return false;
    // The pictures made for other scales go with it.
    RemoveScaledImages(bitmap);
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap, false));
    if (data == NULL) return false;
    CRenderEngine::FreeImage(data);
    ResourcesChanged();
    return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    // Lookups without move-to-front, so that the enumeration order holds during the walk.
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        LPCWSTR key = m_mImageHash.GetAt(i);
        if (key != NULL) CRenderEngine::FreeImage(static_cast<TImageInfo*>(m_mImageHash.Find(key, false)));
    }
    m_mImageHash.RemoveAll();
    ResourcesChanged();
}

void CPaintManagerUI::ReloadAllImages()
{
    // Pictures made for other scales are made again from the reloaded ones when next drawn.
    bool bRedraw = RemoveScaledImages(NULL) > 0;
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        LPCWSTR bitmap = m_mImageHash.GetAt(i);
        if (bitmap == NULL) continue;
        TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap, false));
        if (data == NULL) continue;
        TImageInfo* pNewData = LoadNamedImage(bitmap, data->sResourceType.GetData(), data->dwMaskColor);
        if (pNewData == NULL) continue;
        // A paint in progress may keep the old bitmap selected for copying.
        CRenderSession::ReleaseBitmap(data->hBmp);
        ::DeleteObject(data->hBmp);
        data->hBmp = pNewData->hBmp;
        data->nWidth = pNewData->nWidth;
        data->nHeight = pNewData->nHeight;
        data->bAlpha = pNewData->bAlpha || m_bAlphaBackground;
        pNewData->hBmp = NULL;
        CRenderEngine::FreeImage(pNewData);
        bRedraw = true;
    }
    if (bRedraw) ResourcesChanged();
    if (bRedraw && m_pRoot != NULL) m_pRoot->Invalidate();
}

// ---- default attribute lists -----------------------------------------------------------------

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == NULL || pStrControlAttrList == NULL) return;
    // The first list given for a class stays.
    if (m_DefaultAttrHash.Find(pStrControlName, false) != NULL) return;
    CUIString* pDefaultAttr = new CUIString(pStrControlAttrList);
    if (!m_DefaultAttrHash.Insert(pStrControlName, pDefaultAttr)) delete pDefaultAttr;
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName)
{
    if (pStrControlName == NULL) return NULL;
    const CUIString* pDefaultAttr = static_cast<const CUIString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (pDefaultAttr != NULL) return pDefaultAttr->GetData();
    if (m_pParentResourcePM != NULL) return m_pParentResourcePM->GetDefaultAttributeList(pStrControlName);
    return NULL;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    if (pStrControlName == NULL) return false;
    CUIString* pDefaultAttr = static_cast<CUIString*>(m_DefaultAttrHash.Find(pStrControlName, false));
    if (pDefaultAttr == NULL) return false;
    delete pDefaultAttr;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_DefaultAttrHash;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++) {
        LPCWSTR key = m_DefaultAttrHash.GetAt(i);
        if (key != NULL) delete static_cast<CUIString*>(m_DefaultAttrHash.Find(key, false));
    }
    m_DefaultAttrHash.RemoveAll();
}

void CPaintManagerUI::SetUnknownAttributeListener(IUnknownAttributeUI* pListener)
{
    m_pUnknownAttributeListener = pListener;
}

IUnknownAttributeUI* CPaintManagerUI::GetUnknownAttributeListener() const
{
    return m_pUnknownAttributeListener;
}

// ---- a skin's share --------------------------------------------------------------------------

void CPaintManagerUI::ReleaseSkinResources()
{
    RemoveAllFonts();
    RemoveAllImages();
    m_pImageStrings->Clear();
    RemoveAllDefaultAttributeList();
}

} // namespace Veneer
