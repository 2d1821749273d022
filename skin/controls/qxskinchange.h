// What the form component needs of a skinned control to carry a skin change
// to it: the control's skin data and the two calls around the exchange. Every
// skinned control class implements it, so the form's control walk finds them
// without knowing their classes.
#pragma once

class TqxSkinData;

class IqxSkinChangeable {
public:
    virtual ~IqxSkinChangeable() = default;
    // The skin data component the control draws from; nil without one.
    virtual TqxSkinData* SkinData() const = 0;
    // The old skin is about to be cleared: forget the element. Only the
    // windowed skinned controls act on it.
    virtual void BeforeChangeSkinData() {}
    // The new skin is loaded: read the element again, resize and repaint.
    virtual void ChangeSkinData() = 0;
};
