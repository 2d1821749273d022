// The bases of the skinned controls without a window of their own, painted
// on their parent: the window-less twins of TqxSkinControl and
// TqxSkinCustomControl, with the same element link, resize modes, size
// rules, control images, default size and font (qxskinlink.h), and without
// what needs a window (region, mask, erase and paint messages, parent
// background, container painting, rectangle mapping).
#pragma once

#include "skin/controls/qxskinlink.h"

// The form's skin change never forgets these controls' elements before the
// new skin is in (each paint looks the element up again anyway), so
// BeforeChangeSkinData stays the interface's empty one.
class TqxGraphicSkinControl : public TqxSkinLink<TGraphicControl> {
public:
    explicit TqxGraphicSkinControl(TComponent* AOwner);
};

class TqxGraphicSkinCustomControl : public TqxSkinCustomLink<TqxGraphicSkinControl> {
public:
    using TqxSkinCustomLink<TqxGraphicSkinControl>::TqxSkinCustomLink;
};

extern template class TqxSkinCustomLink<TqxGraphicSkinControl>;
