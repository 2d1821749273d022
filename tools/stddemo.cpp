// Shows every standard control of the toolkit on one form, read from its
// description (tools/forms/stddemo.form), on the X display for a person to
// look at. The first argument ends it after that many milliseconds; a second
// argument "drop" opens the format list as well.
//
//   xvfb-run -s "-screen 0 1024x768x24" sh -c 'build/tools/stddemo 4000 & sleep 2; import -window root
//   shot.png; wait'
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/sysutils.h"
#include "platform/toolkit/buttons.h"
#include "platform/toolkit/combobox.h"
#include "platform/toolkit/formloader.h"
#include "platform/toolkit/image.h"
#include "platform/toolkit/label.h"
#include "platform/toolkit/listbox.h"
#include "platform/toolkit/memo.h"
#include "platform/toolkit/panels.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/scrollbars.h"
#include "platform/toolkit/timer.h"
#include "platform/win/display.h"

class TDemoForm : public TForm {
public:
    using TForm::TForm;

    TImage* Preview = nullptr;
    TMemo* LogMemo = nullptr;
    TLabel* VolumeLabel = nullptr;
    TTrackBar* VolumeTrack = nullptr;
    TComboBox* FormatCombo = nullptr;
    TListBox* CategoryList = nullptr;
    TCheckBox* PreviewCheck = nullptr;

    void FormCreate(TObject*) {
        // A still of a film: a dusk sky over a dark hill, with a play mark.
        TBitmap* picture = Preview->Picture()->Bitmap();
        picture->SetSize(160, 120);
        TCanvas* canvas = picture->Canvas();
        for (Integer y = 0; y < 120; ++y) {
            canvas->Pen()->SetColor(TColor(RGBValue(40 + y, 80 + y, 160 + y / 2)));
            canvas->MoveTo(0, y);
            canvas->LineTo(160, y);
        }
        canvas->Brush()->SetColor(TColor(RGBValue(30, 60, 40)));
        canvas->Pen()->SetColor(TColor(RGBValue(30, 60, 40)));
        canvas->Ellipse(-40, 80, 200, 200);
        canvas->Brush()->SetColor(clWhite);
        canvas->Pen()->SetColor(clWhite);
        const TPoint play[] = {{66, 40}, {66, 80}, {100, 60}};
        canvas->Polygon(play);
        CategoryList->SetItemIndex(0);
    }
    void StartClick(TObject*) { LogMemo->Lines()->Add(u"开始转换：" + FormatCombo->Text()); }
    void CancelClick(TObject*) { LogMemo->Lines()->Add(u"已取消"); }
    void OptionClick(TObject*) { LogMemo->Lines()->Add(PreviewCheck->Checked() ? u"预览：开" : u"预览：关"); }
    void FormatComboChange(TObject*) { LogMemo->Lines()->Add(u"输出格式：" + FormatCombo->Text()); }
    void CategoryClick(TObject*) {
        const Integer index = CategoryList->ItemIndex();
        if (index >= 0) LogMemo->Lines()->Add(u"类别：" + CategoryList->Items()->Strings(index));
    }
    void VolumeChange(TObject*) { VolumeLabel->SetCaption(u"音量：" + IntToStr(VolumeTrack->Position())); }

private:
    static win::COLORREF RGBValue(Integer R, Integer G, Integer B) {
        return win::RGB(Byte(std::min(R, 255)), Byte(std::min(G, 255)), Byte(std::min(B, 255)));
    }
};

namespace {

const auto Registered = RegisterForm<TDemoForm>(u"stddemo.form")
                            .Handler(u"FormCreate", &TDemoForm::FormCreate)
                            .Handler(u"StartClick", &TDemoForm::StartClick)
                            .Handler(u"CancelClick", &TDemoForm::CancelClick)
                            .Handler(u"OptionClick", &TDemoForm::OptionClick)
                            .Handler(u"FormatComboChange", &TDemoForm::FormatComboChange)
                            .Handler(u"CategoryClick", &TDemoForm::CategoryClick)
                            .Handler(u"VolumeChange", &TDemoForm::VolumeChange)
                            .Field(u"Preview", &TDemoForm::Preview)
                            .Field(u"LogMemo", &TDemoForm::LogMemo)
                            .Field(u"VolumeLabel", &TDemoForm::VolumeLabel)
                            .Field(u"VolumeTrack", &TDemoForm::VolumeTrack)
                            .Field(u"FormatCombo", &TDemoForm::FormatCombo)
                            .Field(u"CategoryList", &TDemoForm::CategoryList)
                            .Field(u"PreviewCheck", &TDemoForm::PreviewCheck);

}  // namespace

int main(int argc, char** argv) {
    try {
        win::InstallDisplayBackend();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", StringToUTF8(e.Message()).c_str());
        return 1;
    }
    SetResourceFolder(UTF8ToString(VELQUA_DEMO_FOLDER));
    Application->Initialize();
    Application->SetTitle(u"Velqua 标准控件演示");
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    TTimer quit(nullptr);
    quit.SetEnabled(argc > 1);
    if (argc > 1) quit.SetInterval(Cardinal(std::strtoul(argv[1], nullptr, 10)));
    quit.OnTimer = [](TObject*) { Application->Terminate(); };
    TTimer drop(nullptr);
    drop.SetInterval(300);
    drop.SetEnabled(argc > 2 && std::strcmp(argv[2], "drop") == 0);
    drop.OnTimer = [&](TObject*) {
        drop.SetEnabled(false);
        form->FormatCombo->SetDroppedDown(true);
    };
    Application->Run();
    return 0;
}
