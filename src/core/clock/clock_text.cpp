// SPDX-License-Identifier: MIT
#include "clock/clock_text.h"

#include "shared/numeric.h"

namespace tikora {
namespace {

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 11);
    for (int pad = count; pad < width; ++pad) {
        out.push_back('0');
    }
    while (count > 0) {
        out.push_back(digits[--count]);
    }
}

}  // namespace

std::string TimeText(int hour, int minute, const OneCharText& separator) {
    std::string text;
    text.reserve(8);
    AppendDigits(text, hour, 2);
    if (separator.Char() != U'\0') {  // an empty separator shows nothing, not a box for NUL
        text += separator.Utf8();
    }
    AppendDigits(text, minute, 2);
    return text;
}

std::string BeatText(double beatValue) {
    int beat = RoundHalfEven(beatValue);
    if (beat == 1000) {
        beat = 0;
    }
    // The beat value never leaves 0..1000; anything else would be a broken time source, and the
    // text stays four characters whatever happens.
    if (beat < 0 || beat > 999) {
        beat = 0;
    }
    std::string text = "@";
    AppendDigits(text, beat, 3);
    return text;
}

}  // namespace tikora
