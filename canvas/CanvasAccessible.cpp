#include "CanvasAccessible.h"

#include "CanvasWidget.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <map>

namespace {

// One node; it reads the window's answers each time, so that it never tells a stale label.
class NodeInterface : public QAccessibleInterface {
  public:
    NodeInterface(CanvasWidget* canvas, int32_t node) : canvas_(canvas), node_(node) {}

    bool isValid() const override {
        return canvas_ && canvas_->Nodes().count && node_ <= canvas_->Nodes().count();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return canvas_ ? canvas_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(canvas_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return QString();
        if (t == QAccessible::Name)
            return Facts().name;
        return t == QAccessible::Description ? Facts().description : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return isValid() ? QRect(canvas_->mapToGlobal(Facts().rect.topLeft()), Facts().rect.size())
                         : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.focusable = state.selectable = true;
        state.selected = Facts().selected;
        state.focused = state.selected && canvas_->hasFocus();
        state.offscreen = !canvas_->rect().intersects(Facts().rect);
        return state;
    }

    int32_t Node() const { return node_; }

  private:
    NodeFacts Facts() const { return canvas_->Nodes().facts(node_); }

    QPointer<CanvasWidget> canvas_;
    int32_t node_;
};

// The canvas with its nodes as children, made as a screen reader asks for them.
class CanvasInterface : public QAccessibleWidget {
  public:
    explicit CanvasInterface(CanvasWidget* canvas) : QAccessibleWidget(canvas) {}
    ~CanvasInterface() override {
        for (const auto& [node, id] : children_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        return Canvas()->Nodes().count ? static_cast<int>(Canvas()->Nodes().count()) : 0;
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        const int32_t node = index + 1;
        auto made = children_.find(node);
        if (made == children_.end())
            made = children_
                       .emplace(node, QAccessible::registerAccessibleInterface(
                                          new NodeInterface(Canvas(), node)))
                       .first;
        return QAccessible::accessibleInterface(made->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* node = dynamic_cast<const NodeInterface*>(child);
        return node && node->parent() == this ? node->Node() - 1 : -1;
    }
    QAccessibleInterface* focusChild() const override {
        const int32_t node = Canvas()->Nodes().focused ? Canvas()->Nodes().focused() : -1;
        return Canvas()->hasFocus() && node >= 1 ? child(node - 1) : nullptr;
    }

  private:
    CanvasWidget* Canvas() const { return static_cast<CanvasWidget*>(widget()); }

    mutable std::map<int32_t, QAccessible::Id> children_;
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    if (key == QLatin1String("CanvasWidget") && object && object->isWidgetType())
        return new CanvasInterface(static_cast<CanvasWidget*>(object));
    return nullptr;
}

} // namespace

namespace CanvasAccessible {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace CanvasAccessible
