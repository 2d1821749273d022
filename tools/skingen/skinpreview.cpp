#include "skinpreview.h"

#include <algorithm>

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/pngimage.h"
#include "skin/core/qximagebuilders.h"
#include "skin/core/qxskindata.h"
#include "skin/core/qxtextdraw.h"
#include "skingen.h"

namespace {

constexpr Integer SheetWidth = 1880;
constexpr Integer FrameWidth = 827;
constexpr Integer FrameHeight = 489;
constexpr Integer GalleryLeft = FrameWidth + 60;
const String Title = u"VelquaAVCHD高清格式转换器";

std::unique_ptr<TBitmap> NewBitmap(Integer AWidth, Integer AHeight) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(AWidth, AHeight);
    return bitmap;
}

void DrawText(TCanvas* ACanvas, const String& AText, const TRect& ARect, const String& AFont, Integer AHeight,
              TColor AColor, Cardinal AFlags = win::DT_LEFT) {
    ACanvas->Font()->SetName(AFont);
    ACanvas->Font()->SetHeight(AHeight);
    ACanvas->Font()->SetColor(AColor);
    ACanvas->Brush()->SetStyle(bsClear);
    SkinDrawText(ACanvas, AText, ARect, AFlags | win::DT_SINGLELINE | win::DT_VCENTER);
}

// An element image at AWidth x AHeight, built the way its element grows.
std::unique_ptr<TBitmap> BuildImage(TBitmap* APicture, const TSkinImage& AImage, Integer AWidth,
                                    Integer AHeight) {
    auto out = NewBitmap(AWidth, AHeight);
    const TRect& r = AImage.Rect;
    const Integer dw = AWidth - r.Width(), dh = AHeight - r.Height();
    switch (AImage.Split) {
        case isNine: {
            const TPoint lt{AImage.X1, AImage.Y1}, rt{AImage.X2, AImage.Y1}, lb{AImage.X1, AImage.Y2},
                rb{AImage.X2, AImage.Y2};
            const TRect cl{AImage.X1, AImage.Y1, AImage.X2, AImage.Y2};
            BuildNinePartImage(lt, rt, lb, rb, cl, lt, Point(rt.X + dw, rt.Y), Point(lb.X, lb.Y + dh),
                               Point(rb.X + dw, rb.Y + dh),
                               Rect(cl.Left, cl.Top, cl.Right + dw, cl.Bottom + dh), out.get(), APicture, r,
                               AWidth, AHeight, true, true, true, true, true, true, qxstFull);
            break;
        }
        case isHorz3:
            BuildHorzThreePartImage(AImage.X1, r.Width() - AImage.X2, out.get(), APicture, r, AWidth, AHeight,
                                    true);
            break;
        case isVert3:
            BuildVertThreePartImage(AImage.Y1, r.Height() - AImage.Y2, out.get(), APicture, r, AWidth,
                                    AHeight, true);
            break;
        default:
            out->Canvas()->CopyRect(Rect(0, 0, AWidth, AHeight), APicture->Canvas(), r);
            // Menu markers leave their key colour out, as the controls do.
            out->SetTransparentColor(clFuchsia);
            out->SetTransparent(true);
            break;
    }
    return out;
}

// The frame of a skin at the main window's size with its caption, the
// caption buttons, and controls inside.
class TFramePreview {
public:
    TFramePreview(TqxSkinData& AData, TCanvas* ACanvas, Integer X, Integer Y)
        : D(AData), C(ACanvas), FX(X), FY(Y) {}

    void Draw() {
        const Integer pw = D.FPicture->Width(), ph = D.FPicture->Height();
        const Integer dw = FrameWidth - pw, dh = FrameHeight - ph;
        auto frame = NewBitmap(FrameWidth, FrameHeight);
        const auto build = [&](TBitmap* APicture, TBitmap* AOut) {
            BuildNinePartImage(D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, D.LTPoint,
                               Point(D.RTPoint.X + dw, D.RTPoint.Y), Point(D.LBPoint.X, D.LBPoint.Y + dh),
                               Point(D.RBPoint.X + dw, D.RBPoint.Y + dh),
                               Rect(D.ClRect.Left, D.ClRect.Top, D.ClRect.Right + dw, D.ClRect.Bottom + dh),
                               AOut, APicture, Rect(0, 0, pw, ph), FrameWidth, FrameHeight, true,
                               D.LeftStretch, D.TopStretch, D.RightStretch, D.BottomStretch, D.StretchEffect,
                               D.StretchType);
        };
        build(D.FPicture.get(), frame.get());
        if (!D.FMask->Empty()) {
            // The window region leaves out what the mask leaves out.
            auto mask = NewBitmap(FrameWidth, FrameHeight);
            build(D.FMask.get(), mask.get());
            frame->SetTransparentColor(clFuchsia);
            for (Integer y = 0; y < FrameHeight; ++y)
                for (Integer x = 0; x < FrameWidth; ++x)
                    if (mask->Canvas()->Pixels(x, y) != 0) frame->Canvas()->SetPixels(x, y, clFuchsia);
            frame->SetTransparent(true);
        }
        C->Draw(FX, FY, frame.get());
        DrawCaption(dw);
        DrawClient(
            Rect(FX + D.ClRect.Left, FY + D.ClRect.Top, FX + D.ClRect.Right + dw, FY + D.ClRect.Bottom + dh));
    }

private:
    TqxDataSkinControl* Control(const char16_t* AName) { return D.CtrlList[D.GetControlIndex(AName)]; }
    template <typename T>
    T* ControlAs(const char16_t* AName) {
        return dynamic_cast<T*>(Control(AName));
    }

    // Copies ASource of picture APicture stretched to ADest.
    void Part(TBitmap* APicture, const TRect& ASource, const TRect& ADest) {
        C->CopyRect(ADest, APicture->Canvas(), ASource);
    }

    void DrawCaption(Integer ADW) {
        const Integer right = D.ButtonsRect.Right + ADW, top = D.ButtonsRect.Top;
        Integer x = right;
        Integer sysmenuRight = D.CaptionRect.Left;
        for (const auto& object : D.ObjectList) {
            auto* button = dynamic_cast<TqxDataSkinStdButton*>(object.get());
            if (!button) continue;
            TBitmap* picture = D.GetActivePicture(button->ActivePictureIndex);
            const TRect& s = button->SkinRect;
            if (button->Command == cmSysMenu) {
                const Integer y = D.CaptionRect.Top + (D.CaptionRect.Height() - s.Height()) / 2;
                Part(picture, s, Bounds(FX + D.CaptionRect.Left, FY + y, s.Width(), s.Height()));
                sysmenuRight = D.CaptionRect.Left + s.Width();
            }
        }
        // Close, maximize, minimize from the right, the maximize button showing
        // the pointer over it.
        for (const TqxStdCommand command : {cmClose, cmMaximize, cmMinimize}) {
            for (const auto& object : D.ObjectList) {
                auto* button = dynamic_cast<TqxDataSkinStdButton*>(object.get());
                if (!button || button->Command != command) continue;
                const TRect& s = command == cmMaximize ? button->ActiveSkinRect : button->SkinRect;
                Part(D.GetActivePicture(button->ActivePictureIndex), s,
                     Bounds(FX + x - s.Width(), FY + top, s.Width(), s.Height()));
                x -= s.Width() + D.ButtonsOffset;
            }
        }
        auto* caption = dynamic_cast<TqxDataSkinCaption*>(D.ObjectList[D.GetIndex(u"caption")]);
        const TRect text = Rect(FX + sysmenuRight + caption->TextRct.Left, FY + caption->SkinRect.Top, FX + x,
                                FY + caption->SkinRect.Top + caption->TextRct.Bottom);
        DrawText(C, Title, text, caption->FontName, caption->FontHeight, caption->ActiveFontColor);
    }

    // A control image of the element AName from state rectangle ASource.
    void Element(const char16_t* AName, const TRect& ASource, const TRect& ADest) {
        auto* e = ControlAs<TqxDataSkinCustomControl>(AName);
        TBitmap* picture = D.GetActivePicture(e->PictureIndex);
        auto out = NewBitmap(ADest.Width(), ADest.Height());
        const Integer dw = ADest.Width() - e->SkinRect.Width(), dh = ADest.Height() - e->SkinRect.Height();
        if (e->RBPoint.X != 0 && e->RBPoint.Y != 0) {
            BuildNinePartImage(
                e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, e->LTPoint,
                Point(e->RTPoint.X + dw, e->RTPoint.Y), Point(e->LBPoint.X, e->LBPoint.Y + dh),
                Point(e->RBPoint.X + dw, e->RBPoint.Y + dh),
                Rect(e->ClRect.Left, e->ClRect.Top, e->ClRect.Right + dw, e->ClRect.Bottom + dh), out.get(),
                picture, ASource, ADest.Width(), ADest.Height(), true, e->LeftStretch, e->TopStretch,
                e->RightStretch, e->BottomStretch, e->StretchEffect, e->StretchType);
        } else if (e->RTPoint.X != 0) {
            BuildHorzThreePartImage(e->LTPoint.X, e->SkinRect.Width() - e->RTPoint.X, out.get(), picture,
                                    ASource, ADest.Width(), ADest.Height(), e->StretchEffect);
        } else {
            BuildVertThreePartImage(e->LTPoint.Y, e->SkinRect.Height() - e->LBPoint.Y, out.get(), picture,
                                    ASource, ADest.Width(), ADest.Height(), e->StretchEffect);
        }
        C->Draw(ADest.Left, ADest.Top, out.get());
    }

    void Button(const char16_t* AName, const String& AText, const TRect& ADest, Integer AState) {
        auto* b = ControlAs<TqxDataSkinButtonControl>(AName);
        const TRect sources[] = {b->SkinRect, b->ActiveSkinRect, b->DownSkinRect, b->DisabledSkinRect,
                                 b->FocusedSkinRect};
        const TColor colours[] = {b->FontColor, b->ActiveFontColor, b->DownFontColor, b->DisabledFontColor,
                                  b->FontColor};
        Element(AName, sources[AState], ADest);
        DrawText(C, AText, ADest, b->FontName, b->FontHeight, colours[AState], win::DT_CENTER);
    }

    void DrawClient(const TRect& AClient) {
        const Integer left = AClient.Left, top = AClient.Top;
        // The tool bar across the top with three tool buttons.
        auto* bar = ControlAs<TqxDataSkinPanelControl>(u"resizetoolpanel");
        Element(u"resizetoolpanel", bar->SkinRect,
                Rect(left, top, AClient.Right, top + bar->SkinRect.Height()));
        const char16_t* tools[] = {u"添加文件", u"开始转换", u"停止", u"设置..."};
        for (Integer i = 0; i < 4; ++i)
            Button(u"resizetoolbutton", tools[i], Bounds(left + 10 + 96 * i, top + 10, 88, 48),
                   i == 1   ? 1
                   : i == 2 ? 3
                            : 0);

        // The file list with its column headers, rows and scroll bar.
        const Integer listTop = top + 84;
        const TRect list = Rect(left + 10, listTop, left + 520, AClient.Bottom - 60);
        auto* box = ControlAs<TqxDataSkinListBox>(u"listbox");
        Element(u"listbox", box->SkinRect, list);
        auto* header = ControlAs<TqxDataSkinButtonControl>(u"header");
        const char16_t* columns[] = {u"文件名", u"时长", u"输出格式"};
        const Integer widths[] = {220, 90, 170};
        Integer hx = list.Left + 2;
        for (Integer i = 0; i < 3; ++i) {
            const TRect cell = Bounds(hx, list.Top + 2, widths[i], header->SkinRect.Height());
            Element(u"header", i == 1 ? header->ActiveSkinRect : header->SkinRect, cell);
            DrawText(C, columns[i], Rect(cell.Left + 6, cell.Top, cell.Right, cell.Bottom), header->FontName,
                     header->FontHeight, header->FontColor);
            hx += widths[i];
        }
        const char16_t* rows[] = {u"00001.MTS    00:03:12    MP4 视频", u"00002.MTS    00:12:40    MP4 视频",
                                  u"婚礼录像.m2ts  01:02:09    AVI 视频",
                                  u"旅行.MTS     00:07:55    MKV 视频"};
        const TRect itemSources[] = {box->SItemRect, box->FocusItemRect, box->ActiveItemRect, box->SItemRect};
        const TColor itemColours[] = {box->FontColor, box->FocusFontColor, box->ActiveFontColor,
                                      box->FontColor};
        auto* vbar = ControlAs<TqxDataSkinScrollBarControl>(u"vscrollbar");
        const Integer rowRight = list.Right - 2 - vbar->SkinRect.Width();
        for (Integer i = 0; i < 4; ++i) {
            const TRect row = Bounds(list.Left + 2, list.Top + 2 + header->SkinRect.Height() + 2 + i * 24,
                                     rowRight - list.Left - 2, box->SItemRect.Height());
            auto item = NewBitmap(row.Width(), row.Height());
            BuildHorzThreePartImage(box->ItemLeftOffset, box->ItemRightOffset, item.get(),
                                    D.GetActivePicture(box->PictureIndex), itemSources[i], row.Width(),
                                    row.Height(), true);
            C->Draw(row.Left, row.Top, item.get());
            DrawText(C, rows[i], Rect(row.Left + box->ItemTextRect.Left, row.Top, row.Right, row.Bottom),
                     box->FontName, box->FontHeight, itemColours[i]);
        }
        Element(u"vscrollbar", vbar->SkinRect, Rect(rowRight, list.Top + 2, list.Right - 2, list.Bottom - 2));
        const TRect thumb = Bounds(rowRight, list.Top + 40, vbar->ThumbRect.Width(), 90);
        auto thumbImage = NewBitmap(thumb.Width(), thumb.Height());
        BuildVertThreePartImage(vbar->ThumbOffset1, vbar->ThumbOffset2, thumbImage.get(),
                                D.GetActivePicture(vbar->PictureIndex), vbar->ThumbRect, thumb.Width(),
                                thumb.Height(), true);
        C->Draw(thumb.Left, thumb.Top, thumbImage.get());

        // The options beside it.
        const Integer ox = list.Right + 24;
        Integer oy = listTop;
        auto* label = ControlAs<TqxDataSkinStdLabelControl>(u"stdlabel");
        auto* combo = ControlAs<TqxDataSkinComboBox>(u"combobox");
        const auto labelled = [&](const char16_t* ALabel) {
            DrawText(C, ALabel, Bounds(ox, oy, 200, 20), label->FontName, label->FontHeight,
                     label->FontColor);
            oy += 22;
        };
        labelled(u"输出格式:");
        Element(u"combobox", combo->SkinRect, Bounds(ox, oy, 250, combo->SkinRect.Height()));
        DrawText(C, u"MP4 视频 (*.mp4)", Rect(ox + combo->ClRect.Left + 2, oy, ox + 220, oy + 20),
                 combo->FontName, combo->FontHeight, combo->FontColor);
        oy += 30;
        labelled(u"视频尺寸:");
        Element(u"combobox", combo->ActiveSkinRect, Bounds(ox, oy, 250, combo->SkinRect.Height()));
        DrawText(C, u"1920x1080", Rect(ox + combo->ClRect.Left + 2, oy, ox + 220, oy + 20), combo->FontName,
                 combo->FontHeight, combo->FontColor);
        oy += 30;
        labelled(u"输出目录:");
        auto* edit = ControlAs<TqxDataSkinEditControl>(u"edit");
        Element(u"edit", edit->SkinRect, Bounds(ox, oy, 250, edit->SkinRect.Height()));
        DrawText(C, u"~/Velqua视频软件/输出", Rect(ox + edit->ClRect.Left + 2, oy, ox + 246, oy + 20),
                 edit->FontName, edit->FontHeight, edit->FontColor);
        oy += 32;
        auto* check = ControlAs<TqxDataSkinCheckRadioControl>(u"checkbox");
        auto* radio = ControlAs<TqxDataSkinCheckRadioControl>(u"radiobox");
        const auto box_ = [&](TqxDataSkinCheckRadioControl* AElement, const TRect& ASource,
                              const char16_t* AText) {
            auto glyph = NewBitmap(ASource.Width(), ASource.Height());
            glyph->Canvas()->CopyRect(Rect(0, 0, ASource.Width(), ASource.Height()),
                                      D.GetActivePicture(AElement->PictureIndex)->Canvas(), ASource);
            glyph->SetTransparent(true);
            C->Draw(ox + 3, oy + 10 - ASource.Height() / 2, glyph.get());
            DrawText(C, AText, Bounds(ox + ASource.Width() + 7, oy, 220, 20), AElement->FontName,
                     AElement->FontHeight, AElement->FrameFontColor);
            oy += 26;
        };
        box_(check, check->CheckImageRect, u"转换完成后关闭计算机");
        box_(check, check->UnCheckImageRect, u"保持原始宽高比");
        box_(radio, radio->CheckImageRect, u"单个任务依次转换");
        box_(radio, radio->UnCheckImageRect, u"多个任务同时转换");
        oy += 8;
        Button(u"button", u"确定", Bounds(ox, oy, 75, 25), 4);
        Button(u"button", u"取消", Bounds(ox + 85, oy, 75, 25), 1);
        Button(u"button", u"应用", Bounds(ox + 170, oy, 75, 25), 3);

        // The progress line at the bottom.
        DrawText(C, u"就绪  共 4 个文件，已选择 1 个",
                 Rect(left + 12, AClient.Bottom - 44, AClient.Right, AClient.Bottom - 20), label->FontName,
                 label->FontHeight, label->FontColor);
    }

    TqxSkinData& D;
    TCanvas* C;
    Integer FX;
    Integer FY;
};

// Every image of the skin at its own size and grown, in rows.
Integer DrawGallery(const TGeneratedSkin& ASkin, TCanvas* ACanvas, Integer ATop) {
    Integer x = GalleryLeft, y = ATop, rowHeight = 0;
    for (const TSkinImage& image : ASkin.Images) {
        if (image.Section == u"FORMINFO") continue;
        TBitmap* picture = nullptr;
        for (const auto& [name, bitmap] : ASkin.Pictures)
            if (name == image.Picture) picture = bitmap.get();
        const Integer w = image.Rect.Width(), h = image.Rect.Height();
        Integer bw = w * 2, bh = h * 2;
        if (image.Split == isHorz3) bw = w * 2 + 30, bh = h;
        if (image.Split == isVert3) bw = w, bh = h * 2 + 30;
        if (image.Split == isNine) bw = w * 2 + 20, bh = h + h / 2 + 6;
        const String label = image.Section + u"." + image.Key;
        ACanvas->Font()->SetName(u"DejaVu Sans");
        ACanvas->Font()->SetHeight(11);
        const Integer tileWidth = std::max(w + 8 + bw, ACanvas->TextWidth(label)),
                      tileHeight = std::max(h, bh) + 16;
        if (x + tileWidth > SheetWidth - 10) {
            x = GalleryLeft;
            y += rowHeight + 6;
            rowHeight = 0;
        }
        ACanvas->Draw(x, y, BuildImage(picture, image, w, h).get());
        ACanvas->Draw(x + w + 8, y, BuildImage(picture, image, bw, bh).get());
        DrawText(ACanvas, label, Bounds(x, y + std::max(h, bh) + 1, tileWidth, 13), u"DejaVu Sans", 11,
                 0x707070);
        x += tileWidth + 10;
        rowHeight = std::max(rowHeight, tileHeight);
    }
    return y + rowHeight;
}

}  // namespace

void WritePreviewSheet(const String& AFolder, const String& APngFile) {
    constexpr Integer room = 8000;
    auto sheet = NewBitmap(SheetWidth, room);
    TCanvas* canvas = sheet->Canvas();
    canvas->Brush()->SetColor(0xF8F8F8);
    canvas->FillRect(Rect(0, 0, SheetWidth, room));
    Integer top = 20;
    for (const String& name : ProjectSkinNames()) {
        DrawText(canvas, u"skin \"" + name + u"\"", Bounds(20, top, 600, 24), u"DejaVu Sans", 20, 0x303030);
        top += 34;
        TqxSkinData data(nullptr);
        data.LoadFromFile(AFolder + name + u"/skin.ini");
        TFramePreview(data, canvas, 20, top).Draw();
        const Integer bottom = DrawGallery(GenerateSkin(name), canvas, top);
        top = std::max(top + FrameHeight, bottom) + 40;
    }
    auto cropped = NewBitmap(SheetWidth, top);
    cropped->Canvas()->CopyRect(Rect(0, 0, SheetWidth, top), canvas, Rect(0, 0, SheetWidth, top));
    TPngImage png;
    png.Assign(cropped.get());
    png.SaveToFile(APngFile);
}
