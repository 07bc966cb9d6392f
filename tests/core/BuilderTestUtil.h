// Helpers for the dialog builder tests: a hidden window with its paint manager, probe controls, a callback.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace BuilderTest {

// What the probes, plug-ins and callbacks of one test did, in order ("what:detail").
extern std::vector<std::wstring> g_log;

// A control that logs its attributes with the manager and parent it saw at the time, logs its
// initialisation, and counts its destruction.
class CProbeUI : public Veneer::CControlUI
{
public:
    CProbeUI();
    ~CProbeUI() override;

    LPCWSTR GetClass() const override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoInit() override;

    static int s_nLive;
};

// A vertical layout that logs its attributes with the number of children it had at the time.
class CProbeLayoutUI : public Veneer::CVerticalLayoutUI
{
public:
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
};

// A container that refuses every child.
class CRefusingUI : public Veneer::CContainerUI
{
public:
    bool Add(Veneer::CControlUI* pControl) override;
};

// Makes "Probe", "ProbeLayout" and "Refusing"; logs every class name it is asked for.
class CProbeCallback : public Veneer::IDialogBuilderCallback
{
public:
    Veneer::CControlUI* CreateControl(LPCWSTR pstrClass) override;
};

// Registers a plug-in factory for the life of the object. The plug-in makes "PluginProbe" and logs
// every class name it is asked for.
class CPluginScope
{
public:
    CPluginScope();
    ~CPluginScope();
    CPluginScope(const CPluginScope&) = delete;
    CPluginScope& operator=(const CPluginScope&) = delete;
};

// A hidden 400 x 300 popup window with an initialised paint manager, and clean resource settings.
class BuilderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds XML text with the fixture's manager and no parent.
    Veneer::CControlUI* Build(LPCWSTR pstrXml, Veneer::IDialogBuilderCallback* pCallback = NULL);
    // Attaches the tree to the manager (which then owns it) and lays it out in rc.
    void AttachAndLayOut(Veneer::CControlUI* pRoot, const RECT& rc);

    HWND m_hWnd = NULL;
    Veneer::CPaintManagerUI* m_pm = NULL;
    CResourceScope* m_pScope = NULL;
    CTempFolder m_folder;
};

// "l,t,r,b" of a rectangle, for readable comparisons.
std::wstring RectText(const RECT& rc);
std::wstring RectText(int l, int t, int r, int b);
// The child at index of a container, or null.
Veneer::CControlUI* ChildAt(Veneer::CControlUI* pContainer, int iIndex);
int ChildCount(Veneer::CControlUI* pContainer);

} // namespace BuilderTest
