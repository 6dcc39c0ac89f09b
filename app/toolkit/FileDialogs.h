#pragma once

#include <functional>
#include <string>

// The open and save dialogs. Each returns the chosen file name (UTF-8), or an empty text when
// the operator cancels.
std::string OpenFileDialog();
// `proposedName` is offered as the file name; `filter` is a name filter such as "*.csv".
std::string SaveFileDialog(const std::string& proposedName, const std::string& filter);

struct TFileDialogRequest {
    bool save = false;
    std::string proposedName;
    std::string filter;
};

// Who answers the dialogs: empty restores the real dialogs. Tests install one that reads the
// requests and gives queued file names.
using TFileDialogPresenter = std::function<std::string(const TFileDialogRequest&)>;
void SetFileDialogPresenter(TFileDialogPresenter presenter);
