#include "CurveAxes.h"

#include <QCategoryAxis>
#include <algorithm>
#include <cmath>

namespace CurveAxes {

QString CountText(double value) {
    const struct {
        double unit;
        const char* suffix;
    } units[] = {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}};
    for (const auto& [unit, suffix] : units) {
        if (std::abs(value) >= std::max(unit, 1e4))
            return QString::number(value / unit, 'g', 6) + suffix;
    }
    return QString::number(value, 'g', 6);
}

Ticks Choose(double highest, bool whole, int pixels,
             const std::function<int(const QString&)>& extent) {
    if (!(highest > 0) || !std::isfinite(highest))
        highest = 1;
    // 1, 2, 5 times 10^exponent, from below the smallest step that can matter.
    int exponent = whole ? 0 : static_cast<int>(std::floor(std::log10(highest))) - 3;
    for (int mantissa = 0;; mantissa = (mantissa + 1) % 3) {
        const double step = std::pow(10.0, exponent) * (mantissa == 0 ? 1 : mantissa == 1 ? 2 : 5);
        if (mantissa == 2)
            ++exponent;
        const double intervals = std::ceil(highest / step * (1 - 1e-12));
        if (intervals > std::max(pixels, 1))
            continue; // less than a pixel a step: no label can fit
        Ticks ticks{step, intervals * step, {}};
        int widest = 0;
        for (int i = 0; i <= intervals; ++i) {
            ticks.labels.push_back(CountText(i * step));
            widest = std::max(widest, extent(ticks.labels.back()));
        }
        // Neighbours centred on their ticks touch at most when each takes its share.
        if (widest * intervals <= pixels)
            return ticks;
        if (intervals == 1) { // not even the two ends fit: the far end alone
            ticks.labels.front().clear();
            return ticks;
        }
    }
}

void Show(QCategoryAxis& axis, const Ticks& ticks) {
    for (const QString& label : axis.categoriesLabels())
        axis.remove(label);
    axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // The first category is empty, ending where it starts, so that 0 has its label too.
    axis.setStartValue(0);
    for (std::size_t i = 0; i < ticks.labels.size(); ++i)
        axis.append(ticks.labels[i], static_cast<double>(i) * ticks.step);
    axis.setRange(0, ticks.top);
}

} // namespace CurveAxes
