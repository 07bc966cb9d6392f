// Skin render tool: command-line parsing, rendering a layout through a real paint manager, PNG output;
// the choice of skin source is shared with the preview tool.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIDialogBuilder.h"

#include <string>
#include <vector>

// Where the layout comes from.
enum SkinSourceKind
{
    SKIN_FROM_XML_FILE, // a layout file on disk; its folder is the resource folder
    SKIN_FROM_FOLDER,   // a resource folder plus a layout name inside it
    SKIN_FROM_ZIP       // a zip archive plus a layout name inside it
};

// A layout and where its images come from, as the skin tools take them on the command line.
struct TSkinSource
{
    SkinSourceKind kind = SKIN_FROM_XML_FILE;
    std::wstring source;   // layout file, folder or archive
    std::wstring layout;   // layout name within the folder or archive; empty for a layout file
};

// One rendering request, as read from the command line.
struct TSkinRenderJob : TSkinSource
{
    int cx = 0;            // client size in skin units; 0 x 0 takes the layout's Window size
    int cy = 0;
    int dpi = 96;          // display scale to paint at: 96 is 100 %, 144 is 150 %
    std::wstring output;   // PNG file to write
};

// A rendered client area: top-down rows of straight (not premultiplied) RGBA pixels.
struct TSkinImage
{
    int width = 0;
    int height = 0;
    bool hasAlpha = false; // the layout paints with a per-pixel-alpha background
    std::vector<BYTE> rgba;
};

// Largest side and area accepted for a rendering, so a typo cannot ask for gigabytes.
const int kSkinRenderMaxSide = 16384;
const long long kSkinRenderMaxPixels = 64LL * 1024 * 1024;

// Reads "WxH" (two positive decimals within the limits above); false for anything else.
bool ParseSkinSize(const std::wstring& text, int& cx, int& cy);

// Reads a display scale, a factor ("1.5") or a percentage ("150%"), from 0.5 to 10, as a DPI; false
// for anything else.
bool ParseSkinScale(const std::wstring& text, int& dpi);
// Reads the layout arguments: "LAYOUT.xml", "FOLDER LAYOUT" or "ARCHIVE.zip LAYOUT"; false with the
// error set when they are not one of these.
bool ParseSkinSource(const std::vector<std::wstring>& positional, TSkinSource& source, std::wstring& error);
// Makes the source's folder (and archive) the process-wide resource folder (and archive) and gives the
// layout's name there; false with the error set when the source or the layout is not there.
bool SelectSkinSource(const TSkinSource& source, std::wstring& layoutName, std::wstring& error);
// What a builder that made no control has to say: the parser's message and where it stopped.
std::wstring DescribeBuildFailure(const Veneer::CDialogBuilder& builder, const std::wstring& layoutName);

// Builds the layout in a hidden window of its own and paints it through the paint manager's print path.
// The process-wide resource folder and archive are taken over while it works; afterwards no archive is
// set and the former resource folder is back.
class CSkinRenderer
{
public:
    // Operations
    // Renders the job's layout at the job's size; false with GetLastError set when it cannot.
    bool Render(const TSkinRenderJob& job, TSkinImage& image);
    // Encodes the image as PNG into a file; false with GetLastError set when it cannot.
    bool WritePng(const TSkinImage& image, const std::wstring& path);

    // Attributes
    const std::wstring& GetLastError() const;

    // Implementation
private:
    bool Fail(const std::wstring& message);
    bool RenderLayout(const std::wstring& layoutName, int cx, int cy, int dpi, TSkinImage& image);

    std::wstring m_sError;
};

// The whole command: parses argv (program name first), renders and writes the PNG. Returns the process
// exit code (0 done, 1 rendering failed, 2 bad command line) and sets message to what should be printed:
// the usage text, the error, or a one-line summary of what was written.
int RunSkinRender(const std::vector<std::wstring>& args, std::wstring& message);

// The usage text, with the program name filled in.
std::wstring SkinRenderUsage(const std::wstring& program);

// Writes text to a console stream as UTF-8, so layout and file names in any script survive, and
// flushes it so that it shows at once.
void PrintUtf8(FILE* stream, const std::wstring& text);
