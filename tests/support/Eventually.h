#pragma once

#include <chrono>
#include <thread>

// Asks the condition every 20 ms until it holds, for up to ms milliseconds; whether it
// came to hold. It is asked once more when the time is up, so a slow machine that
// wakes late still sees the last state.
template <class Condition>
bool Eventually(Condition condition, long ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
