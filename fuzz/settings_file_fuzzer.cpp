// SPDX-License-Identifier: MIT
// The settings file's reader and writer. Any bytes that read as a settings file must write out to
// a file that reads back to the same keys and values, and writing that again must give the very
// same text. Then the same for a tree built from the input by the tree's own calls, which reaches
// names and values that no file the fuzzer writes would hold. What a salvage keeps of a damaged
// file round-trips the same way, and a file that reads whole salvages to the very same tree.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/registry_format.h"

namespace {

using tikora::ParseRegistryExport;
using tikora::RegistryTree;
using tikora::WriteRegistryExport;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SameTree(const RegistryTree& a, const RegistryTree& b) {
    if (a.Keys().size() != b.Keys().size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.Keys().size(); ++i) {
        const RegistryTree::Key& left = a.Keys()[i];
        const RegistryTree::Key& right = b.Keys()[i];
        if (left.path != right.path || left.values != right.values) {
            return false;
        }
    }
    return true;
}

// Written, read back, written again: the same tree and the same text, every value findable.
void RoundTrip(const RegistryTree& tree) {
    const std::string text = WriteRegistryExport(tree);
    const std::optional<RegistryTree> again = ParseRegistryExport(text);
    Require(again.has_value());
    Require(SameTree(tree, *again));
    Require(WriteRegistryExport(*again) == text);
    for (const RegistryTree::Key& key : tree.Keys()) {
        Require(again->HasKey(key.path));
        for (const auto& [name, value] : key.values) {
            const tikora::RegistryValue* found = again->FindValue(key.path, name);
            Require(found != nullptr && *found == value);
        }
    }
}

void BuildAndRoundTrip(FuzzedDataProvider& input) {
    RegistryTree tree;
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        const std::string path = input.ConsumeRandomLengthString(64);
        const std::optional<std::size_t> key = tree.AddKey(path);
        Require(key.has_value() == RegistryTree::IsValidKeyPath(path));
        if (!key) {
            continue;
        }
        Require(tree.HasKey(path));
        const int values = input.ConsumeIntegralInRange(0, 4);
        for (int v = 0; v < values; ++v) {
            const std::string name = input.ConsumeRandomLengthString(32);
            tikora::RegistryValue value;
            value.type = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 5)
                                             : input.ConsumeIntegral<std::uint32_t>();
            value.data = input.ConsumeRandomLengthString(200);
            const bool set = tree.SetValue(*key, name, value);
            Require(set == RegistryTree::IsValidValueName(name));
            if (set) {
                const tikora::RegistryValue* found = tree.FindValue(path, name);
                Require(found != nullptr && *found == value);
            }
        }
    }
    RoundTrip(tree);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<RegistryTree> tree = ParseRegistryExport(text);
    const std::optional<RegistryTree> salvaged = tikora::SalvageRegistryExport(text);
    if (tree) {
        RoundTrip(*tree);
        Require(salvaged.has_value() && SameTree(*tree, *salvaged));
    }
    if (salvaged) {
        RoundTrip(*salvaged);
    }
    FuzzedDataProvider input(data, size);
    BuildAndRoundTrip(input);
    return 0;
}
