// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/time_source.h"

namespace tikora {

struct PreviewOptions {
    std::string skinIni;
    int width = 80;
    int height = 24;
    std::optional<int> secondsSinceMidnight;  // --at; the current time when absent
    bool beat = false;
    std::string output = "preview.png";
};

inline constexpr char kPreviewUsage[] =
    "usage: tikora-preview SKIN_INI [--size WxH] [--at HH:MM:SS] [--beat] [-o OUT.png]";

// The command line after the program's name; nothing when it is not a valid one, with the
// reason in `error`.
std::optional<PreviewOptions> ParsePreviewArguments(const std::vector<std::string>& arguments,
                                                    std::string& error);

// Today's date at the time of day asked for (--at), or simply now.
class PreviewTime final : public TimeSource {
  public:
    PreviewTime(const TimeSource& system, std::optional<int> secondsSinceMidnight)
        : system_(system), seconds_(secondsSinceMidnight) {}
    LocalTime Now() const override;

  private:
    const TimeSource& system_;
    std::optional<int> seconds_;
};

}  // namespace tikora
