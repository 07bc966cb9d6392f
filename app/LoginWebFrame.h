// CMircroClientWebFrame: the borderless window over the login frame that carries the login page.
#pragma once

#include "app/LauncherWindow.h"
#include "app/PageWindowHandler.h"

class CMircroClientPlayFrame;

class CMircroClientWebFrame : public CLauncherWindow, public CPageWindowHandler
{
public:
    // Construction
    CMircroClientWebFrame();
    ~CMircroClientWebFrame() override;

    // Operations
    // First call (no offset yet): records the rectangle relative to the frame. Later calls: the frame's
    // screen rectangle, to which the recorded offset is added.
    void MoveWithFrame(int left, int top, int right, int bottom);
    // The frame this window rides on; it is hidden at the play switch and told when this window goes.
    void SetLoginFrame(ILoginFrame* pFrame) { m_pLoginFrame = pFrame; }

    // Attributes
    POINT GetOffset() const;
    SIZE GetSize() const;
    CMircroClientPlayFrame* GetPlayFrame() const { return m_pPlayFrame; }

    // Overridables
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // The play switch: a navigation to an address holding the play keyword opens the play window instead.
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                         VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel) override;
    // A page opening the game in a window of its own switches to play too; other requests as any page's.
    void NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                    BSTR bstrUrl) override;

protected:
    Veneer::CUIString GetSkinXml() override;

private:
    bool HoldsPlayKeyword(LPCWSTR pstrAddress) const;
    // Opens the play window on the address (once) and hides the login windows.
    void SwitchToPlay(LPCWSTR pstrAddress);

    ILoginFrame* m_pLoginFrame;
    // Created at the first play-keyword navigation; owned by its own window.
    CMircroClientPlayFrame* m_pPlayFrame;
    int m_nOffsetX;
    int m_nOffsetY;
    int m_nHeight;
    int m_nWidth;
};
