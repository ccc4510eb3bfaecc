// SPDX-License-Identifier: MIT
#include "atomic/status_text.h"

#include <cstdio>

namespace tikora {
namespace {

// "back 2 h 03 min 10 s", "forward 20 min 05 s", "forward 0.4 s".
std::string ChangeText(std::chrono::nanoseconds change) {
    using namespace std::chrono;
    const char* way = change < nanoseconds{0} ? "back " : "forward ";
    char text[96];
    if (abs(change) < minutes{1}) {
        std::snprintf(text, sizeof text, "%s%.1f s", way, duration<double>(abs(change)).count());
        return text;
    }
    const long long total = round<seconds>(abs(change)).count();
    const long long d = total / 86400, h = total / 3600 % 24, m = total / 60 % 60, s = total % 60;
    if (d > 0) {
        std::snprintf(text, sizeof text, "%s%lld d %lld h %02lld min %02lld s", way, d, h, m, s);
    } else if (h > 0) {
        std::snprintf(text, sizeof text, "%s%lld h %02lld min %02lld s", way, h, m, s);
    } else {
        std::snprintf(text, sizeof text, "%s%lld min %02lld s", way, m, s);
    }
    return text;
}

std::string DateText(const std::chrono::year_month_day& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

}  // namespace

std::string AskingText(std::string_view host) {
    return "Asking " + std::string(host) + "...";
}

std::string AnswerText(const ReplyTaken& taken, std::string_view host) {
    if (taken.result == ReplyResult::NotATime) {
        return QueryFailureText(QueryFailure::NotATime, host, {});
    }
    std::string text = std::string(host) + " answered";
    if (taken.otherDate) {
        text += ", dated " + DateText(*taken.otherDate);
    }
    char late[64];
    switch (taken.result) {
        case ReplyResult::TakenUnhealthy:
            return text + ", but says it is not healthy: its time will not set the clock.";
        case ReplyResult::TakenLate:
            std::snprintf(late, sizeof late, "%.1f s",
                          std::chrono::duration<double>(taken.took).count());
            return text + ", but its line arrived " + late +
                   " late: its time will not set the clock.";
        default:
            return text + ".";
    }
}

std::string QueryFailureText(QueryFailure failure, std::string_view host, std::string_view detail) {
    const std::string name(host);
    switch (failure) {
        case QueryFailure::UnknownHost:
            return "There is no server called " + name + ".";
        case QueryFailure::NameServerSilent:
            return "Could not look up " + name + ": the name server did not answer.";
        case QueryFailure::NetworkUnreachable:
            return "Could not look up " + name + ": the network is unreachable.";
        case QueryFailure::LookupFailed:
            return "Could not look up " + name + ": " + std::string(detail) + ".";
        case QueryFailure::Refused:
            return name + " refused the connection.";
        case QueryFailure::Dropped:
            return name + " closed the connection without sending the time.";
        case QueryFailure::NoAnswer:
            return name + " did not answer within " + std::to_string(kQueryTimeLimit.count()) +
                   " seconds.";
        case QueryFailure::NotATime:
            return name + " did not send a time.";
        case QueryFailure::Other:
            break;
    }
    return "Could not ask " + name + ": " + std::string(detail) + ".";
}

std::string SyncText(SyncResult result) {
    return result == SyncResult::Done
               ? "The local time follows the atomic time."
               : "There is no atomic time to follow: get one with \"Get Atomic Time\" first.";
}

std::string UpdateRefusalText(UpdateRefusal refusal) {
    switch (refusal) {
        case UpdateRefusal::Unhealthy:
            return "The server said it was not healthy: its time does not set the clock.";
        case UpdateRefusal::Late:
            return "The server's line arrived late: its time does not set the clock.";
        default:
            return "The local time does not follow an atomic time: press \"Syncronise Time\" "
                   "first.";
    }
}

std::string ConfirmChangeText(const UpdatePlan& plan) {
    const std::string date = plan.otherDate ? ", to " + DateText(*plan.otherDate) : "";
    return "The clock will move " + ChangeText(plan.change) + date + ". Set it?";
}

std::string ClockSetText(const ClockSetReport& report, std::chrono::nanoseconds change) {
    switch (report.result) {
        case ClockSetResult::Done:
            return "The clock was set: it moved " + ChangeText(change) + ".";
        case ClockSetResult::NotAllowed:
            return "The clock was not set: not allowed.";
        case ClockSetResult::AutomaticSync:
            return "The clock was not set: automatic time synchronisation is on.";
        case ClockSetResult::ServiceAbsent:
            return "The clock was not set: the time-date service is not available.";
        case ClockSetResult::Failed:
            break;
    }
    return "The clock was not set: " + report.detail + ".";
}

}  // namespace tikora
