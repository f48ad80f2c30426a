#include "NodeList.h"

#include "Latin1Text.h"
#include "clsGraph.h"

#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

NodeList::NodeList(QWidget* parent, bool searchable) : QComboBox(parent) {
    if (!searchable)
        return;
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setPlaceholderText("type to search");
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
    completer()->setFilterMode(Qt::MatchContains);
    completer()->setCompletionMode(QCompleter::PopupCompletion);
}

void NodeList::SetNodes(const clsGraph& graph) {
    clear();
    for (int32_t i = 1; i <= graph.NodeCount(); ++i)
        addItem(Platform::FromLatin1(graph.Node(i).Label()));
}

int32_t NodeList::Node() const {
    if (!isEditable())
        return currentIndex() + 1;
    const QString text = currentText();
    if (currentIndex() >= 0 && itemText(currentIndex()) == text)
        return currentIndex() + 1;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

void NodeList::SetNode(int32_t node) {
    setCurrentIndex(node >= 1 && node <= count() ? node - 1 : -1);
}

int NodeList::Pick(const QStringList& labels, const QString& typed, int current) {
    const int count = static_cast<int>(labels.size());
    for (int i = 0; i < count; ++i) {
        if (labels[i].compare(typed, Qt::CaseInsensitive) == 0)
            return i;
    }
    // A first key goes on to the next label it starts; more keys keep the current one while it
    // still fits.
    const int start = current < 0 ? 0 : typed.size() > 1 ? current : current + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (start + k) % count;
        if (labels[i].startsWith(typed, Qt::CaseInsensitive))
            return i;
    }
    return current;
}

void NodeList::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool typing = !isEditable() && !text.isEmpty() && text[0].isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typing) {
        QComboBox::keyPressEvent(event);
        return;
    }
    // Keys typed in quick succession make one text, as in any list.
    if (!sinceKey_.isValid() || sinceKey_.elapsed() > QApplication::keyboardInputInterval())
        typed_.clear();
    sinceKey_.start();
    typed_ += text;
    QStringList labels;
    for (int i = 0; i < count(); ++i)
        labels << itemText(i);
    const int picked = Pick(labels, typed_, currentIndex());
    if (picked != currentIndex()) {
        setCurrentIndex(picked);
        emit activated(picked);
    }
}
