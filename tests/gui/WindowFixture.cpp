#include "WindowFixture.h"

#include "DocumentFile.h"
#include "Latin1Text.h"

#include <QLocale>
#include <QTest>

void WindowFixture::SetUp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(folder.isValid());
    window = std::make_unique<frmMain>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowFixture::TearDown() {
    // The window is destroyed, not closed: closing would ask about unsaved changes.
    window.reset();
    EXPECT_EQ(script.UnansweredQuestions(), 0) << "a question came that the test did not expect";
}

QAction* WindowFixture::Action(const char* name) const {
    auto* action = window->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
}

QWidget* WindowFixture::Widget(const char* name) const {
    auto* widget = window->findChild<QWidget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QScrollBar* WindowFixture::Scroll(const char* name) const {
    return window->findChild<QScrollBar*>(name);
}

QString WindowFixture::Status() const {
    return window->findChild<QLabel*>("StatusPanel1")->text();
}

void WindowFixture::WriteDocument(const QString& path, const std::vector<QPoint>& nodes,
                                  const std::vector<LinkSpec>& links) const {
    clsLA la;
    for (const QPoint& p : nodes)
        la.Graph().AddNode(p.x(), p.y());
    for (const LinkSpec& l : links) {
        la.Graph().AddLink(l.from, l.to, l.kind);
        la.Graph().Link(la.Graph().LinkCount()).Weight = l.weight;
    }
    SaveGraph(la, Platform::ToFileName(path));
}

QStringList WindowFixture::Messages() const {
    QStringList texts;
    for (const auto& m : script.Messages())
        texts << m.text;
    return texts;
}
