#pragma once

#include <chrono>
#include <thread>

// Asks the condition every 20 ms until it holds or ms milliseconds have passed; whether
// it came to hold.
template <class Condition>
bool Eventually(Condition condition, long ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() >= end)
            return false;
    return true;
}
