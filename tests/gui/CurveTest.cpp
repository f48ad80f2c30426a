#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QAbstractSeries>
#include <QChart>
#include <QLabel>
#include <QValueAxis>
#include <QXYSeries>

namespace {

using CurveTest = WindowFixture;

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
    // The path numbers an axis shows, each once: whole numbers only.
    const auto pathLabels = [&] {
        const auto* x = static_cast<QValueAxis*>(window->Curve().Chart()->axes(Qt::Horizontal)[0]);
        QStringList labels;
        const double step = x->tickType() == QValueAxis::TicksDynamic
                                ? x->tickInterval()
                                : (x->max() - x->min()) / (x->tickCount() - 1);
        for (double at = x->min(); at <= x->max() + 1e-9; at += step)
            labels << QString::asprintf(x->labelFormat().toLatin1(), static_cast<int>(at));
        return labels.join(' ').toStdString();
    };
    // The legend is readable whole at the default size.
    const auto legendFits = [&] {
        QCoreApplication::processEvents(); // the layout follows a new text when asked again
        const auto* legend = window->Curve().findChild<QLabel*>("lblLegend");
        return legend->heightForWidth(legend->width()) <= legend->height() &&
               legend->width() >= 200;
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
