#include "formlayout.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace acceptance {

namespace {

std::string Trim(const std::string& AText) {
    const size_t first = AText.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return AText.substr(first, AText.find_last_not_of(" \t\r") - first + 1);
}

// One object of the description while it is read.
struct Node {
    std::string name;
    Rect bounds;
    bool alignTop = false;
    int stackedTop = 0;  // where the next top-aligned child goes
};

}  // namespace

FormLayout::FormLayout(const std::string& AFile) {
    std::ifstream in(AFile);
    if (!in) throw std::runtime_error("Cannot read " + AFile);
    std::vector<Node> open;
    char closer = 0;  // inside a multi-line value until this character ends a line
    std::string line;
    while (std::getline(in, line)) {
        const std::string text = Trim(line);
        if (text.empty()) continue;
        if (closer) {
            if (text.back() == closer) closer = 0;
            continue;
        }
        if (text.rfind("object ", 0) == 0) {
            Node node;
            node.name = Trim(text.substr(7, text.find(':') - 7));
            open.push_back(node);
            continue;
        }
        if (text == "end") {
            Node node = open.back();
            open.pop_back();
            if (open.empty()) continue;
            Node& parent = open.back();
            if (node.alignTop) {
                node.bounds.x = 0;
                node.bounds.y = parent.stackedTop;
                node.bounds.w = parent.bounds.w;
                parent.stackedTop += node.bounds.h;
            }
            FBounds[node.name] = node.bounds;
            FParents[node.name] = parent.name;
            continue;
        }
        const size_t equals = text.find(" = ");
        if (equals == std::string::npos || open.empty()) continue;
        const std::string key = text.substr(0, equals), value = text.substr(equals + 3);
        if (value == "<" || value == "(" || value == "{") {
            closer = value == "<" ? '>' : value == "(" ? ')' : '}';
            continue;
        }
        Node& node = open.back();
        auto number = [&] { return std::stoi(value); };
        if (key == "Left")
            node.bounds.x = number();
        else if (key == "Top")
            node.bounds.y = number();
        else if (key == "Width")
            node.bounds.w = number();
        else if (key == "Height")
            node.bounds.h = number();
        else if (key == "Align")
            node.alignTop = value == "alTop";
        else if (open.size() == 1 && key == "ClientWidth") {
            FClientWidth = number();
            node.bounds.w = FClientWidth;
        } else if (open.size() == 1 && key == "ClientHeight")
            FClientHeight = number();
    }
}

Rect FormLayout::Bounds(const std::string& AName) const {
    const auto found = FBounds.find(AName);
    if (found == FBounds.end()) throw std::runtime_error("The form description has no " + AName);
    // Each control is placed relative to its parent; the form's own children
    // are in client coordinates already.
    Rect result = found->second;
    for (auto parent = FParents.find(AName); parent != FParents.end();
         parent = FParents.find(parent->second)) {
        const auto bounds = FBounds.find(parent->second);
        if (bounds == FBounds.end()) break;
        result.x += bounds->second.x;
        result.y += bounds->second.y;
    }
    return result;
}

Point FormLayout::ClientToScreen(const Rect& AWindow, Point AClient) const {
    const int border = (AWindow.w - FClientWidth) / 2;
    const int top = AWindow.h - FClientHeight - border;
    return {AWindow.x + border + AClient.x, AWindow.y + top + AClient.y};
}

Point FormLayout::Center(const Rect& AWindow, const std::string& AName) const {
    return ClientToScreen(AWindow, Bounds(AName).Center());
}

}  // namespace acceptance
