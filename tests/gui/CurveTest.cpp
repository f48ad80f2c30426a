#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QAbstractSeries>
#include <QChart>
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
    window->OpenStartupDocument(QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm");
    EXPECT_FALSE(window->Curve().isVisible());
    Play("do mnuLearningCurve");
    EXPECT_TRUE(window->Curve().isVisible());
    StartRun(0, 4, false); // S to D: paths 1 and 5 rewarded, the others penalised
    EXPECT_EQ(series(), "rewarded (cost) 2, penalised (cost) 3, S->B 5, S->A 5, best path 5, ");

    EXPECT_TRUE(saved("mnuSaveChartPng", "curve.png").startsWith("\x89PNG") &&
                saved("mnuSaveChartSvg", "curve.svg").contains("<svg"));
    const QList<QByteArray> rows = saved("mnuSaveHistory", "history.csv").split('\n');
    ASSERT_EQ(rows.size(), 7); // header, 5 paths, the empty end
    EXPECT_TRUE(rows[0].startsWith("n,trace,cost,decision,best cost,best-path probability,S->B"));
    EXPECT_EQ(Said(), "");

    Play("do mnuReset");
    EXPECT_EQ(series(), "");
}

} // namespace
