// Skinned forms for the form component's tests: forms with a component on
// the memory back end, skins loaded into skin data, a recording stand-in
// for the skinned menus, and the frame's pixels.
#pragma once

#include <string>
#include <vector>

#include "platform/win/testdriver.h"
#include "skin/forms/dravenfold.h"
#include "skinfixtures.h"
#include "skinforms.h"

// Records what the form component asks of its skinned menu.
class TRecordingMenu : public TqxFormSkinMenu {
public:
    bool Visible() const override { return FVisible; }
    void Hide() override;
    void Popup(TControl* APopupCtrl, TqxSkinData* ASkinData, Integer AStartIndex, const TRect& ARect,
               TMenuItem* AItem, bool APopupUp) override;
    Integer PopupCount() const override { return FPopups; }
    void PopupKeyDown(Word AKey) override;

    bool FVisible = false;
    Integer FPopups = 0;
    std::vector<std::string> Calls;
    TRect LastRect;
    TMenuItem* LastItem = nullptr;
    // The form to tell when the chain closes.
    TCustomForm* Form = nullptr;
};

class FormsTest : public skinfixtures::SkinFormsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A shown form with a form component at the bounds.
    TForm* NewSkinnedForm(const String& AName, TRect ABounds, TFormBorderStyle AStyle = bsSizeable);
    // A shown form with a form component and skin data holding the fixture.
    TForm* SkinnedForm(const skinfixtures::TFixtureSkin& ASkin, TRect ABounds = Rect(100, 100, 700, 500),
                       TFormBorderStyle AStyle = bsSizeable);
    // The application's main form, with a form component, shown.
    TForm* NewMainForm(TRect ABounds);
    static TqxDravenfold* D(TForm* AForm) { return FindDravenfold(AForm); }
    static TRecordingMenu* Menu(TForm* AForm);
    // Skin data owned by the application, with the fixture loaded.
    TqxSkinData* NewSkinData(const skinfixtures::TFixtureSkin& ASkin);
    // A frame pixel (window coordinates) as a colour 0x00BBGGRR.
    static TColor FramePixel(TForm* AForm, Integer X, Integer Y);
    // A screen point of the form's window coordinates.
    static win::POINT At(TForm* AForm, Integer X, Integer Y);

private:
    Integer FSkinnedForms = 0;
};
