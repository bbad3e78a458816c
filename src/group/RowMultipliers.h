#pragma once
// Group p-multipliers by row for piles in a group under lateral load, from the
// centre-to-centre spacing of the rows in the direction of loading:
//   spacing 3 b: 0.80 (leading row), 0.40 (second row), 0.30 (third and later)
//   spacing 5 b: 1.00, 0.85, 0.70
// linear in spacing between 3 b and 5 b; 1.0 for every row beyond 5 b; below
// 3 b the 3 b values, flagged so that the caller warns (the table does not
// cover such close spacing). The leading row is the one that the cap's
// movement pushes first: for a movement toward +x the row with the largest x.
// Pure functions: no store, no files, no errors.

#include <array>
#include <vector>

namespace kestro::group {

struct RowFactors {
    std::array<double, 3> ByRow{};   // leading, second, third and later rows
    bool b_BelowTable = false;       // spacing under 3 b: the 3 b values were used
};

// Multipliers of the leading, second and third-and-later rows for the
// spacing ratio s / b. A ratio that is not a finite positive number is treated
// as below the table (3 b values, flagged).
RowFactors RowFactorsForSpacing(double spacingOverWidth);

// Rows of a group: pile head positions x (along the loading direction) closer
// than `rowTolerance` belong to one row. Returns for every pile its row number
// counted from the leading row (1 = leading) for a cap movement in the
// direction of `direction` (> 0: toward +x, < 0: toward -x). A direction of 0
// is taken as +x.
std::vector<int> RowNumbers(const std::vector<double>& x, double direction, double rowTolerance);

// Spacing of the rows used for the multipliers: the smallest centre-to-centre
// distance between adjacent rows (the closest rows govern), 0 when there is
// one row.
double GoverningRowSpacing(const std::vector<double>& x, double rowTolerance);

struct PileMultipliers {
    std::vector<double> Multiplier;  // per pile
    std::vector<int> Row;            // per pile, 1 = leading
    bool b_BelowTable = false;
};

// Multiplier of every pile of a group: one row of piles has no group effect
// (1.0); otherwise the factor of its row at the governing spacing over the
// width b (the largest pile width of the group).
PileMultipliers GroupMultipliers(const std::vector<double>& x, double width, double direction,
                                 double rowTolerance);

}  // namespace kestro::group
