// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tikora {

// The per-user settings live as text values under two keys below the user's root.
inline constexpr char kSettingsKey[] = "Software\\Vardo Software\\Tikora";
inline constexpr char kSkinsKey[] = "Software\\Vardo Software\\Tikora\\Skins";

// One text value: the key it lies in, its name and its text.
struct SettingsValue {
    std::string key;
    std::string name;
    std::string text;

    bool operator==(const SettingsValue&) const = default;
};

// Nothing when every value was stored; otherwise why not, in words a person can act on.
using SettingsWriteFailure = std::optional<std::string>;

// Where the settings are kept between runs.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The text of a text value. A missing key or value, a value of any other type and a value
    // that cannot be read all give an empty text, which callers take as "not stored".
    virtual std::string ReadText(const std::string& key, const std::string& name) const = 0;

    // Stores these values in one change, creating their keys when missing: afterwards the store
    // holds all of them or, when the write fails or is cut short, none, and every other value as
    // it was.
    virtual SettingsWriteFailure Write(const std::vector<SettingsValue>& values) = 0;
};

}  // namespace tikora
