// Tests of docs/skin-reference.md against the framework: every tag the builder knows has a section, and
// each control, and the Window element, takes exactly the attributes its section (and those it inherits)
// lists. Candidate names come from the reference and from every text literal of the framework's sources.
#include "veneer/core/UISetup.h"

#include "support/PngFiles.h"
#include "support/ChildProcess.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

std::wstring SourcePath(const std::wstring& relative)
{
    return HostProgramPath(VENEER_SOURCE_DIR) + L"\\" + relative;
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The words between backticks in a piece of text.
std::vector<std::string> Quoted(const std::string& text)
{
    std::vector<std::string> words;
    for (size_t open = text.find('`'); open != std::string::npos; open = text.find('`', open)) {
        const size_t close = text.find('`', open + 1);
        if (close == std::string::npos) break;
        words.push_back(text.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return words;
}

// One element of the reference: the part it is listed in, what it inherits and its attributes.
struct TElement
{
    std::string part;
    std::string inherits;
    std::set<std::string> attributes;
};

// Sections are "### `Tag`" headings under "## Part" headings; an element's attributes are the first
// cells of its table rows, and "Inherits the attributes of `Tag`." names its base.
std::map<std::string, TElement> ReadReference(const std::string& text)
{
    std::map<std::string, TElement> elements;
    std::istringstream lines(text);
    std::string line;
    std::string part;
    TElement* pCurrent = NULL;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 3, "## ") == 0) {
            part = line.substr(3);
            pCurrent = NULL;
        } else if (line.compare(0, 4, "### ") == 0) {
            const std::vector<std::string> names = Quoted(line);
            pCurrent = names.size() == 1 ? &elements[names[0]] : NULL;
            if (pCurrent != NULL) pCurrent->part = part;
        } else if (pCurrent != NULL && line.compare(0, 27, "Inherits the attributes of ") == 0) {
            const std::vector<std::string> names = Quoted(line);
            if (!names.empty()) pCurrent->inherits = names[0];
        } else if (pCurrent != NULL && line.compare(0, 3, "| `") == 0) {
            const std::string cell = line.substr(1, line.find('|', 1) - 1);
            for (const std::string& name : Quoted(cell)) pCurrent->attributes.insert(name);
        }
    }
    return elements;
}

// Every text literal (L"...") of the framework's sources that could name a tag or an attribute: a
// letter, then letters and digits.
void CollectLiterals(const std::wstring& folder, std::set<std::string>& literals)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            CollectLiterals(folder + L"\\" + name, literals);
            continue;
        }
        const std::string source = ReadAll(folder + L"\\" + name);
        for (size_t start = source.find("L\""); start != std::string::npos; start = source.find("L\"", start + 2)) {
            const size_t end = source.find('"', start + 2);
            if (end == std::string::npos) break;
            const std::string literal = source.substr(start + 2, end - start - 2);
            bool bWord = !literal.empty() && ::isalpha(static_cast<unsigned char>(literal[0]));
            for (char ch : literal) bWord = bWord && ::isalnum(static_cast<unsigned char>(ch));
            if (bWord) literals.insert(literal);
        }
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
}

// Records the attributes the controls and the Window element ignore.
class CIgnored : public IUnknownAttributeUI
{
public:
    void UnknownAttribute(CControlUI* /*pControl*/, LPCWSTR pstrName, LPCWSTR /*pstrValue*/) override
    {
        names.push_back(Narrow(pstrName));
    }

    std::vector<std::string> names;
};

class SkinReferenceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_elements = ReadReference(ReadAll(SourcePath(L"docs\\skin-reference.md")));
        CollectLiterals(SourcePath(L"veneer"), s_candidates);
        for (const auto& element : s_elements) {
            s_candidates.insert(element.first);
            s_candidates.insert(element.second.attributes.begin(), element.second.attributes.end());
        }
    }

    void SetUp() override
    {
        ASSERT_FALSE(s_elements.empty()) << "docs/skin-reference.md cannot be read";
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_hWnd != NULL);
        m_manager.Init(m_hWnd);
        m_manager.SetUnknownAttributeListener(&m_ignored);
    }

    void TearDown() override
    {
        m_manager.SetUnknownAttributeListener(NULL);
        if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
    }

    // A new control of the tag, made by the builder; null when the builder knows no such tag.
    CControlUI* Make(const std::string& tag)
    {
        CDialogBuilder builder;
        return builder.Create(STRINGorID(Widen("<Window><" + tag + " /></Window>").c_str()));
    }

    // The attributes an element's section lists, with those of the elements it inherits from.
    static std::set<std::string> Documented(const std::string& tag)
    {
        std::set<std::string> names;
        for (std::string name = tag; s_elements.count(name) != 0; name = s_elements[name].inherits) {
            names.insert(s_elements[name].attributes.begin(), s_elements[name].attributes.end());
            if (s_elements[name].inherits == name) break;
        }
        return names;
    }

    static std::map<std::string, TElement> s_elements;
    static std::set<std::string> s_candidates;

    HWND m_hWnd = NULL;
    CPaintManagerUI m_manager;
    CIgnored m_ignored;
};

std::map<std::string, TElement> SkinReferenceTest::s_elements;
std::set<std::string> SkinReferenceTest::s_candidates;

TEST_F(SkinReferenceTest, EveryTagTheBuilderMakesHasAControlSection)
{
    size_t nControls = 0;
    for (const std::string& name : s_candidates) {
        CControlUI* pControl = Make(name);
        const bool bDocumented = s_elements.count(name) != 0 && s_elements[name].part == "Controls";
        EXPECT_EQ(pControl != NULL, bDocumented) << "<" << name << ">: "
                                                 << (pControl != NULL ? "built but not in the reference"
                                                                      : "in the reference but not built");
        if (pControl != NULL) ++nControls;
        delete pControl;
    }
    EXPECT_GE(nControls, 19u);
    for (const char* element : {"Window", "Image", "Font", "Default", "Include"}) {
        EXPECT_EQ(1u, s_elements.count(element)) << element << " has no section";
    }
}

TEST_F(SkinReferenceTest, EachControlTakesExactlyTheAttributesItsSectionLists)
{
    for (const auto& element : s_elements) {
        if (element.second.part != "Controls") continue;
        const std::set<std::string> documented = Documented(element.first);
        std::set<std::string> taken;
        for (const std::string& name : s_candidates) {
            CControlUI* pControl = Make(element.first);
            ASSERT_TRUE(pControl != NULL) << element.first;
            pControl->SetManager(&m_manager, NULL, false);
            m_ignored.names.clear();
            pControl->SetAttribute(Widen(name).c_str(), L"1");
            if (m_ignored.names.empty()) taken.insert(name);
            delete pControl;
        }
        for (const std::string& name : taken) {
            EXPECT_EQ(1u, documented.count(name)) << element.first << " takes `" << name << "`, undocumented";
        }
        for (const std::string& name : documented) {
            EXPECT_EQ(1u, taken.count(name)) << element.first << " ignores the documented `" << name << "`";
        }
        // Ignored attributes are reported, so a name nobody takes cannot pass for a taken one.
        EXPECT_EQ(0u, taken.count("nosuchattribute")) << element.first;
    }
}

TEST_F(SkinReferenceTest, WindowTakesExactlyTheAttributesItsSectionLists)
{
    const std::set<std::string> documented = Documented("Window");
    ASSERT_FALSE(documented.empty());
    std::set<std::string> candidates = s_candidates;
    candidates.insert("nosuchattribute");
    std::set<std::string> taken;
    for (const std::string& name : candidates) {
        m_ignored.names.clear();
        CDialogBuilder builder;
        delete builder.Create(STRINGorID(Widen("<Window " + name + "=\"1\"><Control /></Window>").c_str()), NULL,
                              NULL, &m_manager);
        if (m_ignored.names.empty()) taken.insert(name);
    }
    EXPECT_EQ(documented, taken);
}

} // namespace
