// CRenderEngine text output and measurement in the paint manager's fonts.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                             UINT style)
{
    if (hDC == NULL || manager == NULL || text == NULL) return;
    ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crText = RenderUtil::ToColorRef(color);
    if (::GetTextColor(hDC) != crText) ::SetTextColor(hDC, crText);
    HFONT hFont = manager->GetFont(font);
    // In a paint's session the font stays selected for the next text (selecting one is costly). The
    // text is cut at rc unless the style says otherwise.
    CRenderSession* pSession = CRenderSession::Current(hDC);
    if (pSession != NULL) {
        if ((style & DT_CALCRECT) == 0) pSession->Confine((style & DT_NOCLIP) != 0 ? NULL : &rc);
        pSession->UseFont(hFont);
    }
    HGDIOBJ hOldFont = hFont != NULL && pSession == NULL ? ::SelectObject(hDC, hFont) : NULL;
    // "&" is text, never an accelerator prefix.
    ::DrawTextW(hDC, text, -1, &rc, style | DT_NOPREFIX);
    if (hOldFont != NULL) ::SelectObject(hDC, hOldFont);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* manager, LPCWSTR text, int font, UINT /*style*/)
{
    SIZE size = { 0, 0 };
    if (hDC == NULL || manager == NULL || text == NULL) return size;
    ::SetBkMode(hDC, TRANSPARENT);
    HFONT hFont = manager->GetFont(font);
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
    ::GetTextExtentPoint32W(hDC, text, static_cast<int>(wcslen(text)), &size);
    if (hOldFont != NULL) ::SelectObject(hDC, hOldFont);
    return size;
}

} // namespace Veneer
