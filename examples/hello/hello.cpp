// Hello: a window built from a skin string, with a label and a button that changes it.
#include "veneer/Veneer.h"

#include <string>

using namespace Veneer;

// The whole user interface. "closebtn" is one of the names every skinned window knows.
const wchar_t kSkin[] =
    L"<Window size=\"360,170\" caption=\"0,0,0,32\">"
    L"<Font name=\"Tahoma\" size=\"20\" bold=\"true\"/>"
    L"<VerticalLayout bkcolor=\"#FFF4F6FA\" bordersize=\"1\" bordercolor=\"#FF3C5A82\">"
    L"  <HorizontalLayout height=\"32\" bkcolor=\"#FF3C5A82\">"
    L"    <Label text=\"Hello\" textcolor=\"#FFFFFFFF\" textpadding=\"12,0,0,0\"/>"
    L"    <Button name=\"closebtn\" width=\"40\" text=\"X\" textcolor=\"#FFFFFFFF\" hotbkcolor=\"#FFC0392B\"/>"
    L"  </HorizontalLayout>"
    L"  <Label name=\"greeting\" height=\"82\" text=\"Hello, world!\" font=\"0\""
    L"         align=\"vcenter\" textcolor=\"#FF203040\"/>"
    L"  <HorizontalLayout height=\"56\" inset=\"120,8,120,16\">"
    L"    <Button name=\"greet\" text=\"Greet again\" bkcolor=\"#FFDDE5EF\" hotbkcolor=\"#FFC6D4E6\""
    L"            bordersize=\"1\" bordercolor=\"#FF3C5A82\" borderround=\"6,6\"/>"
    L"  </HorizontalLayout>"
    L"</VerticalLayout>"
    L"</Window>";

class CHelloWnd : public WindowImplBase
{
public:
    LPCWSTR GetWindowClass() const override { return L"VeneerHello"; }

    void OnClick(TNotifyUI& msg) override
    {
        if (msg.pSender->GetName() == L"greet") {
            const std::wstring text = L"Hello again (" + std::to_wstring(++m_nGreetings) + L")";
            m_PaintManager.FindControl(L"greeting")->SetText(text.c_str());
        }
        WindowImplBase::OnClick(msg); // "closebtn" closes the window
    }

    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ::PostQuitMessage(0);
    }

protected:
    CUIString GetSkinDir() override { return L""; }
    CUIString GetSkinXml() override { return kSkin; } // text starting with '<' is the skin itself

private:
    int m_nGreetings = 0;
};

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    // Before any window: the skin is laid out at each monitor's scale instead of stretched blurry.
    CPaintManagerUI::DeclareDPIAwareness();
    CPaintManagerUI::SetInstance(hInstance);
    CHelloWnd window;
    if (window.Create(NULL, L"Hello", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0) == NULL) return 1;
    window.CenterWindow();
    ::ShowWindow(window.GetHWND(), nCmdShow);
    CPaintManagerUI::MessageLoop();
    return 0;
}
