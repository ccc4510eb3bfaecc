#include <gtest/gtest.h>

#include "skins/folder_lists.h"

namespace tikora {
namespace {

TEST(MountPoints, KeepRealFileSystemsWithRootFirst) {
    const std::string table =
        "sysfs /sys sysfs rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "short line\n";
    EXPECT_EQ(ParseMountPoints(table),
              (std::vector<std::string>{"/", "/home", "/run", "/media/ann/USB STICK"}));
}

TEST(MountPoints, EmptyTableStillOffersTheRoot) {
    EXPECT_EQ(ParseMountPoints(""), std::vector<std::string>{"/"});
}

TEST(DriveOf, TakesTheLongestWholeFolderPrefix) {
    const std::vector<std::string> drives{"/", "/home", "/home/ann/usb"};
    EXPECT_EQ(DriveOf("/home/ann/skins", drives), "/home");
    EXPECT_EQ(DriveOf("/home/ann/usb", drives), "/home/ann/usb");
    EXPECT_EQ(DriveOf("/homestead", drives), "/");
    EXPECT_EQ(DriveOf("/", drives), "/");
}

TEST(PathChain, RunsFromTheRootDown) {
    EXPECT_EQ(PathChain("/"), std::vector<std::string>{"/"});
    EXPECT_EQ(PathChain("/home/ann"), (std::vector<std::string>{"/", "/home", "/home/ann"}));
    EXPECT_EQ(PathChain("/a//b/"), (std::vector<std::string>{"/", "/a", "/a/b"}));
}

TEST(JoinPath, NeverDoublesTheRootsSeparator) {
    EXPECT_EQ(JoinPath("/", "etc"), "/etc");
    EXPECT_EQ(JoinPath("/home", "ann"), "/home/ann");
}

}  // namespace
}  // namespace tikora
