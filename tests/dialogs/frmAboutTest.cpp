#include "frmAbout.h"

#include "DialogTestSupport.h"

#include <QLabel>
#include <QPushButton>

namespace {

using DialogTest::Get;
using DialogTest::WhenShown;

TEST(About, NamesTheApplicationAndTheProjectVersion) {
    frmAbout about;
    WhenShown([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "About Pathloom");
        EXPECT_EQ(Get<QLabel>(d, "lblTitle")->text(), "Pathloom");
        EXPECT_EQ(Get<QLabel>(d, "lblVersion")->text(), PATHLOOM_VERSION_TEXT);
        EXPECT_FALSE(Get<QLabel>(d, "lblDescription")->text().isEmpty());
        EXPECT_FALSE(Get<QLabel>(d, "Label1")->text().isEmpty());
        const QPixmap icon = Get<QLabel>(d, "picIcon")->pixmap();
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(32, 32));
        QPushButton* ok = Get<QPushButton>(d, "cmdOK");
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    });
    about.ShowDialog(nullptr);
    EXPECT_EQ(frmAbout::VersionText(), PATHLOOM_VERSION_TEXT);
}

TEST(About, EnterEscAndTheCloseBoxCloseIt) {
    frmAbout about;
    for (int way = 0; way < 3; ++way) {
        WhenShown([way](QDialog* d) {
            if (way == 0)
                QTest::keyClick(d, Qt::Key_Return);
            else if (way == 1)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
        });
        about.ShowDialog(nullptr);
    }
}

} // namespace
