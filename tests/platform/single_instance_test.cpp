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
using Paths = const std::string&;

// What stands in the runtime folder, the fallback folder or at the lock beforehand, and where the
// lock then lies: the runtime folder (r), the fallback folder (f) or nowhere (-: unguarded).
// Giving things to another user takes root; without it those cases are left out.
TEST(SingleInstance, TakesTheLockOnlyInFoldersAndFilesOfTheUsersAlone) {
    const auto other = [](Paths path) { return lchown(path.c_str(), 65534, 65534) == 0; };
    const std::pair<std::function<bool(Paths, Paths, Paths)>, char> cases[] = {
        {[](Paths, Paths, Paths) { return true; }, 'r'},
        {[](Paths run, Paths, Paths) { return chmod(run.c_str(), 0755) == 0; }, 'f'},
        {[&](Paths run, Paths, Paths) { return other(run); }, 'f'},
        {[](Paths run, Paths fallback, Paths) {
             fs::rename(run, fallback);
             fs::create_directory_symlink(fallback, run);
             return chmod(fallback.c_str(), 0777) == 0;
         },
         'f'},
        {[](Paths run, Paths fallback, Paths) {
             return chmod(run.c_str(), 0755) == 0 && symlink(run.c_str(), fallback.c_str()) == 0;
         },
         'f'},
        {[&](Paths run, Paths fallback, Paths) {
             return chmod(run.c_str(), 0755) == 0 && mkdir(fallback.c_str(), 0700) == 0 &&
                    other(fallback);
         },
         '-'},
        {[](Paths run, Paths, Paths lock) {
             return symlink((run + "/x").c_str(), lock.c_str()) == 0;
         },
         'r'},
        {[](Paths, Paths, Paths lock) {
             return WriteFile(lock, ""), chmod(lock.c_str(), 0644) == 0;
         },
         'r'},
        {[&](Paths, Paths, Paths lock) { return WriteFile(lock, ""), other(lock); }, 'r'},
        {[](Paths, Paths, Paths lock) { return WriteFile(lock + "/x", ""), true; }, '-'},
    };
    int index = 0;
    for (const auto& [prepare, where] : cases) {
        const TempFolder base;
        const std::string run = base / "run",
                          fallback = base / ("tikora-" + std::to_string(getuid()));
        ASSERT_EQ(mkdir(run.c_str(), 0700), 0);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        if (!prepare(run, fallback, run + "/tikora-:0.lock")) {
            continue;  // not root
        }
        const SingleInstance first(":0", base.Path()), second(":0", base.Path());
        SCOPED_TRACE(++index);
        EXPECT_EQ(first.Unguarded().empty(), where != '-');
        EXPECT_EQ(second.AnotherIsRunning(), where != '-');
        if (where != '-') {
            EXPECT_EQ(first.Path(), (where == 'r' ? run : fallback) + "/tikora-:0.lock");
            struct stat file {
            }, folder{};
            ASSERT_EQ(lstat(first.Path().c_str(), &file) | stat(run.c_str(), &folder), 0);
            EXPECT_TRUE(S_ISREG(file.st_mode) && (file.st_mode & 0777) == 0600 &&
                        file.st_uid == getuid());
            EXPECT_FALSE(fs::exists(run + "/x"));
        }
    }
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace tikora::testing
