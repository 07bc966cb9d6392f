// WindowImplBase: skinned borderless top-level window (skin loading, hit testing, system buttons).
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIDialogBuilder.h"
#include "veneer/window/UIManager.h"
#include "veneer/window/UINotifyPump.h"
#include "veneer/window/UIWindowWnd.h"

namespace Veneer {

// Where a window's skin comes from.
enum UILIB_RESOURCETYPE
{
    UILIB_FROM_FILE = 1,       // files in the resource folder
    UILIB_FROM_ZIP = 2,        // a zip file in the resource folder
    UILIB_FROM_RESOURCE = 3,   // the layout is a module resource of type "xml"
    UILIB_FROM_ZIPRESOURCE = 4 // a zip archive stored as module resource of type "ZIPRES"
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback
{
public:
    // Construction
    WindowImplBase() {}
    ~WindowImplBase() override {}

    // Overridables
    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI& msg);
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnErasebkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LONG GetStyle();

    // Listener interfaces
    void Notify(TNotifyUI& msg) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    CControlUI* CreateControl(LPCWSTR pstrClass) override;

    // Attributes
    CPaintManagerUI* GetPaintManager() { return &m_PaintManager; }

protected:
    // Overridables the application supplies
    virtual CUIString GetSkinDir() = 0;
    virtual CUIString GetSkinXml() = 0;
    virtual UILIB_RESOURCETYPE GetResourceType() const;
    virtual CUIString GetZIPFileName() const;
    virtual UINT GetResourceID() const;

    // CWindowWnd
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    UI_DECLARE_MESSAGE_MAP()

protected:
    CPaintManagerUI m_PaintManager;
    // The skin archive resource, shared by every window for the life of the process: the archive
    // opened on it reads from it whenever a skin file is loaded. It is the program's own resource
    // memory, or a copy (m_bResourceZIPCopied, allocated with new[]) when it comes from a resource library.
    static LPBYTE m_lpResourceZIPBuffer;
    static DWORD m_dwResourceZIPSize;
    static bool m_bResourceZIPCopied;
};

} // namespace Veneer
