#include "group/RowMultipliers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kestro::group {
namespace {

constexpr std::array<double, 3> AtThreeWidths{0.80, 0.40, 0.30};
constexpr std::array<double, 3> AtFiveWidths{1.00, 0.85, 0.70};

// Distinct row positions, ascending: positions within `tol` of the previous
// row's first position join that row.
std::vector<double> RowPositions(const std::vector<double>& x, double tol) {
    std::vector<double> sorted(x);
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> rows;
    for (double v : sorted)
        if (rows.empty() || v - rows.back() > tol) rows.push_back(v);
    return rows;
}

}  // namespace

RowFactors RowFactorsForSpacing(double s) {
    RowFactors f;
    if (!(std::isfinite(s) && s >= 3.0)) {
        f.ByRow = AtThreeWidths;
        f.b_BelowTable = true;
        return f;
    }
    if (s > 5.0) {
        f.ByRow = {1.0, 1.0, 1.0};
        return f;
    }
    const double t = (s - 3.0) / 2.0;
    for (std::size_t k = 0; k < 3; ++k) f.ByRow[k] = AtThreeWidths[k] + t * (AtFiveWidths[k] - AtThreeWidths[k]);
    return f;
}

std::vector<int> RowNumbers(const std::vector<double>& x, double direction, double tol) {
    const std::vector<double> rows = RowPositions(x, tol);
    std::vector<int> number(x.size(), 1);
    const int n = static_cast<int>(rows.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        // Index of the row holding pile i (ascending x).
        int k = 0;
        for (int r = 0; r < n; ++r)
            if (x[i] - rows[static_cast<std::size_t>(r)] >= -tol) k = r;
        number[i] = direction < 0.0 ? k + 1 : n - k;
    }
    return number;
}

double GoverningRowSpacing(const std::vector<double>& x, double tol) {
    const std::vector<double> rows = RowPositions(x, tol);
    double s = 0.0;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const double d = rows[k] - rows[k - 1];
        s = (k == 1) ? d : std::min(s, d);
    }
    return s;
}

PileMultipliers GroupMultipliers(const std::vector<double>& x, double width, double direction, double tol) {
    PileMultipliers m;
    m.Row = RowNumbers(x, direction, tol);
    m.Multiplier.assign(x.size(), 1.0);
    const double s = GoverningRowSpacing(x, tol);
    if (s <= 0.0) return m;  // a single row: no shadowing
    const RowFactors f = RowFactorsForSpacing(width > 0.0 ? s / width : 0.0);
    m.b_BelowTable = f.b_BelowTable;
    for (std::size_t i = 0; i < x.size(); ++i)
        m.Multiplier[i] = f.ByRow[static_cast<std::size_t>(std::min(m.Row[i], 3) - 1)];
    return m;
}

}  // namespace kestro::group
