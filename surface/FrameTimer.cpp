#include "FrameTimer.h"

#include <algorithm>
#include <limits>

namespace vedivez {

namespace {

// a ÷ b rounded to nearest, halves to even (banker's rounding).
uint64_t DivideRoundHalfEven(uint64_t a, uint64_t b) {
    const uint64_t quotient = a / b;
    const uint64_t twiceRemainder = 2 * (a % b);
    if (twiceRemainder > b || (twiceRemainder == b && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

} // namespace

void FrameTimer::Start(uint32_t now) {
    active_ = true;
    lastTick_ = now;
    windowStart_ = now;
}

std::optional<int> FrameTimer::Poll(uint32_t now) {
    if (!Enabled || (ActiveOnly && !active_))
        return std::nullopt;
    // Unsigned subtraction keeps the differences right across the clock's wrap-around.
    const uint32_t elapsed = now - lastTick_;
    const uint32_t interval = static_cast<uint32_t>(std::max(Interval, 0));
    if (elapsed < interval)
        return std::nullopt;
    lastTick_ = now;
    const uint32_t lag = interval == 0 ? 1 : std::max<uint32_t>(elapsed / interval, 1);
    ++frameCount_;
    const uint32_t span = std::max<uint32_t>(now - windowStart_, 1);
    if (span >= 1000) {
        frameRate_ = static_cast<int>(std::min<uint64_t>(
            DivideRoundHalfEven(frameCount_ * 1000, span), std::numeric_limits<int>::max()));
        frameCount_ = 0;
        windowStart_ = now;
    }
    return static_cast<int>(std::min<uint32_t>(lag, std::numeric_limits<int>::max()));
}

} // namespace vedivez
