// The performance counter and millisecond clock. The real clock reads the system's
// monotonic counter; tests install a virtual one and step it by hand.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t Counter() = 0;    // current count
  virtual std::int64_t Frequency() = 0;  // counts per second
  // Milliseconds since an arbitrary start.
  virtual std::uint32_t Milliseconds() = 0;
  // Gives up the processor for `counts` of the counter, as precisely as the
  // system's timers allow.
  virtual void Sleep(std::int64_t counts) = 0;
};

// A clock that only moves when told to.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::int64_t frequency = 1'000'000) : m_frequency(frequency) {}
  std::int64_t Counter() override { return m_counter; }
  std::int64_t Frequency() override { return m_frequency; }
  std::uint32_t Milliseconds() override {
    return static_cast<std::uint32_t>(m_counter * 1000 / m_frequency);
  }
  // Sleeping only moves the counter on.
  void Sleep(std::int64_t counts) override {
    if (counts > 0) m_counter += counts;
  }
  void Set(std::int64_t counter) { m_counter = counter; }
  void Advance(std::int64_t counts) { m_counter += counts; }

 private:
  std::int64_t m_counter = 0;
  std::int64_t m_frequency;
};

// The clock everything reads. Installing nullptr restores the real clock.
Clock& GetClock();
void SetClock(Clock* clock);

// Shorthands for the active clock.
inline std::int64_t QueryCounter() { return GetClock().Counter(); }
inline std::int64_t QueryFrequency() { return GetClock().Frequency(); }
inline std::uint32_t Milliseconds() { return GetClock().Milliseconds(); }

}  // namespace platform
