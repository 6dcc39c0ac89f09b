#include "support/ScriptedDialogs.h"

namespace {
int EscapeAnswer(unsigned flags) {
    switch (flags & 0xF) {
        case MB_YESNO:
            return IDNO;
        case MB_RETRYCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
    }
}
}  // namespace

CScriptedDialogs::CScriptedDialogs() {
    SetMessageBoxPresenter([this](const TMessageBoxRequest& request) {
        boxes_.push_back(request);
        if (answers_.empty()) return EscapeAnswer(request.flags);
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
    SetFileDialogPresenter([this](const TFileDialogRequest& request) {
        fileDialogs_.push_back(request);
        if (fileNames_.empty()) return std::string();
        std::string name = fileNames_.front();
        fileNames_.pop_front();
        return name;
    });
}

CScriptedDialogs::~CScriptedDialogs() {
    SetMessageBoxPresenter({});
    SetFileDialogPresenter({});
}

std::vector<std::string> CScriptedDialogs::Texts() const {
    std::vector<std::string> texts;
    for (const TMessageBoxRequest& box : boxes_) texts.push_back(box.text);
    return texts;
}
