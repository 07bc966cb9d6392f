// Skin preview tool: the preview window, watching the skin's files and reporting what the skin does.
#include "veneer/core/UISetup.h"
#include "SkinView.h"

using namespace Veneer;

namespace {

const UINT_PTR kCheckTimerId = 1;
const UINT kDefaultCheckMillis = 300;
// Size of a window whose layout names none.
const int kDefaultWidth = 640;
const int kDefaultHeight = 480;
// A skin folder is watched this deep and this wide; anything beyond goes unnoticed.
const int kMaxWatchDepth = 4;
const int kMaxWatchEntries = 4096;
const DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

unsigned long long Fnv1a(unsigned long long hash, const void* data, size_t size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 1099511628211ULL;
    }
    return hash;
}

// One file's contribution: its name, size and time. The contributions are added up, so the order in
// which the folder lists its files does not matter.
unsigned long long EntryDigest(const std::wstring& path, const WIN32_FIND_DATAW& data)
{
    unsigned long long hash = 14695981039346656037ULL;
    hash = Fnv1a(hash, path.data(), path.size() * sizeof(wchar_t));
    hash = Fnv1a(hash, &data.nFileSizeHigh, sizeof(data.nFileSizeHigh));
    hash = Fnv1a(hash, &data.nFileSizeLow, sizeof(data.nFileSizeLow));
    hash = Fnv1a(hash, &data.ftLastWriteTime, sizeof(data.ftLastWriteTime));
    return hash;
}

void DigestFolder(const std::wstring& folder, int depth, int& entries, unsigned long long& sum)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        if (::wcscmp(data.cFileName, L".") == 0 || ::wcscmp(data.cFileName, L"..") == 0) continue;
        if (++entries > kMaxWatchEntries) break;
        const std::wstring path = folder + data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (depth < kMaxWatchDepth) DigestFolder(path + L"\\", depth + 1, entries, sum);
        } else {
            sum += EntryDigest(path, data);
        }
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
}

// Counts the controls of a tree (the visitor never stops the walk).
CControlUI* CALLBACK CountControl(CControlUI* /*pControl*/, LPVOID pData)
{
    ++*static_cast<int*>(pData);
    return NULL;
}

std::wstring Describe(CControlUI* pControl)
{
    if (pControl == NULL) return L"Window";
    std::wstring text = pControl->GetClass();
    if (!pControl->GetName().IsEmpty()) text += std::wstring(L" \"") + pControl->GetName().GetData() + L"\"";
    return text;
}

} // namespace

CSkinViewWnd::CSkinViewWnd(const TSkinViewOptions& options, SkinViewLog log)
    : m_options(options)
    , m_log(log)
    , m_pManager(NULL)
    , m_bWatchFolder(true)
    , m_ullBuilt(0)
    , m_ullPending(0)
    , m_uCheckMillis(kDefaultCheckMillis)
    , m_nBuilds(0)
    , m_bQuitOnClose(false)
{
}

CSkinViewWnd::~CSkinViewWnd()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    DeleteManager();
}

LPCWSTR CSkinViewWnd::GetWindowClass() const
{
    return L"VeneerSkinView";
}

void CSkinViewWnd::SetCheckInterval(UINT uMillis)
{
    m_uCheckMillis = uMillis > 0 ? uMillis : 1;
    if (m_hWnd != NULL) ::SetTimer(m_hWnd, kCheckTimerId, m_uCheckMillis, NULL);
}

bool CSkinViewWnd::Open()
{
    if (Create(NULL, L"skin_view", kWindowStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, kDefaultWidth, kDefaultHeight) ==
        NULL)
        return false;
    ::SetTimer(m_hWnd, kCheckTimerId, m_uCheckMillis, NULL);
    Rebuild();
    return true;
}

void CSkinViewWnd::DeleteManager()
{
    // Unhooked before it goes: destroying the tree's native windows sends messages to this window.
    CPaintManagerUI* pManager = m_pManager;
    m_pManager = NULL;
    delete pManager;
}

void CSkinViewWnd::ReplaceManager()
{
    DeleteManager();
    // A skin that set "alpha" made the window layered; the next build starts opaque.
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) != 0) ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    CPaintManagerUI* pManager = new CPaintManagerUI;
    pManager->Init(m_hWnd);
    pManager->AddNotifier(this);
    pManager->SetUnknownAttributeListener(this);
    m_pManager = pManager;
}

void CSkinViewWnd::Rebuild()
{
    if (m_hWnd == NULL) return;
    // Where the window is, and whether it is maximised: a layout's Window size would move it.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(m_hWnd, &placement);
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    ReplaceManager();

    std::wstring layoutName;
    std::wstring error;
    CControlUI* pRoot = NULL;
    const bool bSelected = SelectSkinSource(m_options.skin, layoutName, error);
    // The archive is opened for each file read instead of held open: held, it could not be replaced.
    if (m_options.skin.kind == SKIN_FROM_ZIP && !CPaintManagerUI::GetResourceZip().IsEmpty()) {
        const CUIString sArchive = CPaintManagerUI::GetResourceZip();
        CPaintManagerUI::SetResourceZip(sArchive.GetData(), false);
    }
    if (bSelected) {
        // The folder or archive to watch, as the source selection resolved it.
        m_bWatchFolder = m_options.skin.kind != SKIN_FROM_ZIP;
        m_sWatchPath = CPaintManagerUI::GetResourcePath().GetData();
        if (!m_bWatchFolder) m_sWatchPath += CPaintManagerUI::GetResourceZip().GetData();
    }
    // Taken before the files are read, so a change made while building is seen at the next check.
    m_ullBuilt = m_ullPending = Fingerprint();
    if (bSelected) {
        CDialogBuilder builder;
        pRoot = builder.Create(STRINGorID(layoutName.c_str()), NULL, this, m_pManager);
        if (pRoot == NULL) error = DescribeBuildFailure(builder, layoutName);
    }
    if (pRoot == NULL) pRoot = MakeErrorPage(error);
    m_pManager->AttachDialog(pRoot);
    if (m_pManager->IsAlphaBackground()) {
        m_pManager->SetBackgroundTransparent(false);
        m_log(L"note: bktrans is shown opaque in the preview window");
    }

    // The first build sizes the client area as the command line or the layout asks; later builds
    // keep whatever size the window has now.
    if (m_nBuilds == 0) {
        SIZE szInit = m_pManager->GetInitSize();
        if (m_options.cx > 0) szInit = SIZE{m_options.cx, m_options.cy};
        if (szInit.cx <= 0 || szInit.cy <= 0) szInit = SIZE{kDefaultWidth, kDefaultHeight};
        SetClientSize(szInit.cx, szInit.cy);
    } else if (::IsWindowVisible(m_hWnd)) {
        ::SetWindowPlacement(m_hWnd, &placement);
    } else {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    ::SetWindowTextW(m_hWnd, (L"skin_view - " + (layoutName.empty() ? m_options.skin.source : layoutName)).c_str());
    ::InvalidateRect(m_hWnd, NULL, FALSE);

    ++m_nBuilds;
    m_sError = error;
    if (error.empty()) {
        int nControls = 0;
        pRoot->FindControl(CountControl, &nControls, 0);
        m_log(L"built " + layoutName + L": " + std::to_wstring(nControls) + L" controls");
    } else {
        m_log(L"error: " + error);
    }
}

CControlUI* CSkinViewWnd::MakeErrorPage(const std::wstring& message) const
{
    CVerticalLayoutUI* pPage = new CVerticalLayoutUI;
    pPage->SetBkColor(0xFFFFF3F3);
    pPage->SetInset(RECT{16, 16, 16, 16});
    CTextUI* pText = new CTextUI;
    pText->SetName(L"skinview_error");
    pText->SetTextColor(0xFFA0141E);
    pText->SetText((message + L"\n\nThe preview is built again when the skin's files change.").c_str());
    pPage->Add(pText);
    return pPage;
}

void CSkinViewWnd::SetClientSize(int cx, int cy)
{
    RECT rc = {0, 0, cx, cy};
    ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, NULL, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

unsigned long long CSkinViewWnd::Fingerprint() const
{
    if (m_sWatchPath.empty()) {
        // Not resolved yet (the source was missing): the source itself is watched for appearing.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(m_options.skin.source.c_str(), GetFileExInfoStandard, &data)) return 0;
        return Fnv1a(14695981039346656037ULL, &data.ftLastWriteTime, sizeof(data.ftLastWriteTime)) + 1;
    }
    if (!m_bWatchFolder) {
        WIN32_FIND_DATAW data;
        HANDLE hFind = ::FindFirstFileW(m_sWatchPath.c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE) return 0;
        ::FindClose(hFind);
        return EntryDigest(m_sWatchPath, data);
    }
    int entries = 0;
    unsigned long long sum = 0;
    DigestFolder(m_sWatchPath, 0, entries, sum);
    return sum;
}

void CSkinViewWnd::CheckFiles()
{
    const unsigned long long ullNow = Fingerprint();
    if (ullNow == m_ullBuilt) {
        m_ullPending = ullNow;
        return;
    }
    if (ullNow != m_ullPending) {
        m_ullPending = ullNow;
        return;
    }
    m_log(L"files changed: building again");
    Rebuild();
}

LRESULT CSkinViewWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_TIMER && wParam == kCheckTimerId) {
        CheckFiles();
        return 0;
    }
    if (uMsg == WM_DESTROY) {
        // The tree goes while the window is whole: its native child windows are destroyed by it.
        ::KillTimer(m_hWnd, kCheckTimerId);
        DeleteManager();
    }
    LRESULT lRes = 0;
    if (m_pManager != NULL && m_pManager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CSkinViewWnd::OnFinalMessage(HWND /*hWnd*/)
{
    DeleteManager();
    if (m_bQuitOnClose) ::PostQuitMessage(0);
}

void CSkinViewWnd::Notify(TNotifyUI& msg)
{
    std::wstring line = L"notify: " + std::wstring(msg.sType.GetData()) + L" from " + Describe(msg.pSender);
    if (msg.wParam != 0 || msg.lParam != 0) {
        line += L" (wParam " + std::to_wstring(static_cast<unsigned long long>(msg.wParam)) + L", lParam " +
                std::to_wstring(static_cast<long long>(msg.lParam)) + L")";
    }
    m_log(line);
}

void CSkinViewWnd::UnknownAttribute(CControlUI* pControl, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    m_log(L"warning: " + Describe(pControl) + L" ignores the attribute " + pstrName + L"=\"" + pstrValue + L"\"");
}

CControlUI* CSkinViewWnd::CreateControl(LPCWSTR pstrClass)
{
    m_log(std::wstring(L"warning: unknown tag <") + pstrClass + L">: skipped with everything inside it");
    return NULL;
}

bool ParseSkinViewArguments(const std::vector<std::wstring>& args, TSkinViewOptions& options, bool& help,
                            std::wstring& error)
{
    help = false;
    std::vector<std::wstring> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"-h" || arg == L"--help" || arg == L"/?") {
            help = true;
            return true;
        }
        if (arg == L"-s" || arg == L"--size" || arg.compare(0, 7, L"--size=") == 0) {
            std::wstring value;
            if (arg.size() > 7) {
                value = arg.substr(7);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = arg + L" needs a value";
                return false;
            }
            if (!ParseSkinSize(value, options.cx, options.cy)) {
                error = L"bad size '" + value + L"': expected WxH";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == L'-') {
            error = L"unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    return ParseSkinSource(positional, options.skin, error);
}

std::wstring SkinViewUsage(const std::wstring& program)
{
    return L"Usage: " + program + L" [options] LAYOUT.xml\n"
           L"       " + program + L" [options] FOLDER LAYOUT\n"
           L"       " + program + L" [options] ARCHIVE.zip LAYOUT\n"
           L"Shows a skin layout in a resizable window and builds it again whenever the layout or\n"
           L"an image changes on disk. Notifications the skin sends, and attributes and tags it\n"
           L"uses that the framework does not know, are printed here as they happen.\n"
           L"Options:\n"
           L"  -s, --size WxH       first client size (default: the layout's Window size)\n"
           L"  -h, --help           this text\n"
           L"Exit code: 0 when the window is closed, 1 when it cannot be opened, 2 bad command line.\n";
}
