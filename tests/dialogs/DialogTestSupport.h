#pragma once
// Driving a modal dialog from a test: its script, and its fields filled and read as text.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace DialogTest {

// A dialog the script leaves open fails the test and is cancelled, so that no test hangs.
inline void WhenShown(std::function<void(QDialog*)> script) {
    QTimer::singleShot(0, [script] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog && QTest::qWaitForWindowActive(dialog));
        script(dialog);
        if (dialog && dialog->isVisible()) {
            ADD_FAILURE() << "the script left " << dialog->objectName().toStdString() << " open";
            dialog->reject();
        }
    });
}

template <typename T = QWidget> T* Get(QWidget* dialog, const QString& name) {
    T* widget = dialog->findChild<T*>(name);
    if (!widget)
        qFatal("%s has no control %s", qPrintable(dialog->objectName()), qPrintable(name));
    return widget;
}
inline const auto Edit = [](QWidget* d, const char* name) { return Get<QLineEdit>(d, name); };
inline const auto Click = [](QWidget* d, const char* b) { Get<QAbstractButton>(d, b)->click(); };
inline std::string FocusName(QWidget* dialog) {
    return dialog->focusWidget() ? dialog->focusWidget()->objectName().toStdString() : "";
}

// Sets fields as a user would, "NAME=VALUE|NAME=VALUE": a box's text, a list's index, x to check
// a check box or a radio button.
inline void Fill(QWidget* dialog, const std::string& fields) {
    for (const QString& field : QString::fromStdString(fields).split('|', Qt::SkipEmptyParts)) {
        QWidget* control = Get(dialog, field.section('=', 0, 0));
        const QString value = field.section('=', 1);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(value);
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setCurrentIndex(value.toInt());
        else if (auto* list = qobject_cast<QListWidget*>(control))
            list->setCurrentRow(value.toInt());
        else if (auto* spin = qobject_cast<QSpinBox*>(control))
            spin->setValue(value.toInt());
        else
            qobject_cast<QAbstractButton*>(control)->setChecked(value == "x");
    }
}

// The named controls in the order they were made: a box's text, a list's choice (-1 for none),
// x or - for a check; ! marks a disabled control, and a disabled label shows only that.
inline std::string Values(QWidget* dialog) {
    QStringList values;
    for (QWidget* w : dialog->findChildren<QWidget*>(QRegularExpression("^[^q]"))) {
        const auto* list = qobject_cast<QListWidget*>(w);
        const auto* check = qobject_cast<QAbstractButton*>(w);
        QString value = w->isEnabled() ? "" : "!";
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            value += edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            value += QString::number(combo->currentIndex());
        else if (list)
            value += list->selectedItems().isEmpty() ? "-1" : QString::number(list->currentRow());
        else if (check && check->isCheckable())
            value += check->isChecked() ? "x" : "-";
        else if (w->isEnabled())
            continue;
        values << value;
    }
    return values.join(' ').toStdString();
}

} // namespace DialogTest
