#include "LearningCurvePanel.h"

#include "CurveAxes.h"
#include "CurveLegend.h"
#include "Latin1Text.h"
#include "MessageBox.h"
#include "PathloomError.h"
#include "SafeFile.h"
#include "clsGraph.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <QXYSeries>
#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

// The window's history stops past this many probabilities (about 100 MB of text when saved; in
// memory only what each step changed); pathloom-run --history writes any length.
constexpr int64_t HistoryCells = 10'000'000;

constexpr int SnapshotMs = 100; // the run's snapshots come no faster
constexpr int RefreshShare = 10;

// Long traces in the summary break between their steps only ("A->" / "B"), never inside "->".
QString KeepArrowsWhole(QString text) {
    return text.replace("->", QString("-") + QChar(0x2060) + ">" + QChar(0x200B));
}

} // namespace

// The chart's view, which tells the panel how long its painting takes.
class LearningCurvePanel::View : public QChartView {
  public:
    View(QChart* chart, QWidget* parent, int64_t& cost) : QChartView(chart, parent), cost_(cost) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        QElapsedTimer clock;
        clock.start();
        QChartView::paintEvent(event);
        cost_ += clock.nsecsElapsed();
    }

  private:
    int64_t& cost_;
};

LearningCurvePanel::LearningCurvePanel(QWidget* parent)
    : QDockWidget("Learning Curve", parent), chart_(new QChart),
      view_(new View(chart_, this, refreshCost_)), summaryLabel_(new QLabel(this)),
      legend_(new CurveLegend(this)), xAxis_(new QCategoryAxis(chart_)),
      probabilityAxis_(new QCategoryAxis(chart_)), costAxis_(new QCategoryAxis(chart_)),
      pngDialog_("PNG Images (*.png);;All Files (*)", "png"),
      svgDialog_("SVG Images (*.svg);;All Files (*)", "svg"),
      csvDialog_("CSV Files (*.csv);;All Files (*)", "csv"), refreshTimer_(new QTimer(this)) {
    setObjectName("LearningCurve");
    toggleViewAction()->setObjectName("mnuLearningCurve");
    toggleViewAction()->setText("&Learning Curve");
    chart_->setAnimationOptions(QChart::NoAnimation);
    // The chart's own legend cuts its names to fit one row; the legend below wraps instead.
    chart_->legend()->hide();
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->setBackgroundRoundness(0);
    xAxis_->setTitleText("path");
    probabilityAxis_->setTitleText("probability");
    costAxis_->setTitleText("cost");
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    chart_->addAxis(probabilityAxis_, Qt::AlignLeft);
    chart_->addAxis(costAxis_, Qt::AlignRight);
    view_->setRenderHint(QPainter::Antialiasing);
    // Small enough to give way to the canvas in a small window.
    view_->setMinimumSize(100, 100);
    // The ticks follow the room the chart gives the axes.
    connect(chart_, &QChart::plotAreaChanged, this, [this] { ShowTicks(); });
    summaryLabel_->setObjectName("lblSummary");
    summaryLabel_->setWordWrap(true);
    summaryLabel_->setTextFormat(Qt::PlainText);
    QFont bold = summaryLabel_->font();
    bold.setBold(true);
    summaryLabel_->setFont(bold);
    summaryLabel_->setContentsMargins(6, 0, 6, 0);
    auto* face = new QWidget(this);
    face->setBackgroundRole(QPalette::Base);
    face->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(face);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(summaryLabel_);
    layout->addWidget(legend_);
    setWidget(face);
    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, [this] {
        if (running_ && isVisible())
            Refresh(*running_);
    });

    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto item = [this](const char* name, const char* caption, auto handler) {
        auto* action = new QAction(caption, view_);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        view_->addAction(action);
    };
    item("mnuSaveChartPng", "Save Chart as &PNG...", [this] { SaveChart(false); });
    item("mnuSaveChartSvg", "Save Chart as &SVG...", [this] { SaveChart(true); });
    item("mnuSaveHistory", "Save History as &CSV...", [this] { SaveHistory(); });

    Clear();
}

LearningCurvePanel::~LearningCurvePanel() = default;

RunHistory& LearningCurvePanel::BeginRun(const clsGraph& graph, int32_t node, bool sampled,
                                         bool experiment) {
    Clear();
    const std::vector<RunHistory::Leaving> leaving = RunHistory::LinksLeaving(graph, node);
    std::vector<int32_t> watched;
    for (const RunHistory::Leaving& link : leaving) {
        auto* series = new QLineSeries(chart_);
        series->setName(
            Platform::FromLatin1(graph.Node(node).Label() + "->" + graph.Node(link.to).Label()));
        linkSeries_.push_back(series);
        watched.push_back(link.link);
    }
    best_ = new QLineSeries(chart_);
    best_->setName("best path");
    QPen thick = best_->pen();
    thick.setWidth(3);
    thick.setColor(Qt::black);
    best_->setPen(thick);
    rewarded_ = new QScatterSeries(chart_);
    rewarded_->setName("rewarded (cost)");
    rewarded_->setColor(QColor(0, 160, 0));
    penalised_ = new QScatterSeries(chart_);
    penalised_->setName("penalised (cost)");
    penalised_->setColor(QColor(220, 0, 0));
    for (QScatterSeries* costs : {rewarded_, penalised_}) {
        costs->setMarkerSize(4);
        costs->setBorderColor(Qt::transparent);
    }
    // Costs first, so that the curves are drawn over their points.
    std::vector<QAbstractSeries*> all{rewarded_, penalised_};
    if (experiment) {
        bar_ = new QLineSeries(chart_);
        bar_->setName("threshold (cost)");
        bar_->setPen(QPen(QColor(90, 90, 90), 2, Qt::DashLine));
        preferred_ = new QLineSeries(chart_);
        preferred_->setName("preferred path");
        preferred_->setPen(QPen(QColor(0, 100, 0), 3)); // the canvas's preferred path is green
    }
    all.insert(all.end(), linkSeries_.begin(), linkSeries_.end());
    all.push_back(best_);
    if (experiment) // over the costs' points, which would hide the bar
        all.insert(all.end(), {preferred_, bar_});
    for (QAbstractSeries* series : all) {
        chart_->addSeries(series);
        series->attachAxis(xAxis_);
        const bool cost = series == rewarded_ || series == penalised_ || series == bar_;
        series->attachAxis(cost ? costAxis_ : probabilityAxis_);
    }
    xAxis_->setTitleText(sampled ? "sample" : "path");
    std::vector<CurveLegend::Entry> entries;
    for (QAbstractSeries* series : all) {
        const auto* xy = static_cast<QXYSeries*>(series);
        entries.push_back({xy->color(), xy->name()});
    }
    legend_->SetEntries(std::move(entries));

    history_ = std::make_unique<RunHistory>(graph, watched);
    history_->KeepRows(std::max<int64_t>(1000, HistoryCells / (graph.LinkCount() + 6)));
    return *history_;
}

void LearningCurvePanel::ShowRun(const RunHistory::Record& record) {
    running_ = &record;
    if (!isVisible() || refreshTimer_->isActive()) // a hidden panel catches up when shown
        return;
    const int64_t wait = std::max<int64_t>(SnapshotMs, refreshCost_ * RefreshShare / 1'000'000);
    if (sinceRefresh_.isValid() && sinceRefresh_.elapsed() < wait)
        refreshTimer_->start(
            static_cast<int>(std::min<int64_t>(wait - sinceRefresh_.elapsed(), 60'000)));
    else
        Refresh(record);
}

void LearningCurvePanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (running_)
        Refresh(*running_);
    else if (history_)
        Refresh(history_->Kept());
}

void LearningCurvePanel::EndRun(const QString& more) {
    running_ = nullptr;
    refreshTimer_->stop();
    if (!history_)
        return;
    if (isVisible())
        Refresh(history_->Kept());
    const std::vector<RunHistory::Point>& points = history_->Points();
    summary_ = QString("%1: %2")
                   .arg(xAxis_->titleText() == "sample" ? "Samples" : "Paths")
                   .arg(history_->PathCount());
    if (!points.empty() && std::isfinite(points.back().bestCost))
        summary_ += QString(", best cost: %1, P(best path): %2")
                        .arg(QLocale().toString(points.back().bestCost))
                        .arg(QLocale().toString(points.back().bestProbability, 'g', 6));
    if (!more.isEmpty())
        summary_ += ", " + more;
    ShowLegend();
}

void LearningCurvePanel::ClearSummary() {
    summary_.clear();
    ShowLegend();
}

void LearningCurvePanel::ShowLegend() {
    summaryLabel_->setText(KeepArrowsWhole(summary_));
    summaryLabel_->setVisible(!summary_.isEmpty());
}

void LearningCurvePanel::Clear() {
    running_ = nullptr;
    refreshTimer_->stop();
    chart_->removeAllSeries();
    linkSeries_.clear();
    best_ = bar_ = preferred_ = nullptr;
    rewarded_ = penalised_ = nullptr;
    history_.reset();
    shownPaths_ = -1;
    legend_->SetEntries({});
    lastPath_ = maxCost_ = 0;
    ShowTicks();
    ClearSummary();
}

void LearningCurvePanel::Refresh(const RunHistory::Record& record) {
    if (record.paths == shownPaths_)
        return;
    QElapsedTimer clock;
    clock.start();
    shownPaths_ = record.paths;
    const std::vector<RunHistory::Point>& points = record.points;
    std::vector<QList<QPointF>> links(linkSeries_.size());
    QList<QPointF> best, rewarded, penalised, bar, preferred;
    double maxCost = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const RunHistory::Point& p = points[i];
        const auto x = static_cast<double>(p.x);
        for (std::size_t k = 0; k < links.size(); ++k)
            links[k].append({x, record.watched[i * links.size() + k]});
        best.append({x, p.bestProbability});
        if (std::isfinite(p.bar)) {
            bar.append({x, p.bar});
            maxCost = std::max(maxCost, p.bar);
        }
        if (std::isfinite(p.preferredProbability))
            preferred.append({x, p.preferredProbability});
        if (std::isfinite(p.cost)) {
            (p.rewarded ? rewarded : penalised).append({x, p.cost});
            maxCost = std::max(maxCost, double(p.cost));
        }
    }
    lastPath_ = points.empty() ? 0 : static_cast<double>(points.back().x);
    // What a pixel's column shows of its points: the first, the lowest, the highest and the
    // last. The curves look the same, and cost far less to draw than thousands of points.
    const double columns = std::max(chart_->plotArea().width(), 100.0);
    const auto thin = [&](const QList<QPointF>& all) {
        QList<QPointF> kept;
        for (qsizetype from = 0; from < all.size();) {
            const auto column = [&](qsizetype i) {
                return std::floor(all[i].x() / std::max(lastPath_, 1.0) * columns);
            };
            qsizetype to = from + 1, low = from, high = from;
            for (; to < all.size() && column(to) == column(from); ++to) {
                low = all[to].y() < all[low].y() ? to : low;
                high = all[to].y() > all[high].y() ? to : high;
            }
            for (const qsizetype i : {from, std::min(low, high), std::max(low, high), to - 1}) {
                if (kept.isEmpty() || kept.back() != all[i])
                    kept.append(all[i]);
            }
            from = to;
        }
        return kept;
    };
    for (std::size_t k = 0; k < links.size(); ++k)
        linkSeries_[k]->replace(thin(links[k]));
    best_->replace(thin(best));
    if (bar_) {
        bar_->replace(thin(bar));
        preferred_->replace(thin(preferred));
    }
    rewarded_->replace(thin(rewarded));
    penalised_->replace(thin(penalised));
    maxCost_ = maxCost * 1.1;
    ShowTicks();
    refreshCost_ = clock.nsecsElapsed(); // the painting that follows adds to it
    sinceRefresh_.start();
}

void LearningCurvePanel::ShowTicks() {
    const QRectF plot = chart_->plotArea();
    const QFontMetrics across(xAxis_->labelsFont()), up(costAxis_->labelsFont());
    const auto wide = [&](const QString& label) { return across.horizontalAdvance(label) + 12; };
    const auto high = [&](const QString&) { return up.height() + 4; };
    // Path numbers have no fractions.
    const struct {
        QCategoryAxis* axis;
        double highest;
        bool whole;
        bool horizontal;
    } axes[] = {{xAxis_, lastPath_, true, true},
                {probabilityAxis_, 1, false, false},
                {costAxis_, maxCost_, false, false}};
    for (const auto& [axis, highest, whole, horizontal] : axes) {
        const int pixels = static_cast<int>(horizontal ? plot.width() : plot.height());
        const CurveAxes::Ticks ticks = CurveAxes::Choose(
            highest, whole, pixels, horizontal ? std::function<int(const QString&)>(wide) : high);
        if (axis->categoriesLabels() != QStringList(ticks.labels.begin(), ticks.labels.end()) ||
            axis->max() != ticks.top)
            CurveAxes::Show(*axis, ticks);
    }
}

void LearningCurvePanel::SaveBytes(const QString& fileName, const QByteArray& bytes) {
    try {
        WriteFileSafely(Platform::ToFileName(fileName), bytes.toStdString());
    } catch (const PathloomError& error) {
        Platform::ShowMessage(this,
                              QString("'%1' could not be saved: %2")
                                  .arg(fileName, QString::fromStdString(error.Description())),
                              MessageIcon::Critical);
    }
}

void LearningCurvePanel::SaveChart(bool svg) {
    const std::optional<QString> fileName = (svg ? svgDialog_ : pngDialog_).ShowSave(this);
    if (!fileName)
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(widget()->size());
        generator.setViewBox(widget()->rect());
        generator.setTitle("Learning Curve");
        QPainter painter(&generator);
        widget()->render(&painter);
    } else {
        widget()->grab().save(&buffer, "PNG");
    }
    SaveBytes(*fileName, bytes);
}

void LearningCurvePanel::SaveHistory() {
    if (!history_) {
        Platform::ShowMessage(this, "There is no run to save the history of.",
                              MessageIcon::Information);
        return;
    }
    const std::optional<QString> fileName = csvDialog_.ShowSave(this);
    if (!fileName)
        return;
    // The rows the run's thread wrote before the snapshot shown, or all of a run that ended.
    const RunHistory::Record& record = running_ ? *running_ : history_->Kept();
    std::ostringstream csv;
    history_->WriteKeptRows(csv, record.rows);
    SaveBytes(*fileName, QByteArray::fromStdString(csv.str()));
    if (record.truncated)
        Platform::ShowMessage(this,
                              QString("The history holds the first %1 paths of the run; "
                                      "pathloom-run --history writes every one.")
                                  .arg(record.rows),
                              MessageIcon::Information);
}
