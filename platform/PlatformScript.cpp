#include "PlatformScript.h"

#include "FileDialog.h"

#include <QFileInfo>

namespace Platform {

namespace {
PlatformScript* current = nullptr;
}

PlatformScript::PlatformScript() : previous_(current) {
    current = this;
}

PlatformScript::~PlatformScript() {
    current = previous_;
}

PlatformScript* PlatformScript::Current() {
    return current;
}

void PlatformScript::ClearRecords() {
    messages_.clear();
    fileRequests_.clear();
    unanswered_ = 0;
}

Answer PlatformScript::AnswerMessage(const QString& text, MessageIcon icon, Buttons buttons) {
    messages_.push_back({text, icon, buttons});
    if (OnMessage)
        OnMessage(messages_.back());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers_.empty()) {
        ++unanswered_;
        return Answer::Cancel;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> PlatformScript::AnswerFileDialog(bool save, const FileDialog& dialog,
                                                        const QString& offered) {
    fileRequests_.push_back(
        {save, dialog.Filter(), dialog.DefaultSuffix(), offered, dialog.Title()});
    if (files_.empty())
        return std::nullopt;
    std::optional<QString> path = files_.front();
    files_.pop_front();
    // As the real dialog does, a bare name gets the default suffix.
    if (path && save && QFileInfo(*path).suffix().isEmpty() && !dialog.DefaultSuffix().isEmpty())
        *path += "." + dialog.DefaultSuffix();
    return path;
}

} // namespace Platform
