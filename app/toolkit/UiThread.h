#pragma once

#include <functional>

// The user-interface thread is the thread of the application object. Without an application
// object (headless use) every thread counts as the user-interface thread.
bool IsUiThread();

// Runs `call` on the user-interface thread and returns once it has run. On that thread itself
// it runs directly: a blocking queued call into the caller's own thread would never return.
void RunOnUiThread(const std::function<void()>& call);
