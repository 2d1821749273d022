// The published members of the framework's own classes, their enumerations
// and the named constants descriptions may use.
#include "platform/toolkit/actions.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/timer.h"

namespace {

void RegisterNames() {
    RegisterEnum<TAlign>({u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient", u"alCustom"});
    RegisterEnum<TAnchorKind>({u"akLeft", u"akTop", u"akRight", u"akBottom"});
    RegisterEnum<TAlignment>({u"taLeftJustify", u"taRightJustify", u"taCenter"});
    RegisterEnum<TTextLayout>({u"tlTop", u"tlCenter", u"tlBottom"});
    RegisterEnum<TFontStyle>({u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"});
    RegisterEnum<TFormBorderStyle>(
        {u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"});
    RegisterEnum<TFormStyle>({u"fsNormal", u"fsMDIChild", u"fsMDIForm", u"fsStayOnTop"});
    RegisterEnum<TBorderIcon>({u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp"});
    RegisterEnum<TWindowState>({u"wsNormal", u"wsMinimized", u"wsMaximized"});
    RegisterEnum<TPosition>({u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly",
                             u"poScreenCenter", u"poDesktopCenter", u"poMainFormCenter",
                             u"poOwnerFormCenter"});
    RegisterEnum<TMenuAutoFlag>({u"maAutomatic", u"maManual", u"maParent"});
    RegisterConstants({
        {u"clScrollBar", clScrollBar},
        {u"clBackground", clBackground},
        {u"clActiveCaption", clActiveCaption},
        {u"clInactiveCaption", clInactiveCaption},
        {u"clMenu", clMenu},
        {u"clWindow", clWindow},
        {u"clWindowFrame", clWindowFrame},
        {u"clMenuText", clMenuText},
        {u"clWindowText", clWindowText},
        {u"clCaptionText", clCaptionText},
        {u"clActiveBorder", clActiveBorder},
        {u"clInactiveBorder", clInactiveBorder},
        {u"clAppWorkSpace", clAppWorkSpace},
        {u"clHighlight", clHighlight},
        {u"clHighlightText", clHighlightText},
        {u"clBtnFace", clBtnFace},
        {u"clBtnShadow", clBtnShadow},
        {u"clGrayText", clGrayText},
        {u"clBtnText", clBtnText},
        {u"clInactiveCaptionText", clInactiveCaptionText},
        {u"clBtnHighlight", clBtnHighlight},
        {u"cl3DDkShadow", cl3DDkShadow},
        {u"cl3DLight", cl3DLight},
        {u"clInfoText", clInfoText},
        {u"clInfoBk", clInfoBk},
        {u"clHotLight", clHotLight},
        {u"clMenuHighlight", clMenuHighlight},
        {u"clMenuBar", clMenuBar},
        {u"clBlack", clBlack},
        {u"clMaroon", clMaroon},
        {u"clGreen", clGreen},
        {u"clOlive", clOlive},
        {u"clNavy", clNavy},
        {u"clPurple", clPurple},
        {u"clTeal", clTeal},
        {u"clGray", clGray},
        {u"clSilver", clSilver},
        {u"clRed", clRed},
        {u"clLime", clLime},
        {u"clYellow", clYellow},
        {u"clBlue", clBlue},
        {u"clFuchsia", clFuchsia},
        {u"clAqua", clAqua},
        {u"clWhite", clWhite},
        {u"clNone", clNone},
        {u"clDefault", clDefault},
        {u"crDefault", crDefault},
        {u"crNone", crNone},
        {u"crArrow", crArrow},
        {u"crCross", crCross},
        {u"crIBeam", crIBeam},
        {u"crSizeNESW", crSizeNESW},
        {u"crSizeNS", crSizeNS},
        {u"crSizeNWSE", crSizeNWSE},
        {u"crSizeWE", crSizeWE},
        {u"crUpArrow", crUpArrow},
        {u"crHourGlass", crHourGlass},
        {u"crNo", crNo},
        {u"crAppStart", crAppStart},
        {u"crHelp", crHelp},
        {u"crHandPoint", crHandPoint},
        {u"crSizeAll", crSizeAll},
        {u"crHSplit", crHSplit},
        {u"crVSplit", crVSplit},
        {u"ANSI_CHARSET", win::ANSI_CHARSET},
        {u"DEFAULT_CHARSET", win::DEFAULT_CHARSET},
        {u"SYMBOL_CHARSET", win::SYMBOL_CHARSET},
        {u"SHIFTJIS_CHARSET", win::SHIFTJIS_CHARSET},
        {u"HANGUL_CHARSET", win::HANGUL_CHARSET},
        {u"GB2312_CHARSET", win::GB2312_CHARSET},
        {u"CHINESEBIG5_CHARSET", win::CHINESEBIG5_CHARSET},
        {u"OEM_CHARSET", win::OEM_CHARSET},
        {u"mrNone", mrNone},
        {u"mrOk", mrOk},
        {u"mrCancel", mrCancel},
        {u"mrAbort", mrAbort},
        {u"mrRetry", mrRetry},
        {u"mrIgnore", mrIgnore},
        {u"mrYes", mrYes},
        {u"mrNo", mrNo},
        {u"mrAll", mrAll},
        {u"mrNoToAll", mrNoToAll},
        {u"mrYesToAll", mrYesToAll},
        {u"mrClose", mrClose},
    });
}

void RegisterGraphicsClasses() {
    RegisterClass<TFont>()
        .Property(u"Name", &TFont::Name, &TFont::SetName)
        .Property(u"Height", &TFont::Height, &TFont::SetHeight)
        .Property(u"Size", &TFont::Size, &TFont::SetSize)
        .Property(u"Style", &TFont::Style, &TFont::SetStyle)
        .Property(u"Color", &TFont::Color, &TFont::SetColor)
        .Property(u"Charset", &TFont::Charset, &TFont::SetCharset);
    RegisterClass<TSizeConstraints>()
        .Property(u"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
        .Property(u"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
        .Property(u"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
        .Property(u"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth);
}

void RegisterControlClasses() {
    RegisterClass<TComponent>().Property(u"Tag", &TComponent::Tag, &TComponent::SetTag);
    RegisterClass<TControl, TComponent>()
        .ParentComponent([](TComponent* AChild, TComponent* AParent) {
            auto* parent = dynamic_cast<TWinControl*>(AParent);
            if (!parent)
                throw EInvalidOperation(AChild->Name() + u" cannot be placed on " + AParent->ClassName());
            static_cast<TControl*>(AChild)->SetParent(parent);
        })
        .Property(u"Left", &TControl::Left, &TControl::SetLeft)
        .Property(u"Top", &TControl::Top, &TControl::SetTop)
        .Property(u"Width", &TControl::Width, &TControl::SetWidth)
        .Property(u"Height", &TControl::Height, &TControl::SetHeight)
        .Property(u"ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
        .Property(u"ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
        .Property(u"Align", &TControl::Align, &TControl::SetAlign)
        .Property(u"Anchors", &TControl::Anchors, &TControl::SetAnchors)
        .Property(u"Constraints", &TControl::Constraints)
        .Property(u"AutoSize", &TControl::AutoSize, &TControl::SetAutoSize)
        .Property(u"Visible", &TControl::Visible, &TControl::SetVisible)
        .Property(u"Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Property(u"Caption", &TControl::Caption, &TControl::SetCaption)
        .Property(u"Font", &TControl::Font)
        .Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Property(u"Color", &TControl::Color, &TControl::SetColor)
        .Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Property(u"Hint", &TControl::Hint, &TControl::SetHint)
        .Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Property(u"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
        .Property(u"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor)
        .Property(u"Action", &TControl::Action, &TControl::SetAction)
        .Event(u"OnClick", &TControl::OnClick)
        .Event(u"OnDblClick", &TControl::OnDblClick)
        .Event(u"OnMouseDown", &TControl::OnMouseDown)
        .Event(u"OnMouseMove", &TControl::OnMouseMove)
        .Event(u"OnMouseUp", &TControl::OnMouseUp)
        .Event(u"OnResize", &TControl::OnResize);
    RegisterClass<TWinControl, TControl>()
        .Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Property(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Event(u"OnKeyDown", &TWinControl::OnKeyDown)
        .Event(u"OnKeyPress", &TWinControl::OnKeyPress)
        .Event(u"OnKeyUp", &TWinControl::OnKeyUp)
        .Event(u"OnEnter", &TWinControl::OnEnter)
        .Event(u"OnExit", &TWinControl::OnExit);
    RegisterClass<TCustomControl, TWinControl>();
    RegisterClass<TGraphicControl, TControl>();
}

void RegisterFormClasses() {
    RegisterClass<TCustomForm, TWinControl>()
        .Property(u"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Property(u"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
        .Property(u"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Property(u"WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
        .Property(u"Position", &TCustomForm::Position, &TCustomForm::SetPosition)
        .Property(u"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
        .Property(u"AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll)
        .Property(u"ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
        .Property(u"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
        .Event(u"OnCreate", &TCustomForm::OnCreate)
        .Event(u"OnDestroy", &TCustomForm::OnDestroy)
        .Event(u"OnShow", &TCustomForm::OnShow)
        .Event(u"OnHide", &TCustomForm::OnHide)
        .Event(u"OnActivate", &TCustomForm::OnActivate)
        .Event(u"OnDeactivate", &TCustomForm::OnDeactivate)
        .Event(u"OnPaint", &TCustomForm::OnPaint)
        .Event(u"OnClose", &TCustomForm::OnClose)
        .Event(u"OnCloseQuery", &TCustomForm::OnCloseQuery)
        .Event(u"OnShortCut", &TCustomForm::OnShortCut);
    RegisterClass<TForm, TCustomForm>();
    RegisterClass<TTimer, TComponent>()
        .Property(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Property(u"Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Event(u"OnTimer", &TTimer::OnTimer);
}

void RegisterMenuClasses() {
    RegisterClass<TMenuItem, TComponent>()
        .ParentComponent([](TComponent* AChild, TComponent* AParent) {
            auto* item = static_cast<TMenuItem*>(AChild);
            if (auto* menu = dynamic_cast<TMenu*>(AParent))
                menu->Items()->Add(item);
            else if (auto* parent = dynamic_cast<TMenuItem*>(AParent))
                parent->Add(item);
            else
                throw EInvalidOperation(AChild->Name() + u" cannot be placed on " + AParent->ClassName());
        })
        .Property(u"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Property(u"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Property(u"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Property(u"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Property(u"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
        .Property(u"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
        .Property(u"Default", &TMenuItem::Default, &TMenuItem::SetDefault)
        .Custom(u"ShortCut",
                [](TObject* AObject, const TLoadValue& AValue, TLoadContext& AContext) {
                    auto* item = published::Cast<TMenuItem>(AObject, AContext);
                    if (AValue.Kind != TLoadValue::lvString)
                        return item->SetShortCut(TShortCut(published::ToInteger(AValue, AContext)));
                    const TShortCut shortCut = TextToShortCut(AValue.Text);
                    if (!shortCut && !AValue.Text.empty())
                        AContext.Error(u"Unknown short cut " + AValue.Text);
                    item->SetShortCut(shortCut);
                })
        .Property(u"Bitmap", &TMenuItem::Bitmap)
        .Property(u"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Property(u"Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
        .Property(u"Action", &TMenuItem::Action, &TMenuItem::SetAction)
        .Event(u"OnClick", &TMenuItem::OnClick)
        .Event(u"OnDrawItem", &TMenuItem::OnDrawItem);
    RegisterClass<TMenu, TComponent>()
        .Property(u"Images", &TMenu::Images, &TMenu::SetImages)
        .Property(u"AutoLineReduction", &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction);
    RegisterClass<TMainMenu, TMenu>();
    RegisterClass<TPopupMenu, TMenu>()
        .Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
        .Event(u"OnPopup", &TPopupMenu::OnPopup);
}

void RegisterActionClasses() {
    RegisterClass<TBasicAction, TComponent>()
        .Event(u"OnExecute", &TBasicAction::OnExecute)
        .Event(u"OnUpdate", &TBasicAction::OnUpdate);
    RegisterClass<TCustomAction, TBasicAction>(u"TAction")
        .Property(u"Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
        .Property(u"Checked", &TCustomAction::Checked, &TCustomAction::SetChecked)
        .Property(u"Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled)
        .Property(u"Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
        .Property(u"ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex)
        .Property(u"ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut)
        .Property(u"Visible", &TCustomAction::Visible, &TCustomAction::SetVisible)
        .Property(u"ActionList", &TCustomAction::ActionList, &TCustomAction::SetActionList);
    RegisterClass<TCustomActionList, TComponent>(u"TActionList")
        .Property(u"Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
}

}  // namespace

void RegisterFrameworkClasses() {
    RegisterNames();
    RegisterGraphicsClasses();
    RegisterControlClasses();
    RegisterFormClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
}
