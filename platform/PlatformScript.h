#pragma once
// A scripted stand-in for message boxes and file dialogs: while one is alive, every box and
// dialog is recorded and answered from its queues instead of blocking on a modal window.

#include "MessageBox.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QProgressDialog;

namespace Platform {

class FileDialog;

class PlatformScript {
  public:
    struct Message {
        QString text;
        MessageIcon icon;
        Buttons buttons;
    };
    struct FileRequest {
        bool save;
        QString filter;
        QString defaultSuffix;
        QString offeredName; // the name chosen last, offered again, or another suggested
        QString title;       // empty for the dialog's own ("Open", "Save As")
    };

    PlatformScript();
    ~PlatformScript();
    PlatformScript(const PlatformScript&) = delete;
    PlatformScript& operator=(const PlatformScript&) = delete;

    static PlatformScript* Current();

    // Answers for the next Yes/No/Cancel boxes; a box without a queued answer gets Cancel.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    // Names for the next file dialogs; nothing (the default) means the user cancelled.
    void QueueFile(std::optional<QString> path) { files_.push_back(std::move(path)); }

    // Runs while a message is "shown", e.g. to press a button in the middle of a modal loop.
    std::function<void(const Message&)> OnMessage;
    // Runs when the dialog of WaitForWork appears, e.g. to press its Cancel button.
    std::function<void(QProgressDialog&)> OnProgress;

    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<FileRequest>& FileRequests() const { return fileRequests_; }
    int UnansweredQuestions() const { return unanswered_; }
    void ClearRecords();

    Answer AnswerMessage(const QString& text, MessageIcon icon, Buttons buttons);
    std::optional<QString> AnswerFileDialog(bool save, const FileDialog& dialog,
                                            const QString& offered);

  private:
    PlatformScript* previous_;
    std::deque<Answer> answers_;
    std::deque<std::optional<QString>> files_;
    std::vector<Message> messages_;
    std::vector<FileRequest> fileRequests_;
    int unanswered_ = 0;
};

} // namespace Platform
