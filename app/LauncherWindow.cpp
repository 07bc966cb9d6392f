// CLauncherWindow: skin source, self-deletion, key response and bringing forward, shared by the launcher's windows.
#include "veneer/core/UISetup.h"
#include "app/LauncherWindow.h"


using namespace Veneer;

const wchar_t kLauncherWindowClass[] = L"Orvane";

namespace {

CControlUI* CALLBACK TakeKeyboardAway(CControlUI* pControl, LPVOID /*pData*/)
{
    pControl->SetKeyboardEnabled(false);
    return NULL;
}

bool HasClass(HWND hWnd, LPCWSTR pstrClass)
{
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, lengthof(szClass));
    return wcscmp(szClass, pstrClass) == 0;
}

struct TQuestionSearch
{
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK FindQuestion(HWND hWnd, LPARAM lParam)
{
    TQuestionSearch* pSearch = reinterpret_cast<TQuestionSearch*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) != pSearch->hOwner || !::IsWindowVisible(hWnd) || !HasClass(hWnd, L"#32770"))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

struct TBringForwardSearch
{
    UINT uMessage;
    bool bDone;
};

BOOL CALLBACK AskToBringForward(HWND hWnd, LPARAM lParam)
{
    TBringForwardSearch* pSearch = reinterpret_cast<TBringForwardSearch*>(lParam);
    if (!HasClass(hWnd, kLauncherWindowClass)) return TRUE;
    // The running launcher may only take the foreground because this process, which the user just
    // answered, lets it.
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    ::AllowSetForegroundWindow(dwProcessId);
    DWORD_PTR dwAnswer = 0;
    if (::SendMessageTimeoutW(hWnd, pSearch->uMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &dwAnswer) && dwAnswer != 0) {
        pSearch->bDone = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

CLauncherWindow::CLauncherWindow(bool bKeysInert) : m_bKeysInert(bKeysInert)
{
}

LPCWSTR CLauncherWindow::GetWindowClass() const
{
    return kLauncherWindowClass;
}

CUIString CLauncherWindow::GetSkinDir()
{
    return CUIString(L".\\");
}

UILIB_RESOURCETYPE CLauncherWindow::GetResourceType() const
{
    return UILIB_FROM_ZIPRESOURCE;
}

UINT CLauncherWindow::GetResourceID() const
{
    return kSkinArchiveResourceId;
}

void CLauncherWindow::OnFinalMessage(HWND /*hWnd*/)
{
    delete this;
}

LRESULT CLauncherWindow::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (m_bKeysInert) return 0;
    return WindowImplBase::ResponseDefaultKeyEvent(wParam);
}

LRESULT CLauncherWindow::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    const LRESULT lRes = WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
    // Uncovering the window or the browser repainting over it shows the last picture where nothing changed.
    m_PaintManager.SetKeepPicture(true);
    // No Tab stop means the first paint focuses nothing, and no focused button answers Return or Space.
    if (m_bKeysInert && m_PaintManager.GetRoot() != NULL) {
        m_PaintManager.GetRoot()->FindControl(TakeKeyboardAway, NULL, FIND_ALL);
    }
    return lRes;
}

HWND CLauncherWindow::GetFrontWindow() const
{
    // A message box this window has open; the system's last active popup is not enough, as restoring
    // the window may have made the window itself that.
    TQuestionSearch search = {GetHWND(), NULL};
    ::EnumThreadWindows(::GetWindowThreadProcessId(search.hOwner, NULL), FindQuestion, reinterpret_cast<LPARAM>(&search));
    return search.hFound != NULL ? search.hFound : search.hOwner;
}

void CLauncherWindow::BringToFront()
{
    HWND hWnd = GetHWND();
    if (!::IsWindow(hWnd)) return;
    if (!::IsWindowVisible(hWnd)) ::ShowWindow(hWnd, SW_SHOW);
    if (::IsIconic(hWnd)) ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(GetFrontWindow());
}

UINT GetBringForwardMessage(LPCWSTR pstrClientName)
{
    Veneer::CUIString sName = L"MicroClient.BringForward.";
    if (pstrClientName != NULL) sName += pstrClientName;
    return ::RegisterWindowMessageW(sName.GetData());
}

bool BringRunningLauncherForward(LPCWSTR pstrClientName)
{
    TBringForwardSearch search = {GetBringForwardMessage(pstrClientName), false};
    if (search.uMessage == 0) return false;
    ::EnumWindows(AskToBringForward, reinterpret_cast<LPARAM>(&search));
    return search.bDone;
}
