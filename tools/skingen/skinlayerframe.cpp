// The layered frame of the project skins: the second skin casts a soft
// shadow around its round-cornered frame; the default one has none, since
// the program's forms show a layered frame wherever a compositor runs.
#include <algorithm>
#include <cmath>

#include "skindesign.h"

namespace {

// The shadow's depth outside the form, the part of each corner kept whole,
// and the darkest alpha, at the form's edge.
constexpr Integer ShadowDepth = 12;
constexpr Integer CornerSpan = 16;
// The stretched middle of each strip.
constexpr Integer MiddleSpan = 8;
constexpr double ShadowAlpha = 140;
// The hit border: this far outside the form the frame resizes it.
constexpr Integer HitDepth = 6;

// How far (X + .5, Y + .5) lies outside a rectangle whose top corners are
// round; 0 inside.
double Outside(const TRect& AForm, double ARadius, Integer X, Integer Y) {
    const double px = X + 0.5, py = Y + 0.5;
    const double cx = std::clamp(px, double(AForm.Left + ARadius), double(AForm.Right - ARadius));
    if (py < AForm.Top + ARadius && (px < AForm.Left + ARadius || px > AForm.Right - ARadius)) {
        const double cy = AForm.Top + ARadius;
        return std::max(0.0, std::hypot(px - cx, py - cy) - ARadius);
    }
    const double dx = std::max({double(AForm.Left) - px, px - AForm.Right, 0.0});
    const double dy = std::max({double(AForm.Top) - py, py - AForm.Bottom, 0.0});
    return std::hypot(dx, dy);
}

}  // namespace

void BuildLayerFrame(TSkinBuilder& ASkin, const TSkinTheme& ATheme) {
    const String l = u"LAYERFRAME";
    if (ATheme.FrameRadius == 0) {
        ASkin.SetInt(l, u"pictureindex", -1);
        return;
    }
    const Integer side = 2 * (ShadowDepth + CornerSpan) + MiddleSpan;
    const TRect form = Rect(ShadowDepth, ShadowDepth, side - ShadowDepth, side - ShadowDepth);
    const Integer picture = ASkin.ActivePicture(u"layerframe.bmp", side, side, Rgb(0));
    const Integer mask = ASkin.ActivePicture(u"layerframemask.bmp", side, side, Rgb(0));
    TSkinPainter& alpha = ASkin.Painter(mask);
    for (Integer y = 0; y < side; ++y)
        for (Integer x = 0; x < side; ++x) {
            const double d = Outside(form, ATheme.FrameRadius, x, y);
            // Nothing over the form itself; outside it the shadow fades out.
            const double t = d <= 0 ? 0 : std::max(0.0, 1 - d / ShadowDepth);
            const Byte a = Byte(std::lround(ShadowAlpha * t * t));
            alpha.SetPixel(x, y, TRgb{a, a, a});
        }
    ASkin.SetInt(l, u"pictureindex", picture);
    ASkin.SetInt(l, u"maskpictureindex", mask);
    const TPoint lt = Point(ShadowDepth + CornerSpan, ShadowDepth), rt = Point(side - lt.X, ShadowDepth);
    const TPoint lb = Point(lt.X, side - ShadowDepth), rb = Point(rt.X, side - ShadowDepth);
    ASkin.SetCorners(l, lt, rt, lb, rb);
    ASkin.SetRect(l, u"clientrect", form);
    ASkin.SetBool(l, u"fullstretch", true);
    ASkin.SetInt(l, u"alphablendvalue", 255);
    ASkin.SetInt(l, u"inactivealphablendvalue", 150);
    ASkin.SetRect(l, u"borderrect",
                  Rect(form.Left - HitDepth, form.Top - HitDepth, form.Right + HitDepth, form.Bottom + HitDepth));
    ASkin.SetBool(l, u"hittestenable", true);
    ASkin.SetInt(l, u"hittestsize", HitDepth);
    const Integer zone = 2 * HitDepth;
    ASkin.SetPoint(l, u"hittestlefttoppoint", Point(form.Left + zone, form.Top + zone));
    ASkin.SetPoint(l, u"hittestrighttoppoint", Point(form.Right - zone, form.Top + zone));
    ASkin.SetPoint(l, u"hittestleftbottompoint", Point(form.Left + zone, form.Bottom - zone));
    ASkin.SetPoint(l, u"hittestrightbottompoint", Point(form.Right - zone, form.Bottom - zone));
}
