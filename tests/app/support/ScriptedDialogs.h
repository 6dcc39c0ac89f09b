#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/toolkit/FileDialogs.h"
#include "app/toolkit/MessageBox.h"

// While it lives, message boxes and file dialogs are not shown: each takes the next queued
// answer and is recorded, so a test reads what the operator would have seen. A box without a
// queued answer gets its escape answer (Cancel, No, or OK); a dialog gets "cancelled".
class CScriptedDialogs {
public:
    CScriptedDialogs();
    ~CScriptedDialogs();
    CScriptedDialogs(const CScriptedDialogs&) = delete;
    CScriptedDialogs& operator=(const CScriptedDialogs&) = delete;

    void Answer(int answer) { answers_.push_back(answer); }
    void ChooseFile(const std::string& name) { fileNames_.push_back(name); }

    const std::vector<TMessageBoxRequest>& Boxes() const { return boxes_; }
    const std::vector<TFileDialogRequest>& FileDialogs() const { return fileDialogs_; }
    // The texts of the boxes shown so far, in order.
    std::vector<std::string> Texts() const;

private:
    std::deque<int> answers_;
    std::deque<std::string> fileNames_;
    std::vector<TMessageBoxRequest> boxes_;
    std::vector<TFileDialogRequest> fileDialogs_;
};
