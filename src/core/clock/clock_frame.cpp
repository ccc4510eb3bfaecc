// SPDX-License-Identifier: MIT
#include "clock/clock_frame.h"

#include <algorithm>

#include "clock/clock_text.h"
#include "clock/internet_time.h"
#include "shared/utf8.h"

namespace tikora {

ClockFace FaceOf(const SkinSettingsRecord& skin, const ClockSettingsRecord& clock) {
    return {clock.BeatTime,
            skin.DisplayImage,
            skin.Separator,
            {skin.CharWidth, skin.CharHeight, skin.SepWidth}};
}

std::string ShownText(const TickReading& reading, const ClockFace& face) {
    if (face.beatTime) {
        return BeatText(InternetTime(reading.now, reading.zoneOffset));
    }
    return TimeText(reading.now.hour, reading.now.minute, face.separator);
}

std::chrono::milliseconds UntilShownTextChanges(const TickReading& reading, const ClockFace& face) {
    // Hours and minutes change with every minute.
    int step = std::max(60 - reading.now.second, 1);
    if (face.beatTime) {
        // The beat follows whole seconds, so it turns at the first whole second after the reading
        // whose text differs. Seeking it with the very function the tick draws with keeps the
        // wake and the picture in step through every rounding and wrap; a beat's text lasts 88 s
        // at most (@000 holds from a value of 999.5 past 1000 to 0.5).
        constexpr int kSecondsPerDay = 86400;
        constexpr int kLongestWait = 90;
        const std::string shown = ShownText(reading, face);
        const int second = reading.now.hour * 3600 + reading.now.minute * 60 + reading.now.second;
        TickReading later = reading;
        for (step = 1; step < kLongestWait; ++step) {
            const int next = (second + step) % kSecondsPerDay;
            later.now.hour = next / 3600;
            later.now.minute = next / 60 % 60;
            later.now.second = next % 60;
            if (ShownText(later, face) != shown) {
                break;
            }
        }
    }
    using std::chrono::nanoseconds;
    return std::chrono::ceil<std::chrono::milliseconds>(std::chrono::seconds{step} -
                                                        nanoseconds{reading.now.nanosecond});
}

ClockFrame ComposeFrame(const TickReading& reading, const ClockFace& face, double innerWidth,
                        double innerHeight) {
    ClockFrame frame{ShownText(reading, face), {}};
    if (face.displayImage) {
        std::u32string characters = DecodeUtf8(frame.text);
        if (!face.beatTime && face.separator.Char() == U'\0') {
            // The text leaves an empty separator out; the strip's separator cell is drawn all the
            // same, whatever the character.
            characters.insert(2, 1, U'\0');
        }
        std::int32_t position = 0;
        for (const char32_t character : characters) {
            if (const auto copy = PlaceGlyph(character, position++, face.beatTime, face.metrics,
                                             innerWidth, innerHeight)) {
                frame.glyphs.push_back(*copy);
            }
        }
    }
    return frame;
}

}  // namespace tikora
