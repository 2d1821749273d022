// The main window: the file list, the output choice, the preview and the
// run controls, the state the whole workflow shares, and the start-up and
// shutdown of the program's work.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "app/formatchoice.h"
#include "media/ffmpeglogger.h"
#include "media/player.h"
#include "media/strovix.h"
#include "platform/toolkit/forms.h"

class TButton;
class TCheckBox;
class TqxSkinOpenDialog;
class TqxSkinSelectDirectoryDialog;
class TImage;
class TListBox;
class TqxSkinButton;
class TqxSkinMessage;
class TqxSkinPanel;
class TqxSkinSlider;
class TqxSkinMenuSpeedButton;
class TEdit;
class TListItem;
class TComboBox;
class TControl;
class TStrings;
class TFFLogger;
class TFFPlayer;
class TMemo;
class TMenuItem;
class TqxSkinComboBox;
class TqxSkinData;
class TqxSkinOfficeComboBox;
class TqxSkinEdit;
class TqxSkinListView;
class TWinControl;
class TPanel;
class TCheckBox;
class TLabel;
class TTrackBar;
class TBitmap;
class TqxCompressedSkinList;
class TqxSkinPopupMenu;
class TqxSkinSelectDirectoryDialog;
class TqxSelectSkinDialog;
class TqxSkinSavePictureDialog;

// Task slots: 501 pairs of option records, each marked by the output
// record's AudioLanguage.
inline constexpr Integer TaskSlotCount = 501;
inline constexpr const char16_t* SlotFree = u"kong";
inline constexpr const char16_t* SlotFull = u"Full";
inline constexpr const char16_t* SlotDeleted = u"DELETED";

class TForm1 : public TForm {
public:
    using TForm::TForm;

    // Components of the description.
    TqxSkinData* qxSkinData1 = nullptr;
    TqxSkinData* qxSkinData2 = nullptr;
    TStrovix* Strovix = nullptr;
    TFFLogger* FFLogger = nullptr;
    TFFPlayer* VIZevado = nullptr;
    TqxSkinListView* lvFiles = nullptr;
    TqxSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    TComboBox* cboScreens = nullptr;
    TMemo* mmoLog = nullptr;
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox1 = nullptr;
    TqxSkinOfficeComboBox* qxSkinOfficeComboBox2 = nullptr;
    TqxSkinComboBox* qxSkinComboBox1 = nullptr;
    TqxSkinComboBox* qxSkinComboBox2 = nullptr;
    TqxSkinComboBox* qxSkinComboBox3 = nullptr;
    TqxSkinComboBox* qxSkinComboBox4 = nullptr;
    TqxSkinComboBox* qxSkinComboBox9 = nullptr;
    TqxSkinComboBox* qxSkinComboBox10 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button15 = nullptr;
    TButton* Button16 = nullptr;
    TButton* Button17 = nullptr;
    TButton* Button20 = nullptr;
    TButton* btnRemove = nullptr;
    TButton* btnClear = nullptr;
    TButton* btnStart = nullptr;
    TqxSkinButton* qxSkinButton2 = nullptr;
    TqxSkinButton* qxSkinButton7 = nullptr;
    TqxSkinButton* qxSkinButton8 = nullptr;
    TqxSkinButton* qxSkinButton21 = nullptr;
    TMenuItem* N7 = nullptr;
    TMenuItem* N13 = nullptr;
    TMenuItem* N14 = nullptr;
    TMenuItem* N26 = nullptr;
    TqxSkinPanel* qxSkinPanel5 = nullptr;
    TListBox* ListBox1 = nullptr;
    // The glyphs' enabled and disabled looks.
    TImage* Image4 = nullptr;
    TImage* Image5 = nullptr;
    TImage* Image12 = nullptr;
    TImage* Image13 = nullptr;
    TImage* Image14 = nullptr;
    TImage* Image15 = nullptr;
    TImage* Image16 = nullptr;
    TImage* Image17 = nullptr;
    TEdit* edt = nullptr;
    TqxSkinSlider* qxSkinSlider1 = nullptr;
    // The add commands.
    TButton* btnAdd = nullptr;
    TqxSkinMenuSpeedButton* qxSkinMenuSpeedButton1 = nullptr;
    TMenuItem* Item111 = nullptr;
    TMenuItem* Item121 = nullptr;
    TMenuItem* N21 = nullptr;
    TMenuItem* N11111 = nullptr;
    TMenuItem* N2222 = nullptr;
    TMenuItem* N3331 = nullptr;
    // Made at creation: the description names no message component.
    TqxSkinMessage* qxSkinMessage1 = nullptr;

    // The workflow's state.
    Int64 FDuration = 0;
    bool FTrackChanging = false;
    TWinControl* FScreenControl = nullptr;
    std::array<TInputOptions, TaskSlotCount> IO1{};
    std::array<TOutputOptions, TaskSlotCount> OO1{};
    String FileOutPutPath;
    // Video_OutPutFileName ... Video_DisableVideo and All_Trant_Number.
    TStagingFields Staging;
    String T_Movie_PLayer_FileName;
    String qxSkinSlider1_down_UP;
    // Whether start-up could not save a setting it applied.
    bool SettingsUnsaved = false;
    // What start-up has to tell the user (skins it could not use), shown
    // once the forms exist.
    std::vector<String> StartNotices;
    // The notice that a setting in force will not be saved, once a run.
    void TellSettingsUnsaved();
    // Skin AIndex on both skin data; the failure's text, or empty. A skin
    // that fails to load leaves the look as it was.
    String ApplySkin(Integer AIndex);

    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void BeforeDestruction() override;

    // The output choice.
    void qxSkinOfficeComboBox2Change(TObject* Sender);
    void qxSkinOfficeComboBox1Change(TObject* Sender);
    void qxSkinComboBox1Change(TObject* Sender);
    void qxSkinComboBox2Change(TObject* Sender);
    void qxSkinComboBox3Change(TObject* Sender);
    void qxSkinComboBox4Change(TObject* Sender);
    void qxSkinComboBox9Change(TObject* Sender);
    void qxSkinComboBox10Change(TObject* Sender);
    // The pickers as the shared handlers see them.
    const formatchoice::TFormatControls& FormatControls();

    // Operations of the hidden buttons.
    void Button2Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button1Click(TObject* Sender);

    // Commands.
    void qxSkinButton6Click(TObject* Sender);
    void Video_OutPut_Folder_EditClick(TObject* Sender);
    void qxSkinButton19Click(TObject* Sender);
    void qxSkinButton24Click(TObject* Sender);
    void N24Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void N15Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void EMAIL1Click(TObject* Sender);

    // Adding files, with the names the open dialogs returned: one file, the
    // several files' list (rows appear in its reverse order), a folder's
    // files. Each ends by selecting the last row.
    void AddOneFile(const String& AFileName);
    void AddFiles(const std::vector<String>& AFileNames);
    void AddFolder(const String& ADirectory);

    // List editing and row selection.
    void btnRemoveClick(TObject* Sender);
    void btnClearClick(TObject* Sender);
    void qxSkinButton7Click(TObject* Sender);
    void qxSkinButton8Click(TObject* Sender);
    void qxSkinButton3Click(TObject* Sender);
    void qxSkinButton4Click(TObject* Sender);
    void qxSkinButton21Click(TObject* Sender);
    void N26Click(TObject* Sender);
    void lvFilesDblClick(TObject* Sender);
    void edtExit(TObject* Sender);
    void edtKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void lvFilesSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvFilesClick(TObject* Sender);

    // ---- The add dialogs, the conversion run and the action after it ----
    // Made at creation: the description names no dialog component.
    TqxSkinOpenDialog* OpenDialog1 = nullptr;
    TqxSkinOpenDialog* OpenDialog2 = nullptr;
    TqxSkinSelectDirectoryDialog* qxSkinSelectDirectoryDialog1 = nullptr;
    TButton* btnStop = nullptr;
    TButton* btnPause = nullptr;
    TButton* btnResume = nullptr;
    TqxSkinButton* qxSkinButton10 = nullptr;
    TqxSkinButton* qxSkinButton11 = nullptr;
    TqxSkinButton* qxSkinButton12 = nullptr;
    TqxSkinButton* qxSkinButton3 = nullptr;
    TqxSkinButton* qxSkinButton4 = nullptr;
    TqxSkinButton* qxSkinButton5 = nullptr;
    TqxSkinButton* qxSkinButton24 = nullptr;
    TMenuItem* N8 = nullptr;
    TMenuItem* N10 = nullptr;
    TMenuItem* N11 = nullptr;
    TMenuItem* N111 = nullptr;
    TMenuItem* N2221 = nullptr;
    TImage* Image6 = nullptr;
    TImage* Image7 = nullptr;
    TImage* Image8 = nullptr;
    TImage* Image9 = nullptr;
    TImage* Image10 = nullptr;
    TImage* Image11 = nullptr;
    // 上移 and 下移 enabled and disabled.
    TImage* Image19 = nullptr;
    TImage* Image20 = nullptr;
    TImage* Image21 = nullptr;
    TImage* Image22 = nullptr;
    TCheckBox* chkThreadMode = nullptr;
    TCheckBox* chkPreview = nullptr;

    // The add commands through their dialogs, and the open dialogs' filter.
    void btnAddClick(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button21Click(TObject* Sender);
    void N2222Click(TObject* Sender);
    void N21Click(TObject* Sender);
    void N3331Click(TObject* Sender);

    // The run: start, pause, resume, stop, the converter's reports.
    void qxSkinButton2Click(TObject* Sender);
    void btnStartClick(TObject* Sender);
    void button28Click(TObject* Sender);
    void qxSkinButton10Click(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void qxSkinButton11Click(TObject* Sender);
    void btnPauseClick(TObject* Sender);
    void qxSkinButton12Click(TObject* Sender);
    void btnResumeClick(TObject* Sender);
    void Button22Click(TObject* Sender);
    void Button23Click(TObject* Sender);
    void Button24Click(TObject* Sender);
    void StrovixProgress(TObject* Sender, PProgressInfo AProgressInfo);
    void StrovixTerminate(TObject* Sender, const TTerminateInfo& ATerminateInfo);
    void chkPreviewClick(TObject* Sender);
    void FFLoggerLog(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg);
    // After the run: the output folder is Button20Click; power-off, sound.
    void Button25Click(TObject* Sender);
    void Button29Click(TObject* Sender);
    // ---- The preview player, snapshots, and the folder and skin commands
    // (mainpreview.cpp, snapshots.cpp, mainfolders.cpp).
    TPanel* Panel6 = nullptr;
    TButton* Button31 = nullptr;
    TComboBox* cboVideoDriver = nullptr;
    TComboBox* cboAudioDriver = nullptr;
    TComboBox* cboVideo = nullptr;
    TComboBox* cboAudio = nullptr;
    TComboBox* cboSubtitle = nullptr;
    TCheckBox* chkOpenPaused = nullptr;
    TCheckBox* chkStayOnTop = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TqxSkinButton* qxSkinButton16 = nullptr;
    TqxSkinButton* qxSkinButton20 = nullptr;
    TqxSkinButton* qxSkinButton19 = nullptr;
    TqxSkinButton* qxSkinButton9 = nullptr;
    TqxSkinPopupMenu* qxSkinPopupMenu2 = nullptr;
    TMenuItem* BMP1 = nullptr;
    TMenuItem* JPG1 = nullptr;
    TMenuItem* GIF1 = nullptr;
    TMenuItem* PNG1 = nullptr;
    TqxCompressedSkinList* qxCompressedSkinList1 = nullptr;
    // Made at creation, as the message box is; the folder dialog is shared
    // by "浏览..." and "设置快照目录".
    TqxSkinSelectDirectoryDialog* qxSkinSelectDirectoryDialog2 = nullptr;
    TqxSelectSkinDialog* qxSelectSkinDialog1 = nullptr;
    // The skinned save-picture dialog with the BMP and JPEG filters.
    TqxSkinSavePictureDialog* SavePictureDialog1 = nullptr;
    // The file the player last opened: snapshots are named after it, not
    // after the file an add has named since.
    String FPlayerFileName;

    void Button31Click(TObject* Sender);
    void FFPlayerFileOpen(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                          Integer& AScreenWidth, Integer& AScreenHeight);
    void FFPlayerPosition(TObject* Sender, Int64 APTS);
    void FFPlayerState(TObject* Sender, TPlayState AState);
    void qxSkinSlider1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                Integer Y);
    void qxSkinSlider1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void qxSkinButton13Click(TObject* Sender);
    void qxSkinButton14Click(TObject* Sender);
    void qxSkinButton15Click(TObject* Sender);
    void qxSkinButton16Click(TObject* Sender);
    void qxSkinButton20Click(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void Dispatch(TMessage& AMessage) override;

    void qxSkinButton22Click(TObject* Sender);
    void qxSkinButton23MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                 Integer Y);
    void qxSkinButton23Click(TObject* Sender);
    void MenuItem1Click(TObject* Sender);
    void MenuItem2Click(TObject* Sender);
    void BMP1Click(TObject* Sender);
    void JPG1Click(TObject* Sender);
    void GIF1Click(TObject* Sender);
    void PNG1Click(TObject* Sender);
    void btnCaptureClick(TObject* Sender);

    void qxSkinButton5Click(TObject* Sender);
    void qxSkinButton9Click(TObject* Sender);
    // The snapshot folder (made when missing, the default when none is
    // stored) and type ("BMP", "JPG", "GIF" or "PNG", ticked in the menu).
    String SnapshotFolder();
    String SnapshotType();
    // Creation of the components the description does not name.
    void CreatePreviewDialogs();
    // The shared folder dialog's choice: empty after Cancel.
    String ChooseFolder();
    // ---- End of the preview block.

private:
    enum TAddResult { arAdded, arSkipped, arEnded };
    formatchoice::TFormatControls FFormatControls;
    // The player's and the converter's handlers that closing detaches.
    void DetachWorkHandlers();
    // The first steps of every add command: the staging reset, the media
    // libraries, the chosen format's encoders. False ends the command.
    bool PrepareAdding();
    TAddResult AddProbedFile(const String& AFileName);
    // Walks the names from the last to the first; false, with one box naming
    // the file and the reason, when a step ended it.
    bool AddFileList(const std::vector<String>& AFileNames);
    bool StopAdding(const String& AFileName, const String& AReason);
    // The commands that need rows, skinned ones with the glyph of their state.
    void SetRowCommands(bool AEnabled);
    void SetAddCommands(bool AEnabled);
    void ShowEmptyList();
    void MoveSelectedRow(Integer AStep);
    void StartRename();
    void Inform(const String& AText);
    void SelectLastRow();
    void Log(const String& ALine);
    void LogError(const String& AText);
    bool FSettingsUnsavedTold = false;
    // Shows and keeps AFolder as the output folder.
    void SetOutputFolder(const String& AFolder);
    // The default output folder, created and saved (steps of a first start).
    void UseDefaultOutputFolder();
    // Step 6 of the creation: "Panel6", then the direct windowed children
    // in tab order up to the first gap.
    void FillScreenList();
    void FocusFileList();
    // The add dialogs, made at creation.
    void CreateAddDialogs();
    // The add commands after their dialogs: one file, a folder's files
    // (ARowsBefore: the rows the list had when the command began).
    void AddChosenFile(const String& AFileName);
    void AddChosenFolder(const String& ADirectory, Integer ARowsBefore);
    // Every row's task from reset records and the row; false, with the
    // converter's list empty, the log and one box naming the file, when a
    // row cannot become a task.
    bool RebuildTasks();
    // The file row ARow writes in this run: its name in the output folder,
    // numbered (the row renamed, the log saying why) when that is one of
    // the inputs or an earlier row's. ANames holds the rows' names as the
    // run settles them.
    String RunOutputPath(Integer ARow, std::vector<String>& ANames, std::span<const String> AInputs);
    bool RefuseRun(const String& AFileName, const String& ALogPrefix, const String& AReason);
    // 上移 and 下移, with their menu items.
    void SetMoveCommands(bool AEnabled);
    // The format and parameter controls a run locks.
    std::vector<TControl*> LockedChoiceControls();
};

extern TForm1* Form1;

// Whole seconds as "hh:mm:ss", the hours modulo 24.
String SecToDate(Int64 ASeconds);
// Bytes as megabytes to the nearest hundredth (ties to even), "1.5MB".
String MegabytesText(Int64 ABytes);
// The full paths of the files directly in AFolder whose names match AMask
// ("*.*": every file), in name order; none when the folder does not exist.
std::optional<std::vector<String>> GetFilenames(const String& AFolder, const String& AMask);
// The open dialogs' filter: 42 description and mask pairs, all files first.
String OpenDialogFilter();
// The output options a row carries (sub-items 10 to 23) over AOptions; an
// empty text, "AUTO" and an automatic bit rate leave the option as it is.
// Raises EConvertError for a number column that holds no whole number.
void ApplyRowOptions(TStrings* ASubItems, TOutputOptions& AOptions);
// "37%" of the total, "N/A" without a total.
String ProgressText(Int64 ACurrentDuration, Int64 ATotalDuration);
// The progress of a row whose task failed.
inline constexpr char16_t FailedRowText[] = u"失败";
// A failed task's message, after the name of its file unless it names it.
String FailureText(const String& AFileName, const String& AMessage);

// The seek of a slider released at AValue of 0..AMaxValue over ADuration µs;
// none when the slider has no range.
std::optional<Int64> SliderSeekTarget(Int64 ADuration, Integer AValue, Integer AMaxValue);
// The slider value of a position APTS, truncated; none for a negative
// position or an unknown duration.
std::optional<Integer> SliderValueAt(Int64 APTS, Int64 ADuration, Integer AMaxValue);
// The folder a run of a folder dialog confirmed: its Directory when Execute
// said OK and it is an absolute path, else empty (a virtual node's display
// name is no folder).
String ConfirmedFolder(bool AExecuted, const String& ADirectory);
// The first free snapshot name: AFolder/ABase_N.AExtension with N from 1.
String NextSnapshotName(const String& AFolder, const String& ABase, const String& AExtension);
// Writes ABitmap as the type ("BMP", "JPG", "GIF", "PNG"); any other type
// writes JPEG.
void WriteSnapshot(TBitmap* ABitmap, const String& AFileName, const String& AType);
// The type a file name's extension asks for, ignoring case; "JPG" for an
// extension none of the four writers has.
String SnapshotTypeOfName(const String& AFileName);
// The picture save dialog: BMP and JPEG filters, ".bmp" for a name typed
// without an extension, asking before it overwrites.
TqxSkinSavePictureDialog* NewSavePictureDialog(TComponent* AOwner);
