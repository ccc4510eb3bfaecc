// SPDX-License-Identifier: MIT
// Zone changes seen in the zone file's folders and read again, against real files and zone data.
// Whatever sets TZ runs in a child process, so the test's own environment never changes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "posix/clock_wake_sources.h"
#include "support/temp_folder.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

// Makes `link` lead to `target` in one rename, as the desktop's date-and-time settings do.
void Relink(const std::string& link, const std::string& target) {
    fs::create_symlink(target, link + ".new");
    fs::rename(link + ".new", link);
}

TEST(ZoneFileWatch, SeesTheZoneFileOrWhereItLeadsChangeAndNothingElse) {
    const TempFolder folder;
    WriteFile(folder / "zones/Tokyo", "a");
    WriteFile(folder / "zones/Zurich", "b");
    Relink(folder / "localtime", folder / "zones/Tokyo");
    ZoneFileWatch watch(folder / "localtime");
    ASSERT_GE(watch.Fd(), 0);
    EXPECT_FALSE(watch.Changed());
    WriteFile(folder / "adjtime", "c");
    EXPECT_FALSE(watch.Changed()) << "another file in the folder";
    Relink(folder / "localtime", folder / "zones/Zurich");
    EXPECT_TRUE(watch.Changed()) << "the link replaced";
    WriteFile(folder / "zones/Zurich", "d");
    EXPECT_TRUE(watch.Changed()) << "the file it now leads to rewritten";
    WriteFile(folder / "zones/Tokyo", "e");
    EXPECT_FALSE(watch.Changed()) << "the file it led to before";
    fs::remove(folder / "localtime");
    EXPECT_TRUE(watch.Changed()) << "the link removed";
}

TEST(LocalZoneFile, IsTheFileTheCLibraryReads) {
    EXPECT_EQ(LocalZoneFile(nullptr, nullptr), "/etc/localtime");
    EXPECT_EQ(LocalZoneFile(":Europe/Zurich", ""), "/usr/share/zoneinfo/Europe/Zurich");
    EXPECT_EQ(LocalZoneFile("/usr/share/zoneinfo/UTC", nullptr), "/usr/share/zoneinfo/UTC");
    EXPECT_EQ(LocalZoneFile("CET-1CEST,M3.5.0,M10.5.0/3", nullptr), "");  // a rule, no file
}

// A TZ naming a file whose zone is replaced twice: each reload reads the zone that stands.
TEST(ReloadLocalZone, ReadsAReplacedTzFileEveryTime) {
    const TempFolder folder;
    const std::string zone = folder / "zone";
    const auto replace = [&](const char* name) {
        fs::copy_file(std::string("/usr/share/zoneinfo/") + name, zone + ".new");
        fs::rename(zone + ".new", zone);
    };
    const auto offset = [] {
        const std::time_t moment = 1780000000;  // 28 May 2026
        std::tm local{};
        localtime_r(&moment, &local);
        return local.tm_gmtoff;
    };
    replace("Asia/Tokyo");
    EXPECT_EXIT(
        {
            setenv("TZ", (":" + zone).c_str(), 1);
            tzset();
            std::fprintf(stderr, "%ld", offset());
            for (const char* name : {"America/New_York", "Asia/Tokyo"}) {
                replace(name);
                ReloadLocalZone();
                std::fprintf(stderr, " %ld", offset());
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^32400 -14400 32400$");
}

}  // namespace
}  // namespace tikora
