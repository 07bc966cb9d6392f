// CWaitCursor: shows the wait cursor for the lifetime of the object.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

class CWaitCursor
{
public:
// Construction
    CWaitCursor();
    ~CWaitCursor();

// Implementation
protected:
    // Restoring twice would undo a cursor set in between.
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    HCURSOR m_hOrigCursor;
};

} // namespace Veneer
