// A minimal in-process OLE control for the host tests: activates windowless or windowed, paints a colour,
// hits inside its bounds and records what its container asks of it.
#pragma once

#include "veneer/core/UISetup.h"
#include <string>
#include <vector>

namespace ActiveXTest {

// {5C3A1F0E-8E51-4C57-9B0B-6E3D2A41C0D1}
extern const CLSID CLSID_FakeOleControl;

// What every instance made by the registered class saw; reset by each test.
struct TFakeLog
{
    bool bWindowless = true;          // activate windowless when the site allows it
    DWORD dwMiscStatus = 0;           // answered by GetMiscStatus
    bool bFailInitNew = false;
    COLORREF clrFill = RGB(0, 200, 0);
    int nLive = 0;                    // instances alive now
    int nCreated = 0;
    std::vector<std::wstring> calls;  // "SetClientSite", "InitNew", "DoVerb:-5", "Close", ...
    std::vector<UINT> messages;       // OnWindowMessage
    SIZEL szExtent = {};
    RECT rcObject = {};
    RECT rcWindowContext = {};
    HWND hwndParent = NULL;           // window the windowed object created its own child in
    IOleClientSite* pKeptSite = NULL; // an extra reference kept past the container's release
    IOleInPlaceFrame* pKeptFrame = NULL;
};

extern TFakeLog g_fake;

void ResetFakeLog();
bool FakeLogHas(const wchar_t* call);
int FakeLogCount(const wchar_t* call);

// Registers the class with COM for the lifetime of the scope, under its own class id or another.
class CFakeClassScope
{
public:
    explicit CFakeClassScope(const CLSID& clsid = CLSID_FakeOleControl);
    ~CFakeClassScope();
    bool IsRegistered() const { return m_dwCookie != 0; }

private:
    DWORD m_dwCookie = 0;
};

} // namespace ActiveXTest
