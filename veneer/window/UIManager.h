// CPaintManagerUI: the per-window paint manager, its resource store and the process-wide resource settings.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIArray.h"
#include "veneer/core/UIStringPtrMap.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIZip.h"
#include "veneer/window/UIEvents.h"

namespace Veneer {

class CControlUI;
class CPaintManagerUI;
class CImageStringCache;

// Largest font height, in pixels, a paint manager makes a font with; larger sizes (of skins or of
// formatted text) are cut to it: glyphs tens of thousands of pixels tall take seconds each to draw.
const int kMaxFontSize = 1000;

// One font of a paint manager's store; the manager owns hFont.
typedef struct tagTFontInfo
{
    HFONT hFont;
    CUIString sFontName;
    int iSize;
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm;
} TFontInfo;

// One control timer multiplexed onto a native window timer.
typedef struct tagTTimerInfo
{
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
} TimerEntry;

// Destination rectangles of the nine-piece window shadow, corners first, then edges.
typedef struct tagTWindowShadowInfo
{
    RECT rcTopLeft;
    RECT rcTopRight;
    RECT rcBottomLeft;
    RECT rcBottomRight;
    RECT rcTop;
    RECT rcBottom;
    RECT rcLeft;
    RECT rcRight;
} TWindowShadowInfo;

// Control factory exported by a plug-in module as "CreateControl".
typedef CControlUI*(*LPCREATECONTROL)(LPCWSTR pstrType);

class CPaintManagerUI
{
public:
    // Construction
    CPaintManagerUI();
    ~CPaintManagerUI();

    void Init(HWND hWnd);

    // Attributes: the window
    HDC GetPaintDC() const;
    HWND GetPaintWindow() const;
    HWND GetTooltipWindow() const;
    POINT GetMousePos() const;
    SIZE GetClientSize() const;
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    const RECT& GetSizeBox() const;
    void SetSizeBox(const RECT& rcSizeBox);
    const RECT& GetCaptionRect() const;
    void SetCaptionRect(const RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);
    int GetTransparent() const;
    void SetTransparent(int nOpacity);
    bool IsAlphaBackground() const;
    void SetBackgroundTransparent(bool bTrans);
    bool IsShowUpdateRect() const;
    void SetShowUpdateRect(bool bShow);
    // With the picture kept, a WM_PAINT shows the offscreen picture as it is where nothing was
    // invalidated since it was painted (a window uncovered or repainted from outside) instead of
    // painting the tree again. Off by default: every WM_PAINT paints the tree.
    bool IsKeepPicture() const;
    void SetKeepPicture(bool bKeep);

    // Attributes: display scale. Skin values (positions, sizes, paddings, the window attributes above,
    // font sizes, image rectangles) are in units of a 96-DPI display and keep them in their getters; the
    // manager scales them to its DPI when it lays out and paints. Window, client and control positions
    // and mouse points are pixels. The DPI is the window's (taken at Init and on WM_DPICHANGED) unless
    // one is given.
    int GetDPI() const;
    // Gives the manager a DPI of its own (tools, tests); 0 goes back to the window's. Fonts are made
    // again for it and the tree is laid out anew; the window keeps its size.
    void SetDPI(int nDpi);
    bool IsDPIGiven() const;
    // The DPI as a percentage of 96: 100, 125, 150, 200.
    int GetScale() const;
    // Skin units to pixels at this manager's DPI, rounded to the nearest pixel.
    int ScaleValue(int nValue) const;
    SIZE ScaleSize(SIZE sz) const;
    RECT ScaleRect(const RECT& rc) const;
    // Pixels to skin units, rounded to the nearest unit.
    int UnscaleValue(int nPixels) const;
    SIZE UnscaleSize(SIZE sz) const;
    RECT UnscaleRect(const RECT& rc) const;
    // The DPI a window is shown at: its monitor's for a per-monitor aware process, else the system's.
    static int GetWindowDPI(HWND hWnd);
    // Declares the process aware of each monitor's DPI: per-monitor v2 where the system has it, then
    // per-monitor, then system-wide; an awareness already set (by the manifest) is kept. Returns the
    // awareness in effect afterwards as a DPI_AWARENESS value (0 unaware, 1 system, 2 per monitor).
    static int DeclareDPIAwareness();

    // Attributes: the window shadow
    bool HasWindowShadow() const;
    void SetHasWindowShadow(bool bShadow);
    LPCWSTR GetWindowShadowImage() const;
    void SetWindowShadowImage(LPCWSTR pstrImage);
    void SetTopleftShadowRect(int x, int y, int cx, int cy);
    void SetToprightShadowRect(int x, int y, int cx, int cy);
    void SetBottomleftShadowRect(int x, int y, int cx, int cy);
    void SetBottomrightShadowRect(int x, int y, int cx, int cy);
    void CalMiddleShadowRect();
    void CalRealShadowRect(const RECT& rcClient, TWindowShadowInfo& info) const;
    void GenerateShadowRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pstrBuffer,
                                    size_t cchBuffer) const;

    // Attributes: process-wide resource settings
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    // The resource module, or the program module when none is set.
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    // Folder of the program module's file, with a trailing backslash; empty without a module.
    static CUIString GetInstancePath();
    static CUIString GetCurrentPath();
    static bool SetCurrentPath(LPCWSTR pStrPath);
    static const CUIString& GetResourcePath();
    // Stores the folder with a trailing separator ("\\" is added unless it ends in "\\" or "/").
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    // The open archive when it is cached, else null.
    static HZIP GetResourceZipHandle();
    // An archive file in the resource folder, kept open when cached.
    static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = true);
    // An archive in memory, named "membuffer"; only the first one is taken. Not copied: the block
    // must stay valid while the archive is in use.
    static void SetResourceZip(LPVOID pVoid, unsigned int len);
    // Releases what the process-wide settings hold open.
    static void Term();

    // Attributes: colour adjustment, plug-ins
    static void GetHSL(short* H, short* S, short* L);
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void ReloadSkin();
    static bool LoadPlugin(LPCWSTR pstrModuleName);
    static CStdPtrArray* GetPlugins();

    // Resources: fall-back store
    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const;

    // Resources: default colours
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // Resources: fonts
    TFontInfo* GetDefaultFontInfo();
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetCustomFontCount() const;
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int index);
    HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetFontIndex(HFONT hFont) const;
    int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    bool FindFont(HFONT hFont) const;
    bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    TFontInfo* GetFontInfo(int index);
    TFontInfo* GetFontInfo(HFONT hFont);
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();

    // Resources: images
    TImageInfo* GetImage(LPCWSTR bitmap);
    TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = NULL, DWORD mask = 0);
    TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = NULL, DWORD mask = 0);
    TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    // The image to draw at the manager's DPI, loaded on first use: at 96 DPI the one of GetImageEx;
    // otherwise a picture made for the scale and cached under the name and the DPI. A file "x.png" is
    // looked up as "x@1.5x.png" or "x@2x.png" first when the scale calls for one; what is found (or the
    // 96-DPI picture) is resampled to the scale unless it already has it. Its source, corner and
    // destination rectangles are drawn scaled too (CRenderEngine::DrawImageString).
    TImageInfo* GetScaledImage(LPCWSTR bitmap, LPCWSTR type = NULL, DWORD mask = 0);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    void ReloadAllImages();
    // Counts changes of images, fonts and default colours, here and in the managers whose resources
    // this one uses: a pointer from GetImageEx or GetScaledImage stays valid while it does not move.
    unsigned long GetResourceVersion() const;
    // The description strings this manager's controls drew, parsed (CRenderEngine::DrawImageString).
    CImageStringCache& GetImageStringCache();

    // Resources: default attribute lists
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName);
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();
    // Told of attributes the controls of this manager ignore; null (the default) tells nobody.
    void SetUnknownAttributeListener(IUnknownAttributeUI* pListener);
    IUnknownAttributeUI* GetUnknownAttributeListener() const;

    // Resources: what skins registered
    // Drops the fonts, images and default attribute lists that skins built with this manager
    // registered (and any the program added); the default font and colours stay. A skin built again
    // into a living manager registers its fonts again, as new indexes: call this before building the
    // replacement, and the store holds one skin's share instead of one per build. Until the new tree
    // is attached the old one paints with the default font and reloads its images.
    void ReleaseSkinResources();

    // Operations: the control tree
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = NULL);
    void ReapObjects(CControlUI* pControl);
    CControlUI* GetRoot() const;
    void AddDelayedCleanup(CControlUI* pControl);
    void ProcessDelayedCleanup();
    void NeedUpdate();
    bool IsUpdateNeeded() const;
    void UpdateLayout();
    void Invalidate(RECT& rcItem);

    // Operations: option groups
    bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
    void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // Operations: focus and capture
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* pControl);
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // Operations: timers
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();
    bool FireTimer(UINT uNativeTimerID);

    // Operations: notifications and listeners
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    void FlushAsyncNotify();
    void UsedVirtualWnd(bool bUsed);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool TranslateAccelerator(LPMSG pMsg);

    // Operations: message routing
    // Routes one window message to the control tree; true when it is handled, with lRes set.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Run by the message loop before dispatching: filters, Tab and Alt shortcuts, system keys.
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Offers a message to the managers concerned; true when one consumed it.
    static bool TranslateMessage(const LPMSG pMsg);
    // The process's message loop: runs until WM_QUIT.
    static void MessageLoop();

    // Operations: painting
    // Draws the nine-piece shadow around rc and shrinks rc to the content area.
    void DrawWindowShadow(RECT& rc);

    // Operations: post-paint list
    int GetPostPaintCount() const;
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool SetPostPaintIndex(CControlUI* pControl, int iIndex);

    // Operations: searches
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCWSTR pstrName);
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
    CStdPtrArray* GetSubControlsByClass();

    // Every manager between Init and its destruction.
    static CStdPtrArray m_aPreMessages;
    // Face name of the default font of managers constructed afterwards.
    static CUIString m_pStrDefaultFontName;

    // Implementation
private:
    CPaintManagerUI(const CPaintManagerUI&);
    CPaintManagerUI& operator=(const CPaintManagerUI&);

    TFontInfo* CreateFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT CreateScaledFont(const TFontInfo* pFontInfo) const;
    void ChangeDPI(int nDpi);
    void RescaleFonts();
    void OnDPIChanged(WPARAM wParam, LPARAM lParam);
    static int SystemToSkinUnits(int nPixels);
    void DeleteFontInfo(TFontInfo* pFontInfo);
    void FillFontMetrics(TFontInfo* pFontInfo);
    TFontInfo* FindFontInfo(HFONT hFont);
    TImageInfo* LoadNamedImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) const;
    TImageInfo* CacheImage(LPCWSTR bitmap, TImageInfo* data);
    TImageInfo* LoadScaledImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask);
    int RemoveScaledImages(LPCWSTR bitmap);
    void DeliverNotify(TNotifyUI& Msg);
    void KillFocusControl(CControlUI* pNewFocus);
    static void CloseResourceZip();

    static CControlUI* CALLBACK FindControlFromUpdate(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromNameHash(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromPoint(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromTab(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromName(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromShortcut(CControlUI* pThis, LPVOID pData);
    // Invalidation batches: while one is open, Invalidate only collects rectangles, and the window
    // gets them in one call when the outermost batch ends (a native call per control dominates
    // the cost of a layout otherwise).
    class CInvalidateBatch
    {
    public:
        explicit CInvalidateBatch(CPaintManagerUI* pManager);
        ~CInvalidateBatch();

    private:
        CInvalidateBatch(const CInvalidateBatch&);
        CInvalidateBatch& operator=(const CInvalidateBatch&);
        CPaintManagerUI* m_pManager;
    };
    void AddPendingInvalidate(const RECT& rc);
    void FlushPendingInvalidate();
    bool IsPaintWindowShown() const;
    // The offscreen picture keeps what the last paints drew; these track where it no longer shows
    // the tree (see OnPaint).
    void MarkStale(const RECT& rc);
    void MarkAllStale();
    void ResourcesChanged();

    void OnPaint();
    void PaintLayered();
    void PrintClient(HDC hDC, LPARAM lParam);
    void ShowTooltip(CControlUI* pHover, POINT pt);
    static CControlUI* CALLBACK FindControlFromClass(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlsFromClass(CControlUI* pThis, LPVOID pData);

    HWND m_hWndPaint;
    int m_nOpacity;
    HDC m_hDcPaint;
    HDC m_hDcOffscreen;
    HDC m_hDcBackground;
    HBITMAP m_hbmpOffscreen;
    HBITMAP m_hbmpBackground;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
    // The text m_ToolTip points at; it must outlive the calls that hand the record to the tooltip.
    CUIString m_sToolTipText;
    bool m_bShowUpdateRect;
    bool m_bKeepPicture;

    CControlUI* m_pRoot;
    CControlUI* m_pFocus;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    CControlUI* m_pEventKey;

    POINT m_ptLastMousePos;
    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;
    UINT m_uTimerID;
    bool m_bFirstLayout;
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bOffscreenPaint;
    bool m_bAlphaBackground;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
    bool m_bUsedVirtualWnd;
    bool m_bHasWindowShadow;
    // The DPI everything is scaled to, and whether it was given rather than taken from the window.
    int m_nDpi;
    bool m_bDpiGiven;
    // The default font is still the stock GUI font (its weight is kept when made for another DPI).
    bool m_bStockDefaultFont;

    // Open invalidation batches and the disjoint-enough areas they collected so far.
    enum { kMaxPendingInvalidate = 16 };
    int m_nInvalidateBatch;
    int m_nPendingInvalidate;
    RECT m_rcPendingInvalidate[kMaxPendingInvalidate];

    // The area of the offscreen picture that is out of date (the bounding box of what changed), and
    // the resource version the picture was painted with.
    RECT m_rcStale;
    unsigned long m_nResourceVersion;
    unsigned long m_nPaintedResourceVersion;

    CStdPtrArray m_aNotifiers;
    CStdPtrArray m_aTimers;
    CStdPtrArray m_aPreMessageFilters;
    CStdPtrArray m_aMessageFilters;
    CStdPtrArray m_aPostPaintControls;
    CStdPtrArray m_aDelayedCleanup;
    CStdPtrArray m_aAsyncNotify;
    CStdPtrArray m_aFoundControls;
    CStdStringPtrMap m_mNameHash;
    CStdStringPtrMap m_mOptionGroup;

    CPaintManagerUI* m_pParentResourcePM;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    TFontInfo m_DefaultFontInfo;
    CStdPtrArray m_aCustomFonts;
    CStdStringPtrMap m_mImageHash;
    CImageStringCache* m_pImageStrings;
    CStdStringPtrMap m_DefaultAttrHash;
    CStdPtrArray m_aTranslateAccelerator;
    IUnknownAttributeUI* m_pUnknownAttributeListener = NULL;

    CUIString m_sWindowShadowImage;
    RECT m_rcShadowTopLeft;
    RECT m_rcShadowTopRight;
    RECT m_rcShadowBottomLeft;
    RECT m_rcShadowBottomRight;
    RECT m_rcShadowTop;
    RECT m_rcShadowBottom;
    RECT m_rcShadowLeft;
    RECT m_rcShadowRight;

    static HPEN m_hUpdateRectPen;
    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUIString m_pStrResourcePath;
    static CUIString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static HZIP m_hResourceZip;
    static CStdPtrArray m_aPlugins;
    static short m_H;
    static short m_S;
    static short m_L;
};

// Debugging helpers: UI__Trace prints nothing; UI__TraceMsg names a window message.
void UI__Trace(LPCWSTR pstrFormat, ...);
LPCWSTR UI__TraceMsg(UINT uMsg);

} // namespace Veneer
