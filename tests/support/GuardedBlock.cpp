// Test helper: memory whose end is followed by an inaccessible page, so overruns fault at once.
#include "veneer/core/UISetup.h"
#include "GuardedBlock.h"

CGuardedBlock::CGuardedBlock(size_t bytes)
{
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t pages = (bytes + page - 1) / page + 1;
    m_base = static_cast<BYTE*>(::VirtualAlloc(NULL, (pages + 1) * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old = 0;
    ::VirtualProtect(m_base + pages * page, page, PAGE_NOACCESS, &old);
    m_data = m_base + pages * page - bytes;
}

CGuardedBlock::~CGuardedBlock()
{
    ::VirtualFree(m_base, 0, MEM_RELEASE);
}

void* CGuardedBlock::Get() const
{
    return m_data;
}

CGuardedText::CGuardedText(const std::wstring& text) : m_block((text.size() + 1) * sizeof(wchar_t))
{
    memcpy(m_block.Get(), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

LPCWSTR CGuardedText::Get() const
{
    return static_cast<LPCWSTR>(m_block.Get());
}
