#include "platform/shell/shellfolders.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "platform/base/clock.h"
#include "platform/shell/sysimagelist.h"
#include "platform/toolkit/imagelist.h"
#include "platform/win/testdriver.h"
#include "shelltest.h"

namespace {

using namespace win;
using TNames = std::vector<std::string>;

class ShellFoldersTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        MakeFile(At("home/Desktop/note.txt"));
        MakeFolder(At("home/Desktop/Work"));
        MakeFile(At("home/b.txt"));
        MakeFile(At("home/B.txt"));
        MakeFile(At("home/a.mp4"));
        MakeFile(At("home/.profile"));
        MakeFolder(At("home/Videos/Trip"));
        MakeFolder(At("home/.cache"));
        MakeFolder(At("home/Empty"));
        std::filesystem::create_directory_symlink("Videos", At("home/VideoLink"));
        MakeFile(At("data/report.pdf"));
    }

    static DWORD Attributes(PCItemIDList AList, DWORD AAsk = ~DWORD(0)) {
        DWORD attributes = AAsk;
        const HRESULT result = Desktop()->GetAttributesOf(1, &AList, &attributes);
        return SUCCEEDED(result) ? attributes : 0xDEAD;
    }
    // A folder's column captions, " >" marking those aligned right and
    // " (off)" those not shown by default.
    static TNames Captions(IShellFolder2* AFolder) {
        TNames captions;
        for (UINT column = 0;; ++column) {
            SHELLDETAILS details;
            DWORD state = 0;
            if (FAILED(AFolder->GetDetailsOf(nullptr, column, &details))) break;
            EXPECT_EQ(AFolder->GetDefaultColumnState(column, &state), S_OK);
            captions.push_back(StringToUTF8(details.str.pOleStr) + (details.fmt == LVCFMT_RIGHT ? " >" : "") +
                               (state & SHCOLSTATE_ONBYDEFAULT ? "" : " (off)"));
        }
        return captions;
    }
    static int Compare(PCItemIDList A, PCItemIDList B) {
        return SmallInt(HRESULT_CODE(Desktop()->CompareIDs(0, A, B)));
    }
};

TEST_F(ShellFoldersTest, TheDesktopHoldsComputerHomeAndTheDesktopFolder) {
    std::shared_ptr<IShellFolder> desktop = Desktop();
    EXPECT_EQ(Names(desktop.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (TNames{"计算机", "主文件夹", "Work", "note.txt"}));
    EXPECT_EQ(Names(desktop.get(), SHCONTF_NONFOLDERS), (TNames{"note.txt"}));
    const Byte empty[2] = {0, 0};
    EXPECT_EQ(NameOf(desktop.get(), empty, SHGDN_NORMAL), "桌面");
    EXPECT_EQ(NameOf(desktop.get(), empty, SHGDN_FORPARSING), At("home/Desktop"));
    const std::vector<TList> children = Children(desktop.get(), SHCONTF_FOLDERS);
    EXPECT_EQ(NameOf(desktop.get(), children[0].get(), SHGDN_FORPARSING).substr(0, 3), "::{") << "virtual";
    EXPECT_EQ(NameOf(desktop.get(), children[1].get(), SHGDN_FORPARSING), At("home"));
    String path;
    EXPECT_FALSE(SHGetPathFromIDListW(children[0].get(), path));
    EXPECT_TRUE(SHGetPathFromIDListW(children[1].get(), path));
    EXPECT_EQ(path, PathAt("home"));
    EXPECT_TRUE(SHGetPathFromIDListW(empty, path));
    EXPECT_EQ(path, PathAt("home/Desktop"));

    // Without a desktop folder only the two remain.
    std::filesystem::remove_all(At("home/Desktop"));
    EXPECT_EQ(Names(desktop.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS), (TNames{"计算机", "主文件夹"}));
}

TEST_F(ShellFoldersTest, ComputerListsTheVolumesByLabelOrFolderName) {
    const TList computer = SpecialFolder(CSIDL_DRIVES);
    std::shared_ptr<IShellFolder> folder = Bind(computer.get());
    ASSERT_TRUE(folder);
    EXPECT_EQ(Names(folder.get(), SHCONTF_FOLDERS),
              (TNames{"文件系统", "USB KEY", "cdrom", "net", "ram", "data"}));
    EXPECT_TRUE(Names(folder.get(), SHCONTF_NONFOLDERS).empty());
    const std::vector<TList> volumes = Children(folder.get(), SHCONTF_FOLDERS);
    EXPECT_EQ(NameOf(folder.get(), volumes[1].get(), SHGDN_FORPARSING), At("media/USB KEY"));
    EXPECT_TRUE(Attributes(Parse(PathAt("media/USB KEY")).get()) & SFGAO_REMOVABLE);
    EXPECT_FALSE(Attributes(Parse(PathAt("data")).get()) & SFGAO_REMOVABLE);
}

TEST_F(ShellFoldersTest, PathsRouteThroughHomeOrTheirVolumeAndAreOneItemEitherWay) {
    struct Case {
        std::string Path;
        size_t Items;
    };
    for (const Case& c : {Case{At("home"), 1}, Case{At("home/Videos/Trip"), 3},
                          Case{At("data/report.pdf"), 3}, Case{"/", 2}, Case{At("media/USB KEY"), 2}}) {
        SCOPED_TRACE(c.Path);
        const TList list = Parse(UTF8ToString(c.Path));
        ASSERT_TRUE(list);
        EXPECT_EQ(ILGetCount(list.get()), c.Items);
        String path;
        EXPECT_TRUE(SHGetPathFromIDListW(list.get(), path));
        EXPECT_EQ(StringToUTF8(path), c.Path);
    }
    // Written with extra delimiters and dots, the same item.
    EXPECT_EQ(Compare(Parse(PathAt("home/Videos/./Trip/")).get(), Parse(PathAt("home/Videos/Trip")).get()),
              0);
    EXPECT_FALSE(Parse(PathAt("home/missing")));
    EXPECT_FALSE(Parse(u"home/b.txt")) << "relative";
    EXPECT_FALSE(Parse(u""));

    // The home folder through Computer: "/" and the folders down to it.
    const TList viaHome = Parse(PathAt("home/b.txt"));
    const TList computer = SpecialFolder(CSIDL_DRIVES);
    std::shared_ptr<IShellFolder> root;
    ASSERT_EQ(Bind(computer.get())
                  ->BindToObject(Children(Bind(computer.get()).get(), SHCONTF_FOLDERS)[0].get(), root),
              S_OK);
    PItemIDList relative = nullptr;
    ASSERT_EQ(root->ParseDisplayName(nullptr, PathAt("home/b.txt"), nullptr, &relative, nullptr), S_OK);
    TList rootList(ILCombine(computer.get(), Children(Bind(computer.get()).get(), SHCONTF_FOLDERS)[0].get()));
    TList viaComputer(ILCombine(rootList.get(), relative));
    SHFree(relative);
    EXPECT_GT(ILGetCount(viaComputer.get()), 3u);
    EXPECT_EQ(Compare(viaHome.get(), viaComputer.get()), 0);
    EXPECT_NE(Compare(viaHome.get(), Parse(PathAt("home/B.txt")).get()), 0) << "case-distinct names are two";
}

TEST_F(ShellFoldersTest, OrderIsVirtualFirstFoldersBeforeFilesNamesWithoutCaseThenExactly) {
    const TList home = Parse(PathAt("home"));
    std::shared_ptr<IShellFolder> folder = Bind(home.get());
    ASSERT_TRUE(folder);
    std::vector<TList> items =
        Children(folder.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    std::sort(items.begin(), items.end(), [&](const TList& A, const TList& B) {
        return SmallInt(HRESULT_CODE(folder->CompareIDs(0, A.get(), B.get()))) < 0;
    });
    TNames names;
    for (const TList& item : items)
        names.push_back(NameOf(folder.get(), item.get()));
    EXPECT_EQ(names, (TNames{".cache", "Desktop", "Empty", "VideoLink", "Videos", ".profile", "a.mp4",
                             "B.txt", "b.txt"}));
    for (const TList& item : items)
        EXPECT_EQ(folder->CompareIDs(0, item.get(), item.get()), S_OK);

    // At the desktop: Computer, Home, then the desktop's own entries.
    std::vector<TList> top = Children(Desktop().get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    ASSERT_EQ(top.size(), 4u);
    for (size_t i = 0; i + 1 < top.size(); ++i)
        EXPECT_LT(Compare(top[i].get(), top[i + 1].get()), 0);
    const Byte empty[2] = {0, 0};
    EXPECT_LT(Compare(empty, top[0].get()), 0) << "a folder before what it holds";
}

TEST_F(ShellFoldersTest, AttributesFollowTheFileSystem) {
    const DWORD folder = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
    const DWORD entry = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
    struct Case {
        std::string Path;
        DWORD Set;
        DWORD Clear;
    };
    const Case cases[] = {
        {At("home/Videos"), folder | entry | SFGAO_HASSUBFOLDER, SFGAO_HIDDEN | SFGAO_LINK},
        {At("home/Empty"), folder, SFGAO_HASSUBFOLDER},
        {At("home/VideoLink"), folder | SFGAO_LINK, 0},
        {At("home/.cache"), folder | SFGAO_HIDDEN, 0},
        {At("home/b.txt"), SFGAO_FILESYSTEM | entry, SFGAO_FOLDER | SFGAO_HASSUBFOLDER},
        {At("home"), folder | SFGAO_HASSUBFOLDER, entry},
        {At("data"), folder, entry | SFGAO_HASSUBFOLDER},
        // A network volume is never read to answer.
        {At("net"), folder | SFGAO_HASSUBFOLDER, entry},
        {At("net/export/sub"), folder | SFGAO_HASSUBFOLDER, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        const TList list = Parse(UTF8ToString(c.Path));
        ASSERT_TRUE(list);
        const DWORD attributes = Attributes(list.get());
        EXPECT_EQ(attributes & c.Set, c.Set);
        EXPECT_EQ(attributes & c.Clear, 0u);
    }
    // Sub-folders are looked for only when asked for.
    EXPECT_FALSE(Attributes(Parse(PathAt("home/Videos")).get(), SFGAO_FOLDER) & SFGAO_HASSUBFOLDER);
    EXPECT_TRUE(Attributes(Parse(PathAt("home/Videos")).get(), 0) & SFGAO_FILESYSTEM);
    if (::geteuid() != 0) {
        ::chmod(At("home/Videos").c_str(), 0555);
        EXPECT_FALSE(Attributes(Parse(PathAt("home/Videos/Trip")).get()) & SFGAO_CANRENAME)
            << "its folder counts";
        EXPECT_TRUE(Attributes(Parse(PathAt("home/Videos")).get()) & SFGAO_READONLY);
        ::chmod(At("home/Videos").c_str(), 0755);
    }
    // Computer is virtual.
    EXPECT_EQ(Attributes(SpecialFolder(CSIDL_DRIVES).get()) & SFGAO_FILESYSTEM, 0u);
    // A vanished item fails.
    const TList gone = Parse(PathAt("home/b.txt"));
    std::filesystem::remove(At("home/b.txt"));
    EXPECT_EQ(Attributes(gone.get()), 0xDEADu);
}

TEST_F(ShellFoldersTest, EnumerationsFilterFoldersFilesAndHiddenAndFailOnUnreadableFolders) {
    std::shared_ptr<IShellFolder> home = Bind(Parse(PathAt("home")).get());
    EXPECT_EQ(Names(home.get(), SHCONTF_FOLDERS), (TNames{"Desktop", "Empty", "VideoLink", "Videos"}));
    EXPECT_EQ(Names(home.get(), SHCONTF_NONFOLDERS), (TNames{"B.txt", "a.mp4", "b.txt"}));
    EXPECT_EQ(Names(home.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN),
              (TNames{".cache", "Desktop", "Empty", "VideoLink", "Videos"}));
    std::shared_ptr<IShellFolder> file;
    EXPECT_TRUE(FAILED(Desktop()->BindToObject(Parse(PathAt("home/b.txt")).get(), file)));
    EXPECT_FALSE(file);
    std::shared_ptr<IShellFolder> videos = Bind(Parse(PathAt("home/Videos")).get());
    std::filesystem::remove_all(At("home/Videos"));
    std::shared_ptr<IEnumIDList> items;
    EXPECT_TRUE(FAILED(videos->EnumObjects(nullptr, SHCONTF_FOLDERS, items)));
}

TEST_F(ShellFoldersTest, RenamingRefusesAnExistingNameAndGivesTheNewItem) {
    std::shared_ptr<IShellFolder> home = Bind(Parse(PathAt("home")).get());
    PItemIDList relative = nullptr;
    ASSERT_EQ(home->ParseDisplayName(nullptr, u"b.txt", nullptr, &relative, nullptr), S_OK);
    const TList item(relative);
    PItemIDList renamed = nullptr;
    EXPECT_EQ(home->SetNameOf(nullptr, item.get(), u"B.txt", SHGDN_NORMAL, &renamed),
              HRESULT_FROM_WIN32(EEXIST));
    EXPECT_EQ(home->SetNameOf(nullptr, item.get(), u"Videos", SHGDN_NORMAL, &renamed),
              HRESULT_FROM_WIN32(EEXIST));
    EXPECT_EQ(ReadBytes(PathAt("home/B.txt")), "12345") << "nothing replaced";
    for (const char16_t* bad : {u"", u".", u"..", u"x/y"})
        EXPECT_EQ(home->SetNameOf(nullptr, item.get(), bad, SHGDN_NORMAL, &renamed), E_INVALIDARG);
    EXPECT_EQ(renamed, nullptr);
    ASSERT_EQ(home->SetNameOf(nullptr, item.get(), u"新名字.txt", SHGDN_NORMAL, &renamed), S_OK);
    const TList newItem(renamed);
    EXPECT_EQ(NameOf(home.get(), newItem.get(), SHGDN_FORPARSING), At("home/新名字.txt"));
    EXPECT_TRUE(std::filesystem::exists(At("home/新名字.txt")));
    EXPECT_FALSE(std::filesystem::exists(At("home/b.txt")));
}

TEST_F(ShellFoldersTest, DetailsGiveFixedColumnsAndTextsWithoutTheLocale) {
    std::shared_ptr<IShellFolder2> home =
        std::dynamic_pointer_cast<IShellFolder2>(Bind(Parse(PathAt("home")).get()));
    ASSERT_TRUE(home);
    EXPECT_EQ(Captions(home.get()), (TNames{"名称", "大小 >", "类型", "修改日期", "创建日期 (off)"}));

    MakeFile(At("home/big.MKV"), std::string(1536, 'x'));
    struct tm local {};
    local.tm_year = 2020 - 1900, local.tm_mon = 1, local.tm_mday = 29, local.tm_hour = 23, local.tm_min = 5,
    local.tm_sec = 7, local.tm_isdst = -1;
    const struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ::utimensat(AT_FDCWD, At("home/big.MKV").c_str(), times, 0);
    const auto texts = [&](const char16_t* AName) {
        PItemIDList item = nullptr;
        home->ParseDisplayName(nullptr, AName, nullptr, &item, nullptr);
        const TList owned(item);
        TNames out;
        for (UINT column = 0; column < 4; ++column) {
            SHELLDETAILS details;
            out.push_back(SUCCEEDED(home->GetDetailsOf(item, column, &details))
                              ? StringToUTF8(details.str.pOleStr)
                              : "(fails)");
        }
        return out;
    };
    EXPECT_EQ(texts(u"big.MKV"), (TNames{"big.MKV", "1.5 KB", "MKV 文件", "2020-02-29 23:05:07"}));
    EXPECT_EQ(texts(u"b.txt")[1], "5 字节");
    const TNames folder = texts(u"Videos");
    EXPECT_EQ(folder[1], "");
    EXPECT_EQ(folder[2], "文件夹");
    EXPECT_EQ(folder[3].size(), 19u);
    EXPECT_EQ(folder[3][4], '-');
    PItemIDList gone = nullptr;
    home->ParseDisplayName(nullptr, u"b.txt", nullptr, &gone, nullptr);
    const TList owned(gone);
    std::filesystem::remove(At("home/b.txt"));
    SHELLDETAILS details;
    EXPECT_TRUE(FAILED(home->GetDetailsOf(gone, 1, &details))) << "a vanished file has no details";
}

TEST_F(ShellFoldersTest, DetailValuesAreWhatTheTextsShowUnformatted) {
    std::shared_ptr<IShellFolder2> home =
        std::dynamic_pointer_cast<IShellFolder2>(Bind(Parse(PathAt("home")).get()));
    ASSERT_TRUE(home);
    MakeFile(At("home/big.MKV"), std::string(1536, 'x'));
    struct tm local {};
    local.tm_year = 2020 - 1900, local.tm_mon = 1, local.tm_mday = 29, local.tm_hour = 23, local.tm_min = 5,
    local.tm_sec = 7, local.tm_isdst = -1;
    const time_t seconds = std::mktime(&local);
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, At("home/big.MKV").c_str(), times, 0);
    const auto value = [&](const char16_t* AName, UINT AColumn, TDetailValue& AValue) {
        PItemIDList item = nullptr;
        home->ParseDisplayName(nullptr, AName, nullptr, &item, nullptr);
        const TList owned(item);
        return home->GetDetailsEx(item, AColumn, &AValue);
    };
    TDetailValue size, type, date, none;
    ASSERT_EQ(value(u"big.MKV", 1, size), S_OK);
    EXPECT_EQ(size.Type, SHCOLSTATE_TYPE_INT);
    EXPECT_EQ(size.Number, 1536);
    ASSERT_EQ(value(u"big.MKV", 2, type), S_OK);
    EXPECT_EQ(type.Type, SHCOLSTATE_TYPE_STR);
    EXPECT_EQ(type.Text, u"MKV 文件");
    ASSERT_EQ(value(u"big.MKV", 3, date), S_OK);
    EXPECT_EQ(date.Type, SHCOLSTATE_TYPE_DATE);
    EXPECT_EQ(date.Number, Int64(seconds));
    EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn:ss", date.Date), u"2020-02-29 23:05:07");
    EXPECT_EQ(value(u"Videos", 1, none), S_FALSE) << "a folder has no size";
    EXPECT_EQ(value(u"big.MKV", 5, none), E_INVALIDARG);
    std::filesystem::remove(At("home/big.MKV"));
    EXPECT_TRUE(FAILED(value(u"big.MKV", 1, none))) << "gone";
    EXPECT_EQ(home->GetDetailsEx(nullptr, 1, &none), E_INVALIDARG);

    // On the desktop Computer is a system folder without size or dates.
    std::shared_ptr<IShellFolder2> desktop = std::dynamic_pointer_cast<IShellFolder2>(Desktop());
    const std::vector<TList> children = Children(desktop.get(), SHCONTF_FOLDERS);
    ASSERT_EQ(desktop->GetDetailsEx(children[0].get(), 2, &type), S_OK);
    EXPECT_EQ(type.Text, u"系统文件夹");
    EXPECT_EQ(desktop->GetDetailsEx(children[0].get(), 3, &none), S_FALSE);
}

TEST_F(ShellFoldersTest, ComputerDescribesItsVolumesByTypeAndSpace) {
    std::shared_ptr<IShellFolder2> computer =
        std::dynamic_pointer_cast<IShellFolder2>(Bind(SpecialFolder(CSIDL_DRIVES).get()));
    ASSERT_TRUE(computer);
    EXPECT_EQ(Captions(computer.get()), (TNames{"名称", "类型", "总大小 >", "可用空间 >"}));

    struct TRow {
        std::string Name, Type;
        HRESULT Total, Free;
    };
    std::vector<TRow> rows;
    for (const TList& volume : Children(computer.get(), SHCONTF_FOLDERS)) {
        TRow row;
        SHELLDETAILS details;
        EXPECT_EQ(computer->GetDetailsOf(volume.get(), 0, &details), S_OK);
        row.Name = StringToUTF8(details.str.pOleStr);
        EXPECT_EQ(computer->GetDetailsOf(volume.get(), 1, &details), S_OK);
        row.Type = StringToUTF8(details.str.pOleStr);
        TDetailValue total, free;
        row.Total = computer->GetDetailsEx(volume.get(), 2, &total);
        row.Free = computer->GetDetailsEx(volume.get(), 3, &free);
        if (row.Total == S_OK && row.Free == S_OK) {
            EXPECT_EQ(total.Type, SHCOLSTATE_TYPE_INT);
            EXPECT_GT(total.Number, 0);
            EXPECT_LE(free.Number, total.Number);
            EXPECT_EQ(computer->GetDetailsOf(volume.get(), 2, &details), S_OK);
            EXPECT_TRUE(details.str.pOleStr.ends_with(u"B")) << StringToUTF8(details.str.pOleStr);
        }
        rows.push_back(row);
    }
    // The network volume is never asked (it may hang); /mnt/ram of the
    // fixture table is seldom there; the others are folders of the tree.
    const HRESULT ram = std::filesystem::is_directory("/mnt/ram") ? S_OK : S_FALSE;
    const std::vector<std::tuple<std::string, std::string, HRESULT>> expected = {
        {"文件系统", "本地磁盘", S_OK}, {"USB KEY", "可移动磁盘", S_OK}, {"cdrom", "光盘", S_OK},
        {"net", "网络驱动器", S_FALSE}, {"ram", "本地磁盘", ram},     {"data", "本地磁盘", S_OK}};
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Name, std::get<0>(expected[i]));
        EXPECT_EQ(rows[i].Type, std::get<1>(expected[i])) << rows[i].Name;
        EXPECT_EQ(rows[i].Total, std::get<2>(expected[i])) << rows[i].Name;
        EXPECT_EQ(rows[i].Free, std::get<2>(expected[i])) << rows[i].Name;
    }
}

TEST_F(ShellFoldersTest, ContextMenusOpenThroughTheLauncherAndDeleteToTheTrash) {
    std::shared_ptr<IShellFolder> home = Bind(Parse(PathAt("home")).get());
    PItemIDList item = nullptr;
    home->ParseDisplayName(nullptr, u"a.mp4", nullptr, &item, nullptr);
    const TList owned(item);
    std::shared_ptr<IContextMenu> menu;
    PCItemIDList items[] = {item};
    ASSERT_EQ(home->GetUIObjectOf(nullptr, 1, items, menu), S_OK);
    std::vector<std::string> verbs;
    for (const TShellVerb& verb : menu->Verbs())
        verbs.push_back(verb.Verb + " " + StringToUTF8(verb.Caption));
    EXPECT_EQ(verbs, (TNames{"open 打开", "rename 重命名", "delete 删除", "properties 属性"}));
    EXPECT_EQ(menu->InvokeCommand(nullptr, "open"), S_OK);
    EXPECT_EQ(win::driver::ShellOpens(),
              (std::vector<win::driver::TShellOpen>{{u"open", PathAt("home/a.mp4")}}));
    EXPECT_EQ(menu->InvokeCommand(nullptr, "rename"), E_NOTIMPL);
    EXPECT_EQ(menu->InvokeCommand(nullptr, "format"), E_INVALIDARG);
    EXPECT_EQ(menu->InvokeCommand(nullptr, "delete"), S_OK);
    EXPECT_FALSE(std::filesystem::exists(At("home/a.mp4")));
    EXPECT_TRUE(std::filesystem::exists(At("home/.local/share/Trash/files/a.mp4")));

    // Home opens but cannot be deleted; Computer has no menu.
    const TList homeList = Parse(PathAt("home"));
    PCItemIDList homeItem[] = {homeList.get()};
    ASSERT_EQ(Desktop()->GetUIObjectOf(nullptr, 1, homeItem, menu), S_OK);
    EXPECT_EQ(menu->Verbs().size(), 2u);
    EXPECT_EQ(menu->InvokeCommand(nullptr, "delete"), E_INVALIDARG);
    const TList computer = SpecialFolder(CSIDL_DRIVES);
    PCItemIDList computerItem[] = {computer.get()};
    EXPECT_EQ(Desktop()->GetUIObjectOf(nullptr, 1, computerItem, menu), E_NOINTERFACE);
    EXPECT_FALSE(menu);
}

TEST_F(ShellFoldersTest, SpecialFoldersAndOpeningByIdList) {
    EXPECT_EQ(ILGetCount(SpecialFolder(CSIDL_DESKTOP).get()), 0u);
    EXPECT_EQ(ILGetCount(SpecialFolder(CSIDL_DRIVES).get()), 1u);
    String path;
    EXPECT_TRUE(SHGetPathFromIDListW(SpecialFolder(CSIDL_DESKTOPDIRECTORY).get(), path));
    EXPECT_EQ(path, PathAt("home/Desktop"));
    EXPECT_FALSE(SpecialFolder(CSIDL_PERSONAL)) << "no Documents folder";
    ::setenv("XDG_DOCUMENTS_DIR", At("data").c_str(), 1);
    EXPECT_TRUE(SHGetPathFromIDListW(SpecialFolder(CSIDL_PERSONAL).get(), path));
    EXPECT_EQ(path, PathAt("data"));
    EXPECT_FALSE(SpecialFolder(3)) << "no control panel";

    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    const TList computer = SpecialFolder(CSIDL_DRIVES);
    info.lpIDList = computer.get();
    EXPECT_FALSE(ShellExecuteExW(&info));
    const TList video = Parse(PathAt("home/Videos"));
    info.lpIDList = video.get();
    EXPECT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(win::driver::ShellOpens(),
              (std::vector<win::driver::TShellOpen>{{u"", PathAt("home/Videos")}}));
}

TEST_F(ShellFoldersTest, IconsComeFromTheSystemImageListsByKind) {
    struct Case {
        TList List;
        UINT Flags;
        int Icon;
    };
    Case cases[] = {
        {SpecialFolder(CSIDL_DESKTOP), 0, shell::siDesktop},
        {SpecialFolder(CSIDL_DRIVES), 0, shell::siComputer},
        {Parse(PathAt("home")), 0, shell::siHome},
        {Parse(PathAt("home/Videos")), 0, shell::siFolder},
        {Parse(PathAt("home/Videos")), SHGFI_OPENICON, shell::siOpenFolder},
        {Parse(PathAt("home/a.mp4")), 0, shell::siVideo},
        {Parse(PathAt("home/b.txt")), 0, shell::siFile},
        {Parse(u"/"), 0, shell::siDisk},
        {Parse(PathAt("media/USB KEY")), 0, shell::siRemovable},
        {Parse(PathAt("cdrom")), 0, shell::siOptical},
        {Parse(PathAt("net")), 0, shell::siNetwork},
    };
    for (Case& c : cases) {
        SHFILEINFOW info;
        const ULONG_PTR small = SHGetFileInfoW(c.List.get(), 0, &info, sizeof info,
                                               SHGFI_SYSICONINDEX | SHGFI_SMALLICON | c.Flags);
        EXPECT_EQ(info.iIcon, c.Icon);
        EXPECT_EQ(small, reinterpret_cast<ULONG_PTR>(shell::SystemImageList(false)->Handle()));
    }
    SHFILEINFOW info;
    const ULONG_PTR large =
        SHGetFileInfoW(PathAt("home/missing.zip"), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
    EXPECT_EQ(info.iIcon, shell::siFile) << "an item that is not there";
    EXPECT_EQ(large, reinterpret_cast<ULONG_PTR>(shell::SystemImageList(true)->Handle()));
    EXPECT_EQ(SHGetFileInfoW(PathAt("home"), 0, &info, sizeof info, 0), 0u);
    EXPECT_EQ(shell::SystemImageList(true)->Count(), shell::siArchive + 1);
    EXPECT_EQ(shell::SystemImageList(true)->Width(), 32);
    EXPECT_EQ(shell::SystemImageList(false)->Height(), 16);
}

}  // namespace
