// SPDX-License-Identifier: MIT
// The settings store under abuse, as a measurement run by hand or by CI: processes killed at random
// moments while they write it, and two processes writing it at the same time. Whatever happens, the
// file must read as a complete store (the values of one write or of the next, never a mixture,
// never nothing), and no value of a finished write may be lost. Prints what it saw; exits 1 when a
// check failed.
//
// Usage: tikora-settings-durability [kills, default 500]

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/modRegistry.h"
#include "platform/services.h"
#include "settings/registry_format.h"

namespace {

namespace fs = std::filesystem;
using tikora::kCurrentUser;
using tikora::ReadRegString;
using tikora::WriteRegString;

constexpr const char* kKey = "Software\\Vardo Software\\Tikora";
// Large enough that writing the file takes a while, so that kills land inside writes too.
constexpr std::size_t kLargePayload = 8 * 1024;
constexpr std::size_t kSmallPayload = 1024;

// A text that names its write in every piece, so that a mixture of two writes can't pass for
// either.
std::string Payload(long generation, std::size_t bytes = kLargePayload) {
    std::string piece(1, '<');
    piece.append(std::to_string(generation)).push_back('>');
    std::string text;
    while (text.size() + piece.size() <= bytes) {
        text.append(piece);
    }
    return text;
}

// The generation of a text made by Payload(), or nothing for anything else.
std::optional<long> GenerationOf(const std::string& text, std::size_t bytes = kLargePayload) {
    long generation = 0;
    if (text.size() < 3 || text.front() != '<') {
        return std::nullopt;
    }
    const auto [end, error] =
        std::from_chars(text.data() + 1, text.data() + text.size(), generation);
    if (error != std::errc() || *end != '>' || text != Payload(generation, bytes)) {
        return std::nullopt;
    }
    return generation;
}

class Trial {
  public:
    explicit Trial(fs::path folder) : folder_(std::move(folder)) {}

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Parses() const {
        std::ifstream file(folder_ / "registry.reg", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        return tikora::ParseRegistryExport(bytes).has_value();
    }
    bool OnlyTheStoreLeft() const { return Names() == std::vector<std::string>{"registry.reg"}; }

    int failures = 0;
    void Check(bool condition, const std::string& what) {
        if (!condition) {
            ++failures;
            std::printf("FAILED: %s\n", what.c_str());
        }
    }

  private:
    fs::path folder_;
};

// Forks a process that says it is ready through `ready`, then writes generation after generation
// until it is killed.
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

void KilledWriters(Trial& trial, int kills) {
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
    int changed = 0;      // kills after which the file held a newer generation
    int interrupted = 0;  // kills that left a write's temporary file behind
    for (int kill = 0; kill < kills && trial.failures == 0; ++kill) {
        int ready[2];
        if (pipe(ready) != 0) {
            trial.Check(false, "a pipe");
            return;
        }
        const pid_t writer = StartWriter(generation + 1, ready[1]);
        char go = 0;
        const bool started = writer > 0 && read(ready[0], &go, 1) == 1;
        close(ready[0]);
        close(ready[1]);
        trial.Check(started, "a writer started");
        if (!started) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        const std::string at = "after kill " + std::to_string(kill + 1);
        trial.Check(WIFSIGNALED(status), at + ": the writer was killed, not ended");

        interrupted += trial.Names().size() > 1;
        trial.Check(trial.Parses(), at + ": the store reads whole");
        trial.Check(ReadRegString(kCurrentUser, kKey, "Marker") == "kept",
                    at + ": the other value is kept");
        const std::optional<long> found =
            GenerationOf(ReadRegString(kCurrentUser, kKey, "Payload"));
        trial.Check(found.has_value(), at + ": the value is one write's whole text");
        trial.Check(found.value_or(generation) >= generation, at + ": no finished write is lost");
        changed += found.value_or(generation) > generation;
        generation = found.value_or(generation);
    }
    // At most the temporary file of the last killed write is left, which the next write clears.
    WriteRegString(kCurrentUser, kKey, "Payload", Payload(generation + 1));
    trial.Check(trial.OnlyTheStoreLeft(), "the next write clears what killed writes left");
    std::printf(
        "killed writers: %d kills, %d left a newer store, %d the one before, %d left a "
        "half-written temporary file; one write took %lld us\n",
        kills, changed, kills - changed, interrupted, static_cast<long long>(write.count()));
}

// Two processes save their own values over and over at the same time: afterwards every value of
// both is in the store, which is one complete file with nothing beside it.
void WritersAtOnce(Trial& trial) {
    constexpr int kWrites = 25;
    int ready[2];
    if (pipe(ready) != 0) {
        trial.Check(false, "a pipe");
        return;
    }
    std::vector<pid_t> writers;
    for (const char* name : {"First", "Second"}) {
        const pid_t child = fork();
        if (child == 0) {
            char go = 0;
            if (read(ready[0], &go, 1) != 1) {
                _exit(2);
            }
            for (int i = 0; i < kWrites; ++i) {
                const std::string payload = Payload(i, kSmallPayload);
                WriteRegString(kCurrentUser, kKey, name + std::to_string(i), payload);
                WriteRegString(kCurrentUser, kKey, "Shared", payload);
            }
            _exit(0);
        }
        writers.push_back(child);
    }
    const char go[2] = {1, 1};  // both start together
    trial.Check(write(ready[1], go, 2) == 2, "both writers started");
    close(ready[0]);
    close(ready[1]);
    for (const pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        trial.Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a writer finished");
    }
    int kept = 0;
    for (const char* name : {"First", "Second"}) {
        for (int i = 0; i < kWrites; ++i) {
            kept += GenerationOf(ReadRegString(kCurrentUser, kKey, name + std::to_string(i)),
                                 kSmallPayload) == i;
        }
    }
    trial.Check(kept == 2 * kWrites, "every value of both writers is kept");
    trial.Check(trial.Parses() && trial.OnlyTheStoreLeft(), "one whole store and nothing else");
    std::printf("writers at once: 2 processes, %d values each, %d of %d kept\n", kWrites, kept,
                2 * kWrites);
}

// On a memory file system where there is one: a killed process is no power cut, so what is tried
// is the replacing of the file, and the disk's flushes would only make each write slow.
fs::path MakeFolder() {
    const fs::path memory = "/dev/shm";
    const fs::path base = access(memory.c_str(), W_OK) == 0 ? memory : fs::temp_directory_path();
    std::string pattern = (base / "tikora-durability-XXXXXX").string();
    return mkdtemp(pattern.data()) == nullptr ? fs::path() : fs::path(pattern);
}

// Runs one trial on a store of its own in `folder`; the number of failed checks.
int RunTrial(const fs::path& folder, const std::function<void(Trial&)>& run) {
    fs::create_directories(folder);
    tikora::Services services;
    services.settingsFile = [file = (folder / "registry.reg").string()] { return file; };
    const tikora::ScopedServices scoped(std::move(services));
    Trial trial(folder);
    run(trial);
    return trial.failures;
}

}  // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 500;
    const fs::path root = MakeFolder();
    if (root.empty() || kills < 1) {
        std::fprintf(stderr, "usage: %s [kills, default 500]\n", argv[0]);
        return 2;
    }
    const int failures =
        RunTrial(root / "killed", [kills](Trial& trial) { KilledWriters(trial, kills); }) +
        RunTrial(root / "at-once", WritersAtOnce);
    fs::remove_all(root);
    std::printf("%s\n", failures == 0 ? "the store stayed whole" : "the store was damaged");
    return failures == 0 ? 0 : 1;
}
