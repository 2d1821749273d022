#include "platform/toolkit/graphicsobjects.h"

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

namespace {

struct TCounter {
    int Count = 0;
    TNotifyEvent Handler() {
        return [this](TObject*) { ++Count; };
    }
};

TEST(Font, DefaultsAndPointSizes) {
    TFont font;
    EXPECT_EQ(u"Tahoma", font.Name());
    EXPECT_EQ(-11, font.Height());
    EXPECT_EQ(8, font.Size());
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_EQ(clWindowText, font.Color());
    EXPECT_EQ(win::DEFAULT_CHARSET, font.Charset());
    font.SetSize(12);
    EXPECT_EQ(-16, font.Height());
    font.SetHeight(13);  // a cell height stays as it is
    EXPECT_EQ(13, font.Height());
    EXPECT_EQ(-10, font.Size());
}

TEST(Font, NotifiesRealChangesOnly) {
    TFont font;
    TCounter changes;
    font.OnChange = changes.Handler();
    font.SetName(u"Tahoma");
    font.SetHeight(-11);
    font.SetColor(clWindowText);
    font.SetName(u"");
    EXPECT_EQ(0, changes.Count);
    font.SetName(u"Arial");
    font.SetHeight(14);
    font.SetStyle({fsBold});
    font.SetColor(clRed);
    font.SetCharset(win::GB2312_CHARSET);
    EXPECT_EQ(5, changes.Count);
    TFont other;
    other.Assign(&font);
    font.Assign(&other);
    EXPECT_EQ(6, changes.Count);
}

TEST(Font, AssignCopiesEverything) {
    TFont source;
    source.SetName(u"Arial");
    source.SetHeight(14);
    source.SetStyle({fsItalic, fsUnderline});
    source.SetColor(clBlue);
    source.SetCharset(win::GB2312_CHARSET);
    TFont font;
    font.Assign(&source);
    EXPECT_EQ(u"Arial", font.Name());
    EXPECT_EQ(14, font.Height());
    EXPECT_EQ((TFontStyles{fsItalic, fsUnderline}), font.Style());
    EXPECT_EQ(clBlue, font.Color());
    EXPECT_EQ(win::GB2312_CHARSET, font.Charset());
    TPen pen;
    EXPECT_THROW(font.Assign(&pen), EConvertError);
}

TEST(Font, HandleDescribesTheFontAndIsRemadeAfterAChange) {
    TFont font;
    font.SetName(u"Arial");
    font.SetHeight(-13);
    font.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
    font.SetCharset(win::GB2312_CHARSET);
    win::HFONT handle = font.Handle();
    EXPECT_EQ(handle, font.Handle());
    win::LOGFONTW log{};
    ASSERT_EQ(static_cast<int>(sizeof log), win::GetObjectW(handle, sizeof log, &log));
    EXPECT_EQ(-13, log.lfHeight);
    EXPECT_EQ(win::FW_BOLD, log.lfWeight);
    EXPECT_EQ(1, log.lfItalic);
    EXPECT_EQ(1, log.lfUnderline);
    EXPECT_EQ(1, log.lfStrikeOut);
    EXPECT_EQ(win::GB2312_CHARSET, log.lfCharSet);
    EXPECT_EQ(u"Arial", String(log.lfFaceName));
    font.SetHeight(20);
    EXPECT_EQ(0u, win::GetObjectType(handle));
    ASSERT_NE(nullptr, font.Handle());
    win::GetObjectW(font.Handle(), sizeof log, &log);
    EXPECT_EQ(20, log.lfHeight);
}

TEST(Pen, HandleAndModes) {
    TPen pen;
    EXPECT_EQ(clBlack, pen.Color());
    EXPECT_EQ(1, pen.Width());
    EXPECT_EQ(psSolid, pen.Style());
    EXPECT_EQ(pmCopy, pen.Mode());
    pen.SetColor(clBtnShadow);
    win::LOGPEN log{};
    ASSERT_NE(0, win::GetObjectW(pen.Handle(), sizeof log, &log));
    EXPECT_EQ(0xA0A0A0u, log.lopnColor);
    EXPECT_EQ(win::PS_SOLID, log.lopnStyle);
    pen.SetStyle(psClear);
    win::GetObjectW(pen.Handle(), sizeof log, &log);
    EXPECT_EQ(win::PS_NULL, log.lopnStyle);
    struct TCase {
        TPenMode Mode;
        int Rop2;
    } cases[] = {{pmBlack, win::R2_BLACK},
                 {pmNot, win::R2_NOT},
                 {pmCopy, win::R2_COPYPEN},
                 {pmXor, win::R2_XORPEN},
                 {pmNotXor, win::R2_NOTXORPEN}};
    for (const TCase& c : cases)
        EXPECT_EQ(c.Rop2, PenModeToRop2(c.Mode));
}

TEST(Brush, AColourMakesAClearBrushSolid) {
    TBrush brush;
    EXPECT_EQ(clWhite, brush.Color());
    EXPECT_EQ(bsSolid, brush.Style());
    TCounter changes;
    brush.OnChange = changes.Handler();
    brush.SetStyle(bsClear);
    win::LOGBRUSH log{};
    win::GetObjectW(brush.Handle(), sizeof log, &log);
    EXPECT_EQ(win::BS_NULL, log.lbStyle);
    brush.SetColor(clWhite);
    EXPECT_EQ(bsSolid, brush.Style());
    brush.SetColor(clInfoBk);
    win::GetObjectW(brush.Handle(), sizeof log, &log);
    EXPECT_EQ(win::BS_SOLID, log.lbStyle);
    EXPECT_EQ(0xE1FFFFu, log.lbColor);
    EXPECT_EQ(3, changes.Count);
}

}  // namespace
