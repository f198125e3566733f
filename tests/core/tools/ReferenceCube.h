#pragma once

// The extraction written the plain way, one pixel at a time in doubles, as
// the yardstick the fast histogram is held to (tests and benchmark).

#include <algorithm>
#include <cstdint>
#include <vector>

struct ReferenceMaximum
{
    std::uint64_t hitCount;
    std::uint32_t cellIndex;
    double red, green, blue;
};

struct ReferenceCube
{
    std::vector<std::uint64_t> hits = std::vector<std::uint64_t>(27000);
    std::vector<double> red = std::vector<double>(27000), green = red, blue = red;

    // Premultiplied RGBA bytes; flags 1 (bright only) and 2 (dark only).
    void count(const unsigned char* rgba, std::int64_t pixels, unsigned flags = 0)
    {
        for (std::int64_t i = 0; i < pixels; ++i) {
            const unsigned char* p = rgba + 4 * i;
            const double r = p[0] / 255.0, g = p[1] / 255.0, b = p[2] / 255.0;
            if ((flags & 1) && r < 0.6 && g < 0.6 && b < 0.6)
                continue;
            if (!(flags & 1) && (flags & 2) && (r >= 0.4 || g >= 0.4 || b >= 0.4))
                continue;
            const int index = int(r * 29) + 30 * int(g * 29) + 900 * int(b * 29);
            ++hits[index];
            red[index] += r;
            green[index] += g;
            blue[index] += b;
        }
    }

    std::vector<ReferenceMaximum> maxima() const
    {
        std::vector<ReferenceMaximum> found;
        for (int r = 0; r < 30; ++r)
            for (int g = 0; g < 30; ++g)
                for (int b = 0; b < 30; ++b) {
                    const int index = r + 30 * g + 900 * b;
                    if (hits[index] == 0)
                        continue;
                    bool local = true;
                    for (int n = 0; n < 27; ++n) {
                        const int nr = r + n % 3 - 1, ng = g + n / 3 % 3 - 1, nb = b + n / 9 - 1;
                        if (nr >= 0 && ng >= 0 && nb >= 0 && nr < 30 && ng < 30 && nb < 30
                            && hits[nr + 30 * ng + 900 * nb] > hits[index])
                            local = false;
                    }
                    if (local)
                        found.push_back({hits[index], std::uint32_t(index), red[index] / hits[index],
                                         green[index] / hits[index], blue[index] / hits[index]});
                }
        std::stable_sort(found.begin(), found.end(),
                         [](const ReferenceMaximum& a, const ReferenceMaximum& b) { return a.hitCount > b.hitCount; });
        return found;
    }
};
