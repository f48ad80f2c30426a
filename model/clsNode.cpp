#include "clsNode.h"

#include "DocumentStream.h"
#include "PathloomError.h"

#include <algorithm>
#include <cstring>
#include <string_view>

std::string clsNode::Label() const {
    const auto end = std::find(labelField_.begin(), labelField_.end(), '\0');
    return std::string(labelField_.begin(), end);
}

bool clsNode::ForbiddenInLabel(char c) {
    return std::string_view("{}(), ->").find(c) != std::string_view::npos;
}

void clsNode::CheckLabel(const std::string& newValue) {
    if (std::any_of(newValue.begin(), newValue.end(), ForbiddenInLabel)) {
        // "connot" is kept on purpose: the message has always read so.
        Raise("Node.Label", "A node name connot contain any of the following characters:\r\n"
                            "{ } ( ) , Space - >");
    }
}

void clsNode::SetLabel(const std::string& newValue) {
    CheckLabel(newValue);
    const std::size_t length = std::min<std::size_t>(newValue.size(), LabelFieldSize - 1);
    labelField_.fill(' ');
    std::memcpy(labelField_.data(), newValue.data(), length);
    labelField_[length] = '\0';
}

void clsNode::Save(DocumentWriter& file) const {
    file.WriteInt32(ID);
    file.WriteBytes(labelField_.data(), labelField_.size());
    Position.Save(file);
}

void clsNode::Load(DocumentReader& file) {
    ID = file.ReadInt32();
    LabelField field;
    file.ReadBytes(field.data(), field.size());
    SetLabelz(field);
    Position.Load(file);
}
