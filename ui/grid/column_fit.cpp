#include "grid/column_fit.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tally::ui {

namespace {

std::vector<int> Proportional(const std::vector<int>& weights, int total) {
    std::vector<int> widths(weights.size(), 0);
    long long weightSum = 0;
    for (const int w : weights)
        weightSum += std::max(w, 0);
    if (weights.empty() || total <= 0)
        return widths;
    if (weightSum == 0)
        return Proportional(std::vector<int>(weights.size(), 1), total);  // share equally
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

}  // namespace

std::vector<int> FitWidths(const std::vector<int>& weights, int total, int minimum) {
    const int count = static_cast<int>(weights.size());
    if (minimum <= 0 || count == 0)
        return Proportional(weights, total);
    if (total < count * minimum)
        return Proportional(std::vector<int>(weights.size(), 1), total);
    // Columns that fall below the minimum are held at it, and the rest is shared again among the
    // others, until no share is too narrow. Each round holds at least one more column.
    std::vector<bool> held(weights.size(), false);
    while (true) {
        std::vector<int> freeWeights;
        int rest = total;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (held[i])
                rest -= minimum;
            else
                freeWeights.push_back(weights[i]);
        }
        const std::vector<int> shares = Proportional(freeWeights, rest);
        std::vector<int> widths(weights.size(), minimum);
        bool tooNarrow = false;
        for (std::size_t i = 0, next = 0; i < weights.size(); ++i) {
            if (held[i])
                continue;
            widths[i] = shares[next++];
            if (widths[i] < minimum) {
                held[i] = true;
                tooNarrow = true;
            }
        }
        if (!tooNarrow)
            return widths;
    }
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
    const std::vector<int> right = FitWidths(rightWeights, total - left - result[index], minimum);
    std::copy(right.begin(), right.end(), result.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    return result;
}

}  // namespace tally::ui
