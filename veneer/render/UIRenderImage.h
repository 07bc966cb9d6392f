// The image description string ("bg.png" or "file='bg.png' corner='4,4,4,4'"): settings and parser.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/core/UIStringPtrMap.h"
#include "veneer/render/UIRender.h"

namespace Veneer {

class CPaintManagerUI;

// Which image a description string names and how it is to be drawn.
struct TImageDrawSettings
{
    CUIString sImageName;  // the whole first string until a file or res key names the image
    CUIString sResType;    // empty: a file or archive entry; else a module resource type
    RECT rcDest;           // the control rectangle until a dest key moves it
    bool bDest;            // a dest key was read: rcDestOffsets places rcDest in the control
    bool bPixelDest;       // rcDestOffsets is pixels, not skin units
    RECT rcDestOffsets;    // the dest key's numbers as written, from the control's left and top
    RECT rcSource;         // all zero: the whole image
    bool bPixelSource;     // rcSource is pixels of the picture drawn, not skin units of the 96-DPI one
    RECT rcCorners;        // nine-grid corner widths: left, top, right, bottom
    DWORD dwMask;          // colour cleared to transparent when the image is first loaded
    BYTE uFade;            // constant alpha, 255 = opaque
    bool bHole;            // leave the middle piece out
    bool bTiledX;
    bool bTiledY;
};

// Reads a description string and an optional second one that modifies it. Each file, res or restype
// key that follows an image already described hands that image over before it changes the settings,
// and after both strings the image described last is handed over once more.
//
// Syntax: key='value' pairs, each followed by exactly one space to go on; anything else (a missing
// "=" or quote, an unterminated value, another separator) ends that string's pass and keeps what was
// read. A string without pairs is a bare image name.
//
// The first string is the skin's: its dest and source are skin units. The modifying one is written by
// a control from its laid-out parts, so its dest and source are pixels.
class CImageStringParser
{
public:
    // Construction
    // dest offsets are skin units, placed at the given DPI.
    explicit CImageStringParser(const RECT& rcControl, int nDpi = UI_DEFAULT_DPI);
    virtual ~CImageStringParser();

    // Attributes
    const TImageDrawSettings& GetSettings() const;

    // Operations
    void Parse(LPCWSTR image, LPCWSTR modify = NULL);
    // Where an image of these settings goes in a control at rcControl, at nDpi.
    static RECT PlaceDest(const TImageDrawSettings& settings, const RECT& rcControl, int nDpi);

    // Overridables
protected:
    virtual void OnImage(const TImageDrawSettings& settings) = 0;

    // Implementation
private:
    void ParsePass(LPCWSTR text);
    void Apply(const CUIString& key, const CUIString& value);
    void ReadRect(LPCWSTR value, RECT& rc) const;

    RECT m_rcControl;
    int m_nDpi;
    bool m_bPixels;  // reading the modifying string
    TImageDrawSettings m_settings;
    int m_nImageCount;
};

// Description strings parsed once: a paint draws the same few strings for many controls, and reading
// one again costs more than copying most small pictures. Each string keeps the settings of every
// image it describes, placed in the control when drawn, and the picture each was last found as,
// looked up again when the manager's resources or scale change. Strings are parsed without the
// modifying string a control writes from its layout (those change with it and are not kept).
// A manager owns one; it forgets everything when it holds kMaxStrings and meets another.
class CImageStringCache
{
public:
    // Construction
    CImageStringCache();
    ~CImageStringCache();
    CImageStringCache(const CImageStringCache&) = delete;
    CImageStringCache& operator=(const CImageStringCache&) = delete;

    // Attributes
    enum { kMaxStrings = 512 };
    int GetCount() const;

    // Operations
    // Draws what image describes in rc, as CRenderEngine::DrawImageString does without a modifier.
    void Draw(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint, LPCWSTR image);
    void Clear();

    // Implementation
private:
    struct TPart
    {
        TImageDrawSettings settings;
        TImageInfo* pImage;          // the picture found for it, valid for the stamp below
        unsigned long nVersion;      // the manager's resource version when it was found
        int nDpi;                    // and its scale
    };
    struct TEntry
    {
        int nParts;
        TPart* pParts;
        ~TEntry() { delete[] pParts; }
    };
    TEntry* Parse(LPCWSTR image);

    CStdStringPtrMap m_entries;
};

// Draws one image of a description string at settings.rcDest (the manager's picture for its scale).
void DrawDescribedImage(HDC hDC, CPaintManagerUI* manager, const TImageInfo* image, const TImageDrawSettings& settings,
                        const RECT& rcControl, const RECT& rcPaint);

// DrawImageString for strings whose dest rectangles are already pixels (the window shadow): only the
// picture, its source and its corners follow the manager's scale.
bool DrawImageStringInPixels(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint, LPCWSTR image);

} // namespace Veneer
