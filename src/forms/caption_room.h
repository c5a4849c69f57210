#pragma once
// Captions were laid out for a narrow classic font; a desktop font may need more room. A
// caption that does not fit its design box may take free space of its container to the
// right, then below, but never a neighbour's. The model keeps its design geometry: only
// the view's box grows.
#include <functional>

#include "forms/control.h"

namespace qm {

// A box in its container's twips.
struct TwipBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const TwipBox&) const = default;
};

TwipBox designBox(const Control& control);

// The farthest right edge the box may reach on its rows, and the farthest bottom edge it
// may reach over the columns from its left to `right`, without covering a sibling or
// leaving its container. Siblings that already overlap the design box do not count.
int roomRight(const Control& control);
int roomBelow(const Control& control, int right);

// The box for a caption on one line that needs `width` twips.
TwipBox fitOneLine(const Control& control, int width);
// The box for a wrapping caption that needs heightAt(w) twips at a width of w twips: as
// narrow as will hold it at its design height, else as wide as there is room and as tall as
// it needs (and may).
TwipBox fitWrapped(const Control& control, const std::function<int(int width)>& heightAt);

}  // namespace qm
