#include "forms/caption_room.h"

#include <algorithm>
#include <vector>

#include "forms/form.h"

namespace qm {

namespace {

// A container's border is kept clear.
constexpr int kEdgeMargin = 60;

// Kinds that take no space of their own on the container.
bool occupiesArea(const Control& c) {
    switch (c.kind()) {
        case ControlKind::Timer:
        case ControlKind::Menu:
        case ControlKind::Line:
        case ControlKind::ImageList:
        case ControlKind::Form: return false;
        default: return c.width() > 0 && c.height() > 0;
    }
}

bool overlaps(const TwipBox& a, const TwipBox& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

TwipBox containerBox(const Control& control) {
    const Control* owner = control.parent();
    if (!owner) owner = control.form();
    if (!owner) return designBox(control);
    return {0, 0, owner->width() - kEdgeMargin, owner->height() - kEdgeMargin};
}

// The siblings that may stop the box's growth.
std::vector<TwipBox> neighbours(const Control& control) {
    std::vector<TwipBox> boxes;
    const Form* form = control.form();
    if (!form) return boxes;
    const TwipBox own = designBox(control);
    for (const Control* c : form->childrenOf(control.parent())) {
        if (c == &control || !occupiesArea(*c)) continue;
        const TwipBox box = designBox(*c);
        if (!overlaps(box, own)) boxes.push_back(box);
    }
    return boxes;
}

}  // namespace

TwipBox designBox(const Control& control) {
    return {control.left(), control.top(), control.width(), control.height()};
}

int roomRight(const Control& control) {
    const TwipBox own = designBox(control);
    int right = std::max(own.right(), containerBox(control).right());
    for (const TwipBox& other : neighbours(control)) {
        const bool sameRows = other.top < own.bottom() && own.top < other.bottom();
        if (sameRows && other.left >= own.right()) right = std::min(right, other.left);
    }
    return right;
}

int roomBelow(const Control& control, int right) {
    const TwipBox own = designBox(control);
    int bottom = std::max(own.bottom(), containerBox(control).bottom());
    for (const TwipBox& other : neighbours(control)) {
        const bool sameColumns = other.left < right && own.left < other.right();
        if (sameColumns && other.top >= own.bottom()) bottom = std::min(bottom, other.top);
    }
    return bottom;
}

TwipBox fitOneLine(const Control& control, int width) {
    TwipBox box = designBox(control);
    if (width > box.width) box.width = std::min(width, roomRight(control) - box.left);
    return box;
}

TwipBox fitWrapped(const Control& control, const std::function<int(int width)>& heightAt) {
    TwipBox box = designBox(control);
    if (heightAt(box.width) <= box.height) return box;
    // Widths are tried a pixel (at 96 dpi) at a time: a caption needs few of them.
    const int widest = roomRight(control) - box.left;
    for (int w = box.width + 15; w <= widest; w += 15) {
        if (heightAt(w) <= box.height) return {box.left, box.top, w, box.height};
    }
    box.width = std::max(box.width, widest);
    box.height = std::min(heightAt(box.width), roomBelow(control, box.right()) - box.top);
    box.height = std::max(box.height, control.height());
    return box;
}

}  // namespace qm
