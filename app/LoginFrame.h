// CMicroClientLogin: the launcher's borderless login frame, and GetLoginFrame, its single instance.
#pragma once

#include "veneer/Veneer.h"

class CMircroClientWebFrame;

class CMicroClientLogin : public Veneer::WindowImplBase
{
public:
    // Construction
    CMicroClientLogin();

    // Attributes
    CMircroClientWebFrame* GetLoginWebFrame() const { return m_pLoginWebFrame; }

    // Operations
    // Called by the web window as it goes away, so the frame never moves a destroyed window.
    void ForgetLoginWebFrame(CMircroClientWebFrame* pFrame);

    // Overridables
    LPCWSTR GetWindowClass() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

protected:
    Veneer::CUIString GetSkinDir() override;
    Veneer::CUIString GetSkinXml() override;
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;

private:
    void CreateLoginWebFrame();
    // Keeps the web window at its place on the frame.
    void FollowFrame();

    // Owned by its own window: it deletes itself when that window is destroyed with this frame.
    CMircroClientWebFrame* m_pLoginWebFrame;
    bool m_bWebFrameMade;
};

// The process's one login frame, made on first use; null only when it cannot be allocated.
CMicroClientLogin* GetLoginFrame();

// Class, caption and style of the launcher's windows.
extern const wchar_t kLauncherWindowClass[];
const DWORD kLoginFrameStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
const UINT kSkinArchiveResourceId = 101;
const UINT kAppIconResourceId = 103;
