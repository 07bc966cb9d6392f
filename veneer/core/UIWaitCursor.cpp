// CWaitCursor: sets the system wait cursor and restores the previous one.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIWaitCursor.h"

namespace Veneer {

CWaitCursor::CWaitCursor()
{
    m_hOrigCursor = ::SetCursor(::LoadCursorW(NULL, IDC_WAIT));
}

CWaitCursor::~CWaitCursor()
{
    ::SetCursor(m_hOrigCursor);
}

} // namespace Veneer
