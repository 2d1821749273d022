#include "formtest.h"

#include "platform/gdi/surface.h"
#include "platform/win/input.h"
#include "skin/forms/skinmenus.h"

void TRecordingMenu::Hide() {
    Calls.push_back("Hide");
    FVisible = false;
    FPopups = 0;
    if (Form && Form->HandleAllocated()) win::SendMessageW(Form->Handle(), SKINMSG_MENUCLOSED, 0, 0);
}

void TRecordingMenu::Popup(TControl*, TqxSkinData*, Integer, const TRect& ARect, TMenuItem* AItem, bool) {
    Calls.push_back("Popup");
    FVisible = true;
    FPopups = 1;
    LastRect = ARect;
    LastItem = AItem;
}

void TRecordingMenu::PopupKeyDown(Word AKey) {
    Calls.push_back("Key " + std::to_string(AKey));
    if (AKey == win::VK_ESCAPE && FPopups > 0 && --FPopups == 0) FVisible = false;
}

void FormsTest::SetUp() {
    SkinFormsTest::SetUp();
    FormSkinMenuMaker = [](TqxDravenfold*, TCustomForm* AForm) {
        auto menu = std::make_unique<TRecordingMenu>();
        menu->Form = AForm;
        return menu;
    };
}

void FormsTest::TearDown() {
    // Handlers of a test may hold its locals: none may run while the forms go.
    for (Integer i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        form->OnClose = nullptr;
        form->OnPaint = nullptr;
        for (Integer j = 0; j < form->ComponentCount(); ++j)
            if (auto* component = dynamic_cast<TqxDravenfold*>(form->Components(j))) {
                component->OnCaptionPaint = nullptr;
                component->OnChangeSkinData = component->OnBeforeChangeSkinData = nullptr;
                component->OnAfterChangeSkinData = nullptr;
                component->OnMouseEnterEvent = component->OnMouseLeaveEvent = nullptr;
                component->OnMouseDownEvent = component->OnMouseUpEvent = nullptr;
                component->OnMouseMoveEvent = nullptr;
                component->OnPaintEvent = nullptr;
                component->OnActivate = component->OnDeActivate = nullptr;
                component->OnSkinMenuOpen = component->OnSkinMenuClose = nullptr;
                component->OnChangeRollUpState = component->OnMinimize = nullptr;
                component->OnRestore = component->OnMaximize = nullptr;
                component->OnActivateCustomObject = nullptr;
                component->OnShortCut = nullptr;
            }
    }
    SkinFormsTest::TearDown();
    FormSkinMenuMaker = MakeSkinMenu;
}

TForm* FormsTest::NewSkinnedForm(const String& AName, TRect ABounds, TFormBorderStyle AStyle) {
    auto* form = new TForm(Application);
    form->SetName(AName);
    form->SetBorderStyle(AStyle);
    form->SetBoundsRect(ABounds);
    new TqxDravenfold(form);
    form->Show();
    win::driver::Pump();
    return form;
}

TForm* FormsTest::SkinnedForm(const skinfixtures::TFixtureSkin& ASkin, TRect ABounds, TFormBorderStyle AStyle) {
    TForm* form = NewSkinnedForm(u"Skinned" + IntToStr(++FSkinnedForms), ABounds, AStyle);
    D(form)->SetSkinData(NewSkinData(ASkin));
    win::driver::Pump();
    return form;
}

TForm* FormsTest::NewMainForm(TRect ABounds) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetName(u"Main");
    form->SetBoundsRect(ABounds);
    new TqxDravenfold(form);
    form->Show();
    win::driver::Pump();
    return form;
}

TRecordingMenu* FormsTest::Menu(TForm* AForm) {
    return static_cast<TRecordingMenu*>(D(AForm)->SkinMenu());
}

TqxSkinData* FormsTest::NewSkinData(const skinfixtures::TFixtureSkin& ASkin) {
    auto* data = new TqxSkinData(Application);
    skinfixtures::LoadFixture(data, ASkin);
    return data;
}

TColor FormsTest::FramePixel(TForm* AForm, Integer X, Integer Y) {
    return TColor(gdi::PixelToColor(win::driver::RawPixel(AForm->Handle(), X, Y) & gdi::ColorMask));
}

win::POINT FormsTest::At(TForm* AForm, Integer X, Integer Y) {
    return win::POINT{AForm->Left() + X, AForm->Top() + Y};
}
