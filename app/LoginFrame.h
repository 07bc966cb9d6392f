// CMicroClientLogin: the launcher's borderless login frame, and GetLoginFrame, its single instance.
#pragma once

#include "app/LauncherWindow.h"

class CMircroClientWebFrame;

class CMicroClientLogin : public CLauncherWindow, public ILoginFrame
{
public:
    // Construction
    CMicroClientLogin();

    // Attributes
    CMircroClientWebFrame* GetLoginWebFrame() const { return m_pLoginWebFrame; }

    // ILoginFrame
    void HideLoginFrame() override;
    void QuitLauncher() override;
    void ForgetLoginWebFrame() override;

    // Overridables
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

protected:
    Veneer::CUIString GetSkinXml() override;

private:
    // A second start's request: the play window while the game runs, else this frame, comes forward.
    void BringVisibleWindowForward();

    // Owned by its own window: it deletes itself when that window is destroyed with this frame.
    CMircroClientWebFrame* m_pLoginWebFrame;
    UINT m_uBringForwardMessage;
};

// The process's one login frame, made on first use; null only when it cannot be allocated.
CMicroClientLogin* GetLoginFrame();
