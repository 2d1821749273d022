// Form descriptions: file order under csLoading, references within and
// across forms, Loaded and then the creation handler, every kind of value,
// and errors that name the file and line.
#include "platform/toolkit/formloader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/picture.h"
#include "platform/toolkit/timer.h"
#include "platform/win/input.h"
#include "toolkittest.h"

namespace {

enum TRecordKind { rkNone, rkSome, rkMany };

class TRecordItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue) { FCaption = AValue; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer AValue) { FWidth = AValue; }

private:
    String FCaption;
    Integer FWidth = 50;
};

// Logs every setter with whether the description is still being read.
class TRecorder : public TCustomControl {
public:
    explicit TRecorder(TComponent* AOwner) : TCustomControl(AOwner) {}

    Integer Value() const { return FValue; }
    void SetValue(Integer AValue) {
        FValue = AValue;
        Note("Value=" + std::to_string(AValue));
        if (OnChange && !ComponentState().Contains(csLoading)) OnChange(this);
    }
    TRecordKind Kind() const { return FKind; }
    void SetKind(TRecordKind AValue) { FKind = AValue; }
    TSet<TRecordKind> Flags() const { return FFlags; }
    void SetFlags(TSet<TRecordKind> AValue) { FFlags = AValue; }
    TComponent* Target() const { return FTarget; }
    void SetTarget(TComponent* AValue) {
        FTarget = AValue;
        Note("Target=" + StringToUTF8(AValue ? AValue->Name() : u"nil"));
    }
    TRecorder* Buddy() const { return FBuddy; }
    void SetBuddy(TRecorder* AValue) { FBuddy = AValue; }
    TStrings* Items() const { return FItems.get(); }
    TCollectionOf<TRecordItem>* Columns() const { return FColumns.get(); }
    TPicture* Picture() const { return FPicture.get(); }

    void Loaded() override {
        TCustomControl::Loaded();
        Note("Loaded");
    }

    TNotifyEvent OnChange;

private:
    void Note(const std::string& AWhat) {
        Log.push_back(StringToUTF8(Name()) + "." + AWhat +
                      (ComponentState().Contains(csLoading) ? " (loading)" : ""));
    }

    Integer FValue = 0;
    TRecordKind FKind = rkNone;
    TSet<TRecordKind> FFlags;
    TComponent* FTarget = nullptr;
    TRecorder* FBuddy = nullptr;
    std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
    std::unique_ptr<TCollectionOf<TRecordItem>> FColumns = std::make_unique<TCollectionOf<TRecordItem>>();
    std::unique_ptr<TPicture> FPicture = std::make_unique<TPicture>();
};

const bool RecorderRegistered = [] {
    RegisterEnum<TRecordKind>({u"rkNone", u"rkSome", u"rkMany"});
    RegisterClass<TRecordItem>()
        .Property(u"Caption", &TRecordItem::Caption, &TRecordItem::SetCaption)
        .Property(u"Width", &TRecordItem::Width, &TRecordItem::SetWidth);
    RegisterClass<TRecorder, TCustomControl>()
        .Property(u"Value", &TRecorder::Value, &TRecorder::SetValue)
        .Property(u"Kind", &TRecorder::Kind, &TRecorder::SetKind)
        .Property(u"Flags", &TRecorder::Flags, &TRecorder::SetFlags)
        .Property(u"Target", &TRecorder::Target, &TRecorder::SetTarget)
        .Property(u"Buddy", &TRecorder::Buddy, &TRecorder::SetBuddy)
        .Property(u"Items", &TRecorder::Items)
        .Property(u"Columns", &TRecorder::Columns)
        .Property(u"Picture", &TRecorder::Picture)
        .Event(u"OnChange", &TRecorder::OnChange);
    return true;
}();

class TLoadForm1 : public TForm {
public:
    using TForm::TForm;
    void FormCreate(TObject*) { Log.push_back("FormCreate"); }
    void RecChange(TObject*) { Log.push_back("RecChange"); }
    void Wrong(TObject*, bool&) {}
    TRecorder* Rec1 = nullptr;
};

class TLoadForm2 : public TForm {
public:
    using TForm::TForm;
};

const auto Form1Registered = RegisterForm<TLoadForm1>(u"LoadForm1.form")
                                 .Field(u"Rec1", &TLoadForm1::Rec1)
                                 .Handler(u"FormCreate", &TLoadForm1::FormCreate)
                                 .Handler(u"RecChange", &TLoadForm1::RecChange)
                                 .Handler(u"Wrong", &TLoadForm1::Wrong);
const auto Form2Registered = RegisterForm<TLoadForm2>(u"LoadForm2.form");

class FormLoader : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "velqua-forms-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        FFolder = pattern;
        std::filesystem::create_directories(FFolder + "/forms");
        std::filesystem::create_directories(FFolder + "/pictures");
        SetResourceFolder(UTF8ToString(FFolder));
        TBitmap dot;
        dot.SetSize(2, 3);
        dot.SaveToFile(UTF8ToString(FFolder + "/pictures/dot.bmp"));
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        std::error_code error;
        std::filesystem::remove_all(FFolder, error);
    }

    void Write(const std::string& AName, const std::string& AText) {
        std::ofstream(FFolder + "/forms/" + AName) << AText;
    }
    String FormPath(const std::string& AName) const { return UTF8ToString(FFolder + "/forms/" + AName); }

    // The message of the error reading Form1's description, "" for none.
    String Form1Error(const std::string& AText) {
        Write("LoadForm1.form", AText);
        TLoadForm1* form = nullptr;
        try {
            Application->CreateForm(form);
        } catch (const EFormDescriptionError& e) {
            EXPECT_EQ(form, nullptr);
            EXPECT_EQ(Screen->FormCount(), 0);
            return e.Message();
        }
        return {};
    }

    std::string FFolder;
};

TEST_F(FormLoader, ADescriptionRoundTripsInFileOrderWithReferencesFixedBeforeLoaded) {
    Write("LoadForm1.form", R"(// The main window.
object Form1: TLoadForm1
  Caption = '主窗口'
  ClientWidth = 300
  ClientHeight = 200
  OnCreate = FormCreate
  object Rec1: TRecorder
    Left = 10
    Value = 1
    OnChange = RecChange
    Value = 2
    Kind = rkMany
    Flags = [rkSome, rkMany]
    Target = Rec2
    Buddy = Form2.Rec3
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Font.Color = clBlue
    Items = (
      'one'
      '二')
    Columns = <
      item
        Caption = 'File'
        Width = 80
      end
      item
        Caption = 'Size'
      end>
    Picture = 'pictures/dot.bmp'
    Hint = 'it''s ' +
      'fine'#33
  end
  object Rec2: TRecorder
    Align = alClient
    Value = $10
  end
end
)");
    Write("LoadForm2.form", R"(object Form2: TLoadForm2
  object Rec3: TRecorder
    Target = Form1.Rec1
    Value = -5
  end
end
)");
    TLoadForm1* form1 = nullptr;
    Application->CreateForm(form1);
    ASSERT_NE(form1, nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"Rec1.Value=1 (loading)", "Rec1.Value=2 (loading)",
                                             "Rec2.Value=16 (loading)", "Rec1.Target=Rec2 (loading)",
                                             "Rec1.Loaded", "Rec2.Loaded", "FormCreate"}));
    EXPECT_EQ(form1->Name(), u"Form1");
    EXPECT_EQ(form1->Caption(), u"主窗口");
    ASSERT_NE(form1->Rec1, nullptr);
    TRecorder* rec1 = form1->Rec1;
    EXPECT_EQ(rec1->Parent(), form1);
    EXPECT_EQ(rec1->Owner(), form1);
    EXPECT_EQ(rec1->Kind(), rkMany);
    EXPECT_EQ(rec1->Flags(), (TSet<TRecordKind>{rkSome, rkMany}));
    EXPECT_EQ(rec1->Font()->Name(), u"Arial");
    EXPECT_EQ(rec1->Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(rec1->Font()->Color(), clBlue);
    EXPECT_EQ(rec1->Items()->Text(), u"one\r\n二\r\n");
    ASSERT_EQ(rec1->Columns()->Count(), 2);
    EXPECT_EQ(rec1->Columns()->Items(0)->Caption(), u"File");
    EXPECT_EQ(rec1->Columns()->Items(0)->Width(), 80);
    EXPECT_EQ(rec1->Columns()->Items(1)->Width(), 50);
    EXPECT_EQ(rec1->Picture()->Height(), 3);
    EXPECT_EQ(rec1->Hint(), u"it's fine!");
    EXPECT_EQ(rec1->Buddy(), nullptr);
    EXPECT_EQ(dynamic_cast<TRecorder*>(form1->FindComponent(u"Rec2"))->BoundsRect(), Rect(0, 0, 300, 200));
    // Events are bound, and run once the form is read.
    Log.clear();
    rec1->SetValue(3);
    EXPECT_EQ(Log, (std::vector<std::string>{"Rec1.Value=3", "RecChange"}));

    // The reference into Form2 waited for it.
    TLoadForm2* form2 = nullptr;
    Application->CreateForm(form2);
    auto* rec3 = dynamic_cast<TRecorder*>(form2->FindComponent(u"Rec3"));
    ASSERT_NE(rec3, nullptr);
    EXPECT_EQ(rec3->Target(), rec1);
    EXPECT_EQ(rec3->Value(), -5);
    EXPECT_EQ(rec1->Buddy(), rec3);
    EXPECT_EQ(Application->MainForm(), form1);
}

TEST_F(FormLoader, MenuTreesAndNonVisualComponentsReadFromADescription) {
    Write("LoadForm1.form", R"(object Form1: TLoadForm1
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object N1: TMenuItem
      Caption = '帮助(&H)'
      object N2: TMenuItem
        Caption = '帮助系统'
        ShortCut = 'F1'
        OnClick = RecChange
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object N4: TMenuItem
        Caption = 'A'
        RadioItem = True
        GroupIndex = 1
        Checked = True
      end
    end
  end
  object Timer1: TTimer
    Interval = 250
    Enabled = False
  end
end
)");
    TLoadForm1* form = nullptr;
    Application->CreateForm(form);
    TMainMenu* menu = form->Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Count(), 1);
    TMenuItem* help = menu->Items()->Items(0);
    ASSERT_EQ(help->Count(), 3);
    EXPECT_EQ(help->Items(0)->ShortCut(), ShortCut(win::VK_F1, {}));
    EXPECT_TRUE(help->Items(1)->IsLine());
    EXPECT_TRUE(help->Items(2)->Checked());
    auto* timer = dynamic_cast<TTimer*>(form->FindComponent(u"Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 250u);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(menu->DispatchCommand(help->Items(0)->Command()));
    EXPECT_EQ(Log, (std::vector<std::string>{"RecChange"}));
}

TEST_F(FormLoader, ErrorsNameTheFileAndLine) {
    const String file = FormPath("LoadForm1.form");
    struct Case {
        const char* Text;
        Integer Line;
        const char16_t* Message;
    } cases[] = {
        {"object Form1: TLoadForm1\n  Colour = clRed\nend\n", 2, u"Unknown property Colour of TLoadForm1"},
        {"object Form1: TLoadForm1\n  object X: TRecorder\n    Font.Nme = 'A'\n  end\nend\n", 3,
         u"Unknown property Nme of TFont"},
        {"object Form1: TLoadForm1\n\n  object X: TNoSuchControl\n  end\nend\n", 3,
         u"Unknown class TNoSuchControl"},
        {"object Form1: TLoadForm1\n  OnCreate = Missing\nend\n", 2, u"Unknown handler Missing"},
        {"object Form1: TLoadForm1\n  OnCreate = Wrong\nend\n", 2, u"Handler Wrong does not fit OnCreate"},
        {"object Form1: TLoadForm1\n  object X: TRecorder\n    Target = Nobody\n  end\nend\n", 3,
         u"Unknown component Nobody"},
        {"object Form1: TLoadForm1\n  object X: TRecorder\n    Buddy = Form1\n  end\nend\n", 3,
         u"Form1 is a TLoadForm1, not a TRecorder"},
        {"object Form1: TLoadForm1\n  object X: TRecorder\n    Kind = rkAll\n  end\nend\n", 3,
         u"Unknown value rkAll"},
        {"object Form1: TLoadForm1\n  object Rec1: TTimer\n  end\nend\n", 2,
         u"Rec1 is a TTimer, not a TRecorder"},
        {"object Form1: TLoadForm1\n  Visible = Yes\nend\n", 2, u"Expected True or False, not Yes"},
        {"object Form1: TLoadForm1\n  Caption = 'open\nend\n", 2, u"Unterminated string"},
        {"object Form1: TLoadForm1\n  object X: TRecorder\n", 3, u"Missing end of object X"},
        {"object Form1: TLoadForm2\nend\n", 1, u"The description is of TLoadForm2, the form is a TLoadForm1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Form1Error(c.Text), file + u":" + IntToStr(c.Line) + u": " + c.Message);
    }
    Free(Application);
    Application = new TApplication(nullptr);
    EXPECT_EQ(Form1Error("object Form1: TLoadForm1\nend\n"), u"");
}

// Deep nesting is refused with the line where it goes too deep, before the
// parser's recursion can exhaust the stack.
TEST(FormParser, NestingPastTwoHundredAndFiftySixLevelsIsAnError) {
    const auto objects = [](int ADepth) {
        std::string text;
        for (int i = 0; i < ADepth; ++i)
            text += "object P" + std::to_string(i) + ": TPanel\n";
        for (int i = 0; i < ADepth; ++i)
            text += "end\n";
        return UTF8ToString(text);
    };
    // An object holding collections of items holding collections.
    const auto collections = [](int ADepth) {
        std::string text = "object F: TForm\n";
        for (int i = 0; i < ADepth; ++i)
            text += "  Columns = <\n  item\n";
        for (int i = 0; i < ADepth; ++i)
            text += "  end>\n";
        return UTF8ToString(text + "end\n");
    };
    EXPECT_EQ(ParseFormDescription(objects(256), u"deep.form").Children.size(), 1u);
    EXPECT_EQ(ParseFormDescription(collections(255), u"deep.form").Properties.size(), 1u);
    struct Case {
        String Text;
        Integer Line;
    } cases[] = {{objects(257), 257}, {objects(30000), 257}, {collections(256), 512}, {collections(20000), 512}};
    for (const Case& c : cases) {
        try {
            ParseFormDescription(c.Text, u"deep.form");
            ADD_FAILURE() << "no error at line " << c.Line;
        } catch (const EFormDescriptionError& e) {
            EXPECT_EQ(e.Message(), u"deep.form:" + IntToStr(c.Line) + u": Nested too deeply");
        }
    }
}

TEST_F(FormLoader, AFormThatGoesTakesItsWaitingReferencesWithIt) {
    Write("A.form", "object A: TLoadForm2\n  Menu = B.M\nend\n");
    Write("B.form", "object B: TLoadForm2\n  object M: TMainMenu\n  end\nend\n");
    auto* a = new TLoadForm2(Application);
    ReadDescriptionFile(a, FormPath("A.form"));
    Free(a);
    // B often takes A's memory: A's dead assignment must not reach it.
    auto* b = new TLoadForm2(Application);
    ReadDescriptionFile(b, FormPath("B.form"));
    ASSERT_NE(b->FindComponent(u"M"), nullptr);
    EXPECT_EQ(b->Menu(), nullptr);
    // A form read again after that gets its reference as usual.
    Free(b);
    a = new TLoadForm2(Application);
    ReadDescriptionFile(a, FormPath("A.form"));
    b = new TLoadForm2(Application);
    ReadDescriptionFile(b, FormPath("B.form"));
    EXPECT_EQ(a->Menu(), b->FindComponent(u"M"));
}

TEST_F(FormLoader, AFormWithoutItsDescriptionFileFailsToCreate) {
    TLoadForm1* form = nullptr;
    EXPECT_THROW(Application->CreateForm(form), EFormDescriptionError);
    EXPECT_EQ(form, nullptr);
}

}  // namespace
