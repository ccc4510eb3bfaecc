#pragma once

#include <functional>
#include <string>

#include "platform/time_source.h"
#include "platform/time_zone.h"

namespace tikora {

// The operating-system services the program reads through. The executable installs the real
// ones at start; tests swap in fakes for the length of a test with ScopedServices.
struct Services {
    const TimeSource* time = nullptr;
    const TimeZoneSource* zone = nullptr;
    std::function<std::string()> programFolder;
    // Where the per-user settings store lives.
    std::function<std::string()> settingsFile;
};

const Services& Platform();
void InstallSystemServices();

class ScopedServices {
  public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

  private:
    Services saved_;
};

}  // namespace tikora
