#pragma once

#include <functional>

// The two link failures the operator is asked about.
enum LinkErrorKind : int {
    LinkErrorLost = 0,      // "Соединение было прервано.": the port is closed when it is needed
    LinkErrorCannotOpen = 1,  // "Не удалось установить соединение": the device would not open
};

// Shown when the port cannot be opened (kind 1) or is lost (kind 0). The handler shows the text
// (caption "Ошибка", error icon, Retry/Cancel) and returns true for Retry. It may be called from
// the user-interface thread (construction) or from the polling thread (send/receive).
using LinkErrorHandler = std::function<bool(int kind, const char* text)>;
void SetLinkErrorHandler(LinkErrorHandler handler);  // empty handler: behave as Cancel, say so on stderr

// The text of a kind, and the operator's answer through the installed handler: true for Retry.
const char* LinkErrorText(int kind);
bool AskLinkRetry(int kind);
