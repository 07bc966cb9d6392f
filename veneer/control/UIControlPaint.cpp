// CControlUI: painting (background colours and image, status image, text, border) and the attributes it paints with.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!RenderUtil::IntersectRects(m_rcPaint, rcPaint, m_rcItem)) return;

    auto paintParts = [this, hDC]() {
        PaintBkColor(hDC);
        PaintBkImage(hDC);
        PaintStatusImage(hDC);
        PaintText(hDC);
        PaintBorder(hDC);
    };
    const SIZE round = ScaleSize(m_cxyBorderRound);
    if (round.cx > 0 || round.cy > 0) {
        CRenderClip roundClip;
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, round.cx, round.cy, roundClip);
        paintParts();
    }
    else {
        paintParts();
    }
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;

    if (m_dwBackColor2 != 0) {
        if (m_dwBackColor3 != 0) {
            RECT rc = m_rcItem;
            rc.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
            CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2),
                                        true, 8);
            rc.top = rc.bottom;
            rc.bottom = m_rcItem.bottom;
            CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3),
                                        true, 8);
        }
        else {
            CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor),
                                        GetAdjustColor(m_dwBackColor2), true, 16);
        }
    }
    else if (m_dwBackColor >= 0xFF000000) {
        CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwBackColor));
    }
    else {
        // A translucent fill is blended over the whole control so that its look does not depend on
        // which part is being repainted.
        CRenderEngine::DrawColor(hDC, m_rcItem, GetAdjustColor(m_dwBackColor));
    }
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (m_sBkImage.IsEmpty()) return;
    // An image that cannot be drawn is dropped so that every paint does not retry it.
    if (!DrawImage(hDC, m_sBkImage)) m_sBkImage.Empty();
}

void CControlUI::PaintStatusImage(HDC hDC)
{
    (void)hDC;
}

void CControlUI::PaintText(HDC hDC)
{
    (void)hDC;
}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;

    // Most borders: one colour all round, square corners, no focus colour. Settled before the rest.
    if (m_dwFocusBorderColor == 0 && m_cxyBorderRound.cx == 0 && m_cxyBorderRound.cy == 0 &&
        m_rcBorderSize.left == 0 && m_rcBorderSize.top == 0 && m_rcBorderSize.right == 0 &&
        m_rcBorderSize.bottom == 0) {
        const int size = Scale(m_nBorderSize);
        if (size > 0) CRenderEngine::DrawRect(hDC, m_rcItem, size, GetAdjustColor(m_dwBorderColor));
        return;
    }

    // Widths and corners are skin units.
    const int borderSize = Scale(m_nBorderSize);
    const RECT sides = ScaleRect(m_rcBorderSize);
    const SIZE round = ScaleSize(m_cxyBorderRound);
    bool focusColor = m_dwFocusBorderColor != 0 && IsFocused();
    bool hasSides = sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0;

    if (borderSize > 0 && (round.cx > 0 || round.cy > 0)) {
        DWORD color = focusColor ? m_dwFocusBorderColor : m_dwBorderColor;
        if (color != 0) {
            CRenderEngine::DrawRoundRect(hDC, m_rcItem, borderSize, round.cx, round.cy, GetAdjustColor(color));
        }
    }
    else if (focusColor && borderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, borderSize, GetAdjustColor(m_dwFocusBorderColor));
    }
    else if (m_dwBorderColor == 0) {
        // Only a focus colour is set and the control is not focused: colour 0 is no colour, not black.
        return;
    }
    else if (hasSides) {
        DWORD color = GetAdjustColor(m_dwBorderColor);
        RECT rc;
        if (sides.left > 0) {
            rc = m_rcItem;
            rc.right = rc.left;
            CRenderEngine::DrawLine(hDC, rc, sides.left, color, m_nBorderStyle);
        }
        if (sides.top > 0) {
            rc = m_rcItem;
            rc.bottom = rc.top;
            CRenderEngine::DrawLine(hDC, rc, sides.top, color, m_nBorderStyle);
        }
        if (sides.right > 0) {
            rc = m_rcItem;
            rc.left = rc.right;
            CRenderEngine::DrawLine(hDC, rc, sides.right, color, m_nBorderStyle);
        }
        if (sides.bottom > 0) {
            rc = m_rcItem;
            rc.top = rc.bottom;
            CRenderEngine::DrawLine(hDC, rc, sides.bottom, color, m_nBorderStyle);
        }
    }
    else if (borderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, borderSize, GetAdjustColor(m_dwBorderColor));
    }
}

void CControlUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    (void)hDC;
    (void)rcPaint;
}

DWORD CControlUI::GetAdjustColor(DWORD color)
{
    if (!m_bColorHSL) return color;
    short H = 0, S = 0, L = 0;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    return CRenderEngine::AdjustColor(color, H, S, L);
}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR image, LPCWSTR modify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, image, modify);
}

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD color)
{
    if (m_dwBackColor == color) return;
    m_dwBackColor = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD color)
{
    if (m_dwBackColor2 == color) return;
    m_dwBackColor2 = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD color)
{
    if (m_dwBackColor3 == color) return;
    m_dwBackColor3 = color;
    Invalidate();
}

LPCWSTR CControlUI::GetBkImage() const
{
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCWSTR image)
{
    if (image == NULL) image = L"";
    if (m_sBkImage == image) return;
    m_sBkImage = image;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD color)
{
    if (m_dwBorderColor == color) return;
    m_dwBorderColor = color;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD color)
{
    if (m_dwFocusBorderColor == color) return;
    m_dwFocusBorderColor = color;
    Invalidate();
}

bool CControlUI::IsColorHSL() const
{
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool colorHSL)
{
    if (m_bColorHSL == colorHSL) return;
    m_bColorHSL = colorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const
{
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int size)
{
    if (m_nBorderSize == size) return;
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT sides)
{
    m_rcBorderSize = sides;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const
{
    return m_rcBorderSize.left;
}

void CControlUI::SetLeftBorderSize(int size)
{
    m_rcBorderSize.left = size;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const
{
    return m_rcBorderSize.top;
}

void CControlUI::SetTopBorderSize(int size)
{
    m_rcBorderSize.top = size;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const
{
    return m_rcBorderSize.right;
}

void CControlUI::SetRightBorderSize(int size)
{
    m_rcBorderSize.right = size;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const
{
    return m_rcBorderSize.bottom;
}

void CControlUI::SetBottomBorderSize(int size)
{
    m_rcBorderSize.bottom = size;
    Invalidate();
}

int CControlUI::GetBorderStyle() const
{
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int style)
{
    m_nBorderStyle = style;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE round)
{
    m_cxyBorderRound = round;
    Invalidate();
}

} // namespace Veneer
