#pragma once
// The Learning Curve's axes: ticks at round values, as many as their labels fit without touching,
// and large counts in short ("2M").

#include <QString>
#include <functional>
#include <vector>

class QCategoryAxis;

namespace CurveAxes {

// A number as an axis shows it: in full below 10,000, else in thousands, millions or billions
// ("25k", "1.5M", "2M").
QString CountText(double value);

struct Ticks {
    double step = 1;
    double top = 1;              // the axis's end: the first tick at or past the highest value
    std::vector<QString> labels; // at 0, step, 2 step, ..., top
};

// Ticks from 0 to at least `highest` (at least one step), a step of 1, 2 or 5 times a power of
// ten (whole numbers only when `whole`): the smallest step at which every label, taking
// `extent(label)` pixels along the axis, fits in its share of the axis's `pixels`. Where not even
// two fit, only the last is labelled.
Ticks Choose(double highest, bool whole, int pixels,
             const std::function<int(const QString&)>& extent);

// The axis shows the ticks: a grid line and a label at each.
void Show(QCategoryAxis& axis, const Ticks& ticks);

} // namespace CurveAxes
