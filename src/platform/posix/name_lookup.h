// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "atomic/status_text.h"

namespace tikora {

// Looks `host` up again with getaddrinfo and says why it fails now. It may wait as long as the
// name server does: never on the event loop's thread.
LookupVerdict WhyLookupFails(const std::string& host);

// The verdict for getaddrinfo's `error` (with errno `systemError` for EAI_SYSTEM); `routeOut`
// says whether the machine has a route to the outside, which tells a name server that did not
// answer from a network that is not there.
LookupVerdict LookupVerdictOf(int error, int systemError, bool routeOut);

}  // namespace tikora
