// CPageWindowHandler: what both launcher browsers do when a page asks for a window of its own.
#pragma once

#include "veneer/Veneer.h"

// Browser events the login and play windows answer alike. A page that opens a window (a link with a
// target, a script) never gets a bare system browser window: web addresses go to the user's default
// browser, any other address is refused.
class CPageWindowHandler : public Veneer::CWebBrowserEventHandler
{
public:
    void NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                    BSTR bstrUrl) override;
};

// Whether an address may go to the default browser: http or https with something behind "//", and no
// white space, quote or control character that could pass more than one argument to the browser.
bool IsWebAddress(LPCWSTR pstrAddress);
// Opens an address in the user's default browser; false when the shell could not.
bool OpenInDefaultBrowser(LPCWSTR pstrAddress);
