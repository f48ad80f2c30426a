#include "CurveAxes.h"
#include "CurveLegend.h"
#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QAbstractSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QHelpEvent>
#include <QToolTip>
#include <QXYSeries>

namespace {

using CurveTest = WindowFixture;

// Ticks at round values, as many as fit their labels (here 8 pixels a character and 12 between),
// and large counts short.
TEST(CurveAxesTest, TicksFitTheirLabelsAndCountsReadShort) {
    const auto extent = [](const QString& label) { return 8 * int(label.size()) + 12; };
    const auto high = [](const QString&) { return 16; };
    const struct {
        double highest;
        bool whole;
        int pixels;
        bool horizontal;
        const char* labels;
    } cases[] = {
        {5, true, 300, true, "0 1 2 3 4 5"},
        {0, true, 300, true, "0 1"},
        {2'000'000, true, 300, true, "0 500k 1M 1.5M 2M"},
        {2'000'000, true, 100, true, "0 1M 2M"},
        {1'234'567, true, 400, true, "0 200k 400k 600k 800k 1M 1.2M 1.4M"},
        {12'345, true, 160, true, "0 5000 10k 15k"},
        {9'000, true, 200, true, "0 5000 10k"},
        {5, true, 10, true, " 5"}, // not even two fit: the far end alone
        {1, false, 60, false, "0 0.5 1"},
        {1, false, 200, false, "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1"},
        {0.033, false, 100, false, "0 0.01 0.02 0.03 0.04"},
    };
    for (const auto& c : cases) {
        const CurveAxes::Ticks ticks =
            CurveAxes::Choose(c.highest, c.whole, c.pixels,
                              c.horizontal ? std::function<int(const QString&)>(extent) : high);
        QStringList labels(ticks.labels.begin(), ticks.labels.end());
        EXPECT_EQ(labels.join(' ').toStdString(), c.labels) << c.highest << " " << c.pixels;
        EXPECT_DOUBLE_EQ(ticks.top, ticks.step * double(labels.size() - 1));
    }
}

// Legend names are never broken: at the panel's width each stands whole on a row; narrowed,
// a name too wide is cut short with its tooltip whole.
TEST_F(CurveTest, LegendNamesStayWholeAndAnElidedOneHasItsTooltip) {
    auto* legend = window->Curve().findChild<CurveLegend*>("lblLegend");
    legend->SetEntries({{Qt::red, "Depot->Hill"},
                        {Qt::blue, "best path"},
                        {Qt::black, "A rather long name of a link->Another long name"}});
    const auto texts = [&](int width) {
        std::string shown;
        for (const CurveLegend::Placed& p : legend->Layout(width))
            shown += p.text.toStdString() + "@" + std::to_string(p.rect.top()) +
                     (p.rect.right() < width ? "" : "!") + "|";
        return shown;
    };
    EXPECT_EQ(texts(600), "Depot->Hill@0|best path@0|A rather long name of a link->Another long "
                          "name@0|");
    const int line = legend->fontMetrics().height();
    const std::string narrow = texts(200);
    EXPECT_EQ(narrow.rfind("Depot->Hill@0|best path@0|A rather long name", 0), 0u) << narrow;
    EXPECT_NE(narrow.find("…@" + std::to_string(line) + "|"), std::string::npos) << narrow;
    EXPECT_EQ(legend->heightForWidth(200), 2 * line + 3);
    legend->resize(200, legend->heightForWidth(200));
    const QRect elided = legend->Layout(200).back().rect;
    QHelpEvent help(QEvent::ToolTip, elided.center(), legend->mapToGlobal(elided.center()));
    QCoreApplication::sendEvent(legend, &help);
    EXPECT_EQ(QToolTip::text(), "A rather long name of a link->Another long name");
    EXPECT_EQ(legend->accessibleDescription(),
              "Depot->Hill, best path, A rather long name of a link->Another long name");
}

TEST_F(CurveTest, ARunOfTheNetworkExampleLeavesItsCurvesToSaveUntilReset) {
    const auto series = [&] {
        std::string shown;
        for (QAbstractSeries* s : window->Curve().Chart()->series())
            shown += s->name().toStdString() + " " +
                     std::to_string(static_cast<QXYSeries*>(s)->count()) + ", ";
        return shown;
    };
    const auto saved = [&](const char* action, const char* name) {
        script.QueueFile(File(name));
        Play(std::string("do ") + action);
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // The path numbers the axis shows: whole numbers only.
    const auto pathLabels = [&] {
        QCoreApplication::processEvents(); // the chart's layout gives the axis its room
        auto* x = static_cast<QCategoryAxis*>(window->Curve().Chart()->axes(Qt::Horizontal)[0]);
        return x->categoriesLabels().join(' ').toStdString();
    };
    // The legend is readable whole at the default size.
    const auto legendFits = [&] {
        QCoreApplication::processEvents();
        const auto* legend = window->Curve().findChild<CurveLegend*>("lblLegend");
        for (const CurveLegend::Placed& p : legend->Layout(legend->width()))
            if (p.text.endsWith(QChar(0x2026)) || p.rect.bottom() >= legend->height())
                return false;
        return legend->width() >= 200;
    };
    window->OpenStartupDocument(QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm");
    EXPECT_FALSE(window->Curve().isVisible());
    Play("do mnuLearningCurve");
    EXPECT_TRUE(window->Curve().isVisible());
    EXPECT_EQ(pathLabels(), "0 1");
    StartRun(0, 4, false); // S to D: paths 1 and 5 rewarded, the others penalised
    EXPECT_EQ(series(), "rewarded (cost) 2, penalised (cost) 3, S->B 5, S->A 5, best path 5, ");
    EXPECT_EQ(pathLabels(), "0 1 2 3 4 5");
    EXPECT_TRUE(legendFits());
    // The run's figures stay until the next edit.
    EXPECT_EQ(window->Curve().Summary(), "Paths: 5, best cost: 3, P(best path): 0.27775");

    EXPECT_TRUE(saved("mnuSaveChartPng", "curve.png").startsWith("\x89PNG") &&
                saved("mnuSaveChartSvg", "curve.svg").contains("<svg"));
    const QList<QByteArray> rows = saved("mnuSaveHistory", "history.csv").split('\n');
    ASSERT_EQ(rows.size(), 7); // header, 5 paths, the empty end
    EXPECT_TRUE(rows[0].startsWith("n,trace,cost,decision,best cost,best-path probability,S->B"));
    EXPECT_EQ(Said(), "");

    Play("do mnuReset");
    EXPECT_EQ(series() + window->Curve().Summary().toStdString(), "");
}

} // namespace
