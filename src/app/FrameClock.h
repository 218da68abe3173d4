#pragma once

#include <chrono>
#include <functional>
#include <memory>

// A sequence plays at 1 to this many frames per second.
inline constexpr int kMaxFramesPerSecond = 60;

// What turns the frames of a playing sequence: a timer in the window, a clock turned by hand in
// tests. Runs on the GUI thread; `tick` is called from its event loop.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    // Calls `tick` every `interval` from now on, until Stop.
    virtual void Start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
    virtual bool Runs() const = 0;
};

// A precise QTimer: frames keep their pace to the millisecond.
std::unique_ptr<FrameClock> MakeTimerClock();
