#include "serial/LinkErrors.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex handlerLock;
LinkErrorHandler installedHandler;

LinkErrorHandler CurrentHandler() {
    std::lock_guard<std::mutex> hold(handlerLock);
    return installedHandler;
}
}  // namespace

void SetLinkErrorHandler(LinkErrorHandler handler) {
    std::lock_guard<std::mutex> hold(handlerLock);
    installedHandler = std::move(handler);
}

const char* LinkErrorText(int kind) {
    return kind == LinkErrorCannotOpen ? "Не удалось установить соединение"
                                       : "Соединение было прервано.";
}

bool AskLinkRetry(LinkErrorKind kind, const std::string& link) {
    const char* text = LinkErrorText(kind);
    // Called outside the lock: the handler may wait for the user-interface thread, which may
    // itself be installing a handler meanwhile.
    const LinkErrorHandler handler = CurrentHandler();
    if (!handler) {
        std::fprintf(stderr, "Ошибка: %s (%s; no one to ask: taken as Cancel)\n", text,
                     link.c_str());
        return false;
    }
    return handler(kind, text);
}
