#pragma once

#include <functional>
#include <string>

// The two link failures the operator is asked about:
// LinkErrorLost, "Соединение было прервано.": the link is closed when it is needed;
// LinkErrorCannotOpen, "Не удалось установить соединение": the device or server would not open.
enum LinkErrorKind : int {
    LinkErrorLost = 0,
    LinkErrorCannotOpen = 1,
};

// Shown when the port cannot be opened (kind 1) or is lost (kind 0). The handler shows the text
// (caption "Ошибка", error icon, Retry/Cancel) and returns true for Retry. It may be called from
// the user-interface thread (construction) or from the polling thread (send/receive).
using LinkErrorHandler = std::function<bool(int kind, const char* text)>;
// An empty handler behaves as Cancel and says so on stderr.
void SetLinkErrorHandler(LinkErrorHandler handler);

// The text of a kind, and the operator's answer through the installed handler: true for Retry.
// `link` names the link in the line written when no handler is installed.
const char* LinkErrorText(int kind);
bool AskLinkRetry(LinkErrorKind kind, const std::string& link);
