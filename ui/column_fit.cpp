#include "column_fit.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tally::ui {

std::vector<int> FitWidths(const std::vector<int>& weights, int total) {
    std::vector<int> widths(weights.size(), 0);
    long long weightSum = 0;
    for (const int w : weights)
        weightSum += std::max(w, 0);
    if (weights.empty() || total <= 0)
        return widths;
    if (weightSum == 0) {
        // No weights at all: share equally.
        return FitWidths(std::vector<int>(weights.size(), 1), total);
    }
    long long running = 0;
    int previous = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        running += std::max(weights[i], 0);
        const int edge = static_cast<int>(std::llround(static_cast<double>(running) * total / weightSum));
        widths[i] = edge - previous;
        previous = edge;
    }
    return widths;
}

std::vector<int> AbsorbResize(const std::vector<int>& widths, std::size_t index, int width, int total,
                              int minimum) {
    std::vector<int> result = widths;
    if (index >= widths.size())
        return result;
    const int left = std::accumulate(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(index), 0);
    const int rightCount = static_cast<int>(widths.size() - index - 1);
    if (rightCount == 0) {
        result[index] = std::max(total - left, 0);
        return result;
    }
    const int most = total - left - rightCount * minimum;
    result[index] = std::max(std::min(width, most), std::min(minimum, std::max(most, 0)));
    const std::vector<int> rightWeights(widths.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                                        widths.end());
    const std::vector<int> right = FitWidths(rightWeights, total - left - result[index]);
    std::copy(right.begin(), right.end(), result.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    return result;
}

}  // namespace tally::ui
