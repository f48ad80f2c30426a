#pragma once
// Driving a modal dialog from a test: the script runs once the dialog is open and must close it.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace DialogTest {

// Runs script on the next modal dialog once it is open. A dialog that the script leaves open
// is a failure and is cancelled, so that a broken test never hangs.
inline void WhenShown(std::function<void(QDialog*)> script) {
    QTimer::singleShot(0, [script] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog is open";
            return;
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        script(dialog);
        if (dialog && dialog->isVisible()) {
            ADD_FAILURE() << "the script left " << dialog->objectName().toStdString() << " open";
            dialog->reject();
        }
    });
}

// The dialog's control of that name; a missing control ends the test program at once.
template <typename T> T* Get(QWidget* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(name);
    if (!widget) {
        std::fprintf(stderr, "%s has no control %s of the expected kind\n",
                     dialog->objectName().toStdString().c_str(), name);
        std::abort();
    }
    return widget;
}
inline QLineEdit* Edit(QWidget* dialog, const char* name) {
    return Get<QLineEdit>(dialog, name);
}
inline QPushButton* Button(QWidget* dialog, const char* name) {
    return Get<QPushButton>(dialog, name);
}

// The name of the control that has the focus in the dialog ("" for none).
inline std::string FocusName(QWidget* dialog) {
    QWidget* focus = dialog->focusWidget();
    return focus ? focus->objectName().toStdString() : "";
}

// Tabs from one text box to the next and expects the next one to have its whole text selected.
inline void ExpectTabSelectsAll(QWidget* dialog, const char* from, const char* to) {
    Edit(dialog, from)->setFocus();
    Edit(dialog, to)->deselect();
    QTest::keyClick(Edit(dialog, from), Qt::Key_Tab);
    ASSERT_EQ(FocusName(dialog), to);
    EXPECT_FALSE(Edit(dialog, to)->text().isEmpty());
    EXPECT_EQ(Edit(dialog, to)->selectedText(), Edit(dialog, to)->text()) << to;
}

} // namespace DialogTest
