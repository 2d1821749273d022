// Where a form's controls are, read from its form description the way a
// tester reads the designer: each control's Left, Top, Width and Height
// relative to its parent, with top-aligned controls stacked under each other.
// Positions come out in the form's client coordinates; ClientToScreen places
// them on a window of the running program.
#pragma once

#include <map>
#include <string>

#include "desktop.h"

namespace acceptance {

class FormLayout {
public:
    // AFile: a description under the program's resources/forms.
    explicit FormLayout(const std::string& AFile);

    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    // A named control's bounds in client coordinates; throws when the
    // description has no such control.
    Rect Bounds(const std::string& AName) const;
    // A client point on the shown form: its frame is taken to have equal
    // side and bottom borders around the client size the description gives.
    Point ClientToScreen(const Rect& AWindow, Point AClient) const;
    // The centre of a named control on the shown form.
    Point Center(const Rect& AWindow, const std::string& AName) const;

private:
    std::map<std::string, Rect> FBounds;  // relative to the parent
    std::map<std::string, std::string> FParents;
    int FClientWidth = 0;
    int FClientHeight = 0;
};

}  // namespace acceptance
