// Skin render tool: command-line parsing, rendering a layout through a real paint manager, PNG output.
#include "veneer/core/UISetup.h"
#include "SkinRender.h"

#include "veneer/Veneer.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <new>

using namespace Veneer;

namespace {

// Exit codes of the command.
const int kExitDone = 0;
const int kExitFailed = 1;
const int kExitUsage = 2;

// A paint that asks for another layout gets this many more passes before the picture is taken.
const int kMaxExtraPasses = 3;

// The hidden window the layout is built in. Its messages go to the paint manager, like a skinned window's.
class CSkinRenderWnd : public CWindowWnd
{
public:
    // Construction
    CSkinRenderWnd() : m_pManager(NULL), m_cxWanted(0), m_cyWanted(0) {}

    // Attributes
    void SetManager(CPaintManagerUI* pManager) { m_pManager = pManager; }
    // The client size the window must be able to take, whatever limits the skin sets.
    void SetWantedSize(int cx, int cy)
    {
        m_cxWanted = cx;
        m_cyWanted = cy;
    }

    // Overridables
    LPCWSTR GetWindowClass() const override { return L"VeneerSkinRenderWnd"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = 0;
        if (m_pManager != NULL && m_pManager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        if (uMsg == WM_GETMINMAXINFO) {
            // The skin's own track limits (and the screen size) must not clip the requested size.
            lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
            LPMINMAXINFO pInfo = reinterpret_cast<LPMINMAXINFO>(lParam);
            if (pInfo->ptMaxTrackSize.x < m_cxWanted) pInfo->ptMaxTrackSize.x = m_cxWanted;
            if (pInfo->ptMaxTrackSize.y < m_cyWanted) pInfo->ptMaxTrackSize.y = m_cyWanted;
            if (pInfo->ptMinTrackSize.x > m_cxWanted) pInfo->ptMinTrackSize.x = m_cxWanted;
            if (pInfo->ptMinTrackSize.y > m_cyWanted) pInfo->ptMinTrackSize.y = m_cyWanted;
            return lRes;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

private:
    CPaintManagerUI* m_pManager;
    int m_cxWanted;
    int m_cyWanted;
};

// Puts the resource folder back and drops the archive, however rendering ends.
class CResourceSettingsGuard
{
public:
    CResourceSettingsGuard() : m_sPath(CPaintManagerUI::GetResourcePath()) {}
    ~CResourceSettingsGuard()
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(m_sPath.GetData());
    }
    CResourceSettingsGuard(const CResourceSettingsGuard&) = delete;
    CResourceSettingsGuard& operator=(const CResourceSettingsGuard&) = delete;

private:
    CUIString m_sPath;
};

// A memory DC with a top-down 32-bit DIB section selected, released on destruction.
class CPixelCanvas
{
public:
    CPixelCanvas() : m_hDC(NULL), m_hBitmap(NULL), m_hOldBitmap(NULL), m_pBits(NULL) {}
    ~CPixelCanvas()
    {
        if (m_hDC != NULL && m_hOldBitmap != NULL) ::SelectObject(m_hDC, m_hOldBitmap);
        if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
        if (m_hDC != NULL) ::DeleteDC(m_hDC);
    }
    CPixelCanvas(const CPixelCanvas&) = delete;
    CPixelCanvas& operator=(const CPixelCanvas&) = delete;

    bool Create(int cx, int cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(NULL);
        if (m_hDC == NULL) return false;
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &m_pBits, NULL, 0);
        if (m_hBitmap == NULL || m_pBits == NULL) return false;
        m_hOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hDC, m_hBitmap));
        return true;
    }
    HDC GetDC() const { return m_hDC; }
    const BYTE* GetBits() const { return static_cast<const BYTE*>(m_pBits); }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HBITMAP m_hOldBitmap;
    void* m_pBits;
};

// The full form of a path; the path itself when Windows cannot resolve it.
std::wstring FullPath(const std::wstring& path)
{
    DWORD length = ::GetFullPathNameW(path.c_str(), 0, NULL, NULL);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    length = ::GetFullPathNameW(path.c_str(), length, &full[0], NULL);
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    return full;
}

// Splits after the last separator: the folder keeps its separator, the name has none.
void SplitPath(const std::wstring& path, std::wstring& folder, std::wstring& name)
{
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, slash + 1);
        name = path.substr(slash + 1);
    }
}

// PNG name for a layout: its base name (no folders, no extension) with ".png".
std::wstring DefaultOutput(const std::wstring& layout)
{
    std::wstring folder;
    std::wstring name;
    SplitPath(layout, folder, name);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.resize(dot);
    if (name.empty()) name = L"layout";
    return name + L".png";
}

enum FileKind { FILE_MISSING, FILE_REGULAR, FILE_FOLDER };

FileKind KindOf(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FILE_MISSING;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FILE_FOLDER : FILE_REGULAR;
}

// Parses the command line into a job. False with the error set when it is not usable; help is set
// (and true returned) when the usage text was asked for.
bool ParseArguments(const std::vector<std::wstring>& args, TSkinRenderJob& job, bool& help, std::wstring& error)
{
    help = false;
    std::vector<std::wstring> positional;
    bool sizeGiven = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        std::wstring value;
        bool isSize = false;
        bool isOutput = false;
        bool isScale = false;
        if (arg == L"-h" || arg == L"--help" || arg == L"/?") {
            help = true;
            return true;
        } else if (arg == L"-s" || arg == L"--size" || arg == L"-o" || arg == L"--output" || arg == L"--scale") {
            isSize = arg == L"-s" || arg == L"--size";
            isOutput = arg == L"-o" || arg == L"--output";
            isScale = arg == L"--scale";
            if (i + 1 >= args.size()) {
                error = arg + L" needs a value";
                return false;
            }
            value = args[++i];
        } else if (arg.compare(0, 8, L"--scale=") == 0) {
            isScale = true;
            value = arg.substr(8);
        } else if (arg.compare(0, 7, L"--size=") == 0) {
            isSize = true;
            value = arg.substr(7);
        } else if (arg.compare(0, 9, L"--output=") == 0) {
            isOutput = true;
            value = arg.substr(9);
        } else if (arg.size() > 1 && arg[0] == L'-') {
            error = L"unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
            continue;
        }
        if (isSize) {
            if (!ParseSkinSize(value, job.cx, job.cy)) {
                error = L"bad size '" + value + L"': expected WxH, each from 1 to " +
                        std::to_wstring(kSkinRenderMaxSide) + L", at most " +
                        std::to_wstring(kSkinRenderMaxPixels) + L" pixels";
                return false;
            }
            sizeGiven = true;
        } else if (isScale) {
            if (!ParseSkinScale(value, job.dpi)) {
                error = L"bad scale '" + value + L"': expected a factor such as 1.5 or a percentage such as 150%, "
                        L"from 0.5 to 10";
                return false;
            }
        } else if (isOutput) {
            if (value.empty()) {
                error = L"the output file name is empty";
                return false;
            }
            job.output = value;
        }
    }
    if (!sizeGiven) {
        job.cx = 0;
        job.cy = 0;
    }
    if (!ParseSkinSource(positional, job, error)) return false;
    if (job.output.empty()) job.output = DefaultOutput(job.kind == SKIN_FROM_XML_FILE ? job.source : job.layout);
    return true;
}

bool Fail(std::wstring& error, const std::wstring& message)
{
    error = message;
    return false;
}

} // namespace

bool ParseSkinSource(const std::vector<std::wstring>& positional, TSkinSource& source, std::wstring& error)
{
    if (positional.empty()) return Fail(error, L"no layout given");
    if (positional.size() > 2) return Fail(error, L"too many arguments: " + positional[2]);
    source.source = positional[0];
    if (source.source.empty() || (positional.size() == 2 && positional[1].empty()))
        return Fail(error, L"empty file name");
    if (positional.size() == 1) {
        source.kind = SKIN_FROM_XML_FILE;
        source.layout.clear();
    } else {
        source.kind = KindOf(FullPath(source.source)) == FILE_FOLDER ? SKIN_FROM_FOLDER : SKIN_FROM_ZIP;
        source.layout = positional[1];
    }
    return true;
}

bool SelectSkinSource(const TSkinSource& skin, std::wstring& layoutName, std::wstring& error)
{
    const std::wstring source = FullPath(skin.source);
    std::wstring folder;
    std::wstring name;
    switch (skin.kind) {
    case SKIN_FROM_XML_FILE: {
        FileKind kind = KindOf(source);
        if (kind == FILE_MISSING) return Fail(error, L"no such layout file: " + skin.source);
        if (kind == FILE_FOLDER) return Fail(error, skin.source + L" is a folder: name a layout in it");
        SplitPath(source, folder, layoutName);
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(folder.c_str());
        return true;
    }
    case SKIN_FROM_FOLDER: {
        if (KindOf(source) != FILE_FOLDER) return Fail(error, L"no such folder: " + skin.source);
        layoutName = skin.layout;
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(source.c_str());
        if (layoutName.empty() || layoutName[0] == L'<' ||
            KindOf(std::wstring(CPaintManagerUI::GetResourcePath().GetData()) + layoutName) != FILE_REGULAR)
            return Fail(error, L"no layout '" + skin.layout + L"' in folder " + skin.source);
        return true;
    }
    case SKIN_FROM_ZIP: {
        FileKind kind = KindOf(source);
        if (kind == FILE_MISSING) return Fail(error, L"no such folder or archive: " + skin.source);
        if (kind == FILE_FOLDER) return Fail(error, skin.source + L" is a folder, not an archive");
        SplitPath(source, folder, name);
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(folder.c_str());
        CPaintManagerUI::SetResourceZip(name.c_str(), true);
        HZIP hZip = CPaintManagerUI::GetResourceZipHandle();
        if (hZip == NULL) return Fail(error, skin.source + L" is not a readable zip archive");
        layoutName = skin.layout;
        int index = -1;
        ZipEntryInfo info = {};
        if (layoutName.empty() || layoutName[0] == L'<' ||
            ZipFindEntry(hZip, layoutName.c_str(), true, &index, &info) != ZIP_OK)
            return Fail(error, L"no layout '" + skin.layout + L"' in archive " + skin.source);
        return true;
    }
    }
    return Fail(error, L"unknown kind of source");
}

std::wstring DescribeBuildFailure(const CDialogBuilder& builder, const std::wstring& layoutName)
{
    wchar_t szMessage[256] = {};
    wchar_t szLocation[64] = {};
    builder.GetLastErrorMessage(szMessage, lengthof(szMessage));
    builder.GetLastErrorLocation(szLocation, lengthof(szLocation));
    std::wstring message = L"cannot build " + layoutName + L": ";
    if (szMessage[0] == L'\0') return message + L"it holds no control";
    message += szMessage;
    if (szLocation[0] != L'\0') message += std::wstring(L" at \"") + szLocation + L"\"";
    return message;
}

bool ParseSkinSize(const std::wstring& text, int& cx, int& cy)
{
    // Digits only on both sides of one 'x' (or 'X'): no signs, blanks or trailing text.
    size_t cross = text.find_first_of(L"xX");
    if (cross == std::wstring::npos || cross == 0 || cross + 1 >= text.size()) return false;
    long long values[2] = {0, 0};
    const std::wstring parts[2] = {text.substr(0, cross), text.substr(cross + 1)};
    for (int i = 0; i < 2; ++i) {
        for (wchar_t ch : parts[i]) {
            if (ch < L'0' || ch > L'9') return false;
            values[i] = values[i] * 10 + (ch - L'0');
            if (values[i] > kSkinRenderMaxSide) return false;
        }
        if (values[i] < 1) return false;
    }
    if (values[0] * values[1] > kSkinRenderMaxPixels) return false;
    cx = static_cast<int>(values[0]);
    cy = static_cast<int>(values[1]);
    return true;
}

bool ParseSkinScale(const std::wstring& text, int& dpi)
{
    // Digits with at most one decimal point, or digits and a final '%': no signs, blanks or exponents.
    bool percent = !text.empty() && text.back() == L'%';
    const std::wstring number = percent ? text.substr(0, text.size() - 1) : text;
    if (number.empty() || number.size() > 12) return false;
    long long whole = 0;
    long long fraction = 0;
    long long fractionScale = 1;
    bool point = false;
    bool digits = false;
    for (wchar_t ch : number) {
        if (ch == L'.' && !point && !percent) {
            point = true;
        } else if (ch >= L'0' && ch <= L'9') {
            digits = true;
            if (point) {
                fraction = fraction * 10 + (ch - L'0');
                fractionScale *= 10;
            } else {
                whole = whole * 10 + (ch - L'0');
            }
        } else {
            return false;
        }
    }
    if (!digits) return false;
    // The scale in hundredths of a percent, then the DPI rounded to the nearest whole one.
    const long long perMyriad = percent ? whole * 100 : whole * 10000 + fraction * 10000 / fractionScale;
    if (perMyriad < 5000 || perMyriad > 100000) return false;
    dpi = static_cast<int>((perMyriad * 96 + 5000) / 10000);
    return true;
}

const std::wstring& CSkinRenderer::GetLastError() const
{
    return m_sError;
}

bool CSkinRenderer::Fail(const std::wstring& message)
{
    m_sError = message;
    return false;
}

bool CSkinRenderer::Render(const TSkinRenderJob& job, TSkinImage& image)
{
    m_sError.clear();
    image = TSkinImage();
    if (job.cx < 0 || job.cy < 0 || (job.cx == 0) != (job.cy == 0)) return Fail(L"bad size");
    CResourceSettingsGuard guard;
    std::wstring layoutName;
    std::wstring error;
    if (!SelectSkinSource(job, layoutName, error)) return Fail(error);
    return RenderLayout(layoutName, job.cx, job.cy, job.dpi, image);
}

bool CSkinRenderer::RenderLayout(const std::wstring& layoutName, int cx, int cy, int dpi, TSkinImage& image)
{
    CSkinRenderWnd wnd;
    if (wnd.Create(NULL, L"skin_render", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 1, 1) == NULL)
        return Fail(L"cannot create the window");
    HWND hWnd = wnd.GetHWND();
    CPaintManagerUI* pManager = new CPaintManagerUI;
    pManager->Init(hWnd);
    // Given before the tree is built, so fonts and images are made for it from the start.
    pManager->SetDPI(dpi);
    wnd.SetManager(pManager);

    // The manager goes before its window, so no message reaches a deleted manager.
    auto finish = [&](bool ok) {
        wnd.SetManager(NULL);
        delete pManager;
        ::DestroyWindow(hWnd);
        return ok;
    };

    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(layoutName.c_str()), NULL, NULL, pManager);
    if (pRoot == NULL) return finish(Fail(DescribeBuildFailure(builder, layoutName)));
    pManager->AttachDialog(pRoot);

    if (cx == 0) {
        SIZE szInit = pManager->GetInitSize();
        if (szInit.cx <= 0 || szInit.cy <= 0)
            return finish(Fail(layoutName + L" sets no Window size: give one with --size WxH"));
        cx = szInit.cx;
        cy = szInit.cy;
    }
    // The size is in skin units; the picture has the pixels of the scale.
    std::wstring text = std::to_wstring(pManager->ScaleValue(cx)) + L"x" + std::to_wstring(pManager->ScaleValue(cy));
    if (!ParseSkinSize(text, cx, cy))
        return finish(Fail(layoutName + L" asks for a window of " + text + L" pixels, beyond the limits"));

    wnd.SetWantedSize(cx, cy);
    ::SetWindowPos(hWnd, NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    if (rcClient.right - rcClient.left != cx || rcClient.bottom - rcClient.top != cy) {
        return finish(Fail(L"the window cannot take the size " + std::to_wstring(cx) + L"x" + std::to_wstring(cy)));
    }

    CPixelCanvas canvas;
    if (!canvas.Create(cx, cy)) return finish(Fail(L"no memory for a picture of that size"));

    // As on screen: a paint that asks for a new layout is followed by another one.
    for (int pass = 0; pass <= kMaxExtraPasses; ++pass) {
        pManager->UpdateLayout();
        ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT | PRF_CHILDREN);
        ::GdiFlush();
        if (!pManager->IsUpdateNeeded()) break;
    }

    image.width = cx;
    image.height = cy;
    image.hasAlpha = pManager->IsAlphaBackground();
    image.rgba.resize(static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4);
    const BYTE* pSource = canvas.GetBits();
    BYTE* pTarget = image.rgba.data();
    for (size_t i = 0, count = image.rgba.size() / 4; i < count; ++i, pSource += 4, pTarget += 4) {
        // The DIB holds premultiplied BGRA; a window without alpha background is opaque everywhere.
        BYTE alpha = image.hasAlpha ? pSource[3] : 255;
        for (int c = 0; c < 3; ++c) {
            unsigned value = pSource[2 - c];
            if (alpha == 0) {
                value = 0;
            } else if (alpha < 255) {
                value = (value * 255 + alpha / 2) / alpha;
                if (value > 255) value = 255;
            }
            pTarget[c] = static_cast<BYTE>(value);
        }
        pTarget[3] = alpha;
    }
    return finish(true);
}

namespace {

void AppendBytes(void* context, void* data, int size)
{
    std::vector<BYTE>* pBytes = static_cast<std::vector<BYTE>*>(context);
    const BYTE* pData = static_cast<const BYTE*>(data);
    pBytes->insert(pBytes->end(), pData, pData + size);
}

} // namespace

bool CSkinRenderer::WritePng(const TSkinImage& image, const std::wstring& path)
{
    m_sError.clear();
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        return Fail(L"no picture to write");
    std::vector<BYTE> png;
    int ok = 0;
    if (image.hasAlpha) {
        ok = stbi_write_png_to_func(AppendBytes, &png, image.width, image.height, 4, image.rgba.data(),
                                    image.width * 4);
    } else {
        std::vector<BYTE> rgb(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
        for (size_t i = 0, count = rgb.size() / 3; i < count; ++i) {
            rgb[i * 3] = image.rgba[i * 4];
            rgb[i * 3 + 1] = image.rgba[i * 4 + 1];
            rgb[i * 3 + 2] = image.rgba[i * 4 + 2];
        }
        ok = stbi_write_png_to_func(AppendBytes, &png, image.width, image.height, 3, rgb.data(), image.width * 3);
    }
    if (ok == 0 || png.empty()) return Fail(L"the picture could not be encoded");

    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return Fail(L"cannot create " + path);
    DWORD written = 0;
    BOOL bWritten = ::WriteFile(hFile, png.data(), static_cast<DWORD>(png.size()), &written, NULL);
    ::CloseHandle(hFile);
    if (!bWritten || written != png.size()) {
        // A half-written picture would pass for a good one.
        ::DeleteFileW(path.c_str());
        return Fail(L"cannot write " + path);
    }
    return true;
}

std::wstring SkinRenderUsage(const std::wstring& program)
{
    return L"Usage: " + program + L" [options] LAYOUT.xml\n"
           L"       " + program + L" [options] FOLDER LAYOUT\n"
           L"       " + program + L" [options] ARCHIVE.zip LAYOUT\n"
           L"Renders a skin layout into a PNG file, painted as its window paints it.\n"
           L"  LAYOUT.xml           a layout file; the images it names are read from its folder\n"
           L"  FOLDER LAYOUT        a skin folder and the name of a layout in it\n"
           L"  ARCHIVE.zip LAYOUT   a skin archive and the name of a layout in it\n"
           L"Options:\n"
           L"  -s, --size WxH       client size in skin units (default: the layout's Window size)\n"
           L"      --scale S        display scale to paint at: a factor (1.5) or a percentage (150%),\n"
           L"                       from 0.5 to 10; the picture is the size times the scale (default 1)\n"
           L"  -o, --output FILE    PNG file to write (default: the layout's name with .png)\n"
           L"  -h, --help           this text\n"
           L"Exit code: 0 written, 1 the layout could not be rendered or written, 2 bad command line.\n";
}

int RunSkinRender(const std::vector<std::wstring>& args, std::wstring& message)
{
    std::wstring program = L"skin_render";
    TSkinRenderJob job;
    bool help = false;
    std::wstring error;
    if (!ParseArguments(args, job, help, error)) {
        message = program + L": " + error + L"\n\n" + SkinRenderUsage(program);
        return kExitUsage;
    }
    if (help) {
        message = SkinRenderUsage(program);
        return kExitDone;
    }
    CSkinRenderer renderer;
    TSkinImage image;
    try {
        if (!renderer.Render(job, image) || !renderer.WritePng(image, job.output)) {
            message = program + L": " + renderer.GetLastError() + L"\n";
            return kExitFailed;
        }
    } catch (const std::bad_alloc&) {
        // A large size may fit the limits and still not the address space of a 32-bit process.
        message = program + L": not enough memory for a picture of that size\n";
        return kExitFailed;
    }
    message = job.output + L": " + std::to_wstring(image.width) + L"x" + std::to_wstring(image.height) +
              (image.hasAlpha ? L" with alpha\n" : L"\n");
    return kExitDone;
}

void PrintUtf8(FILE* stream, const std::wstring& text)
{
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    if (length <= 0) return;
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], length, NULL, NULL);
    ::fwrite(bytes.data(), 1, bytes.size(), stream);
    ::fflush(stream);
}
