// Compressed skins: containers, payloads from folder skins and from loaded
// skins, payload versions, and skin lists.
#include "skin/core/qxcompressedskins.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/fileutils.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxzlibcompress.h"
#include "skinfixtures.h"
#include "skinreaders.h"

using namespace skinfixtures;

namespace {

std::string Bytes(TCustomMemoryStream* AStream) {
    return std::string(static_cast<const char*>(AStream->Memory()), size_t(AStream->Size()));
}

std::string PayloadOf(TqxCompressedStoredSkin& AStored) {
    TMemoryStream payload;
    AStored.DeCompressToStream(&payload);
    return Bytes(&payload);
}

// What a loaded skin amounts to: its regenerated text and its pictures.
std::string Snapshot(TqxSkinData& AData) {
    TMemIniFile ini;
    AData.WriteSkinIni(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    std::string snapshot = StringToUTF8(lines.Text());
    for (TBitmap* picture : {AData.FPicture.get(), AData.FInActivePicture.get(), AData.FMask.get()})
        snapshot += picture->Empty() ? "-" : BmpFile(picture);
    for (const auto& picture : AData.FActivePictures)
        snapshot += BmpFile(picture.get());
    return snapshot;
}

TFixtureSkin SkinWithPictures() {
    TFixtureSkin skin = MinimalSkin();
    SetValue(skin, u"PICTURES", u"mask", u"mask.bmp");
    SetValue(skin, u"PICTURES", u"activepicturescount", u"2");
    SetValue(skin, u"PICTURES", u"0", u"a.bmp");
    SetValue(skin, u"PICTURES", u"1", u"b.bmp");
    skin.Files[u"mask.bmp"] = SolidBmp(40, 40, 0);
    skin.Files[u"a.bmp"] = SolidBmp(7, 3, 0xAA0000);
    skin.Files[u"b.bmp"] = SolidBmp(2, 9, 0x00BB00);
    skin.Ini.insert(skin.Ini.begin(), u"; made by hand");
    return skin;
}

TEST(CompressedSkins, ContainersRoundTripByteForByte) {
    TTempFolder folder;
    const std::string container = CompressedSkin(MinimalSkin());
    const std::unique_ptr<TqxCompressedStoredSkin> stored = StoredSkin(container);
    EXPECT_FALSE(stored->Empty());
    stored->SaveToCompressFile(folder.Path() + u"skin.skn");
    EXPECT_EQ(container, ReadFileBytes(folder.Path() + u"skin.skn"));
    TqxCompressedStoredSkin again(nullptr);
    again.LoadFromCompressFile(folder.Path() + u"skin.skn");
    EXPECT_EQ(Bytes(stored->CompressedStream()), Bytes(again.CompressedStream()));
    // The zlib data is made at the highest level.
    EXPECT_EQ("\x78\xDA", Bytes(again.CompressedStream()).substr(0, 2));

    // An empty skin writes no file but an 8-byte container.
    TqxCompressedStoredSkin empty(nullptr);
    empty.SaveToCompressFile(folder.Path() + u"empty.skn");
    EXPECT_FALSE(FileExists(folder.Path() + u"empty.skn"));
    TMemoryStream container8;
    empty.SaveToCompressStream(&container8);
    EXPECT_EQ(std::string("\x03\0\0\0\0\0\0\0", 8), Bytes(&container8));
    TqxCompressedStoredSkin back(nullptr);
    back.LoadFromCompressStream(&container8);
    EXPECT_TRUE(back.Empty());

    // A container version above 3 leaves the data empty.
    TStringStream version4(Container(Deflate(Payload(MinimalSkin())), 4));
    again.LoadFromCompressStream(&version4);
    EXPECT_TRUE(again.Empty());
    EXPECT_THROW(again.LoadFromCompressFile(folder.Path() + u"missing.skn"), EFOpenError);
}

TEST(CompressedSkins, APayloadHoldsOnlyThePicturesThatAreThere) {
    TFixtureSkin skin = SkinWithPictures();
    const std::string payload = Payload(skin);
    // Version, then the picture's flag 0 and its BMP, the inactive picture's
    // flag 1 and no BMP, the mask's flag 0 straight after it.
    const std::string& form = skin.Files.at(u"form.bmp");
    EXPECT_EQ(std::string("\x03\0\0\0\0", 5), payload.substr(0, 5));
    EXPECT_EQ(form, payload.substr(5, form.size()));
    EXPECT_EQ(std::string("\x01\0BM", 4), payload.substr(5 + form.size(), 4));

    TqxSkinData data(nullptr);
    LoadFixture(&data, skin);
    EXPECT_EQ(40, data.FPicture->Width());
    EXPECT_TRUE(data.FInActivePicture->Empty());
    EXPECT_EQ(40, data.FMask->Width());
    ASSERT_EQ(2, data.FActivePictures.Count());
    EXPECT_EQ(7, data.GetActivePicture(0)->Width());
    EXPECT_EQ(u"b.bmp", data.FActivePicturesNames->Get(1));
    EXPECT_EQ(u"form.bmp", data.FPictureName);
}

TEST(CompressedSkins, Version2LoadsTheSameSkinAsVersion3) {
    const TFixtureSkin skin = SkinWithPictures();
    TqxSkinData three(nullptr), two(nullptr);
    three.LoadCompressedStoredSkin(StoredSkin(Container(Deflate(Payload(skin, 3)))).get());
    two.LoadCompressedStoredSkin(StoredSkin(Container(Deflate(Payload(skin, 2)))).get());
    EXPECT_FALSE(two.Empty);
    EXPECT_EQ(Snapshot(three), Snapshot(two));
}

TEST(CompressedSkins, TheTextsByteOrderMarksAreRead) {
    const TFixtureSkin skin = MinimalSkin();
    const std::string text = IniText(skin);
    const std::string payload = Payload(skin);
    const std::string pictures = payload.substr(0, payload.size() - text.size());
    std::u16string wide = UTF8ToString(text);
    std::string le("\xFF\xFE"), be("\xFE\xFF");
    for (char16_t c : wide) {
        le += char(c & 0xFF);
        le += char(c >> 8);
        be += char(c >> 8);
        be += char(c & 0xFF);
    }
    for (const std::string& encoded : {"\xEF\xBB\xBF" + text, le, be}) {
        TqxSkinData data(nullptr);
        data.LoadCompressedStoredSkin(StoredSkin(Container(Deflate(pictures + encoded))).get());
        EXPECT_EQ(u"minimal", data.SkinName);
        EXPECT_EQ(1, data.CtrlList.Count());
    }
}

TEST(CompressedSkins, FromAFolderSkinTheTextComesVerbatim) {
    TTempFolder folder;
    const TFixtureSkin skin = SkinWithPictures();
    const String ini = WriteFolderSkin(skin, folder.Path());
    TqxCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(ini);
    const std::string payload = PayloadOf(stored);
    EXPECT_EQ(Payload(skin), payload);
    EXPECT_TRUE(payload.ends_with(IniText(skin)));
    EXPECT_NE(std::string::npos, payload.find("; made by hand\r\n[VERSION]"));

    // From a loaded skin the text is written anew: the comment is gone.
    TqxSkinData data(nullptr);
    data.LoadFromFile(ini);
    TqxCompressedStoredSkin regenerated(nullptr);
    regenerated.LoadFromSkinData(&data);
    const std::string again = PayloadOf(regenerated);
    EXPECT_EQ(std::string::npos, again.find("; made by hand"));
    EXPECT_NE(std::string::npos, again.find("ver=1\r\n"));
    TqxSkinData reread(nullptr);
    reread.LoadCompressedStoredSkin(&regenerated);
    EXPECT_EQ(Snapshot(data), Snapshot(reread));

    // The same through files.
    data.SaveToCompressedFile(folder.Path() + u"data.skn");
    TqxSkinData fromFile(nullptr);
    fromFile.LoadFromCompressedFile(folder.Path() + u"data.skn");
    EXPECT_EQ(Snapshot(data), Snapshot(fromFile));
}

TEST(CompressedSkins, AFailedBuildKeepsTheOldData) {
    TTempFolder folder;
    TqxCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(WriteFolderSkin(MinimalSkin(), folder.Path() + u"good"));
    const std::string before = Bytes(stored.CompressedStream());
    ASSERT_FALSE(before.empty());
    // A picture that cannot be read.
    TFixtureSkin missing = SkinWithPictures();
    missing.Files.erase(u"b.bmp");
    EXPECT_THROW(stored.LoadFromIniFile(WriteFolderSkin(missing, folder.Path() + u"missing")), EFOpenError);
    EXPECT_EQ(before, Bytes(stored.CompressedStream()));
    // An invalid skin, or none.
    TFixtureSkin invalid = MinimalSkin();
    EraseSection(invalid, u"FORMINFO");
    stored.LoadFromIniFile(WriteFolderSkin(invalid, folder.Path() + u"invalid"));
    stored.LoadFromIniFile(folder.Path() + u"nothing.ini");
    EXPECT_EQ(before, Bytes(stored.CompressedStream()));
}

TEST(CompressedSkins, PayloadsInflateOnlySoFar) {
    TMemoryStream source, compressed, out;
    const std::string zeros(1 << 16, '\0');
    source.WriteBuffer(zeros.data(), Int64(zeros.size()));
    CompressSkinStream(&source, &compressed);
    EXPECT_THROW(DecompressSkinStream(&out, &compressed, 1000), EDecompressionLimit);
    out.Clear();
    DecompressSkinStream(&out, &compressed, Int64(zeros.size()));
    EXPECT_EQ(Int64(zeros.size()), out.Size());
    EXPECT_GE(MaxSkinPayloadSize, Int64(64) << 20);
}

TEST(CompressedSkins, AStoredSkinThatUnpacksPastItsLimitIsTooLarge) {
    // A few hundred KB that inflate past the limit: refused while inflating.
    TMemoryStream source, compressed, out;
    source.SetSize(MaxSkinPayloadSize + 1);
    std::memset(source.Memory(), 0, size_t(source.Size()));
    CompressSkinStream(&source, &compressed);
    source.Clear();
    TqxCompressedStoredSkin stored(nullptr);
    stored.CompressedStream()->LoadFromStream(&compressed);
    try {
        stored.DeCompressToStream(&out);
        FAIL() << "no error";
    } catch (const ESkinTooLarge& E) {
        EXPECT_EQ(u"The skin unpacks to more than 72 MB", E.Message());
    }
    EXPECT_LE(out.Size(), MaxSkinPayloadSize);
}

// What libFuzzer does where it can be built, with damage that is the same
// every run: the compressed reader raises the library's errors, nothing else.
TEST(CompressedSkins, DamagedPayloadsAndContainers) {
    for (const TFixtureSkin& skin : {MinimalSkin(), LayeredSkin()}) {
        const std::string payload = Payload(skin), container = CompressedSkin(skin);
        EXPECT_TRUE(ReadSkinPayloadBytes(payload));
        EXPECT_TRUE(ReadCompressedSkinBytes(container));
        int loaded = 0;
        for (const std::string& bytes : DamagedBytes(payload, 1000, 11))
            loaded += ReadSkinPayloadBytes(bytes) ? 1 : 0;
        EXPECT_GT(loaded, 0);
        for (const std::string& bytes : DamagedBytes(container, 300, 13))
            ReadCompressedSkinBytes(bytes);
    }
}

TEST(CompressedSkins, SkinLists) {
    TqxCompressedSkinList list(nullptr);
    for (int i = 0; i < 3; ++i)
        list.Skins()->Add();
    EXPECT_EQ(u"qxSkin2", list.Skins()->Items(2)->Name());
    EXPECT_EQ(u"qxSkin0", list.Skins()->Items(0)->DisplayName());
    EXPECT_EQ(&list, list.Skins()->SkinList());
    EXPECT_EQ(&list, list.Skins()->Owner());
    EXPECT_TRUE(list.Skins()->Items(0)->Skin()->Empty());

    // "Skin" is the container; an empty one is eight bytes.
    TMemoryStream empty;
    list.Skins()->Items(0)->WriteSkinData(&empty);
    EXPECT_EQ(8, empty.Size());
    TStringStream container(CompressedSkin(MinimalSkin()));
    list.Skins()->Items(1)->ReadSkinData(&container);
    list.Skins()->Items(1)->SetDescription(u"浅色");
    TMemoryStream written;
    list.Skins()->Items(1)->WriteSkinData(&written);
    EXPECT_EQ(container.DataString(), Bytes(&written));

    // Assigning the items copies their skins.
    TqxCompressedSkinList copy(nullptr);
    copy.SetSkins(list.Skins());
    list.Skins()->Clear();
    ASSERT_EQ(3, copy.Skins()->Count());
    EXPECT_EQ(u"浅色", copy.Skins()->Items(1)->Description());
    EXPECT_EQ(u"qxSkin1", copy.Skins()->Items(1)->Name());
    TqxSkinData data(nullptr);
    data.LoadCompressedStoredSkin(copy.Skins()->Items(1)->Skin());
    EXPECT_EQ(u"minimal", data.SkinName);

    // "CompressedData" is the zlib data alone.
    TqxCompressedStoredSkin stored(nullptr);
    TStringStream zlib(Deflate(Payload(MinimalSkin())));
    stored.ReadCompressedData(&zlib);
    TMemoryStream back;
    stored.WriteCompressedData(&back);
    EXPECT_EQ(zlib.DataString(), Bytes(&back));
}

}  // namespace
