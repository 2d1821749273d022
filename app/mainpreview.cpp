// The main window's side of the preview: opening the selected file in the
// player inside Panel6, what the player's events change in the window, the
// slider's seeks and the player buttons.
#include "app/mainform.h"

#include "media/player.h"
#include "platform/base/fileutils.h"
#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/label.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/panels.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/scrollbars.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/controls/qxskinbutton.h"
#include "skin/controls/qxskinlistview.h"
#include "skin/controls/qxskinslider.h"

std::optional<Int64> SliderSeekTarget(Int64 ADuration, Integer AValue, Integer AMaxValue) {
    if (AMaxValue == 0) return std::nullopt;
    return ADuration * AValue / AMaxValue;
}

std::optional<Integer> SliderValueAt(Int64 APTS, Int64 ADuration, Integer AMaxValue) {
    if (APTS < 0 || ADuration <= 0) return std::nullopt;
    return Integer(Int64{AMaxValue} * APTS / ADuration);
}

namespace {

TVideoDriver VideoDriverAt(Integer AIndex) {
    return AIndex == 1 ? vdDirectDraw : AIndex == 2 ? vdGDI : vdDefault;
}

TAudioDriver AudioDriverAt(Integer AIndex) {
    return AIndex == 1 ? adDirectSound : AIndex == 2 ? adWaveOut : adDefault;
}

// The stream's item selected, none when the list lacks it.
void SelectStream(TComboBox* AList, const String& AText) {
    AList->SetItemIndex(AList->Items()->IndexOf(AText));
}

}  // namespace

void TForm1::Button31Click(TObject*) {
    if (!VIZevado->AVLibLoaded() && !VIZevado->LoadAVLib(ProgramFolder() + u"LibAV")) {
        Log(VIZevado->LastErrMsg());
        return;
    }
    FScreenControl = FindChildControl(cboScreens->Text());
    VIZevado->SetVideoDriver(VideoDriverAt(cboVideoDriver->ItemIndex()));
    VIZevado->SetAudioDriver(AudioDriverAt(cboAudioDriver->ItemIndex()));
    if (VIZevado->Open(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked()))
        FPlayerFileName = T_Movie_PLayer_FileName;
    else
        Log(VIZevado->LastErrMsg());
}

void TForm1::FFPlayerFileOpen(TObject*, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                              Integer& AScreenWidth, Integer& AScreenHeight) {
    Log(VIZevado->AVProbe()->FileInfoText());
    Log(Format(u"duration: %f, frame size: %dx%d", {double(ADuration) / 1000000, AFrameWidth, AFrameHeight}));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        const TRect desktop = Screen->DesktopRect();
        AScreenWidth = desktop.Width();
        AScreenHeight = desktop.Height();
    }
    FDuration = ADuration;
    Label2->SetCaption(Format(u"%f", {double(ADuration) / 1000000}));
    Label3->SetCaption(u"0.0");
    qxSkinSlider1->SetIncrement(5);
    qxSkinSlider1->SetMaxValue(qxSkinSlider1->Width());
    qxSkinSlider1->SetValue(0);
    FTrackChanging = true;
    try {
        qxSkinSlider1->SetValue(0);
    } catch (...) {
        FTrackChanging = false;
        throw;
    }
    FTrackChanging = false;

    TComboBox* lists[] = {cboVideo, cboAudio, cboSubtitle};
    for (TComboBox* list : lists) {
        list->Items()->BeginUpdate();
        list->Items()->Clear();
    }
    try {
        TAVProbe* probe = VIZevado->AVProbe();
        for (Integer i = 0; i < probe->StreamCount(); ++i) {
            if (probe->IsVideoStream(i))
                cboVideo->Items()->Add(Format(u"Video#%d", {i}));
            else if (probe->IsAudioStream(i))
                cboAudio->Items()->Add(Format(u"Audio#%d", {i}));
            else if (probe->IsSubtitleStream(i))
                cboSubtitle->Items()->Add(Format(u"Subtitle#%d", {i}));
        }
        const Integer video = VIZevado->VideoStreamIndex();
        cboVideo->SetEnabled(cboVideo->Items()->Count() >= 2 && video >= 0);
        SelectStream(cboVideo, Format(u"Video#%d", {video}));
        cboAudio->SetEnabled(cboAudio->Items()->Count() >= 2 && VIZevado->AudioStreamIndex() >= 0);
        SelectStream(cboAudio, Format(u"Audio#%d", {VIZevado->AudioStreamIndex()}));
        cboSubtitle->SetEnabled(cboSubtitle->Items()->Count() >= 1 && video >= 0);
        if (cboSubtitle->Enabled()) {
            cboSubtitle->Items()->Insert(0, u"Subtitle#-1");
            SelectStream(cboSubtitle, Format(u"Subtitle#%d", {VIZevado->SubtitleStreamIndex()}));
        }
    } catch (...) {
        for (TComboBox* list : lists)
            list->Items()->EndUpdate();
        throw;
    }
    for (TComboBox* list : lists)
        list->Items()->EndUpdate();
}

void TForm1::FFPlayerPosition(TObject*, Int64 APTS) {
    // A held slider shows where the user drags, not where the file plays.
    if (qxSkinSlider1_down_UP != u"UP") return;
    Label3->SetCaption(Format(u"%f", {double(APTS) / 1000000}));
    if (const std::optional<Integer> value = SliderValueAt(APTS, FDuration, qxSkinSlider1->MaxValue()))
        qxSkinSlider1->SetValue(*value);
}

void TForm1::FFPlayerState(TObject*, TPlayState AState) {
    static const char16_t* const names[] = {u"Play", u"Pause", u"Resume", u"Step", u"Stop", u"End"};
    Log(names[AState]);
    switch (AState) {
        case psPlay:
        case psResume:
            if (chkStayOnTop->Checked()) SetFormStyle(fsStayOnTop);
            break;
        case psPause:
        case psStep:
            SetFormStyle(fsNormal);
            break;
        case psStop:
            SetFormStyle(fsNormal);
            // The host repaints over the last picture.
            if (const win::HWND host = VIZevado->ScreenHandle(); host && win::IsWindow(host)) {
                win::InvalidateRect(host, nullptr, true);
                win::UpdateWindow(host);
            }
            break;
        case psEnd:
            VIZevado->Seek(Int64{0}, TSeekFlags{sfAny}, false);
            VIZevado->Pause();
            break;
    }
}

void TForm1::qxSkinSlider1MouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
    qxSkinSlider1_down_UP = u"Down";
    VIZevado->Pause();
}

void TForm1::qxSkinSlider1MouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
    VIZevado->Pause();
    if (const std::optional<Int64> target =
            SliderSeekTarget(FDuration, qxSkinSlider1->Value(), qxSkinSlider1->MaxValue()))
        VIZevado->Seek(*target, TSeekFlags{}, false);
    VIZevado->Resume();
    qxSkinSlider1_down_UP = u"UP";
}

void TForm1::qxSkinButton13Click(TObject*) {
    VIZevado->Resume();
    FocusFileList();
}

void TForm1::qxSkinButton14Click(TObject*) {
    VIZevado->Pause();
    FocusFileList();
}

// "停止" shows the file again from its start, paused.
void TForm1::qxSkinButton15Click(TObject*) {
    if (!lvFiles->Selected()) return;
    try {
        VIZevado->Stop(true);
        if (VIZevado->Open(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked()))
            FPlayerFileName = T_Movie_PLayer_FileName;
        else
            Log(VIZevado->LastErrMsg());
        FocusFileList();
    } catch (...) {
        VIZevado->Stop(true);
    }
}

void TForm1::qxSkinButton16Click(TObject*) {
    VIZevado->SetMute(true);
    qxSkinButton20->SetVisible(true);
    qxSkinButton16->SetVisible(false);
}

void TForm1::qxSkinButton20Click(TObject*) {
    VIZevado->SetMute(false);
    qxSkinButton20->SetVisible(false);
    qxSkinButton16->SetVisible(true);
}

void TForm1::TrackBar2Change(TObject*) {
    VIZevado->SetAudioVolume(TrackBar2->Position());
}

void TForm1::Dispatch(TMessage& AMessage) {
    TForm::Dispatch(AMessage);
    if ((AMessage.Msg == win::WM_WINDOWPOSCHANGING || AMessage.Msg == win::WM_WINDOWPOSCHANGED) && VIZevado)
        VIZevado->UpdateScreenPosition();
}

namespace {

const auto Registered = RegisterForm<TForm1>(u"TForm1.form")
                            .Handler(u"Button31Click", &TForm1::Button31Click)
                            .Handler(u"FFPlayerFileOpen", &TForm1::FFPlayerFileOpen)
                            .Handler(u"FFPlayerPosition", &TForm1::FFPlayerPosition)
                            .Handler(u"FFPlayerState", &TForm1::FFPlayerState)
                            .Handler(u"qxSkinSlider1MouseDown", &TForm1::qxSkinSlider1MouseDown)
                            .Handler(u"qxSkinSlider1MouseUp", &TForm1::qxSkinSlider1MouseUp)
                            .Handler(u"qxSkinButton13Click", &TForm1::qxSkinButton13Click)
                            .Handler(u"qxSkinButton14Click", &TForm1::qxSkinButton14Click)
                            .Handler(u"qxSkinButton15Click", &TForm1::qxSkinButton15Click)
                            .Handler(u"qxSkinButton16Click", &TForm1::qxSkinButton16Click)
                            .Handler(u"qxSkinButton20Click", &TForm1::qxSkinButton20Click)
                            .Handler(u"TrackBar2Change", &TForm1::TrackBar2Change)
                            .Field(u"Panel6", &TForm1::Panel6)
                            .Field(u"Button31", &TForm1::Button31)
                            .Field(u"cboVideoDriver", &TForm1::cboVideoDriver)
                            .Field(u"cboAudioDriver", &TForm1::cboAudioDriver)
                            .Field(u"cboVideo", &TForm1::cboVideo)
                            .Field(u"cboAudio", &TForm1::cboAudio)
                            .Field(u"cboSubtitle", &TForm1::cboSubtitle)
                            .Field(u"chkOpenPaused", &TForm1::chkOpenPaused)
                            .Field(u"chkStayOnTop", &TForm1::chkStayOnTop)
                            .Field(u"Label2", &TForm1::Label2)
                            .Field(u"Label3", &TForm1::Label3)
                            .Field(u"TrackBar2", &TForm1::TrackBar2)
                            .Field(u"qxSkinButton16", &TForm1::qxSkinButton16)
                            .Field(u"qxSkinButton20", &TForm1::qxSkinButton20);

}  // namespace
