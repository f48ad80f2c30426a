#include "WindowFixture.h"

#include "DocumentFile.h"
#include "Latin1Text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>

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

void WindowFixture::PressButton(const char* key) {
    QAction* action = Action(key);
    auto* bar = qobject_cast<QToolBar*>(action->parent());
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
}

void WindowFixture::Click(QPoint at, Qt::MouseButton button) {
    QTest::mouseClick(window->Canvas(), button, {}, at);
}

void WindowFixture::Drag(QPoint from, QPoint to, int steps) {
    QTest::mousePress(window->Canvas(), Qt::LeftButton, {}, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(window->Canvas(), from + (to - from) * i / steps);
    QTest::mouseRelease(window->Canvas(), Qt::LeftButton, {}, to);
}

void WindowFixture::DoubleClick(QPoint at) {
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       window->Canvas()->mapTo(window.get(), at));
}

void WindowFixture::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void WindowFixture::AnswerDialog(QString* name, const char* button,
                                 std::function<void(QWidget*)> fill) {
    QTimer::singleShot(0, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        *name = dialog->objectName();
        if (fill)
            fill(dialog);
        dialog->findChild<QAbstractButton*>(button)->click();
        if (dialog->isVisible()) {
            ADD_FAILURE() << name->toStdString() << " stayed open after " << button;
            dialog->close();
        }
    });
}

void WindowFixture::StartRun(const RunChoice& choice) {
    static QString shown;
    AnswerDialog(&shown, "cmdOK", [choice](QWidget* dialog) {
        dialog->findChild<QComboBox*>("cmbModel")->setCurrentIndex(0);
        dialog->findChild<QListWidget*>("lstType")->setCurrentRow(0);
        dialog->findChild<QLineEdit*>("txtReward")->setText("0.1");
        dialog->findChild<QLineEdit*>("txtLearningFactor")->setText("0");
        dialog->findChild<QRadioButton*>(QString("optSearchMethod%1").arg(choice.method))
            ->setChecked(true);
        dialog->findChild<QComboBox*>("cmbSource")->setCurrentIndex(choice.source);
        dialog->findChild<QComboBox*>("cmbDest")->setCurrentIndex(choice.dest);
        dialog->findChild<QCheckBox*>("chkEnableDelay")->setChecked(choice.stepDelay);
    });
    PressButton("Start");
}

void WindowFixture::WorkUntilPauseOrEnd() {
    while (window->IsWorking() && !window->Run().Paused())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}
