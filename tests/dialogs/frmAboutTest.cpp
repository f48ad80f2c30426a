#include "frmAbout.h"

#include "DialogTestSupport.h"

#include <QLabel>

namespace {

using DialogTest::Get;

TEST(About, ShowsTheProjectVersionAndItsIcon) {
    frmAbout about;
    DialogTest::WhenShown([](QDialog* d) {
        EXPECT_EQ(Get<QLabel>(d, "lblVersion")->text(), PATHLOOM_VERSION_TEXT);
        EXPECT_EQ(Get<QLabel>(d, "picIcon")->pixmap().size(), QSize(32, 32));
        EXPECT_TRUE(DialogTest::Button(d, "cmdOK")->isDefault());
        DialogTest::Button(d, "cmdOK")->click();
    });
    about.ShowDialog(nullptr);
    EXPECT_EQ(frmAbout::VersionText(), PATHLOOM_VERSION_TEXT);
}

} // namespace
