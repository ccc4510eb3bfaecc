#pragma once

namespace tikora {

// Sets the computer's clock to a local time of day, leaving today's date as it is.
class ClockSetter {
  public:
    virtual ~ClockSetter() = default;
    // False when the clock could not be set or the request could not be handed on.
    virtual bool SetLocalTimeOfDay(int hour, int minute, int second) const = 0;
};

// For programs that must never touch the clock.
class RefusingClockSetter final : public ClockSetter {
  public:
    bool SetLocalTimeOfDay(int, int, int) const override { return false; }
};

}  // namespace tikora
