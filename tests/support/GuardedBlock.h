// Test helper: memory whose end is followed by an inaccessible page, so overruns fault at once.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>

// A block whose last byte is followed by an inaccessible page: reading or writing past its end
// faults instead of passing unnoticed.
class CGuardedBlock
{
public:
    // Construction
    explicit CGuardedBlock(size_t bytes);
    ~CGuardedBlock();
    CGuardedBlock(const CGuardedBlock&) = delete;
    CGuardedBlock& operator=(const CGuardedBlock&) = delete;

    // Attributes
    void* Get() const;

private:
    BYTE* m_base;
    BYTE* m_data;
};

// A text whose terminator is the last character before the guard page.
class CGuardedText
{
public:
    // Construction
    explicit CGuardedText(const std::wstring& text);

    // Attributes
    LPCWSTR Get() const;

private:
    CGuardedBlock m_block;
};
