#pragma once

#include <functional>
#include <string>

// The message box of the whole program: no owner window, modal, callable from any thread (a
// worker's call is shown on the user-interface thread and waits for the answer), its text plain. Flags and
// answers keep the classic values, so callers read as the message they show.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_RETRYCANCEL = 0x5;
// OK, and "Відкрити папку" beside it, for a file that was written where the text says.
constexpr unsigned MB_OKOPENFOLDER = 0x7;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_TASKMODAL = 0x2000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDOPENFOLDER = 100;

struct TMessageBoxRequest {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    unsigned flags = MB_OK;
};

// Shows the box and returns the answer: IDOK, IDYES, IDNO, IDRETRY, IDOPENFOLDER or IDCANCEL
// (also when the box is closed without a button). An empty caption shows as empty.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);
// The plain message: the program's name as caption, no icon, one OK button.
void ShowMessage(const std::string& text);

// Who answers the boxes: empty restores the real dialog. Tests install one that reads the
// texts and gives queued answers. It is called on the user-interface thread.
using TMessageBoxPresenter = std::function<int(const TMessageBoxRequest&)>;
void SetMessageBoxPresenter(TMessageBoxPresenter presenter);
