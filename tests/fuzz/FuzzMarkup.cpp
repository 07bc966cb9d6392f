// Fuzz target: markup text in every encoding, then every node and attribute of the document walked.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "support/GuardedBlock.h"

using namespace Veneer;

namespace Fuzz {

namespace {

void Seeds(Inputs& seeds)
{
    AddFiles(seeds, "skin", L"*.xml");
    AddTestLiterals(seeds, "tests/core", { "<" });
    // The skins again as UTF-16 with a byte-order mark, in both byte orders.
    const size_t skins = seeds.size();
    for (size_t i = 0; i < skins && i < 4; ++i) {
        const std::wstring wide = Widen(reinterpret_cast<const BYTE*>(seeds[i].data()), seeds[i].size());
        std::string little("\xFF\xFE", 2), big("\xFE\xFF", 2);
        for (wchar_t c : wide) {
            little += static_cast<char>(c & 0xFF);
            little += static_cast<char>(c >> 8);
            big += static_cast<char>(c >> 8);
            big += static_cast<char>(c & 0xFF);
        }
        seeds.push_back(little);
        seeds.push_back(big);
    }
}

// Every node, depth first, and everything each node answers; a bounded number of nodes.
void Walk(const CMarkup& xml)
{
    wchar_t value[8];
    int visited = 0;
    CMarkupNode node = xml.GetRoot();
    while (node.IsValid() && ++visited < 100000) {
        node.GetName();
        node.GetValue();
        node.HasSiblings();
        const int count = node.GetAttributeCount();
        for (int i = -1; i <= count; ++i) {
            LPCWSTR name = node.GetAttributeName(i);
            node.GetAttributeValue(i);
            node.GetAttributeValue(i, value, lengthof(value));
            if (name == NULL) continue;
            node.HasAttribute(name);
            node.GetAttributeValue(name);
            node.GetAttributeValue(name, value, 1);
        }
        node.HasAttribute(L"");
        if (node.HasChildren()) {
            CMarkupNode child = node.GetChild();
            node.GetChild(child.GetName());
            node = child;
            continue;
        }
        while (node.IsValid() && !node.GetSibling().IsValid()) node = node.GetParent();
        if (node.IsValid()) node = node.GetSibling();
    }
}

bool Run(const BYTE* data, size_t size)
{
    bool accepted = false;
    CMarkup xml;
    xml.SetPreserveWhitespace(size % 2 == 0);
    wchar_t message[100];
    for (int encoding : { XMLFILE_ENCODING_UTF8, XMLFILE_ENCODING_UNICODE, XMLFILE_ENCODING_ANSI }) {
        if (xml.LoadFromMem(data, static_cast<DWORD>(size), encoding)) {
            Walk(xml);
            accepted = true;
        }
        xml.GetLastErrorMessage(message, lengthof(message));
        xml.GetLastErrorLocation(message, 3);
    }
    // The bytes as the wide text a caller would hand over, its terminator against the guard page.
    std::wstring wide(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    wide.resize(wcslen(wide.c_str()));
    CGuardedText text(wide);
    if (xml.Load(text.Get())) Walk(xml);
    CGuardedText utf8(Widen(data, size));
    if (xml.Load(utf8.Get())) Walk(xml);
    return accepted;
}

} // namespace

TTarget MarkupTarget()
{
    return { "markup", Seeds,
             { "<Window>", "</Window>", "<a b=\"c\">", "</a>", "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
               "&lt;", "&gt;", "&quot;", "&apos;", "&#65;", "&#x10FFFF;", "&#0;", "<!DOCTYPE x>", std::string("\xFF\xFE<\0", 4) },
             64 * 1024, Run };
}

} // namespace Fuzz
