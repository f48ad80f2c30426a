#include "frmFind.h"

#include "FormDialog.h"
#include "NodeList.h"
#include "clsGraph.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// A node list that filters and completes what is typed into it.
struct SearchableNodeList : NodeList {
    explicit SearchableNodeList(QWidget* parent) : NodeList(parent, true) {}
};

class Form : public FormDialog {
  public:
    Form(QWidget* owner, const clsGraph& graph, int32_t after, const QString& last)
        : FormDialog(owner, "frmFind", "Find"), after_(after) {
        cmbFind = Field<SearchableNodeList>("Find &what:", "cmbFind");
        cmbFind->SetNodes(graph);
        for (int i = 0; i < cmbFind->count(); ++i)
            labels_ << cmbFind->itemText(i);
        cmbFind->setEditText(last);
        cmbFind->lineEdit()->selectAll();
        OkButton()->setText("&Find");
        const auto typed = [this] { OkButton()->setEnabled(!Text().isEmpty()); };
        connect(cmbFind, &QComboBox::editTextChanged, this, typed);
        typed();
        connect(OkButton(), &QPushButton::clicked, this, [this] { cmdOK_Click(); });
        Finish(cmbFind);
    }

    QString Text() const { return cmbFind->currentText().trimmed(); }

    NodeList* cmbFind;
    std::optional<int32_t> found;

  private:
    void cmdOK_Click() {
        const int place = frmFind::Find(labels_, Text(), after_ >= 1 ? after_ - 1 : -1);
        if (place < 0) {
            DialogSupport::ShowMessage(this, "No node's label contains \"" + Text() + "\".",
                                       MessageIcon::Exclamation);
            DialogSupport::FocusField(cmbFind);
            return;
        }
        found = place + 1;
        accept();
    }

    int32_t after_;
    QStringList labels_;
};

} // namespace

int frmFind::Find(const QStringList& labels, const QString& text, int after) {
    if (text.isEmpty())
        return -1;
    const int count = static_cast<int>(labels.size());
    // The labels equal to the text when there are any, else those that contain it.
    for (const bool whole : {true, false}) {
        for (int k = 1; k <= count; ++k) {
            const int i = (after + k + count) % count;
            if (whole ? labels[i].compare(text, Qt::CaseInsensitive) == 0
                      : labels[i].contains(text, Qt::CaseInsensitive))
                return i;
        }
    }
    return -1;
}

std::optional<int32_t> frmFind::ShowDialog(QWidget* owner, const clsGraph& graph, int32_t after) {
    Form window(owner, graph, after, last_);
    window.exec();
    if (window.found)
        last_ = window.Text();
    return window.found;
}
