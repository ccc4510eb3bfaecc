// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>

#include "skins/folder_lists.h"

namespace tikora {
namespace {

using Folders = std::vector<std::string>;

// Kernel file systems and the trees under /proc, /sys and /dev are left out; repeated, short and
// relative lines are passed over; only complete three-digit octal escapes are decoded.
TEST(FolderLists, ParsesMountTable) {
    EXPECT_EQ(ParseMountPoints("/dev/sda1 / ext4 rw 0 0\n"
                               "/dev/sdb1   /mnt/My\\040Disk  ext4 rw 0 0\n"
                               "proc /proc proc rw 0 0\ntmpfs /dev/shm tmpfs rw 0 0\n"
                               "cgroup2 /run/cg cgroup2 rw\ntmpfs /sysroot tmpfs rw\n"
                               "/dev/sdc1 /home ext4 rw\n/dev/sdc1 /home ext4 rw\nshort line\n"
                               "/dev/sdd1 relative ext4 rw\n/dev/sde1 /m/a\\134b\\08\\04 vfat"),
              (Folders{"/", "/mnt/My Disk", "/sysroot", "/home", "/m/a\\b\\08\\04"}));
    EXPECT_EQ(ParseMountPoints(""), Folders{"/"});
}

TEST(FolderLists, FindsDriveAndChain) {
    const Folders drives{"/", "/home", "/home/ann", "/mnt/My Disk"};
    const std::pair<const char*, const char*> driveCases[] = {
        {"/home/annex/x", "/home"},         {"/home/ann", "/home/ann"},
        {"/home/ann/s", "/home/ann"},       {"/homer", "/"},
        {"/mnt/My Disk/a", "/mnt/My Disk"}, {"", "/"}};
    for (const auto& [path, drive] : driveCases) {
        EXPECT_EQ(DriveOf(path, drives), drive) << path;
    }
    EXPECT_EQ(PathChain("//home///ann/"), (Folders{"/", "/home", "/home/ann"}));
    EXPECT_EQ(PathChain("/"), Folders{"/"});
    EXPECT_EQ(JoinPath("/", "a"), "/a");
    EXPECT_EQ(JoinPath("/x", "a"), "/x/a");
    EXPECT_EQ(JoinPath("", "a"), "/a");
}

// Letter case aside, ASCII first, then the rest by code point; names in the single-byte code page
// (made on Windows) by the characters they stand for.
TEST(FolderLists, SortsNamesByCharacterIgnoringCase) {
    Folders names{"\xE9t\xE9", "zeta",     "\xC3\xA4", "B", "\xD0\x90",
                  "a",         "\xC3\xA9", "\xC3\x89", "A", "_"};
    std::sort(names.begin(), names.end(), ListsBefore);
    EXPECT_EQ(names, (Folders{"_", "A", "a", "B", "zeta", "\xC3\xA4", "\xC3\x89", "\xC3\xA9",
                              "\xE9t\xE9", "\xD0\x90"}));
}

}  // namespace
}  // namespace tikora
