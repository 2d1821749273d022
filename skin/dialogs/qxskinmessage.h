// The component through which the program shows skinned message boxes: it
// keeps the skins, fonts and looks of its boxes and the state of the
// do-not-show-again check box; each call builds a message form, runs it
// modally, returns its modal result and frees it.
#pragma once

#include <functional>
#include <memory>

#include "skin/dialogs/qxmessages.h"

// Lets the owner move a positioned box before it is shown.
using TqxMessageSetShowPosEvent =
    std::function<void(Integer& AX, Integer& AY, Integer AWidth, Integer AHeight)>;

class TqxSkinMessage : public TComponent {
public:
    explicit TqxSkinMessage(TComponent* AOwner);
    ~TqxSkinMessage() override;

    bool ShowAgainFlag() const { return FShowAgainFlag; }
    void SetShowAgainFlag(bool AValue) { FShowAgainFlag = AValue; }
    // The check box starts as its negation; a run with a check box stores
    // the negation of its final state back.
    bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
    void SetShowAgainFlagValue(bool AValue) { FShowAgainFlagValue = AValue; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool AValue) { FAlphaBlendAnimation = AValue; }
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue) { FAlphaBlendValue = AValue; }
    // The frame's skin, and the skin of the controls and of the texts.
    TqxSkinData* SkinData() const { return FSD; }
    void SetSkinData(TqxSkinData* AValue);
    TqxSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TqxSkinData* AValue);
    const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& AValue) { FButtonSkinDataName = AValue; }
    const String& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const String& AValue) { FMessageLabelSkinDataName = AValue; }
    // The setters copy the font's attributes.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* AValue) { FDefaultButtonFont->Assign(AValue); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }

    TqxMessageSetShowPosEvent OnSetShowPos;

    // Each returns the box's modal result.
    Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
    Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                       TMsgDlgBtn DefaultButton);
    Integer MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                          Integer X, Integer Y);
    Integer MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                          Integer X, Integer Y, TMsgDlgBtn DefaultButton);
    Integer MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                           const String& HelpFileName);
    Integer MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        Integer HelpCtx);
    Integer MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                            TMsgDlgButtons Buttons, Integer HelpCtx, const String& HelpFileName);
    Integer CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                             Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx);
    Integer CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                             Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                             TMsgDlgBtn DefaultButton);
    Integer CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y);
    Integer CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y,
                                TMsgDlgBtn DefaultButton);
    Integer CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                 Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                 const String& HelpFileName);
    // Never with a check box; the positioned one raises no OnSetShowPos.
    Integer WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
    Integer WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                              Integer X, Integer Y);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TqxMessageFormStyle Style(Integer X = -10001, Integer Y = -10001) const;
    // Sets the help data, moves a positioned box, runs it, reads the check
    // box back and frees the form, also on an exception.
    Integer Run(TqxMessageForm* AForm, Integer AHelpCtx, const String* AHelpFile, bool ARaiseShowPos);

    TqxSkinData* FSD = nullptr;
    TqxSkinData* FCtrlFSD = nullptr;
    String FButtonSkinDataName = u"button";
    String FMessageLabelSkinDataName = u"stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TFont> FDefaultButtonFont;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    Byte FAlphaBlendValue = 200;
    bool FUseSkinFont = true;
    bool FShowAgainFlag = false;
    bool FShowAgainFlagValue = false;
};
