// Positions of automatically placed reinforcing bars and prestressing
// strands: on a circle (1, 2 or 3 bars per position), on the sides of a
// square and on the sides of a rectangle.

#include <cmath>
#include <cstddef>

#include "section/SliceTable.h"

namespace kestro {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

void Put(int& n, BarArray& x, BarArray& y, double px, double py) {
    ++n;
    x[U(n)] = px;
    y[U(n)] = py;
}

// Bars along one side from (x0, y0) to (x1, y1): the start corner, then
// `interior` bars evenly spaced; the end corner belongs to the next side.
void PlaceSide(double x0, double y0, double x1, double y1, int interior, int& n, BarArray& x, BarArray& y) {
    Put(n, x, y, x0, y0);
    for (int j = 1; j <= interior; ++j) {
        const double f = static_cast<double>(j) / static_cast<double>(interior + 1);
        Put(n, x, y, x0 + f * (x1 - x0), y0 + f * (y1 - y0));
    }
}

}  // namespace

bool PlaceBarsOnCircle(double D, double cover, int n, int perPosition, double db, int& numBars, BarArray& x,
                       BarArray& y, CircularArrangement& arrangement) {
    numBars = 0;
    arrangement = CircularArrangement{};
    if (std::fabs(db) > 100.0) db = 0.0;
    if (!(D > 0.0) || !(cover > 0.0) || D < db || n < 1 || n > MaxBars || perPosition < 1 || perPosition > 3 ||
        n * perPosition > MaxBars)
        return false;
    const double R = (D - db) / 2.0 - cover;
    if (!(R > 0.0)) return false;
    const double delta = 6.283185307179586 / static_cast<double>(n);
    arrangement.Radius = R;
    arrangement.CentralAngle = delta;
    // Chord between neighbouring positions, minus one bar diameter.
    const double cx = R - R * std::cos(delta), cy = R * std::sin(delta);
    arrangement.ClearSpacing = std::sqrt(cx * cx + cy * cy) - db;
    arrangement.BarDiameter = db;
    if (n == 1) {
        // A single position lies at the centre.
        if (perPosition == 1) {
            Put(numBars, x, y, 0.0, 0.0);
        } else {
            Put(numBars, x, y, -db / 2.0, 0.0);
            Put(numBars, x, y, db / 2.0, 0.0);
            if (perPosition == 3) Put(numBars, x, y, 0.0, db * 0.8660254037844386);
        }
        return true;
    }
    // Bundled bars touch: the pair sits at angles k delta -/+ J with J = db/2 / R,
    // the third bar of a bundle of three inside the pair at R - db sqrt(3)/2.
    const double J = 0.5 * db / R;
    for (int k = 0; k < n; ++k) {
        const double a = static_cast<double>(k) * delta;
        if (perPosition == 1) {
            Put(numBars, x, y, R * std::cos(a), R * std::sin(a));
            continue;
        }
        Put(numBars, x, y, R * std::cos(a - J), R * std::sin(a - J));
        Put(numBars, x, y, R * std::cos(a + J), R * std::sin(a + J));
        if (perPosition == 3) {
            const double r3 = R - db * 0.8660254037844386;
            Put(numBars, x, y, r3 * std::cos(a), r3 * std::sin(a));
        }
    }
    return true;
}

bool PlaceBarsOnSquare(double B, double cover, int n, double db, int& numBars, BarArray& x, BarArray& y) {
    numBars = 0;
    if (!(B > 0.0) || !(cover > 0.0) || !(db >= 0.0) || n < 4 || n > MaxBars) return false;
    const double a = (B - db) / 2.0 - cover;
    if (!(a > 0.0)) return false;
    // k = n/4 intervals of s = 2a/k on every side: the sides from the corner
    // (-a, -a) counterclockwise carry 4k bars, one on every corner.
    const int k = n / 4;
    const int interior = k - 1;
    PlaceSide(-a, -a, a, -a, interior, numBars, x, y);
    PlaceSide(a, -a, a, a, interior, numBars, x, y);
    PlaceSide(a, a, -a, a, interior, numBars, x, y);
    PlaceSide(-a, a, -a, -a, interior, numBars, x, y);
    // The remaining n mod 4 bars go midway in the middle interval of the top
    // side, then the bottom side, then the left side (top and bottom first so
    // that two extra bars stay symmetric about the bending axis at 0 degrees).
    const int r = n % 4;
    const double s = 2.0 * a / static_cast<double>(k);
    // Centre of the middle interval of a side: 0 for an odd k, the interval
    // just left of (below) the centre bar for an even k.
    const double m = (k % 2 == 1) ? 0.0 : -0.5 * s;
    if (r >= 1) Put(numBars, x, y, m, a);
    if (r >= 2) Put(numBars, x, y, m, -a);
    if (r >= 3) Put(numBars, x, y, -a, m);
    return true;
}

bool PlaceBarsOnRectangle(double width, double depth, double cover, int n, double db, int& numBars, BarArray& x,
                          BarArray& y) {
    numBars = 0;
    if (!(width > 0.0) || !(depth > 0.0) || !(cover > 0.0) || !(db >= 0.0) || n < 4 || n > MaxBars) return false;
    const double ax = (width - db) / 2.0 - cover;
    const double ay = (depth - db) / 2.0 - cover;
    if (!(ax > 0.0) || !(ay > 0.0)) return false;
    // Four corner bars, then the n - 4 others shared between the sides in
    // proportion to their lengths (bottom, right, top, left); the rounding
    // remainder goes to the top, bottom, left and right sides in turn.
    const int others = n - 4;
    const double perimeter = 4.0 * (ax + ay);
    int count[4];
    count[0] = count[2] = static_cast<int>(std::floor(static_cast<double>(others) * 2.0 * ax / perimeter));
    count[1] = count[3] = static_cast<int>(std::floor(static_cast<double>(others) * 2.0 * ay / perimeter));
    int left = others - (count[0] + count[1] + count[2] + count[3]);
    const int order[4] = {2, 0, 3, 1};
    for (int j = 0; left > 0; j = (j + 1) % 4, --left) ++count[order[j]];
    PlaceSide(-ax, -ay, ax, -ay, count[0], numBars, x, y);
    PlaceSide(ax, -ay, ax, ay, count[1], numBars, x, y);
    PlaceSide(ax, ay, -ax, ay, count[2], numBars, x, y);
    PlaceSide(-ax, ay, -ax, -ay, count[3], numBars, x, y);
    return true;
}

}  // namespace kestro
