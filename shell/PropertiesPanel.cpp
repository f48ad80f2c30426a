#include "PropertiesPanel.h"

#include "DialogSupport.h"
#include "EditCommands.h"
#include "GraphDocument.h"
#include "Latin1Text.h"
#include "NumericText.h"
#include "PropertyChecks.h"
#include "Scrolling.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <set>

using namespace DialogSupport;

namespace {

enum Page { NothingPage, NodePage, LinkPage };

QString KindName(int32_t kind) {
    static const char* const names[] = {"Simple", "Unidirectional", "Bidirectional"};
    return kind >= 0 && kind < 3 ? names[kind] : QString("kind %1").arg(kind);
}

// Shows the value unless the user has typed into the field and it still shows the same thing.
void ShowText(QLineEdit* field, const QString& text, bool same) {
    if (same && field->isModified())
        return;
    if (field->text() != text)
        field->setText(text); // also no longer modified
    field->setModified(false);
}

} // namespace

PropertiesPanel::PropertiesPanel(GraphDocument& document, QWidget* parent)
    : QDockWidget("Properties", parent), document_(document), pages_(new QStackedWidget(this)) {
    setObjectName("PropertiesPanel");
    toggleViewAction()->setObjectName("mnuPropertiesPanel");
    toggleViewAction()->setText("P&roperties");

    lblNothing_ = Named(new QLabel(pages_), "lblNothing");
    lblNothing_->setWordWrap(true);
    lblNothing_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    pages_->addWidget(lblNothing_);

    auto* nodePage = new QWidget(pages_);
    auto* nodeForm = new QFormLayout(nodePage);
    txtLabel_ = AddField(nodeForm, "&Label:", "txtLabel", [this] { ApplyLabel(); });
    txtLabel_->setMaxLength(clsNode::LabelFieldSize);
    txtX_ = AddField(nodeForm, "&X:", "txtX", [this] { ApplyPlace(txtX_); });
    txtY_ = AddField(nodeForm, "&Y:", "txtY", [this] { ApplyPlace(txtY_); });
    lblDegree_ = Named(new QLabel(nodePage), "lblDegree");
    nodeForm->addRow("Degree:", lblDegree_);
    pages_->addWidget(nodePage);

    auto* linkPage = new QWidget(pages_);
    auto* linkForm = new QFormLayout(linkPage);
    lblKind_ = Named(new QLabel(linkPage), "lblKind");
    lblKind_->setWordWrap(true);
    linkForm->addRow("Kind:", lblKind_);
    txtWeight_ = AddField(linkForm, "&Weight:", "txtWeight", [this] { ApplyWeight(); });
    txtWeight_->setToolTip("A number, or a distribution: discrete(v:p, ...), uniform(a, b), "
                           "normal(mean, sd) or exponential(mean)");
    txtProbability_ =
        AddField(linkForm, "&Probability:", "txtProbability", [this] { ApplyProbability(); });
    lblProbability_ = qobject_cast<QLabel*>(linkForm->labelForField(txtProbability_));
    pages_->addWidget(linkPage);

    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->addWidget(pages_);
    layout->addStretch();
    setWidget(contents);
    Show(Selection());
}

QLineEdit* PropertiesPanel::AddField(QFormLayout* form, const char* caption, const char* name,
                                     std::function<void()> apply) {
    auto* label = new QLabel(caption, form->parentWidget());
    auto* field = Named(new QLineEdit(form->parentWidget()), name);
    SetBuddy(label, field);
    SelectAllOnFocus(field);
    form->addRow(label, field);
    // Nothing to do when the text is as shown: Enter alone makes no undo step. The value applied
    // is shown from now on; a refused one stays as typed.
    connect(field, &QLineEdit::returnPressed, this, [field, apply = std::move(apply)] {
        if (!field->isModified())
            return;
        field->setModified(false);
        apply();
    });
    return field;
}

void PropertiesPanel::Show(const Selection& selection) {
    Shown next;
    // As Edit > Properties: the node before the link; links chosen together take one value.
    if (selection.Together())
        next.links = selection.Links;
    else if (selection.Node >= 1)
        next.node = selection.Node;
    else if (selection.Link >= 1)
        next.links = {selection.Link};
    const bool same = next == shown_;
    shown_ = std::move(next);

    if (shown_.node >= 1) {
        ShowNode(same);
        pages_->setCurrentIndex(NodePage);
    } else if (!shown_.links.empty()) {
        ShowLinks(same);
        pages_->setCurrentIndex(LinkPage);
    } else {
        lblNothing_->setText(selection.Nodes.empty()
                                 ? "Select a node or a link to see its properties here."
                                 : QString("%1 nodes selected: select one to edit it, or links "
                                           "to give them one weight.")
                                       .arg(selection.Nodes.size()));
        pages_->setCurrentIndex(NothingPage);
    }
}

void PropertiesPanel::ShowNode(bool same) {
    const clsNode& node = document_.Graph().Node(shown_.node);
    ShowText(txtLabel_, Platform::FromLatin1(node.Label()), same);
    ShowText(txtX_, QString::number(node.Position.x), same);
    ShowText(txtY_, QString::number(node.Position.y), same);
    lblDegree_->setText(PropertyChecks::DegreeText(node.InDegree, node.OutDegree));
}

void PropertiesPanel::ShowLinks(bool same) {
    const clsGraph& graph = document_.Graph();
    std::set<int32_t> kinds;
    std::set<QString> lengths;
    for (const int32_t j : shown_.links) {
        const clsLink& link = graph.Link(j);
        kinds.insert(link.LinkType);
        lengths.insert(PropertyChecks::LengthText(link.Weight, link.Length.get()));
    }
    QStringList kindNames;
    for (const int32_t kind : kinds)
        kindNames << KindName(kind);
    const bool one = shown_.links.size() == 1;
    lblKind_->setText(
        one ? kindNames.front()
            : QString("%1 links: %2").arg(shown_.links.size()).arg(kindNames.join(", ")));
    ShowText(txtWeight_, lengths.size() == 1 ? *lengths.begin() : QString(), same);
    txtWeight_->setPlaceholderText(lengths.size() == 1 ? QString() : "several values");

    // A unidirectional link's probability is 1 / out-degree of its start, never edited; links
    // chosen together keep each its own.
    const clsLink& first = graph.Link(shown_.links.front());
    const bool editable = one && first.LinkType != LinkKind::Unidirectional;
    ShowText(txtProbability_,
             one ? QString::fromStdString(SingleText(first.Probability)) : QString(), same);
    txtProbability_->setPlaceholderText(one ? QString() : "one link at a time");
    txtProbability_->setEnabled(editable);
    lblProbability_->setEnabled(editable);
}

void PropertiesPanel::ApplyLabel() {
    const auto label = PropertyChecks::Label(txtLabel_->text());
    if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&label))
        return Refuse(refusal->message, refusal->icon == MessageIcon::Critical, txtLabel_);
    document_.Do(new RenameNodeCommand(document_, shown_.node, std::get<std::string>(label)));
}

void PropertiesPanel::ApplyPlace(QLineEdit* field) {
    // Within the scroll range, where the view can always reach it.
    bool whole = false;
    const int typed = field->text().trimmed().toInt(&whole);
    if (!whole || typed < 0 || typed > Canvas::ScrollMaximum)
        return Refuse(QString("Please enter %1 as a whole number from 0 to %2.")
                          .arg(field == txtX_ ? "X" : "Y")
                          .arg(Canvas::ScrollMaximum),
                      false, field);
    clsPosition at = document_.Graph().Node(shown_.node).Position;
    (field == txtX_ ? at.x : at.y) = typed;
    document_.Do(new MoveNodesCommand(document_, {{shown_.node, at}}));
}

void PropertiesPanel::ApplyWeight() {
    const auto length = PropertyChecks::LengthOf(txtWeight_->text());
    if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&length))
        return Refuse(refusal->message, false, txtWeight_);
    const auto& [weight, distribution] = std::get<PropertyChecks::Length>(length);
    document_.Do(
        new LinkValuesCommand(document_, shown_.links, weight, std::nullopt, distribution));
}

void PropertiesPanel::ApplyProbability() {
    const auto probability = PropertyChecks::Probability(txtProbability_->text());
    if (const auto* refusal = std::get_if<PropertyChecks::Refusal>(&probability))
        return Refuse(refusal->message, false, txtProbability_);
    const clsLink& link = document_.Graph().Link(shown_.links.front());
    document_.Do(new LinkValuesCommand(document_, shown_.links.front(), link.Weight,
                                       std::get<float>(probability), link.Length));
}

void PropertiesPanel::Refuse(const QString& message, bool critical, QLineEdit* field) {
    field->setModified(true);
    ShowMessage(this, message, critical ? MessageIcon::Critical : MessageIcon::Exclamation);
    FocusField(field);
}
