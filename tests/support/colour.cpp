#include "support/colour.h"

#include <algorithm>
#include <cmath>

bool shows(const Pixel& p, const Colour& c) {
    const double dot = p.r * c.r + p.g * c.g + p.b * c.b;
    const double norm = c.r * c.r + c.g * c.g + c.b * c.b;
    const double k = dot / norm;
    const double brightest = k * std::max({c.r, c.g, c.b});
    if (brightest < 24) return false;
    const double tolerance = 0.08 * brightest + 4;
    return std::abs(p.r - k * c.r) <= tolerance && std::abs(p.g - k * c.g) <= tolerance &&
           std::abs(p.b - k * c.b) <= tolerance;
}

bool isBlack(const Pixel& p) {
    return p.r < 8 && p.g < 8 && p.b < 8;
}
