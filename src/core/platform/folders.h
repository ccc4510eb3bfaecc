// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tikora {

// The table of mounted file systems (Linux: /proc/self/mounts); empty when it can't be read or the
// system lists its drives otherwise.
std::string ReadMountTable();

// The process's current folder.
std::string CurrentFolder();

// The folders inside `folder` (symbolic links followed), without hidden ones, sorted without
// regard to case; nothing when the folder can't be listed.
std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder);

// The ordinary files of `folder` whose names match `pattern` ("*" and "?") without regard to ASCII
// letter case, sorted the same way.
std::optional<std::vector<std::string>> ListFilesMatching(const std::string& folder,
                                                          const std::string& pattern);

}  // namespace tikora
