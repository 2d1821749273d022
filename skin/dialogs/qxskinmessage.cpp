#include "skin/dialogs/qxskinmessage.h"

#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskinlink.h"

namespace {

std::unique_ptr<TFont> TahomaFont() {
    auto font = std::make_unique<TFont>();
    font->SetName(u"Tahoma");
    font->SetStyle({});
    font->SetHeight(13);
    return font;
}

}  // namespace

TqxSkinMessage::TqxSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(TahomaFont()), FDefaultButtonFont(TahomaFont()) {}

TqxSkinMessage::~TqxSkinMessage() = default;

// The box must not reach a skin data that is gone: ask to hear of its removal.
void TqxSkinMessage::SetSkinData(TqxSkinData* AValue) {
    if (FSD && FSD != FCtrlFSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TqxSkinMessage::SetCtrlSkinData(TqxSkinData* AValue) {
    if (FCtrlFSD && FCtrlFSD != FSD) FCtrlFSD->RemoveFreeNotification(this);
    FCtrlFSD = AValue;
    if (FCtrlFSD) FCtrlFSD->FreeNotification(this);
}

void TqxSkinMessage::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

TqxMessageFormStyle TqxSkinMessage::Style(Integer X, Integer Y) const {
    TqxMessageFormStyle s;
    s.SkinData = FSD;
    s.CtrlSkinData = FCtrlFSD;
    s.ButtonSkinDataName = FButtonSkinDataName;
    s.MessageLabelSkinDataName = FMessageLabelSkinDataName;
    s.DefaultFont = FDefaultFont.get();
    s.DefaultButtonFont = FDefaultButtonFont.get();
    s.UseSkinFont = FUseSkinFont;
    s.AlphaBlend = FAlphaBlend;
    s.AlphaBlendAnimation = FAlphaBlendAnimation;
    s.AlphaBlendValue = FAlphaBlendValue;
    s.ShowAgainFlag = FShowAgainFlag;
    s.ShowAgainFlagValue = FShowAgainFlagValue;
    s.X = X;
    s.Y = Y;
    return s;
}

Integer TqxSkinMessage::Run(TqxMessageForm* AForm, Integer AHelpCtx, const String* AHelpFile,
                            bool ARaiseShowPos) {
    struct TDone {
        TqxSkinMessage* Self;
        TqxMessageForm* Form;
        ~TDone() {
            if (Form->DisplayCheckBox) Self->FShowAgainFlagValue = !Form->DisplayCheckBox->Checked();
            delete Form;
        }
    } done{this, AForm};
    AForm->SetHelpContext(AHelpCtx);
    if (AHelpFile) AForm->SetHelpFile(*AHelpFile);
    if (ARaiseShowPos && OnSetShowPos) {
        Integer x = AForm->Left(), y = AForm->Top();
        OnSetShowPos(x, y, AForm->Width(), AForm->Height());
        AForm->SetLeft(x);
        AForm->SetTop(y);
    }
    return AForm->ShowModal();
}

Integer TqxSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, Style()), HelpCtx, nullptr, false);
}

Integer TqxSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx, TMsgDlgBtn DefaultButton) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, Style(), DefaultButton), HelpCtx, nullptr, false);
}

Integer TqxSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, Style(X, Y)), HelpCtx, nullptr, true);
}

Integer TqxSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y, TMsgDlgBtn DefaultButton) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, Style(X, Y), DefaultButton), HelpCtx, nullptr, true);
}

Integer TqxSkinMessage::MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx, const String& HelpFileName) {
    return Run(BuildMessageForm(Msg, DlgType, Buttons, Style()), HelpCtx, &HelpFileName, false);
}

Integer TqxSkinMessage::MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, Integer HelpCtx) {
    return Run(BuildMessageForm2(Msg, ACaption, DlgType, Buttons, Style()), HelpCtx, nullptr, false);
}

Integer TqxSkinMessage::MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons, Integer HelpCtx, const String& HelpFileName) {
    return Run(BuildMessageForm2(Msg, ACaption, DlgType, Buttons, Style()), HelpCtx, &HelpFileName, false);
}

Integer TqxSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, Style()), HelpCtx, nullptr,
               false);
}

Integer TqxSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                         TMsgDlgBtn DefaultButton) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, Style(), DefaultButton),
               HelpCtx, nullptr, false);
}

Integer TqxSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                            Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                            Integer X, Integer Y) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, Style(X, Y)), HelpCtx,
               nullptr, true);
}

Integer TqxSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                            Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                            Integer X, Integer Y, TMsgDlgBtn DefaultButton) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, Style(X, Y), DefaultButton),
               HelpCtx, nullptr, true);
}

Integer TqxSkinMessage::CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                             Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                             const String& HelpFileName) {
    return Run(BuildCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, Style()), HelpCtx,
               &HelpFileName, false);
}

Integer TqxSkinMessage::WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx) {
    return Run(BuildWideMessageForm(Msg, DlgType, Buttons, Style()), HelpCtx, nullptr, false);
}

Integer TqxSkinMessage::WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                          Integer HelpCtx, Integer X, Integer Y) {
    return Run(BuildWideMessageForm(Msg, DlgType, Buttons, Style(X, Y)), HelpCtx, nullptr, false);
}
