#include "CommandLineExport.h"
#include "WindowFixture.h"

#include <QImageReader>
#include <QProgressDialog>
#include <QPushButton>

namespace {

class AnimationTest : public WindowFixture {
  protected:
    const QString grid = QString(PATHLOOM_EXAMPLES_DIR) + "/one-way-grid.plm";
    int Frames(const char* name) const { return QImageReader(File(name)).imageCount(); }
};

// pathloom --export-animation: pathloom-run's options over the document's stored settings (LRI,
// reward 0.1), each refusal with its exit status and reason, and a file only on success.
TEST_F(AnimationTest, TheCommandLineTakesTheRunnersOptionsOverTheStoredRun) {
    const QStringList sample{"--method", "sample",    "--source", "A1",     "--dest",
                             "P16",      "--samples", "12",       "--seed", "1"};
    const struct {
        const char* out;
        QStringList more;
        int status;
        const char* err;
    } cases[] = {
        {"a.gif", sample + QStringList{"--paths-per-frame", "4"}, 0, ""},
        {"b.gif",
         {"--method", "sample", "--source", "B1", "--dest", "P16", "--samples", "5",
          "--max-frames=2"},
         0,
         ""},
        {"a.txt", sample, 2, "--export-animation writes .gif or .webm"},
        {"c.gif", sample + QStringList{"--save", File("x.plm")}, 2, "--save, --export"},
        {"d.gif", sample + QStringList{"--max-frames", "1"}, 2,
         "--max-frames takes a whole number from 2 to 100000"},
        {"e.gif", {"--method", "sample", "--source", "Z9"}, 2, "no node labelled 'Z9'"},
        {"f.gif",
         {"--method", "dest", "--source", "A1", "--dest", "a1"},
         2,
         "Source node and destination node are equal"},
        {"g.gif", {"--method", "wander"}, 2, "unknown value for --method"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const int status = ExportFromCommandLine(
            QStringList{"pathloom", "--export-animation", File(c.out), grid} + c.more);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status) << c.out;
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
        EXPECT_EQ(QFile::exists(File(c.out)), status == 0) << c.out;
    }
    EXPECT_EQ(Frames("a.gif"), 3); // paths 4, 8 and 12
    EXPECT_EQ(Frames("b.gif"), 2); // paths 2 and 5
    // Never over what the run reads.
    QFile::copy(grid, File("grid.gif"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(ExportFromCommandLine(QStringList{"pathloom", "--export-animation", File("grid.gif"),
                                                File("grid.gif")} +
                                    sample),
              2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is an input of the run"),
              std::string::npos);
}

// File > Export Run Animation...: the document's run, or the run started last; the dialog's
// checks; and Cancel, which leaves no file.
TEST_F(AnimationTest, TheWindowExportsTheRunStartedLastWithProgressAndCancel) {
    window->OpenStartupDocument(grid);
    // OK, and Cancel when the dialog refused it.
    const auto animate = [&](const std::string& fields, const char* file) {
        DialogTest::WhenShown([=](QDialog* dialog) {
            DialogTest::Fill(dialog, fields);
            DialogTest::Click(dialog, "cmdOK");
            if (dialog->isVisible())
                DialogTest::Click(dialog, "cmdCancel");
        });
        if (file)
            script.QueueFile(File(file));
        Play("do mnuExportAnimation");
    };
    // The document's run, without end, cancelled as soon as the progress shows.
    RunSettings endless = window->Document().Settings();
    endless.GraphSearchMethod = SearchMethod::Sample;
    endless.sourceNode = 1;
    endless.DestNode = 256;
    endless.Samples = 2'000'000'000;
    window->Document().Do(new SettingsCommand(window->Document(), endless, std::nullopt));
    std::string shown;
    script.OnProgress = [&](QProgressDialog& dialog) {
        shown = dialog.labelText().toStdString();
        QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
    };
    animate("", "never.gif");
    EXPECT_EQ(shown.rfind("Running: ", 0), 0u) << shown;
    EXPECT_FALSE(QFile::exists(File("never.gif")));
    script.OnProgress = nullptr;

    DialogTest::WhenShown([=](QDialog* dialog) {
        DialogTest::Fill(dialog, "cmbSource=0|cmbDest=255|txtSeed=1|txtSamples=8");
        DialogTest::Click(dialog, "cmdOK");
    });
    Play("do mnuSamplePaths, work");
    animate("txtPathsPerFrame=0", nullptr);
    animate("txtPathsPerFrame=3|txtMaxFrames=100001", nullptr);
    EXPECT_EQ(Said(), "E Please enter the paths per frame as a whole number from 1 to "
                      "1000000000. | E Please enter the most frames as a whole number from 2 to "
                      "100000.");
    animate("txtPathsPerFrame=3|txtMaxFrames=600", "w.gif");
    EXPECT_EQ(Frames("w.gif"), 3); // paths 3, 6 and 8
    EXPECT_EQ(Said(), "");
}

} // namespace
