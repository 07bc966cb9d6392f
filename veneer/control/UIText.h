// CTextUI: a multi-line label whose formatted text may hold clickable links that report their index.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"

namespace Veneer {

class CTextUI : public CLabelUI
{
public:
// Construction
    CTextUI();
    ~CTextUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // The text of link i as found at the last paint, or null outside the links found.
    CUIString* GetLinkContent(int iIndex);
    int GetLinkCount() const;
    // Where link i was drawn at the last formatted paint; empty outside the capacity.
    RECT GetLinkRect(int iIndex) const;
    int GetHoverLink() const;

// Overridables
    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

// Implementation
protected:
    enum { MAX_LINK = 8 };

    // The first link rectangle holding the point, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[MAX_LINK];
    CUIString m_sLinks[MAX_LINK];
    int m_nHoverLink;
};

} // namespace Veneer
