// CControlUI: its skin values in pixels, at the display scale of the window the control is in.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

// Zero stays zero at every scale; most of what a paint scales (corners, side widths) is zero.
int CControlUI::Scale(int nValue) const
{
    return m_pManager != NULL && nValue != 0 ? m_pManager->ScaleValue(nValue) : nValue;
}

SIZE CControlUI::ScaleSize(SIZE sz) const
{
    return m_pManager != NULL && (sz.cx != 0 || sz.cy != 0) ? m_pManager->ScaleSize(sz) : sz;
}

RECT CControlUI::ScaleRect(const RECT& rc) const
{
    const bool bZero = rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
    return m_pManager != NULL && !bZero ? m_pManager->ScaleRect(rc) : rc;
}

int CControlUI::Unscale(int nPixels) const
{
    return m_pManager != NULL ? m_pManager->UnscaleValue(nPixels) : nPixels;
}

} // namespace Veneer
