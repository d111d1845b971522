#include "tools/layoutcheck/fit_rules.h"

namespace layoutcheck {
namespace {

bool Intersect(const ui::Rect& a, const ui::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const ui::Rect& outer, const ui::Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string RectText(const ui::Rect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

} // namespace

int TextRoom(TextKind kind, int width, int dpi, int zeroWidth) {
    switch (kind) {
    case TextKind::PushButton:
        return width - 2 * 3;
    case TextKind::DefaultPushButton:
        return width - 2 * 4;
    case TextKind::CheckBox:
        return width - (12 * dpi / 96 + 1) - zeroWidth / 2 - 2;
    case TextKind::GroupCaption:
        return width - 2 * (7 + 1);
    case TextKind::WrappedStatic:
    case TextKind::SingleLineStatic:
        return width;
    case TextKind::ListEntry:
        return width - 2 * 2;
    }
    return width;
}

std::vector<std::string> PlacementProblems(const std::vector<PlacedControl>& controls,
                                           const ui::Rect& client, int templateId, int dpi) {
    std::vector<std::string> problems;
    for (const PlacedControl& control : controls) {
        if (!Contains(client, control.rect))
            problems.push_back(Describe(templateId, control.id, control.text, dpi,
                                        "lies at " + RectText(control.rect) +
                                            ", outside its dialog " + RectText(client)));
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const PlacedControl& a = controls[i];
            const PlacedControl& b = controls[j];
            if (!a.visible || !b.visible || !Intersect(a.rect, b.rect))
                continue;
            if ((a.groupBox && Contains(a.rect, b.rect)) ||
                (b.groupBox && Contains(b.rect, a.rect)))
                continue;
            problems.push_back(Describe(templateId, a.id, a.text, dpi,
                                        "at " + RectText(a.rect) + " overlaps control " +
                                            std::to_string(b.id) + " at " + RectText(b.rect)));
        }
    }
    return problems;
}

std::string Describe(int templateId, int controlId, const std::string& text, int dpi,
                     const std::string& what) {
    return "template " + std::to_string(templateId) + ", control " + std::to_string(controlId) +
           " \"" + text + "\", " + std::to_string(dpi) + " DPI: " + what;
}

} // namespace layoutcheck
