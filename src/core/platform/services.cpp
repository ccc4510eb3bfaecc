// SPDX-License-Identifier: MIT
#include "platform/services.h"

namespace tikora {
namespace {

Services& Current() {
    static Services services;
    return services;
}

}  // namespace

const Services& Platform() {
    return Current();
}

void InstallServices(Services services) {
    Current() = std::move(services);
}

ScopedServices::ScopedServices(Services replacement) : saved_(Current()) {
    Current() = std::move(replacement);
}

ScopedServices::~ScopedServices() {
    Current() = std::move(saved_);
}

}  // namespace tikora
