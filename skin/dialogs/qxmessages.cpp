#include "skin/dialogs/qxmessages.h"

#include <algorithm>
#include <optional>

#include "platform/shell/shellapi.h"
#include "platform/toolkit/icon.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/resources.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskincheckradio.h"
#include "skin/controls/qxskinlabels.h"
#include "skin/core/qxresstrs.h"
#include "skin/core/qxskincontrols.h"
#include "skin/forms/dravenfold.h"

namespace {

struct TButtonRow {
    const char16_t* Name;
    TModalResult Result;
    const char16_t* Key;
};

constexpr TButtonRow ButtonTable[] = {
    {u"Yes", mrYes, u"MSG_BTN_YES"},
    {u"No", mrNo, u"MSG_BTN_NO"},
    {u"OK", mrOk, u"MSG_BTN_OK"},
    {u"Cancel", mrCancel, u"MSG_BTN_CANCEL"},
    {u"Abort", mrAbort, u"MSG_BTN_ABORT"},
    {u"Retry", mrRetry, u"MSG_BTN_RETRY"},
    {u"Ignore", mrIgnore, u"MSG_BTN_IGNORE"},
    {u"All", mrAll, u"MSG_BTN_ALL"},
    {u"NoToAll", mrNoToAll, u"MSG_BTN_NOTOALL"},
    {u"YesToAll", mrYesToAll, u"MSG_BTN_YESTOALL"},
    {u"Help", mrNone, u"MSG_BTN_HELP"},
    {u"Close", mrClose, u"MSG_BTN_CLOSE"},
};

struct TTypeRow {
    int IconId;
    const char16_t* Key;
};

constexpr TTypeRow TypeTable[] = {
    {win::IDI_EXCLAMATION, u"MSG_CAP_WARNING"},
    {win::IDI_HAND, u"MSG_CAP_ERROR"},
    {win::IDI_ASTERISK, u"MSG_CAP_INFORMATION"},
    {win::IDI_QUESTION, u"MSG_CAP_CONFIRM"},
    {0, nullptr},
};

constexpr Integer ButtonWidth = 70;
constexpr Integer ButtonGap = 10;
constexpr Integer PlainButtonHeight = 25;
constexpr Integer LabelLeft = 50;
constexpr Integer LabelTop = 15;

// The text under AKey from the skin's table (empty when the key is
// missing); the built-in English text when there is no table.
String SkinText(std::u16string_view AKey, TqxSkinData* ASkinData) {
    if (ASkinData && ASkinData->ResourceStrData()) return ASkinData->ResourceStrData()->GetResStr(AKey);
    return GetDefaultResStr(AKey);
}

Integer ButtonHeightOf(TqxSkinData* ACtrlSkinData, const String& AName) {
    if (!ACtrlSkinData || ACtrlSkinData->Empty) return PlainButtonHeight;
    const Integer index = ACtrlSkinData->GetControlIndex(AName);
    if (index == -1) return PlainButtonHeight;
    if (const auto* button = dynamic_cast<const TqxDataSkinButtonControl*>(ACtrlSkinData->CtrlList[index]))
        return button->SkinRect.Height();
    return PlainButtonHeight;
}

// Where the icon comes from: an image list's image, or a stock icon.
struct TIconSource {
    TCustomImageList* Images = nullptr;
    Integer ImageIndex = -1;
    std::optional<TMsgDlgType> StockType;
};

TqxMessageForm* Build(const String& AMsg, const String& ACaption, const TIconSource& AIcon,
                      TMsgDlgButtons AButtons, const TqxMessageFormStyle& AStyle, bool ACheckBoxAllowed,
                      std::optional<TMsgDlgBtn> ADefaultButton) {
    auto* form = new TqxMessageForm(Application, AStyle.X, AStyle.Y);
    try {
        form->QXD->SetSkinData(AStyle.SkinData);
        form->QXD->SetMenusSkinData(AStyle.CtrlSkinData);
        form->QXD->SetAlphaBlend(AStyle.AlphaBlend);
        form->QXD->SetAlphaBlendAnimation(AStyle.AlphaBlendAnimation);
        form->QXD->SetAlphaBlendValue(AStyle.AlphaBlendValue);

        const Integer buttonHeight = ButtonHeightOf(AStyle.CtrlSkinData, AStyle.ButtonSkinDataName);
        Integer count = 0;
        for (Integer b = mbYes; b <= mbClose; ++b)
            if (AButtons.Contains(TMsgDlgBtn(b))) ++count;
        const Integer rowWidth = count > 0 ? ButtonWidth * count + ButtonGap * (count - 1) : 0;

        form->SetCaption(ACaption);

        auto* label = new TqxSkinStdLabel(form);
        form->Message = label;
        if (AStyle.DefaultFont) {
            label->Font()->Assign(AStyle.DefaultFont);
            label->SetDefaultFont(AStyle.DefaultFont);
        }
        label->SetUseSkinFont(AStyle.UseSkinFont);
        label->SetSkinDataName(AStyle.MessageLabelSkinDataName);
        label->SetSkinData(AStyle.CtrlSkinData);
        label->SetName(u"Message");
        label->SetParent(form);
        label->SetAutoSize(true);
        label->SetCaption(AMsg);
        label->SetLeft(LabelLeft);
        label->SetTop(LabelTop);
        const Integer labelRight = label->Left() + label->Width();
        const Integer iconTop = label->Top() + label->Height() / 2 - 16;

        if (AIcon.StockType) {
            auto* image = new TImage(form);
            image->SetName(u"Image");
            image->SetParent(form);
            if (const int id = TypeTable[*AIcon.StockType].IconId; id != 0) {
                if (win::HICON icon = win::LoadIconW(nullptr, id)) {
                    TIcon picture;
                    picture.SetHandle(icon);
                    image->Picture()->SetGraphic(&picture);
                }
            }
            image->SetBounds(5, std::max<Integer>(iconTop, 10), 32, 32);
        } else if (AIcon.Images && AIcon.ImageIndex >= 0 && AIcon.ImageIndex < AIcon.Images->Count()) {
            auto* image = new TImage(form);
            image->SetTransparent(true);
            image->SetWidth(AIcon.Images->Width());
            image->SetHeight(AIcon.Images->Height());
            image->SetName(u"Image");
            image->SetParent(form);
            TIcon picture;
            AIcon.Images->GetIcon(AIcon.ImageIndex, &picture);
            image->Picture()->SetGraphic(&picture);
            image->SetLeft(5);
            image->SetTop(iconTop);
        }

        form->SetClientHeight(buttonHeight + label->Height() + 50);
        form->SetClientWidth(rowWidth < labelRight ? labelRight + 40 : rowWidth + 40);

        if (ACheckBoxAllowed && AStyle.ShowAgainFlag) {
            form->SetClientHeight(form->ClientHeight() + 40);
            auto* box = new TqxSkinCheckRadioBox(form);
            form->DisplayCheckBox = box;
            box->SetName(u"checkbox");
            box->SetDefaultHeight(30);
            box->SetChecked(!AStyle.ShowAgainFlagValue);
            box->SetParent(form);
            if (AStyle.DefaultFont) box->SetDefaultFont(AStyle.DefaultFont);
            box->SetUseSkinFont(AStyle.UseSkinFont);
            box->SetSkinData(AStyle.CtrlSkinData);
            const Integer top = form->ClientHeight() - buttonHeight - 50;
            String text = SkinText(u"MSG_CAP_SHOWFLAG", AStyle.CtrlSkinData);
            if (text.empty()) text = GetDefaultResStr(u"MSG_CAP_SHOWFLAG");
            box->SetCaption(text);
            TCanvas* canvas = form->Canvas();
            if (box->FIndex != -1 && box->UseSkinFont()) {
                canvas->Font()->SetName(box->FontName);
                canvas->Font()->SetHeight(box->FontHeight);
            } else if (AStyle.DefaultFont) {
                canvas->Font()->Assign(AStyle.DefaultFont);
            }
            const Integer w = canvas->TextWidth(text);
            if (form->ClientWidth() < w + 60) form->SetClientWidth(w + 60);
            box->SetBounds(5, top, w + 55, box->DefaultHeight());
        }

        if (form->QXD->GetMaxWidth() < form->Width())
            form->SetWidth(form->QXD->GetMaxWidth());
        else if (form->Width() < form->QXD->GetMinWidth())
            form->SetWidth(form->QXD->GetMinWidth());

        TMsgDlgBtn defaultButton = mbRetry;
        if (ADefaultButton)
            defaultButton = *ADefaultButton;
        else if (AButtons.Contains(mbOK))
            defaultButton = mbOK;
        else if (AButtons.Contains(mbYes))
            defaultButton = mbYes;
        const TMsgDlgBtn cancelButton = AButtons.Contains(mbCancel) ? mbCancel
                                        : AButtons.Contains(mbNo)   ? mbNo
                                                                    : mbOK;

        Integer x = (form->ClientWidth() - rowWidth) / 2;
        for (Integer b = mbYes; b <= mbClose; ++b) {
            const auto kind = TMsgDlgBtn(b);
            if (!AButtons.Contains(kind)) continue;
            const TButtonRow& row = ButtonTable[b];
            auto* button = new TqxSkinButton(form);
            button->SetParent(form);
            button->SetName(row.Name);
            button->SetCanFocused(true);
            button->SetCaption(GetMessageButtonCaption(kind, AStyle.CtrlSkinData));
            button->SetModalResult(row.Result);
            if (kind == defaultButton) {
                button->SetDefault(true);
                if (ADefaultButton) form->SetActiveControl(button);
            }
            if (kind == cancelButton) button->SetCancel(true);
            button->SetDefaultHeight(buttonHeight);
            button->SetBounds(x, form->ClientHeight() - buttonHeight - 10, ButtonWidth, buttonHeight);
            if (AStyle.DefaultButtonFont) button->SetDefaultFont(AStyle.DefaultButtonFont);
            button->SetUseSkinFont(AStyle.UseSkinFont);
            x += ButtonWidth + ButtonGap;
            if (kind == mbHelp) button->OnClick = [form](TObject* Sender) { form->HelpButtonClick(Sender); };
            button->SetSkinDataName(AStyle.ButtonSkinDataName);
            button->SetSkinData(AStyle.CtrlSkinData);
        }
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

String CaptionByType(TMsgDlgType ADlgType, TqxSkinData* ACtrlSkinData) {
    return ADlgType == mtCustom ? Application->Title() : GetMessageCaption(ADlgType, ACtrlSkinData);
}

}  // namespace

TqxMessageForm::TqxMessageForm(TComponent* AOwner, Integer X, Integer Y) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    if (X < -10000) {
        SetPosition(poScreenCenter);
    } else {
        SetPosition(poDesigned);
        SetLeft(X);
        SetTop(Y);
    }
    QXD = new TqxDravenfold(this);
    // No caption buttons: the skin's close button would stay without this.
    QXD->SetHideCaptionButtons(true);
    QXD->SetBorderIcons({});
}

void TqxMessageForm::HelpButtonClick(TObject*) {
    const String file = FHelpFile.empty() ? Application->HelpFile() : FHelpFile;
    if (file.empty()) return;
    win::ShellExecuteW(nullptr, u"open", file.c_str(), nullptr, nullptr, 1);
}

String GetMessageButtonCaption(TMsgDlgBtn AButton, TqxSkinData* ASkinData) {
    return SkinText(ButtonTable[AButton].Key, ASkinData);
}

String GetMessageCaption(TMsgDlgType ADlgType, TqxSkinData* ASkinData) {
    if (ADlgType == mtCustom) return {};
    return SkinText(TypeTable[ADlgType].Key, ASkinData);
}

TqxMessageForm* BuildCustomMessageForm(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                       Integer AImageIndex, TMsgDlgButtons Buttons,
                                       const TqxMessageFormStyle& AStyle) {
    return Build(Msg, ACaption, {AImages, AImageIndex, {}}, Buttons, AStyle, true, std::nullopt);
}

TqxMessageForm* BuildCustomMessageForm(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                       Integer AImageIndex, TMsgDlgButtons Buttons,
                                       const TqxMessageFormStyle& AStyle, TMsgDlgBtn DefaultButton) {
    return Build(Msg, ACaption, {AImages, AImageIndex, {}}, Buttons, AStyle, true, DefaultButton);
}

TqxMessageForm* BuildMessageForm2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, const TqxMessageFormStyle& AStyle) {
    return Build(Msg, ACaption, {nullptr, -1, DlgType}, Buttons, AStyle, true, std::nullopt);
}

TqxMessageForm* BuildMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                 const TqxMessageFormStyle& AStyle) {
    return Build(Msg, CaptionByType(DlgType, AStyle.CtrlSkinData), {nullptr, -1, DlgType}, Buttons, AStyle,
                 true, std::nullopt);
}

TqxMessageForm* BuildMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                 const TqxMessageFormStyle& AStyle, TMsgDlgBtn DefaultButton) {
    return Build(Msg, CaptionByType(DlgType, AStyle.CtrlSkinData), {nullptr, -1, DlgType}, Buttons, AStyle,
                 true, DefaultButton);
}

TqxMessageForm* BuildWideMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                     const TqxMessageFormStyle& AStyle) {
    return Build(Msg, CaptionByType(DlgType, AStyle.CtrlSkinData), {nullptr, -1, DlgType}, Buttons, AStyle,
                 false, std::nullopt);
}
