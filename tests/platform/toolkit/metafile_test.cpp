#include "platform/toolkit/metafile.h"

#include <gtest/gtest.h>

#include "picturestreams.h"
#include "tests/platform/gdi/picturefiles.h"

namespace {

using namespace picturefiles;

struct TKind {
    const char* Name;
    std::vector<Byte> (*Make)();
    bool Enhanced;
};

const TKind Kinds[] = {{"wmf", RedHalfWmf, false}, {"emf", RedHalfEmf, true}};

TEST(Metafile, KeepsItsFileAndPlaysAtTheSizeItIsDrawn) {
    for (const TKind& k : Kinds) {
        SCOPED_TRACE(k.Name);
        TMetafile metafile;
        int changes = 0;
        metafile.OnChange = [&](TObject*) { ++changes; };
        Load(metafile, k.Make());
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(metafile.Enhanced(), k.Enhanced);
        EXPECT_EQ(metafile.Width(), 192);
        EXPECT_EQ(metafile.Height(), 96);
        EXPECT_TRUE(metafile.Transparent());
        EXPECT_EQ(Saved(metafile), k.Make());
        // At its size and stretched: red on the left half either way.
        for (const TRect r : {Rect(0, 0, 192, 96), Rect(10, 10, 410, 110)}) {
            TBitmap target;
            WhiteTarget(target, 420, 120)->Canvas()->StretchDraw(r, &metafile);
            EXPECT_EQ(target.Canvas()->Pixels(r.Left + r.Width() / 4, r.Top + r.Height() / 2), clRed);
            EXPECT_EQ(target.Canvas()->Pixels(r.Left + r.Width() * 3 / 4, r.Top + r.Height() / 2), clWhite);
            EXPECT_EQ(target.Canvas()->Pixels(415, 115), clWhite);
        }
        // A copy, and a size of its own to draw at.
        TMetafile copy;
        copy.Assign(&metafile);
        copy.SetWidth(96);
        EXPECT_EQ(copy.Width(), 96);
        EXPECT_EQ(Saved(copy), k.Make());
        EXPECT_EQ(metafile.Width(), 192);
    }
}

TEST(Metafile, ADamagedFileLeavesThePictureHeld) {
    TMetafile metafile;
    Load(metafile, RedHalfEmf());
    const std::vector<Byte> wmf = RedHalfWmf();
    for (const std::vector<Byte>& bad : {std::vector<Byte>{}, std::vector<Byte>(wmf.begin(), wmf.end() - 10),
                                         std::vector<Byte>{'G', 'I', 'F', '8', '9', 'a'}}) {
        try {
            Load(metafile, bad);
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), u"Metafile is not valid");
        }
        EXPECT_TRUE(metafile.Enhanced());
        EXPECT_EQ(Saved(metafile), RedHalfEmf());
    }
    metafile.Assign(nullptr);
    EXPECT_TRUE(metafile.Empty());
}

}  // namespace
