// CMaxButtonRoute: a skinned maximise/restore button that the system sees as the window's maximise button.
#pragma once

#include "veneer/Veneer.h"

// Windows 11 offers its snap layouts over whatever the window calls its maximise button (HTMAXBUTTON).
// Over that area the mouse then arrives as non-client messages, which this route hands back to the
// skinned buttons as client messages, so they still show their hot and pushed pictures and click.
class CMaxButtonRoute
{
public:
    // Construction
    CMaxButtonRoute();

    // Operations
    // The window's paint manager and its two buttons, of which at most one is shown; either may be null.
    void Attach(Veneer::CPaintManagerUI* pManager, Veneer::CControlUI* pMaxButton, Veneer::CControlUI* pRestoreButton);
    // The hit-test code for a screen point, given the code the window answers otherwise.
    LRESULT HitTest(LPARAM lScreenPoint, LRESULT lCode) const;
    // Mouse messages over the button and the leave messages around it; true when handled.
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

private:
    bool IsOverButton(POINT ptScreen) const;
    bool IsCursorOverButton() const;
    // Sends the client message that stands for a non-client one at the same screen point.
    void Forward(UINT uMsg, WPARAM wParam, LPARAM lScreenPoint) const;

    Veneer::CPaintManagerUI* m_pManager;
    Veneer::CControlUI* m_pMaxButton;
    Veneer::CControlUI* m_pRestoreButton;
};
