// SPDX-License-Identifier: MIT
#include "skins/folder_lists.h"

#include <algorithm>
#include <array>

#include "shared/utf8.h"

namespace tikora {
namespace {

// Kernel and runtime file systems that hold no skins.
constexpr std::array<std::string_view, 22> kPseudoFileSystems = {
    "proc",       "sysfs",     "cgroup",     "cgroup2",         "devpts",   "mqueue",
    "debugfs",    "tracefs",   "securityfs", "pstore",          "bpf",      "configfs",
    "fusectl",    "hugetlbfs", "autofs",     "binfmt_misc",     "efivarfs", "nsfs",
    "rpc_pipefs", "devtmpfs",  "ramfs",      "overlay_internal"};

constexpr std::array<std::string_view, 3> kSystemTrees = {"/proc", "/sys", "/dev"};

bool Within(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

// Spaces, tabs, newlines and backslashes in mount points are written as three octal digits.
std::string Unescape(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<long>(i) + 1,
                        field.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                             (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return fields;
}

bool Wanted(const std::string& mountPoint, std::string_view type) {
    if (std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) !=
        kPseudoFileSystems.end()) {
        return false;
    }
    return std::none_of(kSystemTrees.begin(), kSystemTrees.end(),
                        [&](std::string_view tree) { return Within(mountPoint, tree); });
}

// The small letter of a capital: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
char32_t Lower(char32_t c) {
    const auto in = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
    if (in(U'A', U'Z') || (in(0xC0, 0xDE) && c != 0xD7) || (in(0x391, 0x3AB) && c != 0x3A2) ||
        in(0x410, 0x42F)) {
        return c + 0x20;
    }
    if (in(0x400, 0x40F)) {
        return c + 0x50;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    // Latin Extended-A pairs its capitals with the next code point: even ones in two runs, odd
    // ones in two others.
    const bool evenRun = in(0x100, 0x137) || in(0x14A, 0x177);
    const bool oddRun = in(0x139, 0x148) || in(0x179, 0x17E);
    if ((evenRun && c % 2 == 0) || (oddRun && c % 2 == 1)) {
        return c + 1;
    }
    return c;
}

std::u32string Folded(std::string_view name) {
    std::u32string text =
        DecodeUtf8(IsValidUtf8(name) ? std::string(name) : Windows1252ToUtf8(name));
    std::transform(text.begin(), text.end(), text.begin(), Lower);
    return text;
}

}  // namespace

bool ListsBefore(std::string_view a, std::string_view b) {
    const std::u32string foldedA = Folded(a), foldedB = Folded(b);
    if (foldedA != foldedB) {
        return foldedA < foldedB;
    }
    return a < b;  // std::string_view compares bytes as unsigned
}

std::vector<std::string> ParseMountPoints(std::string_view mountsText) {
    std::vector<std::string> drives{"/"};
    std::size_t start = 0;
    while (start < mountsText.size()) {
        const std::size_t end = std::min(mountsText.find('\n', start), mountsText.size());
        const std::vector<std::string_view> fields = Fields(mountsText.substr(start, end - start));
        start = end + 1;
        if (fields.size() < 3) {
            continue;
        }
        std::string mountPoint = Unescape(fields[1]);
        if (!mountPoint.empty() && mountPoint.front() == '/' && Wanted(mountPoint, fields[2]) &&
            std::find(drives.begin(), drives.end(), mountPoint) == drives.end()) {
            drives.push_back(std::move(mountPoint));
        }
    }
    return drives;
}

std::string DriveOf(std::string_view path, const std::vector<std::string>& drives) {
    std::string best = "/";
    for (const std::string& drive : drives) {
        if (Within(path, drive) && drive.size() > best.size()) {
            best = drive;
        }
    }
    return best;
}

std::vector<std::string> PathChain(std::string_view path) {
    std::vector<std::string> chain{"/"};
    std::size_t start = 1;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            chain.push_back(JoinPath(chain.back(), path.substr(start, end - start)));
        }
        start = end + 1;
    }
    return chain;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace tikora
