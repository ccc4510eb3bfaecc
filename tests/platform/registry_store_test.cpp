// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <iterator>
#include <regex>
#include <set>

#include "posix/registry_file.h"
#include "support/settings_file.h"

namespace tikora::testing {
namespace {

const std::string kExport = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n";

class RegistryStore : public ::testing::Test {
  protected:
    ~RegistryStore() override { EXPECT_EQ(OpenRegistryKeyCount(), 0U); }

    bool Write(const std::string& name, const std::string& text) {
        return !store_.Write({{kSettingsKey, name, text}});
    }
    std::ptrdiff_t Files() const {
        return std::distance(std::filesystem::directory_iterator(settings_.Folder()), {});
    }

    TempSettingsFile settings_;
    RegistrySettingsStore store_;
};

// Types are kept: only a text value reads, up to its first NUL; names are case-blind. A write
// keeps every other value, also when it fails because the file would grow too large to read back.
TEST_F(RegistryStore, ReadsTextUpToItsFirstNulAndKeepsEverythingElse) {
    // As the file is written: quoted where the text reads back the same, hex(1) elsewhere.
    const std::string others =
        "\"Expand\"=hex(2):41,00\n\"Dword\"=dword:00000041\n\"Nul\"=hex(1):41,00,42,00\n"
        "\"NoNul\"=hex(1):41,42\n\"Latin1\"=hex(1):e9,00\n\"Line\"=hex(1):0a,00\n\n"
        "[HKEY_CURRENT_USER\\Foreign]\n@=hex:01,02\n\n";
    WriteFile(settings_.File(), kExport + "\"T\"=\"/t\"\n" + others);
    const std::pair<const char*, const char*> cases[] = {
        {"t", "/t"},    {"Nul", "A"},  {"NoNul", "AB"}, {"Latin1", "\xE9"},
        {"Expand", ""}, {"Dword", ""}, {"No", ""}};
    for (const auto& [name, text] : cases) {
        EXPECT_EQ(store_.ReadText(kSettingsKey, name), text) << name;
    }
    EXPECT_TRUE(Write("t", "C:\\a \"q\" €"));
    EXPECT_FALSE(Write("Big", std::string(kRegistryFileLimit, 'x')));
    EXPECT_EQ(ReadFile(settings_.File()), kExport + R"("T"="C:\\a \"q\" €")" + "\n" + others);
}

// Each unreadable file is kept aside by the next write, three in one second too. Of one cut short,
// what still reads is read and written on; the others read as empty.
TEST_F(RegistryStore, KeepsEachUnreadableFileWhenReplacingIt) {
    const std::string olds[] = {"\x01 not an export",
                                kExport + "\"P\"=\"/p\"\n;" + std::string(kRegistryFileLimit, 'x'),
                                kExport + "\"P\"=\"/p\"\n\"Q\"=hex(1):41,\\"};
    for (const std::string& old : olds) {
        WriteFile(settings_.File(), old);
        const std::string kept = old.ends_with('\\') ? "\"P\"=\"/p\"\n" : "";
        EXPECT_EQ(store_.ReadText(kSettingsKey, "P"), kept.empty() ? "" : "/p");
        ASSERT_TRUE(Write("BeatTime", "True"));
        EXPECT_EQ(ReadFile(settings_.File()), kExport + kept + "\"BeatTime\"=\"True\"\n\n");
    }
    std::set<std::string> kept;  // beside registry.reg
    for (const auto& entry : std::filesystem::directory_iterator(settings_.Folder())) {
        const std::string name = entry.path().filename();
        if (name != "registry.reg") {
            EXPECT_TRUE(std::regex_match(
                name, std::regex(R"(registry\.reg\.unreadable-\d{8}-\d{6}(-[23])?)")));
            kept.insert(ReadFile(entry.path()));
        }
    }
    EXPECT_EQ(kept, std::set<std::string>(std::begin(olds), std::end(olds)));
}

// All values go in one replace of the file: a writer killed after its new file is complete and
// before the rename leaves the whole old store.
TEST_F(RegistryStore, InterruptedWriteLeavesTheOldFile) {
    const auto both = [this](const std::string& text) {
        return !store_.Write({{kSettingsKey, "ProgramPath", text}, {kSkinsKey, "Skin", text}});
    };
    ASSERT_TRUE(both("/old"));
    const std::string old = ReadFile(settings_.File());
    if (fork() == 0) {
        SetRegistryReplaceHook(+[] { raise(SIGKILL); });
        _exit(both("/new") ? 0 : 1);  // the hook never ran
    }
    int status = 0;
    wait(&status);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(ReadFile(settings_.File()), old);
    EXPECT_EQ(Files(), 2);        // and the complete new file, never renamed
    ASSERT_TRUE(both("/newer"));  // which the next write clears away
    EXPECT_EQ(Files(), 1);
    EXPECT_EQ(store_.ReadText(kSettingsKey, "ProgramPath") + store_.ReadText(kSkinsKey, "skin"),
              "/newer/newer");
    static int replaces = 0;
    SetRegistryReplaceHook(+[] { ++replaces; });
    ASSERT_TRUE(both("/newest"));
    SetRegistryReplaceHook(nullptr);
    EXPECT_EQ(replaces, 1);
}

// A file kept elsewhere through a link is written where it lies, the link kept; a hard-linked one
// is never parted from its other names: the write fails and says so.
TEST_F(RegistryStore, WritesThroughALinkAndNeverPartsAHardLink) {
    namespace fs = std::filesystem;
    const std::string target = settings_.Folder() + "/../dotfiles/tikora.reg";
    WriteFile(target, kExport);
    fs::create_directories(settings_.Folder());
    fs::create_symlink("../dotfiles/tikora.reg", settings_.File());
    ASSERT_TRUE(Write("BeatTime", "True"));
    EXPECT_TRUE(fs::is_symlink(settings_.File()));
    const std::string written = kExport + "\"BeatTime\"=\"True\"\n\n";
    EXPECT_EQ(ReadFile(target), written);
    fs::remove(settings_.File());
    fs::create_hard_link(target, settings_.File());
    EXPECT_EQ(store_.Write({{kSettingsKey, "BeatTime", "False"}}),
              settings_.File() +
                  ": the file has other names (hard links); link it with a "
                  "symbolic link");
    EXPECT_EQ(ReadFile(target), written);
}

// While another program holds the folder's lock, a write waits 2 s by the clock, then fails.
TEST_F(RegistryStore, GivesUpOnAHeldLockAfterTwoSeconds) {
    using namespace std::chrono_literals;
    ASSERT_TRUE(Write("A", "1"));
    const int held = open(settings_.Folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    static std::chrono::steady_clock::time_point now{};
    SetRegistryLockClock([] { return now += 300ms; });
    EXPECT_EQ(store_.Write({{kSettingsKey, "A", "2"}}),
              settings_.File() + ": another program has kept the settings folder locked for 2 s");
    EXPECT_TRUE(now.time_since_epoch() >= 2s + 300ms && now.time_since_epoch() < 2s + 600ms);
    close(held);
    EXPECT_TRUE(Write("A", "2"));
    SetRegistryLockClock(nullptr);
}

}  // namespace
}  // namespace tikora::testing
