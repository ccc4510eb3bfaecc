// SPDX-License-Identifier: MIT
#include "posix/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "support/temp_folder.h"

namespace tikora::testing {
namespace {

namespace fs = std::filesystem;

// What stands in the runtime folder or the fallback folder beforehand, and where the lock must
// then lie ("" for nowhere: the clock runs unguarded).
struct Case {
    const char* name;
    std::function<void(const std::string& run, const std::string& fallback)> prepare;
    const char* lockFolder;     // "run" or "fallback"
    bool othersNeeded = false;  // gives things to another user, which only root can
};

void Give(const std::string& path) {
    ASSERT_EQ(lchown(path.c_str(), 65534, 65534), 0);
}

TEST(SingleInstance, TakesTheLockOnlyInFoldersAndFilesOfTheUsersAlone) {
    const std::string lock = "/tikora-:0.lock";
    const Case cases[] = {
        {"own runtime folder", [](auto&, auto&) {}, "run"},
        {"runtime open to others", [](auto& run, auto&) { chmod(run.c_str(), 0755); }, "fallback"},
        {"runtime a link",
         [](auto& run, auto&) {
             fs::rename(run, run + ".real");
             fs::create_directory_symlink(run + ".real", run);
         },
         "fallback"},
        {"runtime of another", [](auto& run, auto&) { Give(run); }, "fallback", true},
        {"fallback a link",
         [](auto& run, auto& fallback) { fs::create_directory_symlink(run, fallback); },
         "fallback"},
        {"fallback a file", [](auto&, auto& fallback) { WriteFile(fallback, ""); }, "fallback"},
        {"fallback open to others",
         [](auto&, auto& fallback) {
             mkdir(fallback.c_str(), 0777), chmod(fallback.c_str(), 0777);
         },
         "fallback"},
        {"fallback of another",
         [](auto&, auto& fallback) { mkdir(fallback.c_str(), 0700), Give(fallback); }, "", true},
        {"lock a link", [&](auto& run, auto&) { fs::create_symlink(run + "/target", run + lock); },
         "run"},
        {"lock a folder", [&](auto& run, auto&) { fs::create_directory(run + lock); }, "run"},
        {"lock open to others",
         [&](auto& run, auto&) { WriteFile(run + lock, ""), chmod((run + lock).c_str(), 0666); },
         "run"},
        {"lock of another", [&](auto& run, auto&) { WriteFile(run + lock, ""), Give(run + lock); },
         "run", true},
        {"lock a full folder", [&](auto& run, auto&) { WriteFile(run + lock + "/x", ""); }, ""},
    };
    for (const Case& c : cases) {
        if (c.othersNeeded && getuid() != 0) {
            continue;
        }
        const TempFolder base;
        const std::string run = base / "run",
                          fallback = base / ("tikora-" + std::to_string(getuid()));
        ASSERT_EQ(mkdir(run.c_str(), 0700), 0);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        if (std::string(c.name).starts_with("fallback")) {
            unsetenv("XDG_RUNTIME_DIR");
        }
        c.prepare(run, fallback);
        const SingleInstance first(":0", base.Path());
        const SingleInstance second(":0", base.Path());
        const std::string folder = c.lockFolder == std::string("run") ? run : fallback;
        if (*c.lockFolder == '\0') {
            EXPECT_NE(first.Unguarded(), "") << c.name;
            EXPECT_FALSE(second.AnotherIsRunning()) << c.name;
            continue;
        }
        EXPECT_EQ(first.Unguarded(), "") << c.name;
        EXPECT_EQ(first.Path(), folder + lock) << c.name;
        EXPECT_TRUE(second.AnotherIsRunning()) << c.name;
        struct stat info {};
        ASSERT_EQ(lstat(folder.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode) && (info.st_mode & 0777) == 0700) << c.name;
        ASSERT_EQ(lstat(first.Path().c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode) && info.st_uid == getuid() &&
                    (info.st_mode & 0777) == 0600)
            << c.name;
        EXPECT_FALSE(fs::exists(run + "/target")) << c.name;
    }
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace tikora::testing
