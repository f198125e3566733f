#include "NearestColorIndex.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// HSL differences count twice per squared unit.
constexpr std::int32_t weight[6] = {1, 1, 1, 2, 2, 2};
constexpr std::int32_t leafSize = 8;

std::array<std::int32_t, 6> vectorOf(const NameValues& v)
{
    return {v.r, v.g, v.b, v.h, v.s, v.l};
}

} // namespace

struct NearestColorIndex::Search
{
    std::array<std::int32_t, 6> target;
    // Per dimension, the distance from the target to the cell being visited
    // (0 while the target lies within the cell's range), and their weighted
    // squared sum: a lower bound of the distance to any point in the cell.
    std::array<std::int32_t, 6> offset{};
    std::int32_t cellDistance = 0;
    std::int32_t bestDistance = INT_MAX;
    std::int32_t bestPosition = INT_MAX;
};

bool NearestColorIndex::covers(const NameValues& v)
{
    for (int c : vectorOf(v))
        if (c < -valueLimit || c > valueLimit)
            return false;
    return true;
}

NearestColorIndex::NearestColorIndex(const std::vector<NameValues>& colours)
{
    points.reserve(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i)
        points.push_back({vectorOf(colours[i]), static_cast<std::int32_t>(i)});
    if (!points.empty()) {
        nodes.reserve(2 * points.size() / leafSize + 1);
        build(0, static_cast<std::int32_t>(points.size()));
    }
}

std::int32_t NearestColorIndex::build(std::int32_t begin, std::int32_t end)
{
    const std::int32_t index = static_cast<std::int32_t>(nodes.size());
    nodes.push_back({-1, 0, begin, end, end, -1, -1, INT_MAX});
    std::int32_t firstPosition = INT_MAX;
    for (std::int32_t i = begin; i < end; ++i)
        firstPosition = std::min(firstPosition, points[i].position);
    nodes[index].firstPosition = firstPosition;
    if (end - begin <= leafSize)
        return index;

    // Split across the dimension of widest weighted spread, at the median.
    std::int32_t dimension = 0;
    std::int64_t widest = -1;
    for (int d = 0; d < 6; ++d) {
        std::int32_t low = INT_MAX, high = INT_MIN;
        for (std::int32_t i = begin; i < end; ++i) {
            low = std::min(low, points[i].v[d]);
            high = std::max(high, points[i].v[d]);
        }
        const std::int64_t spread = std::int64_t(high - low) * (high - low) * weight[d];
        if (spread > widest) {
            widest = spread;
            dimension = d;
        }
    }
    if (widest == 0)
        return index; // all points equal: a leaf of any size

    const std::int32_t middle = begin + (end - begin) / 2;
    std::nth_element(points.begin() + begin, points.begin() + middle, points.begin() + end,
                     [dimension](const Point& a, const Point& b) { return a.v[dimension] < b.v[dimension]; });
    // Taken before the children reorder their halves.
    const std::int32_t split = points[middle].v[dimension];
    const std::int32_t low = build(begin, middle);
    const std::int32_t high = build(middle, end);
    Node& node = nodes[index];
    node.dimension = dimension;
    node.split = split;
    node.middle = middle;
    node.low = low;
    node.high = high;
    return index;
}

int NearestColorIndex::nearest(const NameValues& target) const
{
    if (nodes.empty())
        return -1;
    Search s;
    s.target = vectorOf(target);
    search(0, s);
    return s.bestPosition;
}

void NearestColorIndex::search(std::int32_t index, Search& s) const
{
    const Node& node = nodes[index];
    // Nothing in this cell can beat the best: farther, or as far and later.
    if (s.cellDistance > s.bestDistance
        || (s.cellDistance == s.bestDistance && node.firstPosition > s.bestPosition))
        return;

    if (node.dimension < 0) {
        for (std::int32_t i = node.begin; i < node.end; ++i) {
            const Point& p = points[i];
            std::int32_t d = 0;
            for (int k = 0; k < 6; ++k) {
                const std::int32_t diff = s.target[k] - p.v[k];
                d += weight[k] * diff * diff;
            }
            if (d < s.bestDistance || (d == s.bestDistance && p.position < s.bestPosition)) {
                s.bestDistance = d;
                s.bestPosition = p.position;
            }
        }
        return;
    }

    const int k = node.dimension;
    const std::int32_t diff = s.target[k] - node.split;
    // The target's own side first; the other side lies at least |diff| away
    // along this dimension.
    const std::int32_t nearChild = diff < 0 ? node.low : node.high;
    const std::int32_t farChild = diff < 0 ? node.high : node.low;
    search(nearChild, s);

    const std::int32_t oldOffset = s.offset[k];
    const std::int32_t oldDistance = s.cellDistance;
    s.cellDistance += weight[k] * (diff * diff - oldOffset * oldOffset);
    s.offset[k] = std::abs(diff);
    search(farChild, s);
    s.offset[k] = oldOffset;
    s.cellDistance = oldDistance;
}
