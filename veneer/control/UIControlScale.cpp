// CControlUI: its skin values in pixels, at the display scale of the window the control is in.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

int CControlUI::ScaleNonZero(int nValue) const
{
    return m_pManager != NULL ? m_pManager->ScaleValue(nValue) : nValue;
}

SIZE CControlUI::ScaleNonZero(SIZE sz) const
{
    return m_pManager != NULL ? m_pManager->ScaleSize(sz) : sz;
}

RECT CControlUI::ScaleNonZero(const RECT& rc) const
{
    return m_pManager != NULL ? m_pManager->ScaleRect(rc) : rc;
}

int CControlUI::Unscale(int nPixels) const
{
    return m_pManager != NULL ? m_pManager->UnscaleValue(nPixels) : nPixels;
}

} // namespace Veneer
