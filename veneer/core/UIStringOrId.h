// STRINGorID: a skin resource named either by text or by a numeric resource id.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

class STRINGorID
{
public:
    // Construction
    STRINGorID(LPCWSTR text) : m_lpstr(text) {}
    STRINGorID(UINT id) : m_lpstr(MAKEINTRESOURCEW(id)) {}

    // Attributes
    // Values below 0x10000 are resource ids, as MAKEINTRESOURCE makes them.
    bool IsId() const { return IS_INTRESOURCE(m_lpstr); }
    UINT GetId() const { return static_cast<UINT>(reinterpret_cast<ULONG_PTR>(m_lpstr)); }

    LPCWSTR m_lpstr;
};

} // namespace Veneer
