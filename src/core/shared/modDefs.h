// SPDX-License-Identifier: MIT
#pragma once

// The process-wide records that every window and module reads and writes directly. Each exists
// once for the whole run; tests put them back to their start-of-process state with
// ResetSharedState().

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tikora {

// A 16-bit Boolean that only ever holds -1 (True) or 0 (False), so a test against -1 and a test
// for non-zero always agree.
class Boolean {
  public:
    constexpr Boolean() = default;
    constexpr Boolean(bool value) : value_(value ? -1 : 0) {}  // NOLINT: deliberate conversion
    constexpr operator bool() const { return value_ != 0; }    // NOLINT
    constexpr std::int16_t Raw() const { return value_; }

  private:
    std::int16_t value_ = 0;
};

// A fixed-width text field of exactly one character. Assigning a longer text keeps its first
// character; assigning an empty text leaves the NUL character.
class OneCharText {
  public:
    OneCharText& operator=(std::string_view utf8);
    char32_t Char() const { return char_; }
    std::string Utf8() const;

  private:
    char32_t char_ = U'\0';
};

// Eight texts indexed 0 to 7. Every access checks the index: a read outside the range gives an
// empty text and a write outside it changes nothing.
class ServerTexts {
  public:
    static constexpr int kCount = 8;
    std::string_view Get(int index) const;
    void Set(int index, std::string text);

  private:
    std::array<std::string, kCount> texts_;
};

struct SkinSettingsRecord {
    std::string CurrentSkinPath;
    std::string CurrentSkinFile;
    std::string DefaultSkinPath;
    std::string DefaultSkinFile;
    Boolean DisplayImage;
    OneCharText Separator;
    float CharWidth = 0;
    float CharHeight = 0;
    float SepWidth = 0;
};

struct ClockSettingsRecord {
    Boolean BeatTime;
};

struct DockStateRecord {
    std::uint32_t TrayClockHwnd = 0;  // X11 window ids are 32 bits wide, as the handles are
    std::int32_t TwipsPerPixelX = 0;
    std::int32_t TwipsPerPixelY = 0;
};

struct AtomicTimeStateRecord {
    std::string AtomicTimeText;
    std::string LocalTimeText;
    float AtomicTimeStamp = 0;
    float LocalTimeStamp = 0;
    ServerTexts ServerNames;
    ServerTexts ServerHosts;
    ServerTexts ServerAddresses;
};

extern SkinSettingsRecord SkinSettings;
extern ClockSettingsRecord ClockSettings;
extern DockStateRecord DockState;
extern AtomicTimeStateRecord AtomicTimeState;

// Every field back to zero or empty, as at process start.
void ResetSharedState();

}  // namespace tikora
