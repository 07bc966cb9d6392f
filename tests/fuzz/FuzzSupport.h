// Shared pieces of the fuzz and soak programs: the input runner, seeds from the project's files, a host window.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <string>
#include <vector>

namespace Fuzz {

typedef std::vector<std::string> Inputs;

// One entry point under test. run gets the input in memory followed by an inaccessible page, and
// answers whether the input got past the parsing into the stages behind it (the share is reported).
struct TTarget
{
    const char* name;
    void (*seeds)(Inputs& seeds);
    std::vector<std::string> tokens;    // words a mutation may insert, beside the common ones
    size_t maxSize;                     // inputs are cut to this many bytes
    bool (*run)(const BYTE* data, size_t size);
};

// The runner, reading the command line: "--target a,b --count N --seed S --limit MS --out DIR
// --replay FILE --self-test". Returns the process exit code.
int Main(const std::vector<TTarget>& targets);

// Files of the source tree and the build (paths relative to the top of the checkout or the build).
std::wstring SourcePath(const char* relative);
std::wstring BuildPath(const char* relative);
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Every file of the source folder matching the pattern ("*.xml").
void AddFiles(Inputs& seeds, const char* folder, const wchar_t* pattern);
// The string literals (adjacent ones joined) of the test sources in the folder that hold one of the
// marks, as UTF-8. With a prefix, literals that do not start with its first tag (nor "<?") are taken as
// the children the tests wrap: prefix + literal + suffix.
void AddTestLiterals(Inputs& seeds, const char* folder, const std::vector<std::string>& marks,
                     const std::string& prefix = std::string(), const std::string& suffix = std::string());

// UTF-8 bytes as wide text; invalid sequences become U+FFFD, the text ends at the first NUL.
std::wstring Widen(const BYTE* data, size_t size);

// A hidden popup whose messages go through the paint manager given, and a 32-bit canvas to print it into.
class CHostWindow : public Veneer::CWindowWnd
{
public:
    // Construction
    CHostWindow();
    ~CHostWindow() override;
    bool Open(int cxCanvas, int cyCanvas);

    // Attributes
    void SetManager(Veneer::CPaintManagerUI* pManager) { m_pManager = pManager; }
    HDC GetCanvas() const { return m_hCanvas; }

    // Operations
    // Sizes the client area, lays the tree out and prints it into the canvas.
    void LayoutAndPrint(int cx, int cy);
    // Fills the canvas with a colour nothing draws; CanvasChanged tells whether a pixel was drawn since.
    void ClearCanvas();
    bool CanvasChanged() const;
    // Dispatches the messages waiting for this thread.
    static void Pump();

    // Overridables
    LPCWSTR GetWindowClass() const override { return L"VeneerFuzzHost"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    Veneer::CPaintManagerUI* m_pManager;
    HDC m_hCanvas;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    DWORD* m_pBits;
    size_t m_nPixels;
};

} // namespace Fuzz
