#pragma once

#include <cstdint>
#include <optional>

namespace vedivez {

// The frame timer's tick rule as plain logic over a wrapping 32-bit millisecond clock, so the
// application can drive it from a Qt timer and tests can feed it invented times.
class FrameTimer {
public:
    // Shortest time between two ticks, in milliseconds.
    int Interval = 16;
    // When true, the timer ticks only between Start/Activate and Deactivate.
    bool ActiveOnly = true;
    // A disabled timer never ticks.
    bool Enabled = true;

    // Starts (or resumes) ticking: the last tick and the frame-rate window are set to now,
    // while frames already counted in the unfinished window are kept.
    void Start(uint32_t now);
    // The application became active again; the same as Start.
    void Activate(uint32_t now) { Start(now); }
    // The application lost activation; polling stops until the next Start/Activate.
    void Deactivate() { active_ = false; }
    bool Active() const { return active_; }

    // Checks the clock. Returns the lag count (whole intervals since the last tick, at least
    // 1) when this poll is a tick, and nothing otherwise.
    std::optional<int> Poll(uint32_t now);

    // Ticks per second over the last completed window of at least one second; 0 until then.
    int FrameRate() const { return frameRate_; }

private:
    bool active_ = false;
    uint32_t lastTick_ = 0;
    uint32_t windowStart_ = 0;
    uint64_t frameCount_ = 0;
    int frameRate_ = 0;
};

} // namespace vedivez
