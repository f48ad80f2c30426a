#include "SettingField.h"

#include "DialogSupport.h"
#include "Latin1Text.h"
#include "NodeList.h"
#include "NumericText.h"
#include "SettingRegistry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

using namespace DialogSupport;

namespace {

// A typed name in capitalised words: "a-b" gives "AB".
QString ControlName(const char* kind, const char* typed) {
    QString name = kind;
    bool upper = true;
    for (const char* c = typed; *c; ++c) {
        if (*c == '-') {
            upper = true;
            continue;
        }
        name += upper ? QChar(*c).toUpper() : QChar(*c);
        upper = false;
    }
    return name;
}

} // namespace

SettingField::SettingField(const Setting& setting, QWidget* parent, Look look) : setting_(setting) {
    // A setting no dialog has captioned yet goes by its typed name.
    const QString caption = look.caption    ? look.caption
                            : setting.shown ? setting.shown
                                            : setting.typed + QString(":");
    label_ = new QLabel(look.accessKey ? caption : PlainCaption(caption) + ":", parent);
    label_->setObjectName(ControlName("lbl", setting.typed));
    switch (setting.type) {
    case Setting::Type::Choice:
        widget_ = choices_ = new QComboBox(parent);
        for (const Choices::Row& row : *setting.choices)
            choices_->addItem(row.shown ? PlainCaption(row.shown) : QString(row.typed), row.number);
        break;
    case Setting::Type::Node:
        widget_ = nodes_ = new NodeList(parent, look.searchable);
        break;
    default:
        widget_ = text_ = new QLineEdit(parent);
        if (setting.type == Setting::Type::Probability)
            text_->setPlaceholderText("none");
        if (setting.type != Setting::Type::File)
            SelectAllOnFocus(text_);
        break;
    }
    widget_->setObjectName(ControlName(text_ ? "txt" : "cmb", setting.typed));
    widget_->setToolTip(setting.help);
    SetBuddy(label_, widget_);
}

void SettingField::SetNodes(const clsGraph& graph) {
    nodes_->SetNodes(graph);
}

void SettingField::Show(const RunSettings& settings) {
    const Setting::Value value = setting_.Get(settings);
    if (choices_) {
        choices_->setCurrentIndex(choices_->findData(std::get<int32_t>(value)));
        return;
    }
    if (nodes_) {
        nodes_->SetNode(std::get<int32_t>(value));
        return;
    }
    QString text;
    if (setting_.type == Setting::Type::Real) // as the dialogs show a number: 7 digits at most
        text = QString::fromStdString(SingleText(std::get<float>(value)));
    else if (setting_.type == Setting::Type::File)
        text = Platform::FromFileName(std::get<std::string>(value));
    else
        text = QString::fromStdString(setting_.Text(value));
    if (text_->text() != text) // the same text keeps the cursor and the selection
        text_->setText(text);
    text_->setModified(false);
}

std::optional<QString> SettingField::Read(RunSettings& settings) const {
    if (choices_) {
        if (choices_->currentIndex() >= 0)
            setting_.Set(settings, choices_->currentData().toInt());
        return std::nullopt;
    }
    if (nodes_) {
        setting_.Set(settings, nodes_->Node()); // 0 when none is picked, which names no node
        return std::nullopt;
    }
    if (setting_.type == Setting::Type::File) {
        setting_.Set(settings, Platform::ToFileName(text_->text()));
        return std::nullopt;
    }
    const QString refusal =
        setting_.refusal
            ? QString(setting_.refusal)
            : QString("Please enter %1 value correctly.").arg(PlainCaption(label_->text()));
    const std::string text = text_->text().trimmed().toStdString();
    Setting::Value value;
    if (setting_.type == Setting::Type::Real) {
        // One number as a whole, by the dialogs' check.
        const auto number = IsValidNumber(text) ? ConvertSingleStrict(text) : std::nullopt;
        if (!number)
            return refusal;
        value = *number;
    } else if (setting_.type == Setting::Type::Probability && text.empty()) {
        value = std::optional<double>();
    } else {
        try {
            value = setting_.Parse(text);
        } catch (const std::invalid_argument&) {
            return refusal;
        }
    }
    if (!setting_.Within(value))
        return refusal;
    setting_.Set(settings, value);
    return std::nullopt;
}

void SettingField::Enable(const RunSettings& settings) {
    const bool read = setting_.ReadIn(settings);
    label_->setEnabled(read);
    widget_->setEnabled(read);
}
