// SPDX-License-Identifier: MIT
#include "shared/modDefs.h"

#include "shared/utf8.h"

namespace tikora {

SkinSettingsRecord SkinSettings;
ClockSettingsRecord ClockSettings;
DockStateRecord DockState;
AtomicTimeStateRecord AtomicTimeState;

void ResetSharedState() {
    SkinSettings = {};
    ClockSettings = {};
    DockState = {};
    AtomicTimeState = {};
}

OneCharText& OneCharText::operator=(std::string_view utf8) {
    char_ = FirstCodePoint(utf8);
    return *this;
}

std::string OneCharText::Utf8() const {
    std::string out;
    AppendUtf8(out, char_);
    return out;
}

std::string_view ServerTexts::Get(int index) const {
    if (index < 0 || index >= kCount) {
        return {};
    }
    return texts_[static_cast<std::size_t>(index)];
}

void ServerTexts::Set(int index, std::string text) {
    if (index < 0 || index >= kCount) {
        return;
    }
    texts_[static_cast<std::size_t>(index)] = std::move(text);
}

}  // namespace tikora
