#include "CurveLegend.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int Margin = 6;  // around the legend
constexpr int Gap = 12;    // between two entries of a row
constexpr int Spacing = 4; // between a swatch and its name

} // namespace

CurveLegend::CurveLegend(QWidget* parent) : QWidget(parent) {
    setObjectName("lblLegend");
    setAccessibleName("Legend");
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void CurveLegend::SetEntries(std::vector<Entry> entries) {
    entries_ = std::move(entries);
    QStringList names;
    for (const Entry& entry : entries_)
        names << entry.name;
    setAccessibleDescription(names.join(", "));
    updateGeometry();
    update();
}

std::vector<CurveLegend::Placed> CurveLegend::Layout(int width) const {
    const QFontMetrics metrics = fontMetrics();
    const int swatch = metrics.ascent() * 2 / 3, line = metrics.height();
    const int room = std::max(width - 2 * Margin, swatch + Spacing + 1);
    std::vector<Placed> placed;
    int x = Margin, y = 0;
    for (const Entry& entry : entries_) {
        QString text = entry.name;
        int wide = swatch + Spacing + metrics.horizontalAdvance(text);
        if (wide > room) { // a row of its own, and what fits of it
            text = metrics.elidedText(text, Qt::ElideRight, room - swatch - Spacing);
            wide = room;
        }
        if (x > Margin && x + wide > Margin + room) {
            x = Margin;
            y += line;
        }
        placed.push_back({QRect(x, y, wide, line), text});
        x += wide + Gap;
    }
    return placed;
}

int CurveLegend::heightForWidth(int width) const {
    const std::vector<Placed> placed = Layout(width);
    return placed.empty() ? 0 : placed.back().rect.bottom() + 1 + Margin / 2;
}

QSize CurveLegend::sizeHint() const {
    return {200, heightForWidth(std::max(width(), 200))};
}

QSize CurveLegend::minimumSizeHint() const {
    return {0, heightForWidth(std::max(width(), 1))};
}

void CurveLegend::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int swatch = metrics.ascent() * 2 / 3;
    const std::vector<Placed> placed = Layout(width());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const QRect& r = placed[i].rect;
        painter.fillRect(QRect(r.left(), r.top() + (r.height() - swatch) / 2, swatch, swatch),
                         entries_[i].colour);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(r.adjusted(swatch + Spacing, 0, 0, 0),
                         Qt::AlignVCenter | Qt::TextSingleLine, placed[i].text);
    }
}

bool CurveLegend::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::vector<Placed> placed = Layout(width());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].rect.contains(help->pos()) && placed[i].text != entries_[i].name) {
            QToolTip::showText(help->globalPos(), entries_[i].name, this, placed[i].rect);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
