// The skinned message box: a form built in code for one modal run, with its
// own form-skinning component, a message label, an icon, one skinned button
// per requested button and, on request, a do-not-show-again check box, laid
// out around the measured message. The builders differ in where the icon
// and the caption come from, whether the caller picks the default button
// and whether a check box may appear; the caller runs and frees the form.
#pragma once

#include "platform/toolkit/forms.h"
#include "platform/toolkit/imagelist.h"
#include "skin/core/qxskindata.h"

class TqxDravenfold;
class TqxSkinCheckRadioBox;
class TqxSkinStdLabel;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

class TqxMessageForm : public TForm {
public:
    // X below -10000 centres the form on the screen; Y is taken as it is.
    TqxMessageForm(TComponent* AOwner, Integer X, Integer Y);

    // The help data the message calls set; the Help button opens HelpFile
    // (else the application's) with the desktop's program for it.
    Integer HelpContext() const { return FHelpContext; }
    void SetHelpContext(Integer AValue) { FHelpContext = AValue; }
    const String& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& AValue) { FHelpFile = AValue; }

    void HelpButtonClick(TObject* Sender);

    TqxDravenfold* QXD = nullptr;
    TqxSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TqxSkinStdLabel* Message = nullptr;

private:
    Integer FHelpContext = 0;
    String FHelpFile;
};

// The button's caption from ASkinData's text table (empty for a missing
// key), else the built-in English one.
String GetMessageButtonCaption(TMsgDlgBtn AButton, TqxSkinData* ASkinData);
// The same for the dialog types other than mtCustom.
String GetMessageCaption(TMsgDlgType ADlgType, TqxSkinData* ASkinData);

// What every builder takes after its own leading arguments.
struct TqxMessageFormStyle {
    TqxSkinData* SkinData = nullptr;
    TqxSkinData* CtrlSkinData = nullptr;
    String ButtonSkinDataName = u"button";
    String MessageLabelSkinDataName = u"stdlabel";
    TFont* DefaultFont = nullptr;
    TFont* DefaultButtonFont = nullptr;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    Byte AlphaBlendValue = 200;
    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;
    Integer X = -10001;
    Integer Y = -10001;
};

// Each returns a new form owned by the application object.
TqxMessageForm* BuildCustomMessageForm(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                       Integer AImageIndex, TMsgDlgButtons Buttons,
                                       const TqxMessageFormStyle& AStyle);
// DefaultButton is also made the active control.
TqxMessageForm* BuildCustomMessageForm(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                       Integer AImageIndex, TMsgDlgButtons Buttons,
                                       const TqxMessageFormStyle& AStyle, TMsgDlgBtn DefaultButton);
TqxMessageForm* BuildMessageForm2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, const TqxMessageFormStyle& AStyle);
TqxMessageForm* BuildMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                 const TqxMessageFormStyle& AStyle);
TqxMessageForm* BuildMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                 const TqxMessageFormStyle& AStyle, TMsgDlgBtn DefaultButton);
// Never shows the check box, whatever AStyle asks.
TqxMessageForm* BuildWideMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                     const TqxMessageFormStyle& AStyle);
