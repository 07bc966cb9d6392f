// Helpers for the dialog builder tests: the fixture, probe controls, the callback and the plug-in.
#include "veneer/core/UISetup.h"
#include "BuilderTestUtil.h"
#include "support/RoutedWindow.h"

using namespace Veneer;

namespace BuilderTest {

std::vector<std::wstring> g_log;
int CProbeUI::s_nLive = 0;

CProbeUI::CProbeUI()
{
    ++s_nLive;
}

CProbeUI::~CProbeUI()
{
    --s_nLive;
}

LPCWSTR CProbeUI::GetClass() const
{
    return L"ProbeUI";
}

void CProbeUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    g_log.push_back(std::wstring(L"attr:") + pstrName + L"=" + pstrValue + L" manager=" +
                    (GetManager() != NULL ? L"1" : L"0") + L" parent=" + (GetParent() != NULL ? L"1" : L"0"));
    CControlUI::SetAttribute(pstrName, pstrValue);
}

void CProbeUI::DoInit()
{
    g_log.push_back(std::wstring(L"init:") + GetName().GetData());
}

void CProbeLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    g_log.push_back(std::wstring(L"layout:") + pstrName + L" children=" + std::to_wstring(GetCount()));
    CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
}

bool CRefusingUI::Add(CControlUI* /*pControl*/)
{
    return false;
}

CControlUI* CProbeCallback::CreateControl(LPCWSTR pstrClass)
{
    g_log.push_back(std::wstring(L"callback:") + pstrClass);
    if (::wcscmp(pstrClass, L"Probe") == 0) return new CProbeUI;
    if (::wcscmp(pstrClass, L"ProbeLayout") == 0) return new CProbeLayoutUI;
    if (::wcscmp(pstrClass, L"Refusing") == 0) return new CRefusingUI;
    return NULL;
}

namespace {

CControlUI* PluginCreateControl(LPCWSTR pstrClass)
{
    g_log.push_back(std::wstring(L"plugin:") + pstrClass);
    if (::wcscmp(pstrClass, L"PluginProbe") == 0) return new CProbeUI;
    return NULL;
}

void* PluginEntry()
{
    return reinterpret_cast<void*>(&PluginCreateControl);
}

} // namespace

CPluginScope::CPluginScope()
{
    CPaintManagerUI::GetPlugins()->Add(PluginEntry());
}

CPluginScope::~CPluginScope()
{
    CStdPtrArray* pPlugins = CPaintManagerUI::GetPlugins();
    int index = pPlugins->Find(PluginEntry());
    if (index >= 0) pPlugins->Remove(index);
}

void BuilderTest::SetUp()
{
    g_log.clear();
    m_pScope = new CResourceScope;
    ASSERT_TRUE(m_folder.IsValid());
    m_hWnd = VeneerTest::CreateRoutedWindow(400, 300);
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
}

void BuilderTest::TearDown()
{
    delete m_pm;
    m_pm = NULL;
    if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    VeneerTest::DiscardMessages();
    delete m_pScope;
    m_pScope = NULL;
    g_log.clear();
}

CControlUI* BuilderTest::Build(LPCWSTR pstrXml, IDialogBuilderCallback* pCallback)
{
    CDialogBuilder builder;
    return builder.Create(pstrXml, NULL, pCallback, m_pm, NULL);
}

void BuilderTest::AttachAndLayOut(CControlUI* pRoot, const RECT& rc)
{
    ASSERT_TRUE(pRoot != NULL);
    ASSERT_TRUE(m_pm->AttachDialog(pRoot));
    pRoot->SetPos(rc);
}

std::wstring RectText(const RECT& rc)
{
    return RectText(rc.left, rc.top, rc.right, rc.bottom);
}

std::wstring RectText(int l, int t, int r, int b)
{
    return std::to_wstring(l) + L"," + std::to_wstring(t) + L"," + std::to_wstring(r) + L"," + std::to_wstring(b);
}

CControlUI* ChildAt(CControlUI* pContainer, int iIndex)
{
    if (pContainer == NULL) return NULL;
    IContainerUI* pItems = static_cast<IContainerUI*>(pContainer->GetInterface(L"IContainer"));
    return pItems != NULL ? pItems->GetItemAt(iIndex) : NULL;
}

int ChildCount(CControlUI* pContainer)
{
    if (pContainer == NULL) return -1;
    IContainerUI* pItems = static_cast<IContainerUI*>(pContainer->GetInterface(L"IContainer"));
    return pItems != NULL ? pItems->GetCount() : -1;
}

} // namespace BuilderTest
