// SPDX-License-Identifier: MIT
#pragma once

// One tick's picture, worked out from what the tick passes in: one reading of the clock and the
// zone, the mode, the skin's values and the window's size. Nothing here reads a clock or a global.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "clock/glyph_layout.h"
#include "shared/modDefs.h"
#include "shared/time_types.h"

namespace tikora {

// The local clock and the zone offset, each read once for the whole tick.
struct TickReading {
    LocalTime now;
    std::int32_t zoneOffset = 0;  // minutes, local time minus UTC
};

// How the time is shown: the menu's choice and the loaded skin's values.
struct ClockFace {
    bool beatTime = false;      // Internet Time instead of hours and minutes
    bool displayImage = false;  // cells of the strip instead of text in the skin's font
    OneCharText separator;
    GlyphMetrics metrics;
};

// The face the records describe: the mode from the clock's settings, the rest from the skin's.
ClockFace FaceOf(const SkinSettingsRecord& skin, const ClockSettingsRecord& clock);

// What a tick draws into picBuffer once it has cleared it.
struct ClockFrame {
    // The shown text; in text mode it is measured and drawn as it is.
    std::string text;
    // In image mode, the strip's cells for the text, left to right; nothing in text mode.
    std::vector<GlyphCopy> glyphs;
};

// The text shown for a reading: "@" and the beat, or the hours, the separator and the minutes.
std::string ShownText(const TickReading& reading, const ClockFace& face);

// The frame for a window of the given inner size, in pixels.
ClockFrame ComposeFrame(const TickReading& reading, const ClockFace& face, double innerWidth,
                        double innerHeight);

// How long the shown text stays as it is from the reading on, rounded up to whole milliseconds:
// until the next minute, or until the rounded beat turns. The zone offset is taken to hold; a
// change of offset that keeps the local time running (daylight saving) moves the beat not at all,
// and the minute is the same in any zone the world uses. A text that never changes (a zone offset
// out of any real range) is read again after 90 s.
std::chrono::milliseconds UntilShownTextChanges(const TickReading& reading, const ClockFace& face);

}  // namespace tikora
