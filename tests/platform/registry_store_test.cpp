#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "platform/services.h"
#include "posix/modRegistry.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kTikora = "Software\\Vardo Software\\Tikora";
constexpr const char* kSkins = "Software\\Vardo Software\\Tikora\\Skins";

const std::string kTikoraHeader = "[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n";

std::string Export(std::string_view body) {
    return "REGEDIT4\n\n" + kTikoraHeader + std::string(body);
}

Services WithSettingsFile(std::function<std::string()> settingsFile) {
    Services services;
    services.settingsFile = std::move(settingsFile);
    return services;
}

std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string ReadTikora(const std::string& name) {
    return ReadRegString(kCurrentUser, kTikora, name);
}

void WriteTikora(const std::string& name, const std::string& text) {
    WriteRegString(kCurrentUser, kTikora, name, text);
}

// The settings file two levels below a fresh temporary folder, so that a write makes both.
class RegistryStore : public ::testing::Test {
  protected:
    ~RegistryStore() override {
        EXPECT_EQ(OpenRegistryKeyCount(), 0U);
        fs::remove_all(root_);
    }

    void Store(const std::string& bytes) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << bytes;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    const fs::path root_ = [] {
        std::string pattern = (fs::temp_directory_path() / "tikora-registry-XXXXXX").string();
        EXPECT_NE(mkdtemp(pattern.data()), nullptr);
        return fs::path(pattern);
    }();
    const fs::path folder_ = root_ / "config" / "tikora";
    const fs::path file_ = folder_ / "registry.reg";
    const ScopedServices services_{WithSettingsFile([this] { return file_.string(); })};
};

TEST_F(RegistryStore, ReadsOnlyTextValuesUpToTheirFirstNul) {
    Store(
        Export("\"Text\"=\"/usr/lib/tikora\"\n\"Expand\"=hex(2):41,00\n\"Dword\"=dword:00000041\n"
               "\"Nul\"=hex(1):41,00,42,00\n\"NoNul\"=hex(1):41,42\n"));
    EXPECT_EQ(ReadTikora("tEXT"), "/usr/lib/tikora");
    EXPECT_EQ(ReadTikora("Nul"), "A");
    EXPECT_EQ(ReadTikora("NoNul"), "AB");
    for (const char* empty : {"Expand", "Dword", "Missing"}) {
        EXPECT_EQ(ReadTikora(empty), "") << empty;
    }
    EXPECT_EQ(ReadRegString(kCurrentUser, "SOFTWARE\\vardo software\\TIKORA", "Text"),
              "/usr/lib/tikora");
    EXPECT_EQ(ReadRegString(kCurrentUser, kSkins, "Text"), "");
}

TEST_F(RegistryStore, ReadsBackEveryTextWrittenIntoPrivateFiles) {
    for (const std::string& text : {R"(C:\Skins\a "quoted" name\)"s,
                                    "/home/j\xC3\xB6rg/\xE6\x97\xA5\xE6\x9C\xAC \xE2\x82\xAC"s, ""s,
                                    " a\t "s, "a\r\nb\n"s, "caf\xE9"s}) {
        WriteTikora("SkinPath", text);
        EXPECT_EQ(ReadTikora("skinpath"), text);
    }
    WriteTikora("SkinPath", "a\0b"s);
    EXPECT_EQ(ReadTikora("SkinPath"), "a");
    for (const auto& [path, mode] :
         {std::pair{root_ / "config", 0700U}, {folder_, 0700U}, {file_, 0600U}}) {
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, mode) << path;
    }
}

// Also when a write fails because the file would grow too large to read back.
TEST_F(RegistryStore, WritesKeepEverythingElse) {
    const std::string foreign = "[HKEY_CURRENT_USER\\Foreign]\n@=hex:01,02\n";
    Store("REGEDIT4\n" + foreign + kTikoraHeader +
          "\"ProgramPath\"=\"/p\"\n\"BeatTime\"=\"True\"\n");
    WriteTikora("beattime", "False");
    WriteRegString(kCurrentUser, kSkins, "CurrentSkinPath", "/s");
    WriteTikora("Big", std::string(kRegistryFileLimit, 'x'));
    EXPECT_EQ(Read(file_),
              "REGEDIT4\n\n" + foreign + "\n" + kTikoraHeader +
                  "\"ProgramPath\"=\"/p\"\n\"BeatTime\"=\"False\"\n\n[HKEY_CURRENT_USER\\" +
                  kSkins + "]\n\"CurrentSkinPath\"=\"/s\"\n\n");
}

// Each unreadable file reads as empty and is kept under a name of its own by the next write,
// also when two are replaced within the same second.
TEST_F(RegistryStore, KeepsEachUnreadableFileWhenReplacingIt) {
    const std::string olds[] = {"\x01\x02 not an export",
                                Export("\"P\"=\"/p\"\n;" + std::string(kRegistryFileLimit, 'x'))};
    for (const std::string& old : olds) {
        Store(old);
        EXPECT_EQ(ReadTikora("P"), "");
        WriteTikora("BeatTime", "True");
        EXPECT_EQ(Read(file_), Export("\"BeatTime\"=\"True\"\n\n"));
    }
    const std::vector<std::string> names = Names();  // registry.reg, then the kept files in order
    ASSERT_EQ(names.size(), 3U);
    for (const std::size_t i : {1U, 2U}) {
        EXPECT_TRUE(
            std::regex_match(names[i], std::regex(R"(registry\.reg\.unreadable-\d{8}-\d{6}(-2)?)")))
            << names[i];
        EXPECT_EQ(Read(folder_ / names[i]), olds[i - 1]);
    }
}

TEST_F(RegistryStore, InterruptedWriteLeavesTheOldFile) {
    const std::string old = Export("\"ProgramPath\"=\"/old\"\n");
    Store(old);
    const pid_t child = fork();
    if (child == 0) {
        SetRegistryReplaceHook(+[] { raise(SIGKILL); });
        WriteTikora("ProgramPath", "/new");
        _exit(0);  // the hook never ran
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Read(file_), old);
    EXPECT_EQ(ReadTikora("ProgramPath"), "/old");
    ASSERT_EQ(Names().size(), 2U);  // and the complete new file, never renamed

    WriteTikora("ProgramPath", "/newer");  // which the next write clears away
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
    EXPECT_EQ(ReadTikora("ProgramPath"), "/newer");
}

TEST_F(RegistryStore, WithoutASettingsPathReadsNothingAndWritesNothing) {
    const fs::path previous = fs::current_path();
    fs::current_path(root_);  // a relative slip would land here
    for (const auto& settingsFile : {std::function<std::string()>([] { return std::string(); }),
                                     std::function<std::string()>()}) {
        const ScopedServices services(WithSettingsFile(settingsFile));
        WriteTikora("BeatTime", "True");
        EXPECT_EQ(ReadTikora("BeatTime"), "");
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::is_empty(root_));
}

}  // namespace
}  // namespace tikora
