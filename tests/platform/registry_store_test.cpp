#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/modRegistry.h"
#include "app/registry_format.h"
#include "platform/services.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kTikora = "Software\\Vardo Software\\Tikora";
constexpr const char* kSkins = "Software\\Vardo Software\\Tikora\\Skins";

std::string Export(std::string_view body) {
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n" +
           std::string(body);
}

fs::path MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tikora-registry-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    return pattern;
}

Services WithSettingsFile(std::function<std::string()> settingsFile) {
    Services services;
    services.settingsFile = std::move(settingsFile);
    return services;
}

std::string Read(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// The settings file in a fresh folder two levels below a temporary one, so writes create both.
class RegistryStore : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_EQ(OpenRegistryKeyCount(), 0U);
        fs::remove_all(root_);
    }

    void Store(const std::string& bytes) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << bytes;
    }
    std::string Stored() const { return Read(file_); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string ReadTikora(const std::string& name) {
        return ReadRegString(HKEY_CURRENT_USER, kTikora, name);
    }
    void WriteTikora(const std::string& name, const std::string& text) {
        WriteRegString(HKEY_CURRENT_USER, kTikora, name, text);
    }

    const fs::path root_ = MakeTempFolder();
    const fs::path folder_ = root_ / "config" / "tikora";
    const fs::path file_ = folder_ / "registry.reg";
    const ScopedServices services_{WithSettingsFile([this] { return file_.string(); })};
};

const std::string kTooLarge = Export("\"ProgramPath\"=\"/p\"\n;" + std::string(1 << 20, 'x'));

struct ReadCase {
    const char* name;
    std::optional<std::string> file;  // none: no file at all
    const char* path;
    std::string valueName;
    std::string text;
};

class StoreReading : public RegistryStore, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(StoreReading, GivesOnlyTextValues) {
    const ReadCase& c = GetParam();
    if (c.file) {
        Store(*c.file);
    }
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, c.path, c.valueName), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoreReading,
    ::testing::Values(
        ReadCase{"Text", Export(R"("ProgramPath"="/usr/lib/tikora")"), kTikora, "ProgramPath",
                 "/usr/lib/tikora"},
        ReadCase{"ExpandStringIsEmpty", Export("\"P\"=hex(2):41,00"), kTikora, "P", ""},
        ReadCase{"DwordIsEmpty", Export("\"P\"=dword:00000041"), kTikora, "P", ""},
        ReadCase{"BinaryIsEmpty", Export("\"P\"=hex:41,00"), kTikora, "P", ""},
        ReadCase{"EmbeddedNulCuts", Export("\"P\"=hex(1):41,00,42,00"), kTikora, "P", "A"},
        ReadCase{"NoTerminatingNulReadsWhole", Export("\"P\"=hex(1):41,42"), kTikora, "P", "AB"},
        ReadCase{"NoBytes", Export("\"P\"=hex(1):"), kTikora, "P", ""},
        ReadCase{"KeyCaseIgnored", Export("\"P\"=\"x\""), "SOFTWARE\\vardo software\\TIKORA", "P",
                 "x"},
        ReadCase{"ValueCaseIgnored", Export("\"BeatTime\"=\"True\""), kTikora, "bEATtIME", "True"},
        ReadCase{"DefaultValue", Export("@=\"d\""), kTikora, "", "d"},
        ReadCase{"MissingKey", Export("\"P\"=\"x\""), kSkins, "P", ""},
        ReadCase{"MissingValue", Export("\"P\"=\"x\""), kTikora, "Q", ""},
        ReadCase{"ParentKeyHasNoValues", Export("\"P\"=\"x\""), "Software", "P", ""},
        ReadCase{"NoFile", std::nullopt, kTikora, "P", ""},
        ReadCase{"UnparsableAfterTheValue", Export("\"P\"=\"x\"\ngarbage\n"), kTikora, "P", ""},
        ReadCase{"TooLarge", kTooLarge, kTikora, "ProgramPath", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundTripCase {
    const char* name;
    std::string text;
    std::string readBack;
};

class StoreRoundTrip : public RegistryStore, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(StoreRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTripCase& c = GetParam();
    WriteRegString(HKEY_CURRENT_USER, kSkins, "CurrentSkinPath", c.text);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kSkins, "currentskinpath"), c.readBack);
    const std::optional<RegistryTree> tree = ParseRegistryExport(Stored());
    ASSERT_TRUE(tree.has_value());
    EXPECT_EQ(*tree->FindValue(kSkins, "CurrentSkinPath"), (RegistryValue{REG_SZ, c.text + '\0'}));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoreRoundTrip,
    ::testing::Values(RoundTripCase{"Plain", "/home/a/Skins/Zefro", "/home/a/Skins/Zefro"},
                      RoundTripCase{"QuotesAndBackslashes", R"(C:\Skins\a "quoted" name\)",
                                    R"(C:\Skins\a "quoted" name\)"},
                      RoundTripCase{"NonAscii",
                                    "/home/j\xC3\xB6rg/\xE6\x97\xA5\xE6\x9C\xAC \xE2\x82\xAC",
                                    "/home/j\xC3\xB6rg/\xE6\x97\xA5\xE6\x9C\xAC \xE2\x82\xAC"},
                      RoundTripCase{"Empty", "", ""}, RoundTripCase{"Blanks", " a\t ", " a\t "},
                      RoundTripCase{"LineBreaks", "a\r\nb\n", "a\r\nb\n"},
                      RoundTripCase{"InvalidUtf8", "caf\xE9", "caf\xE9"},
                      RoundTripCase{"EmbeddedNulCuts", "a\0b"s, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryStore, WritesKeepEverythingElse) {
    const std::string before =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Foreign]\n@=hex:01,02\n\n"
        "[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n"
        "\"ProgramPath\"=\"/p\"\n\"BeatTime\"=\"True\"\n\"Count\"=dword:00000007\n\n"
        "[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora\\Skins]\n"
        "\"CurrentSkinFile\"=\"a.ini\"\n\"List\"=hex(7):61,00,00,00\n";
    Store(before);
    WriteTikora("beattime", "False");
    WriteRegString(HKEY_CURRENT_USER, kSkins, "CurrentSkinPath", "/s");

    std::optional<RegistryTree> expected = ParseRegistryExport(before);
    ASSERT_TRUE(expected.has_value());
    expected->SetValue(1, "BeatTime", {REG_SZ, "False\0"s});
    expected->SetValue(2, "CurrentSkinPath", {REG_SZ, "/s\0"s});
    EXPECT_EQ(Stored(), WriteRegistryExport(*expected));
}

struct UnreadableCase {
    const char* name;
    std::string file;
};

class UnreadableStore : public RegistryStore,
                        public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableStore, ReadsEmptyAndIsKeptWhenReplaced) {
    const std::string& old = GetParam().file;
    Store(old);
    EXPECT_EQ(ReadTikora("ProgramPath"), "");
    WriteTikora("BeatTime", "True");

    const std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), 2U);
    EXPECT_EQ(names[0], "registry.reg");
    EXPECT_TRUE(std::regex_match(names[1], std::regex(R"(registry\.reg\.unreadable-\d{8}-\d{6})")))
        << names[1];
    EXPECT_EQ(Read(folder_ / names[1]), old);
    EXPECT_EQ(Stored(), Export("\"BeatTime\"=\"True\"\n\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableStore,
    ::testing::Values(UnreadableCase{"Garbage", "\x01\x02 not an export"},
                      UnreadableCase{"Empty", ""},
                      UnreadableCase{"NoFirstLine",
                                     "[HKEY_CURRENT_USER\\k]\n\"ProgramPath\"=\"/p\""},
                      UnreadableCase{"BadEscape", Export(R"("ProgramPath"="C:\x")")},
                      UnreadableCase{"BadHex", Export("\"ProgramPath\"=hex(1):4x")},
                      UnreadableCase{"TooLarge", kTooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryStore, NeverOverwritesAnEarlierKeptFile) {
    Store("first");
    WriteTikora("BeatTime", "True");
    Store("second");  // within the same second, the kept name needs a counter
    WriteTikora("BeatTime", "False");

    std::vector<std::string> kept;
    for (const std::string& name : Names()) {
        if (name != "registry.reg") {
            kept.push_back(Read(folder_ / name));
        }
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(ReadTikora("BeatTime"), "False");
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
    EXPECT_EQ(Stored(), old);
    EXPECT_EQ(ReadTikora("ProgramPath"), "/old");
    ASSERT_EQ(Names().size(), 2U);  // the complete new file, never renamed
    EXPECT_EQ(Read(folder_ / Names()[0]), Export("\"ProgramPath\"=\"/new\"\n\n"));

    WriteTikora("ProgramPath", "/newer");
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
    EXPECT_EQ(ReadTikora("ProgramPath"), "/newer");
}

TEST_F(RegistryStore, NewFilesArePrivate) {
    WriteTikora("BeatTime", "True");
    struct stat info {};
    ASSERT_EQ(stat((root_ / "config").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    ASSERT_EQ(stat(folder_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    ASSERT_EQ(stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
}

TEST_F(RegistryStore, RefusesAFileTooLargeToReadBack) {
    const std::string old = Export("\"ProgramPath\"=\"/p\"\n");
    Store(old);
    WriteTikora("Big", std::string(kRegistryFileLimit, 'x'));
    EXPECT_EQ(Stored(), old);
    EXPECT_EQ(ReadTikora("ProgramPath"), "/p");
}

TEST_F(RegistryStore, CreatedKeyIsWrittenWithoutValues) {
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kSkins, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0U);
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kSkins, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(Stored(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + std::string(kSkins) + "]\n\n");
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "software\\VARDO SOFTWARE", &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_NE(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryStore, QueriesReportSizesAsWindowsDoes) {
    Store(Export("\"P\"=\"abc\"\n"));
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kTikora, &key), ERROR_SUCCESS);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "P", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4U);
    std::string buffer;
    size = 3;
    EXPECT_EQ(RegQueryValueExA(key, "P", &type, &buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(RegQueryValueExA(key, "P", &type, &buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(buffer, "abc\0"s);
    RegCloseKey(key);
    EXPECT_EQ(RegQueryValueExA(key, "P", &type, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(0, "P", &type, nullptr, &size), ERROR_INVALID_HANDLE);
}

struct NoStoreCase {
    const char* name;
    std::function<std::string()> settingsFile;
};

class NoStore : public ::testing::TestWithParam<NoStoreCase> {};

TEST_P(NoStore, ReadsNothingAndWritesNothing) {
    const fs::path root = MakeTempFolder();
    const fs::path previous = fs::current_path();
    fs::current_path(root);  // a relative slip would land here
    {
        const ScopedServices services(WithSettingsFile(GetParam().settingsFile));
        WriteRegString(HKEY_CURRENT_USER, kTikora, "BeatTime", "True");
        EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTikora, "BeatTime"), "");
        HKEY key = 0;
        EXPECT_NE(RegCreateKeyA(HKEY_CURRENT_USER, kTikora, &key), ERROR_SUCCESS);
        EXPECT_EQ(key, 0U);
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_EQ(OpenRegistryKeyCount(), 0U);
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Settings, NoStore,
                         ::testing::Values(NoStoreCase{"EmptyPath", [] { return std::string(); }},
                                           NoStoreCase{"NoService", nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
