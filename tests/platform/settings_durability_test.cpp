// The settings store under abuse: processes killed while they write it, at random moments, and
// processes that write it at the same time. Whatever happens, the file reads as a complete store:
// the values of one write or of the next, never a mixture, never nothing.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/services.h"
#include "posix/modRegistry.h"
#include "settings/registry_format.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKey = "Software\\Vardo Software\\Tikora";
// Large enough that writing the file takes a while, so that kills land inside writes too.
constexpr std::size_t kLargePayload = 8 * 1024;
constexpr std::size_t kSmallPayload = 1024;

// A text that says which write it came from in every one of its pieces, so that a mixture of two
// writes can't pass for either.
std::string Payload(long generation, std::size_t bytes = kLargePayload) {
    const std::string piece = "<" + std::to_string(generation) + ">";
    std::string text;
    while (text.size() + piece.size() <= bytes) {
        text += piece;
    }
    return text;
}

// The generation of a payload made by Payload(), or nothing for anything else.
std::optional<long> GenerationOf(const std::string& text, std::size_t bytes = kLargePayload) {
    if (text.size() < 3 || text.front() != '<') {
        return std::nullopt;
    }
    long generation = 0;
    const auto [end, error] =
        std::from_chars(text.data() + 1, text.data() + text.size(), generation);
    if (error != std::errc() || *end != '>') {
        return std::nullopt;
    }
    return text == Payload(generation, bytes) ? std::optional(generation) : std::nullopt;
}

std::string Read(const fs::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// On a memory file system where there is one: a killed process is no power cut, so what is tested
// is the replacing of the file, and the disk's flushes would only make each write slow.
fs::path MakeFolder() {
    const fs::path memory = "/dev/shm";
    const fs::path base = access(memory.c_str(), W_OK) == 0 ? memory : fs::temp_directory_path();
    std::string pattern = (base / "tikora-durability-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    return pattern;
}

class SettingsDurability : public ::testing::Test {
  protected:
    ~SettingsDurability() override { fs::remove_all(root_); }

    // What a reader finds: the store must parse, and hold the marker and a whole payload.
    struct Reading {
        bool parsed = false;
        std::string marker;
        std::optional<long> generation;
    };
    Reading ReadStore() const {
        Reading reading;
        const std::optional<RegistryTree> tree = ParseRegistryExport(Read(file_));
        reading.parsed = tree.has_value();
        reading.marker = ReadRegString(kCurrentUser, kKey, "Marker");
        const std::string payload = ReadRegString(kCurrentUser, kKey, "Payload");
        reading.generation = GenerationOf(payload);
        return reading;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    const fs::path root_ = MakeFolder();
    const fs::path folder_ = root_ / "tikora";
    const fs::path file_ = folder_ / "registry.reg";
    const ScopedServices services_{[this] {
        Services services;
        services.settingsFile = [this] { return file_.string(); };
        return services;
    }()};
};

// Forks a process that says it is ready on `ready`, then writes generation after generation until
// it is killed.
pid_t StartWriter(long firstGeneration, int ready) {
    const pid_t child = fork();
    if (child == 0) {
        const char go = 1;
        if (write(ready, &go, 1) != 1) {
            _exit(2);
        }
        for (long generation = firstGeneration;; ++generation) {
            WriteRegString(kCurrentUser, kKey, "Payload", Payload(generation));
        }
    }
    return child;
}

TEST_F(SettingsDurability, KilledWritersLeaveTheOldOrTheNewStoreWhole) {
    constexpr int kTrials = 500;
    WriteRegString(kCurrentUser, kKey, "Marker", "kept");
    WriteRegString(kCurrentUser, kKey, "Payload", Payload(0));
    // How long one write takes here; the kills fall anywhere within about two of them.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) {
        WriteRegString(kCurrentUser, kKey, "Payload", Payload(0));
    }
    const auto write = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start) /
                       5;
    std::mt19937 random(20240601);
    std::uniform_int_distribution<long> delay(0, std::max<long>(2 * write.count(), 50));

    long generation = 0;  // the newest generation found so far
    int changed = 0;      // trials after which the file held a newer generation
    int interrupted = 0;  // trials whose kill left a write's temporary file behind
    for (int trial = 0; trial < kTrials; ++trial) {
        int pipe_[2];
        ASSERT_EQ(pipe(pipe_), 0);
        const pid_t writer = StartWriter(generation + 1, pipe_[1]);
        ASSERT_GT(writer, 0);
        char go = 0;
        ASSERT_EQ(read(pipe_[0], &go, 1), 1);
        close(pipe_[0]);
        close(pipe_[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(kill(writer, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status)) << "trial " << trial;

        interrupted += Names().size() > 1;
        const Reading reading = ReadStore();
        ASSERT_TRUE(reading.parsed) << "trial " << trial << ": the store is torn";
        ASSERT_EQ(reading.marker, "kept") << "trial " << trial;
        ASSERT_TRUE(reading.generation.has_value()) << "trial " << trial << ": a torn value";
        ASSERT_GE(*reading.generation, generation) << "trial " << trial << ": a write was lost";
        changed += *reading.generation > generation;
        generation = *reading.generation;
    }
    // Never a file kept as unreadable; at most the one temporary file of the last killed write,
    // which the next write clears away.
    WriteRegString(kCurrentUser, kKey, "Payload", Payload(generation + 1));
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
    // The kills fell both before a first write completed and after: both outcomes were met.
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, kTrials);
    std::cout << "[ figures  ] " << kTrials << " kills survived: " << changed
              << " left a newer store, " << kTrials - changed << " the one before, " << interrupted
              << " left a half-written temporary file; one write took " << write.count() << " us\n";
}

// Two processes save their own values over and over at the same time; every value of both is in
// the store afterwards, which is one complete file with nothing left beside it.
TEST_F(SettingsDurability, TwoProcessesSavingAtOnceLoseNothing) {
    constexpr int kWrites = 25;
    WriteRegString(kCurrentUser, kKey, "Marker", "kept");
    int pipe_[2];
    ASSERT_EQ(pipe(pipe_), 0);
    std::vector<pid_t> writers;
    for (const char* name : {"First", "Second"}) {
        const pid_t child = fork();
        if (child == 0) {
            char go = 0;
            if (read(pipe_[0], &go, 1) != 1) {
                _exit(2);
            }
            for (int i = 0; i < kWrites; ++i) {
                const std::string payload = Payload(i, kSmallPayload);
                WriteRegString(kCurrentUser, kKey, name + std::to_string(i), payload);
                WriteRegString(kCurrentUser, kKey, "Shared", payload);
            }
            _exit(0);
        }
        ASSERT_GT(child, 0);
        writers.push_back(child);
    }
    const char go[2] = {1, 1};  // both start together
    ASSERT_EQ(write(pipe_[1], go, 2), 2);
    close(pipe_[0]);
    close(pipe_[1]);
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const std::optional<RegistryTree> tree = ParseRegistryExport(Read(file_));
    ASSERT_TRUE(tree.has_value());
    ASSERT_EQ(tree->Keys().size(), 1u);
    std::string names;
    for (const auto& [name, value] : tree->Keys()[0].values) {
        names += " " + name;
    }
    // Marker, Shared and each one's own.
    EXPECT_EQ(tree->Keys()[0].values.size(), 2u + 2u * kWrites) << names;
    EXPECT_EQ(ReadRegString(kCurrentUser, kKey, "Marker"), "kept");
    for (const char* name : {"First", "Second"}) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(GenerationOf(ReadRegString(kCurrentUser, kKey, name + std::to_string(i)),
                                   kSmallPayload),
                      i);
        }
    }
    const std::string shared = ReadRegString(kCurrentUser, kKey, "Shared");
    EXPECT_EQ(GenerationOf(shared, kSmallPayload), kWrites - 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
}

}  // namespace
}  // namespace tikora
