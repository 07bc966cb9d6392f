// Skin preview tool: a layout shown in a resizable window, rebuilt whenever its files change on disk.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "SkinRender.h"

#include <functional>
#include <string>
#include <vector>

// Receives each line the preview reports: builds, errors, warnings and notifications.
typedef std::function<void(const std::wstring&)> SkinViewLog;

// What the command line asks for.
struct TSkinViewOptions
{
    TSkinSource skin;
    int cx = 0; // client size; 0 x 0 takes the layout's Window size
    int cy = 0;
};

// The preview window. Each build gets a fresh paint manager, so nothing of the previous build (images,
// fonts, default lists, window settings) survives it; the window keeps the size the user gave it.
// A layout that cannot be built is replaced by a page with the builder's message.
class CSkinViewWnd : public Veneer::CWindowWnd,
                     public Veneer::INotifyUI,
                     public Veneer::IUnknownAttributeUI,
                     public Veneer::IDialogBuilderCallback
{
public:
    // Construction
    CSkinViewWnd(const TSkinViewOptions& options, SkinViewLog log);
    ~CSkinViewWnd() override;
    CSkinViewWnd(const CSkinViewWnd&) = delete;
    CSkinViewWnd& operator=(const CSkinViewWnd&) = delete;

    // Operations
    // Creates the window (not shown), builds the layout and starts watching its files.
    bool Open();
    // Builds the layout again from disk.
    void Rebuild();
    // Rebuilds when the watched files changed and have stayed the same since the previous check, so a
    // file caught half-written is not built until its editor is done with it.
    void CheckFiles();

    // Attributes
    Veneer::CPaintManagerUI* GetManager() const { return m_pManager; }
    // The message shown instead of the layout; empty after a good build.
    const std::wstring& GetError() const { return m_sError; }
    int GetBuildCount() const { return m_nBuilds; }
    // How often the files are checked, in milliseconds.
    void SetCheckInterval(UINT uMillis);
    // Closing the window ends the message loop (the program's window does; a test's does not).
    void SetQuitOnClose(bool bQuit) { m_bQuitOnClose = bQuit; }

    // Overridables
    LPCWSTR GetWindowClass() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(Veneer::TNotifyUI& msg) override;
    void UnknownAttribute(Veneer::CControlUI* pControl, LPCWSTR pstrName, LPCWSTR pstrValue) override;
    Veneer::CControlUI* CreateControl(LPCWSTR pstrClass) override;

    // Implementation
private:
    void ReplaceManager();
    void DeleteManager();
    Veneer::CControlUI* MakeErrorPage(const std::wstring& message) const;
    void SetClientSize(int cx, int cy);
    // A digest of the names, sizes and times of the files the layout may read.
    unsigned long long Fingerprint() const;

    TSkinViewOptions m_options;
    SkinViewLog m_log;
    Veneer::CPaintManagerUI* m_pManager;
    std::wstring m_sWatchPath; // the skin folder, or the archive file
    bool m_bWatchFolder;
    unsigned long long m_ullBuilt;   // fingerprint the current tree was built from
    unsigned long long m_ullPending; // fingerprint seen at the previous check
    UINT m_uCheckMillis;
    std::wstring m_sError;
    int m_nBuilds;
    bool m_bQuitOnClose;
};

// Reads the command line (program name first) into options; false with the error set when it is not
// usable, true with help set when the usage text was asked for.
bool ParseSkinViewArguments(const std::vector<std::wstring>& args, TSkinViewOptions& options, bool& help,
                            std::wstring& error);

// The usage text, with the program name filled in.
std::wstring SkinViewUsage(const std::wstring& program);
