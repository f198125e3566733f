#pragma once

#include "NameValues.h"

#include <array>
#include <cstdint>
#include <vector>

// The nearest of a fixed list of colours by the names lookup's distance
//   d = (r − r′)² + (g − g′)² + (b − b′)² + 2·((h − h′)² + (s − s′)² + (l − l′)²)
// with equal distances going to the earliest colour in the list: exactly the
// answer of comparing with every colour in list order, from a k-d tree over
// (r, g, b, √2·h, √2·s, √2·l) searched in integer arithmetic.
//
// The integer search is exact only while every distance fits in 32 bits, so
// the index takes only values within ±`valueLimit`; `covers` tells whether a
// colour (or a whole list) is inside. Outside, compare with every colour.
class NearestColorIndex
{
public:
    static constexpr int valueLimit = 4096;
    static bool covers(const NameValues& values);

    NearestColorIndex() = default;
    // `colours` must all be covered; their positions are the tie order.
    explicit NearestColorIndex(const std::vector<NameValues>& colours);

    // Position of the nearest colour in the list; -1 when the list is empty.
    // `target` must be covered.
    int nearest(const NameValues& target) const;

private:
    struct Point
    {
        std::array<std::int32_t, 6> v;
        std::int32_t position;
    };
    struct Node
    {
        std::int32_t dimension; // -1 for a leaf
        std::int32_t split;     // points before `middle` have v ≤ split, the others ≥ split
        std::int32_t begin, middle, end;
        std::int32_t low, high;       // child nodes
        std::int32_t firstPosition;   // smallest position in the subtree
    };
    struct Search;

    std::int32_t build(std::int32_t begin, std::int32_t end);
    void search(std::int32_t node, Search& s) const;

    std::vector<Point> points;
    std::vector<Node> nodes;
};
