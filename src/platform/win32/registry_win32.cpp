// SPDX-License-Identifier: MIT
#include <windows.h>

#include <optional>
#include <vector>

#include "common/modRegistry.h"
#include "platform/settings_location.h"
#include "settings/registry_format.h"
#include "win32/registry_status.h"
#include "win32/system_message.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

// The value of kCurrentUser is the 32-bit one; a 64-bit HKEY_CURRENT_USER is its sign extension.
HKEY ToHkey(RegistryKey key) {
    return key == kCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const RawValue&) const = default;
};

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// Texts come and go in UTF-8, NULs included; the registry keeps them in UTF-16, as regedit and
// every other program read them. An odd byte left at the end of a stored text is no character.
std::string ToStored(DWORD type, const std::string& data) {
    if (!IsText(type)) {
        return data;
    }
    const std::wstring wide = Widen(data);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string FromStored(DWORD type, const std::string& bytes) {
    if (!IsText(type)) {
        return bytes;
    }
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(wide.size() * 2),
              reinterpret_cast<char*>(wide.data()));
    return Narrow(wide);
}

// The whole value, read again while it grows between the two calls.
LSTATUS ReadRaw(HKEY key, const std::wstring& name, RawValue& value) {
    for (;;) {
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        value.bytes.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type,
                                  reinterpret_cast<BYTE*>(value.bytes.data()), &size);
        if (status != ERROR_MORE_DATA) {
            value.bytes.resize(size);
            return status;
        }
    }
}

LSTATUS WriteRaw(HKEY key, const std::wstring& name, const RawValue& value) {
    // The system counts a text's NUL in when the caller left it out and one follows in memory, as
    // one always does after a std::string; a text stored without its NUL must keep it out.
    const std::string bytes = value.bytes + "\xFF\xFF";
    return RegSetValueExW(key, name.c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(value.bytes.size()));
}

long OpenKey(RegistryKey root, const std::string& subKey, RegistryKey* result, bool create) {
    if (result == nullptr) {
        return kRegBadParameter;
    }
    *result = 0;
    // The same names as the Linux store takes, so that a setting fits both.
    if (!RegistryTree::IsValidKeyPath(subKey)) {
        return kRegBadParameter;
    }
    const RegistryAccess access = create ? RegistryAccess::Write : RegistryAccess::Read;
    if (subKey.empty()) {
        const LSTATUS status =
            RegQueryInfoKeyW(ToHkey(root), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr);
        *result = status == ERROR_SUCCESS ? root : 0;
        return RegistryStatus(status, access);
    }
    HKEY key = nullptr;
    const std::wstring path = Widen(subKey);
    const LSTATUS status =
        create ? RegCreateKeyExW(ToHkey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 MAXIMUM_ALLOWED, nullptr, &key, nullptr)
               : RegOpenKeyExW(ToHkey(root), path.c_str(), 0, MAXIMUM_ALLOWED, &key);
    if (status == ERROR_SUCCESS) {
        *result = reinterpret_cast<RegistryKey>(key);
    }
    return RegistryStatus(status, access);
}

// A value as it was before a write that may have to be taken back; nothing when it was absent.
struct Change {
    HKEY key = nullptr;
    std::wstring name;
    std::optional<RawValue> old;
};

LSTATUS WriteText(const SettingsValue& value, std::vector<Change>& changes) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(value.key).c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    Change change{key, Widen(value.name), RawValue{}};
    if (ReadRaw(key, change.name, *change.old) != ERROR_SUCCESS) {
        change.old.reset();
    }
    const RawValue text{REG_SZ, ToStored(REG_SZ, value.text + '\0')};
    if (change.old == text) {
        RegCloseKey(key);
        return ERROR_SUCCESS;
    }
    changes.push_back(std::move(change));
    return WriteRaw(key, changes.back().name, text);
}

void TakeBack(const std::vector<Change>& changes) {
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (change->old) {
            WriteRaw(change->key, change->name, *change->old);
        } else {
            RegDeleteValueW(change->key, change->name.c_str());
        }
    }
}

}  // namespace

long RegistryStatus(long error, RegistryAccess access) {
    switch (error) {
        case ERROR_SUCCESS:
            return kRegOk;
        case ERROR_INVALID_HANDLE:
            return kRegBadKey;
        case ERROR_INVALID_PARAMETER:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return kRegBadParameter;
        case ERROR_MORE_DATA:
            return kRegMoreData;
        default:
            return access == RegistryAccess::Read ? kRegNotFound : kRegCantWrite;
    }
}

long OpenRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result) {
    return OpenKey(root, subKey, result, false);
}

long CreateRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result) {
    return OpenKey(root, subKey, result, true);
}

long QueryRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t* type,
                        std::string* data, std::uint32_t* size) {
    if ((data != nullptr && size == nullptr) || !RegistryTree::IsValidValueName(valueName)) {
        return kRegBadParameter;
    }
    RawValue value;
    const LSTATUS status = ReadRaw(ToHkey(key), Widen(valueName), value);
    if (status != ERROR_SUCCESS) {
        return RegistryStatus(status, RegistryAccess::Read);
    }
    // Sizes count the UTF-8 bytes the caller gets, not the UTF-16 ones stored.
    std::string bytes = FromStored(value.type, value.bytes);
    if (type != nullptr) {
        *type = value.type;
    }
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    const bool fits = data == nullptr || *size >= needed;
    if (data != nullptr && fits) {
        *data = std::move(bytes);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return fits ? kRegOk : kRegMoreData;
}

long SetRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t type,
                      const std::string& data) {
    if (!RegistryTree::IsValidValueName(valueName)) {
        return kRegBadParameter;
    }
    const LSTATUS status =
        WriteRaw(ToHkey(key), Widen(valueName), RawValue{type, ToStored(type, data)});
    return RegistryStatus(status, RegistryAccess::Write);
}

// The registry changes one value at a time. A failure takes back what this call changed; a process
// killed half-way may leave some values new, which only a registry transaction could prevent.
SettingsWriteFailure WriteRegStrings(const std::vector<SettingsValue>& values) {
    for (const SettingsValue& value : values) {
        if (!RegistryTree::IsValidKeyPath(value.key) ||
            !RegistryTree::IsValidValueName(value.name)) {
            return UserSettingsFile() + ": no setting can be named \"" + value.name + "\"";
        }
    }
    std::vector<Change> changes;
    SettingsWriteFailure failure;
    for (const SettingsValue& value : values) {
        if (const LSTATUS status = WriteText(value, changes); status != ERROR_SUCCESS) {
            failure = UserSettingsFile() + ": " + SystemMessage(static_cast<DWORD>(status));
            TakeBack(changes);
            break;
        }
    }
    for (const Change& change : changes) {
        RegCloseKey(change.key);
    }
    return failure;
}

long CloseRegistryKey(RegistryKey key) {
    if (key == kCurrentUser) {
        return kRegOk;
    }
    return RegistryStatus(RegCloseKey(ToHkey(key)), RegistryAccess::Read);
}

}  // namespace tikora
