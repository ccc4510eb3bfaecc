// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tikora {

// The mount points of /proc/self/mounts that a person would pick a skin from: "/" first, then the
// rest in order, without the kernel's own file systems. Escaped characters (\040) are decoded.
std::vector<std::string> ParseMountPoints(std::string_view mountsText);

// The drive (mount point) that holds `path`: the longest mount point that is a whole-component
// prefix of it.
std::string DriveOf(std::string_view path, const std::vector<std::string>& drives);

// "/", then each folder down to `path` ("/home", "/home/ann"), for an absolute path.
std::vector<std::string> PathChain(std::string_view path);

// The order of the chooser's lists: by character, letter case aside (the capitals of Latin,
// Greek and Cyrillic script), so that names beginning with a letter beyond ASCII come after "z";
// names that differ only in case by their bytes. Names that are not valid UTF-8 are read in the
// single-byte code page.
bool ListsBefore(std::string_view a, std::string_view b);

// `folder` + "/" + `name`, without doubling the root's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace tikora
