#pragma once
// Relative column widths: the visible columns of a grid share its width in proportion to their
// weights, so that together they fill it exactly and no horizontal scrolling is ever needed.

#include <cstddef>
#include <vector>

namespace tally::ui {

// Widths in proportion to the weights that add up to total exactly. Rounding never loses or gains a
// pixel: each width is the difference of two rounded running sums. A column whose share would be
// narrower than minimum gets minimum and the others share the rest; when the total cannot give every
// column minimum, all columns get equal shares.
std::vector<int> FitWidths(const std::vector<int>& weights, int total, int minimum = 0);

// The widths after the user dragged the right border of the column at index to the given width:
// the column keeps that width as far as the columns to its right can still get minimum each, and
// those columns share the rest in proportion to their widths. The last column cannot change the
// total, so it keeps whatever the columns to its left leave.
std::vector<int> AbsorbResize(const std::vector<int>& widths, std::size_t index, int width, int total,
                              int minimum);

}  // namespace tally::ui
