#include "clock/clock_frame.h"

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

ClockFrame ComposeFrame(const TickReading& reading, const ClockFace& face, double innerWidth,
                        double innerHeight) {
    ClockFrame frame{ShownText(reading, face), {}};
    if (face.displayImage) {
        std::int32_t position = 0;
        for (const char32_t character : DecodeUtf8(frame.text)) {
            if (const auto copy = PlaceGlyph(character, position++, face.beatTime, face.metrics,
                                             innerWidth, innerHeight)) {
                frame.glyphs.push_back(*copy);
            }
        }
    }
    return frame;
}

}  // namespace tikora
