#include "LearningCurvePanel.h"
#include "WindowFixture.h"

#include <QAbstractSeries>
#include <QChart>
#include <QFile>
#include <QXYSeries>

namespace {

class CurveTest : public WindowFixture {
  protected:
    QStringList SeriesNames() const {
        QStringList names;
        for (QAbstractSeries* series : window->Curve().Chart()->series())
            names << series->name();
        return names;
    }
    int Points(int series) const {
        return static_cast<QXYSeries*>(window->Curve().Chart()->series()[series])->count();
    }
    QByteArray Saved(const char* action, const QString& name) {
        script.QueueFile(File(name));
        Action(action)->trigger();
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(CurveTest, ARunOfTheNetworkExampleLeavesItsCurvesToSaveUntilReset) {
    window->OpenStartupDocument(QString(PATHLOOM_EXAMPLES_DIR) + "/network.plm");
    EXPECT_FALSE(window->Curve().isVisible());
    Action("mnuLearningCurve")->trigger();
    EXPECT_TRUE(window->Curve().isVisible());
    StartRun({1, 0, 4, false}); // S to D
    WorkUntilPauseOrEnd();
    ASSERT_EQ(window->Run().PathCount(), 5);
    // The costs told apart, S's two links and the best path.
    EXPECT_EQ(SeriesNames(),
              (QStringList{"rewarded (cost)", "penalised (cost)", "S->B", "S->A", "best path"}));
    for (int series : {2, 3, 4})
        EXPECT_EQ(Points(series), 5);
    EXPECT_EQ(Points(0) + Points(1), 5);
    EXPECT_GT(Points(0), 0);

    EXPECT_TRUE(Saved("mnuSaveChartPng", "curve.png").startsWith("\x89PNG"));
    EXPECT_TRUE(Saved("mnuSaveChartSvg", "curve.svg").contains("<svg"));
    const QList<QByteArray> rows = Saved("mnuSaveHistory", "history.csv").split('\n');
    ASSERT_EQ(rows.size(), 7); // header, 5 paths, the empty end
    EXPECT_TRUE(rows[0].startsWith("n,trace,cost,decision,best cost,best-path probability,S->B"));
    EXPECT_TRUE(script.Messages().empty());

    Action("mnuReset")->trigger();
    EXPECT_TRUE(SeriesNames().isEmpty());
}

} // namespace
