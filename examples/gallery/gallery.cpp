// Gallery: every control the builder makes, from skin\gallery.xml beside the program. The tabs
// switch pages, the slider moves the progress bar, and the status line shows what the controls report.
#include "veneer/Veneer.h"

#include <string>

using namespace Veneer;

class CGalleryWnd : public WindowImplBase
{
public:
    LPCWSTR GetWindowClass() const override { return L"VeneerGallery"; }

    void Notify(TNotifyUI& msg) override
    {
        CControlUI* pSender = msg.pSender;
        if (pSender == NULL) return WindowImplBase::Notify(msg);
        if (msg.sType == L"selectchanged" && !pSender->GetUserData().IsEmpty()) {
            // The tab options carry their page's index.
            Find<CTabLayoutUI>(L"pages")->SelectItem(::_wtoi(pSender->GetUserData()));
        } else if (msg.sType == L"valuechanged") {
            const int value = static_cast<CSliderUI*>(pSender)->GetValue();
            Find<CProgressUI>(L"progress")->SetValue(value);
            Find<CProgressUI>(L"progress")->SetText((std::to_wstring(value) + L"%").c_str());
        }
        std::wstring status = std::wstring(msg.sType.GetData()) + L" from " + pSender->GetName().GetData();
        if (msg.sType == L"link") {
            const CUIString* pLink = static_cast<CTextUI*>(pSender)->GetLinkContent(static_cast<int>(msg.wParam));
            if (pLink != NULL) status += std::wstring(L": ") + pLink->GetData();
        }
        if (msg.sType != L"windowinit") Find<CLabelUI>(L"status")->SetText(status.c_str());
        WindowImplBase::Notify(msg); // "click" on minbtn and closebtn
    }

    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ::PostQuitMessage(0);
    }

protected:
    CUIString GetSkinDir() override { return L"skin\\"; } // beside the program
    CUIString GetSkinXml() override { return L"gallery.xml"; }

private:
    template <class T> T* Find(LPCWSTR pstrName) { return static_cast<T*>(m_PaintManager.FindControl(pstrName)); }
};

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    // Before any window: the skin is laid out at each monitor's scale instead of stretched blurry.
    CPaintManagerUI::DeclareDPIAwareness();
    ::OleInitialize(NULL); // for the web browser control
    CPaintManagerUI::SetInstance(hInstance);
    CGalleryWnd window;
    if (window.Create(NULL, L"Veneer gallery", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0) != NULL) {
        window.CenterWindow();
        ::ShowWindow(window.GetHWND(), nCmdShow);
        CPaintManagerUI::MessageLoop();
    }
    ::OleUninitialize();
    return 0;
}
