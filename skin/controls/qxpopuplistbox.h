// The drop-down window of the skinned combo box: a skinned list box in a
// top-level popup that never takes the activation or the focus, with a drop
// shadow, shown semi-transparent and faded in when its combo box asks.
#pragma once

#include "skin/controls/qxskinlistbox.h"

class TqxPopupListBox : public TqxSkinListBox {
public:
    explicit TqxPopupListBox(TComponent* AOwner);

    // Shows the window at the screen point without activating it, with the
    // owning combo box's alpha settings; returns once a fade-in is done, or
    // as soon as the list is hidden or freed meanwhile.
    void Show(TPoint AOrigin);
    void Hide();

    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void Dispatch(TMessage& AMessage) override;

private:
    // Whether the window carries the layered style; the alpha last applied
    // (-1: none since the style came).
    bool FOldAlphaBlend = false;
    Integer FOldAlphaBlendValue = -1;
};
