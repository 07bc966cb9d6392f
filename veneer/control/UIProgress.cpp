// CProgressUI: value bounds and the painting of the filled share.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIProgress.h"
#include "veneer/control/UIAttribute.h"

#include <climits>

namespace Veneer {

CProgressUI::CProgressUI()
    : m_bHorizontal(true),
      m_bStretchForeImage(true),
      m_nMax(100),
      m_nMin(0),
      m_nValue(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    SetFixedHeight(12);
}

LPCWSTR CProgressUI::GetClass() const
{
    return L"ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != NULL && wcscmp(pstrName, L"Progress") == 0) return static_cast<CProgressUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

bool CProgressUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const
{
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool bStretchForeImage)
{
    if (m_bStretchForeImage == bStretchForeImage) return;
    m_bStretchForeImage = bStretchForeImage;
    Invalidate();
}

int CProgressUI::GetMinValue() const
{
    return m_nMin;
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return m_nMax;
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return m_nValue;
}

void CProgressUI::SetValue(int nValue)
{
    m_nValue = nValue;
    Invalidate();
}

LPCWSTR CProgressUI::GetForeImage() const
{
    return m_sForeImage;
}

void CProgressUI::SetForeImage(LPCWSTR pStrImage)
{
    if (pStrImage == NULL) pStrImage = L"";
    if (m_sForeImage == pStrImage) return;
    m_sForeImage = pStrImage;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"foreimage") == 0) SetForeImage(pstrValue);
    else if (wcscmp(pstrName, L"hor") == 0) SetHorizontal(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"isstretchfore") == 0) SetStretchForeImage(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"min") == 0) SetMinValue(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"max") == 0) SetMaxValue(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"value") == 0) SetValue(CUIAttribute::ParseInt(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CProgressUI::GetOrderedRange(int& nMin, int& nMax, int& nValue) const
{
    nMin = m_nMin;
    nMax = m_nMax;
    nValue = m_nValue;
    if (nMin >= nMax) {
        // The largest minimum has no room above it.
        if (nMin == INT_MAX) nMin = INT_MAX - 1;
        nMax = nMin + 1;
    }
    if (nValue > nMax) nValue = nMax;
    if (nValue < nMin) nValue = nMin;
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    GetOrderedRange(m_nMin, m_nMax, m_nValue);

    // Wide intermediates: the range alone may not fit an int.
    const long long llRange = static_cast<long long>(m_nMax) - m_nMin;
    const long long cx = m_rcItem.right - m_rcItem.left;
    const long long cy = m_rcItem.bottom - m_rcItem.top;
    RECT rc = { 0, 0, 0, 0 };
    if (m_bHorizontal) {
        rc.right = static_cast<LONG>((static_cast<long long>(m_nValue) - m_nMin) * cx / llRange);
        rc.bottom = static_cast<LONG>(cy);
    }
    else {
        // Filled from the bottom up.
        rc.top = static_cast<LONG>(cy * (static_cast<long long>(m_nMax) - m_nValue) / llRange);
        rc.right = static_cast<LONG>(cx);
        rc.bottom = static_cast<LONG>(cy);
    }

    if (m_sForeImage.IsEmpty()) return;
    if (m_bStretchForeImage) {
        m_sForeImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
    }
    else {
        m_sForeImageModify.SmallFormat(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top, rc.right,
                                       rc.bottom, rc.left, rc.top, rc.right, rc.bottom);
    }
    if (!DrawImage(hDC, m_sForeImage, m_sForeImageModify)) m_sForeImage.Empty();
}

} // namespace Veneer
