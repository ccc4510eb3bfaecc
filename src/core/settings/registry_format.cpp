// SPDX-License-Identifier: MIT
#include "settings/registry_format.h"

#include <algorithm>

#include "shared/utf8.h"

namespace tikora {
namespace {

constexpr std::string_view kFirstLine = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::uint32_t kText = 1;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kNumber = 4;
// Hex lists wrap at about this column, as regedit's do, so the file stays readable.
constexpr std::size_t kWrapColumn = 76;

std::string Fold(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return folded;
}

bool StartsWithFolded(std::string_view text, std::string_view lowerPrefix) {
    return Fold(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

// Lines ended by LF or CRLF.
class Lines {
  public:
    explicit Lines(std::string_view text) : rest_(text) {}

    std::optional<std::string_view> Next() {
        if (done_) {
            return std::nullopt;
        }
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        done_ = end == std::string_view::npos;
        rest_.remove_prefix(done_ ? rest_.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        return line;
    }

  private:
    std::string_view rest_;
    bool done_ = false;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// One to eight hex digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number << 4 | static_cast<std::uint32_t>(digit);
    }
    return number;
}

// "41,00,42": bytes of one or two hex digits, separated by commas.
std::optional<std::string> ParseHexBytes(std::string_view list) {
    std::string bytes;
    if (TrimBlanks(list).empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view item = TrimBlanks(list.substr(0, comma));
        const std::optional<std::uint32_t> byte =
            item.size() <= 2 ? ParseHexNumber(item) : std::nullopt;
        if (!byte) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
        if (comma == std::string_view::npos) {
            return bytes;
        }
        list.remove_prefix(comma + 1);
    }
}

// The text inside the double quotes that open `text`, with "\\" and "\"" undone (no other escape
// exists); `text` is left after the closing quote.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    if (!text.starts_with('"')) {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (text[i] == '\\') {
            if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
                return std::nullopt;
            }
            ++i;
        }
        out += text[i];
    }
    return std::nullopt;
}

// What follows the "=" of a value line; a hex list may go on over the next lines while a line
// ends in "\".
std::optional<RegistryValue> ParseData(std::string_view data, Lines& lines) {
    if (data.starts_with('"')) {
        std::optional<std::string> text = TakeQuoted(data);
        if (!text || !data.empty()) {
            return std::nullopt;
        }
        text->push_back('\0');
        return RegistryValue{kText, std::move(*text)};
    }
    if (StartsWithFolded(data, "dword:")) {
        const std::optional<std::uint32_t> number = ParseHexNumber(data.substr(6));
        if (!number) {
            return std::nullopt;
        }
        std::string bytes;
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>(*number >> shift & 0xFF);
        }
        return RegistryValue{kNumber, bytes};
    }
    std::uint32_t type = kBinary;
    if (StartsWithFolded(data, "hex:")) {
        data.remove_prefix(4);
    } else if (StartsWithFolded(data, "hex(")) {
        const std::size_t close = data.find("):");
        const std::optional<std::uint32_t> number = close == std::string_view::npos
                                                        ? std::nullopt
                                                        : ParseHexNumber(data.substr(4, close - 4));
        if (!number) {
            return std::nullopt;
        }
        type = *number;
        data.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    std::string list(data);
    while (list.ends_with('\\')) {
        list.pop_back();
        const std::optional<std::string_view> next = lines.Next();
        if (!next) {
            return std::nullopt;
        }
        list += TrimBlanks(*next);
    }
    std::optional<std::string> bytes = ParseHexBytes(list);
    if (!bytes) {
        return std::nullopt;
    }
    return RegistryValue{type, std::move(*bytes)};
}

// The key path of a "[HKEY_CURRENT_USER\...]" line; "" for the root itself.
std::optional<std::string_view> ParseHeader(std::string_view line) {
    if (line.size() < 2 || !line.ends_with(']')) {
        return std::nullopt;
    }
    std::string_view name = line.substr(1, line.size() - 2);
    if (!StartsWithFolded(name, Fold(kRoot))) {
        return std::nullopt;
    }
    name.remove_prefix(kRoot.size());
    if (name.empty()) {
        return name;
    }
    if (name.size() < 2 || name.front() != '\\') {
        return std::nullopt;
    }
    return name.substr(1);
}

std::string HexNumber(std::uint32_t number, int minimumDigits) {
    std::string digits;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const auto digit = number >> shift & 0xF;
        if (digit != 0 || !digits.empty() || shift < 4 * minimumDigits) {
            digits += "0123456789abcdef"[digit];
        }
    }
    return digits;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

// Quoted text only when it reads back to the same bytes: one terminating NUL, nothing a line
// cannot hold, and valid UTF-8 so that the file stays UTF-8 text. Anything else goes to hex(1).
bool IsPlainText(const RegistryValue& value) {
    if (value.type != kText || !value.data.ends_with('\0')) {
        return false;
    }
    const std::string_view text(value.data.data(), value.data.size() - 1);
    return !HoldsLineBreakOrNul(text) && IsValidUtf8(text);
}

void AppendHexList(std::string& out, std::size_t lineStart, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
            if (out.size() - lineStart >= kWrapColumn) {
                out += "\\\n  ";
                lineStart = out.size() - 2;
            }
        }
        out += HexNumber(static_cast<unsigned char>(bytes[i]), 2);
    }
}

void AppendValue(std::string& out, const std::string& name, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    if (name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, name);
    }
    out += '=';
    if (IsPlainText(value)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == kNumber && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number =
                number << 8 | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        }
        out += "dword:" + HexNumber(number, 8);
    } else {
        out +=
            value.type == kBinary ? std::string("hex:") : "hex(" + HexNumber(value.type, 1) + "):";
        AppendHexList(out, lineStart, value.data);
    }
    out += '\n';
}

}  // namespace

bool RegistryTree::IsValidKeyPath(std::string_view path) {
    if (path.empty()) {
        return true;
    }
    return !HoldsLineBreakOrNul(path) && !path.starts_with('\\') && !path.ends_with('\\') &&
           path.find("\\\\") == std::string_view::npos;
}

bool RegistryTree::IsValidValueName(std::string_view name) {
    return !HoldsLineBreakOrNul(name);
}

bool RegistryTree::HasKey(std::string_view path) const {
    if (path.empty()) {
        return true;
    }
    if (!IsValidKeyPath(path)) {
        return false;
    }
    const std::string folded = Fold(path);
    if (keyByPath_.contains(folded)) {
        return true;
    }
    // Every path below this one sorts right after "path\".
    const std::string below = folded + '\\';
    const auto next = keyByPath_.lower_bound(below);
    return next != keyByPath_.end() && next->first.starts_with(below);
}

std::optional<std::size_t> RegistryTree::AddKey(std::string_view path) {
    if (!IsValidKeyPath(path)) {
        return std::nullopt;
    }
    const auto [entry, added] = keyByPath_.try_emplace(Fold(path), keys_.size());
    if (added) {
        keys_.push_back(Key{std::string(path), {}});
        valueByName_.emplace_back();
    }
    return entry->second;
}

bool RegistryTree::SetValue(std::size_t key, std::string_view name, RegistryValue value) {
    if (key >= keys_.size() || !IsValidValueName(name)) {
        return false;
    }
    auto& values = keys_[key].values;
    const auto [entry, added] = valueByName_[key].try_emplace(Fold(name), values.size());
    if (added) {
        values.emplace_back(std::string(name), std::move(value));
    } else {
        values[entry->second].second = std::move(value);
    }
    return true;
}

const RegistryValue* RegistryTree::FindValue(std::string_view path, std::string_view name) const {
    const auto key = keyByPath_.find(Fold(path));
    if (key == keyByPath_.end()) {
        return nullptr;
    }
    const auto& names = valueByName_[key->second];
    const auto value = names.find(Fold(name));
    return value == names.end() ? nullptr : &keys_[key->second].values[value->second].second;
}

namespace {

// With `salvage`, a line that cannot be read is passed over (a header that cannot be read, with
// the values under it) instead of making the whole file unreadable.
std::optional<RegistryTree> ParseExport(std::string_view text, bool salvage) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    Lines lines(text);
    const std::optional<std::string_view> first = lines.Next();
    if (!first || TrimBlanks(*first) != kFirstLine) {
        return std::nullopt;
    }
    RegistryTree tree;
    std::optional<std::size_t> key;  // none before the first header
    while (const std::optional<std::string_view> next = lines.Next()) {
        std::string_view line = TrimBlanks(*next);
        if (line.empty() || line.starts_with(';')) {
            continue;
        }
        if (line.starts_with('[')) {
            const std::optional<std::string_view> path = ParseHeader(line);
            key = path ? tree.AddKey(*path) : std::nullopt;
            if (!key && !salvage) {
                return std::nullopt;
            }
            continue;
        }
        std::string name;
        bool named = true;
        if (line.starts_with('@')) {
            line.remove_prefix(1);
        } else if (std::optional<std::string> quoted = TakeQuoted(line)) {
            name = std::move(*quoted);
        } else {
            named = false;
        }
        line = TrimBlanks(line);
        std::optional<RegistryValue> value;
        if (named && line.starts_with('=')) {
            value = ParseData(TrimBlanks(line.substr(1)), lines);
        }
        if (!(key && value && tree.SetValue(*key, name, std::move(*value))) && !salvage) {
            return std::nullopt;
        }
    }
    return tree;
}

}  // namespace

std::optional<RegistryTree> ParseRegistryExport(std::string_view text) {
    return ParseExport(text, false);
}

std::optional<RegistryTree> SalvageRegistryExport(std::string_view text) {
    return ParseExport(text, true);
}

std::string WriteRegistryExport(const RegistryTree& tree) {
    std::string out(kFirstLine);
    out += "\n\n";
    for (const RegistryTree::Key& key : tree.Keys()) {
        out += '[';
        out += kRoot;
        if (!key.path.empty()) {
            out += '\\';
            out += key.path;
        }
        out += "]\n";
        for (const auto& [name, value] : key.values) {
            AppendValue(out, name, value);
        }
        out += '\n';
    }
    return out;
}

}  // namespace tikora
