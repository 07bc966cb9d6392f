// CControlUI: asking for the memory a control's paint reads, ahead of the paint.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"

#if defined(_M_IX86) || defined(_M_X64) || defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>
#define VENEER_PREFETCH 1
// The 32-bit toolchain's default processor has no prefetch instruction: without SSE enabled for this
// file the compiler would leave every prefetch out, silently.
#if defined(__i386__) && !defined(__SSE__)
#error "UIControlPrefetch.cpp is built with SSE enabled (-msse) on 32-bit x86"
#endif
#endif

namespace Veneer {

namespace {

#if defined(VENEER_PREFETCH)
// Prefetching is an SSE instruction, which a 32-bit program may meet a processor without; 64-bit
// processors all have it.
#if defined(_M_IX86) || defined(__i386__)
const bool s_bCanPrefetch = ::IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != FALSE;
#else
const bool s_bCanPrefetch = true;
#endif

// Asks for the cache line holding p. A full paint usually finds the tree out of cache, and reading each
// control only when its turn comes waits on memory once per line.
inline void PrefetchLine(const void* p)
{
    _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0);
}
#endif

} // namespace

void CControlUI::PrefetchForPaint() const
{
#if defined(VENEER_PREFETCH)
    if (!s_bCanPrefetch) return;
    const char* pControl = reinterpret_cast<const char*>(this);
    PrefetchLine(pControl);
    PrefetchLine(pControl + 64);
    PrefetchLine(&m_sText);
    // Controls start on a line and a subclass's first painted field starts one. A control without subclass
    // fields names memory past its end: a prefetch reads no memory it is not given, and never faults.
    PrefetchLine(pControl + sizeof(CControlUI));
#endif
}

void CControlUI::PrefetchFieldsForPaint() const
{
#if defined(VENEER_PREFETCH)
    if (s_bCanPrefetch && m_cbPaintFields != 0) PrefetchLine(reinterpret_cast<const char*>(this) + m_cbPaintFields);
#endif
}

void CControlUI::SetPaintFields(const void* pFields)
{
    const ptrdiff_t offset = static_cast<const char*>(pFields) - reinterpret_cast<const char*>(this);
    m_cbPaintFields = offset > 0 && offset <= 0xFFFF ? static_cast<unsigned short>(offset) : 0;
}

} // namespace Veneer
