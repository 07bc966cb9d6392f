// Small helpers shared by the markup tests: loading UTF-8 text and reading the error texts.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIMarkup.h"

#include <string>

namespace MarkupTest {

inline bool LoadUtf8(Veneer::CMarkup& xml, const std::string& text)
{
    return xml.LoadFromMem(reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()),
                           Veneer::XMLFILE_ENCODING_UTF8);
}

inline std::wstring ErrorMessage(const Veneer::CMarkup& xml)
{
    WCHAR sz[100] = {};
    xml.GetLastErrorMessage(sz, lengthof(sz));
    return sz;
}

inline std::wstring ErrorLocation(const Veneer::CMarkup& xml)
{
    WCHAR sz[50] = {};
    xml.GetLastErrorLocation(sz, lengthof(sz));
    return sz;
}

inline std::wstring Str(LPCWSTR pstr)
{
    return pstr != NULL ? std::wstring(pstr) : std::wstring(L"<null>");
}

// One line per element: depth, name, attributes and text; enough to compare two parses.
inline void DumpNode(const Veneer::CMarkupNode& node, int depth, std::wstring& out)
{
    for (Veneer::CMarkupNode n = node; n.IsValid(); n = n.GetSibling()) {
        out += std::to_wstring(depth) + L" <" + Str(n.GetName()) + L">";
        for (int i = 0; i < n.GetAttributeCount(); ++i) {
            out += L" " + Str(n.GetAttributeName(i)) + L"=[" + Str(n.GetAttributeValue(i)) + L"]";
        }
        out += L" text=[" + Str(n.GetValue()) + L"]\n";
        DumpNode(n.GetChild(), depth + 1, out);
    }
}

inline std::wstring Dump(const Veneer::CMarkup& xml)
{
    std::wstring out;
    DumpNode(xml.GetRoot(), 0, out);
    return out;
}

} // namespace MarkupTest
