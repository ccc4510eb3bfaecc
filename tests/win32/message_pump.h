// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace tikora::test {

// Runs the thread's messages, those they post in turn included, until `done` holds or `limit`
// has passed; false on the deadline. `taken` may deal with a message first, as a program's loop
// does with its dialog keys.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5),
                      const std::function<bool(MSG&)>& taken = {}) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!taken || !taken(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (done() || left.count() <= 0) {
            return done();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
}

// Only the messages waiting now.
inline void DispatchWaiting() {
    PumpUntil([] { return true; });
}

}  // namespace tikora::test
