#include "skin/controls/qxgraphicskincontrol.h"

TqxGraphicSkinControl::TqxGraphicSkinControl(TComponent* AOwner) : TqxSkinLink<TGraphicControl>(AOwner) {
    FControlStyle.Include(csOpaque);
}
