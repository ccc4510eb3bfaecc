// SPDX-License-Identifier: MIT
#pragma once

// What the atomic-time page says in its status line and asks before a large change, in plain
// words, whichever window system shows it.

#include <chrono>
#include <string>
#include <string_view>

#include "atomic/running_displays.h"
#include "platform/clock_setter.h"

namespace tikora {

// How long a query may take, connecting and answering together.
inline constexpr std::chrono::seconds kQueryTimeLimit{10};
// A change of the clock larger than this is asked about first: the Daytime protocol is not
// authenticated, and a forged answer should not move the clock far without the user's word.
inline constexpr std::chrono::minutes kAskAboveChange{15};

// A name lookup fails as UnknownHost only where the system says that the name does not exist; as
// LookupFailed (with the system's words) where it gives another reason than the two named.
enum class QueryFailure {
    UnknownHost,
    NameServerSilent,
    NetworkUnreachable,
    LookupFailed,
    Refused,
    Dropped,
    NoAnswer,
    NotATime,
    Other
};

// Why a host name gave no address, in the system's own terms.
struct LookupVerdict {
    QueryFailure failure = QueryFailure::UnknownHost;
    std::string detail;  // the system's words, for LookupFailed
};

std::string AskingText(std::string_view host);
// "time-a-g.nist.gov answered, dated 2099-12-07."
std::string AnswerText(const ReplyTaken& taken, std::string_view host);
// `detail` is the network's own description, for failures without words of their own.
std::string QueryFailureText(QueryFailure failure, std::string_view host, std::string_view detail);
std::string SyncText(SyncResult result);
std::string UpdateRefusalText(UpdateRefusal refusal);
// "The clock will move back 2 h 03 min 10 s. Set it?", with the new date where it changes.
std::string ConfirmChangeText(const UpdatePlan& plan);
std::string ClockSetText(const ClockSetReport& report, std::chrono::nanoseconds change);

}  // namespace tikora
