// SPDX-License-Identifier: MIT
#include <windows.h>

#include "win32/file_time.h"
#include "win32/system_message.h"
#include "win32/win32_clock_setter.h"

namespace tikora {
namespace {

// Standard users do not hold the privilege, and administrators hold it disabled.
DWORD EnableSystemTimePrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return GetLastError();
    }
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &wanted.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr);
    }
    // AdjustTokenPrivileges always sets the last error, and succeeds without granting a privilege
    // the user lacks (ERROR_NOT_ALL_ASSIGNED).
    const DWORD error = GetLastError();
    CloseHandle(token);
    return error == ERROR_NOT_ALL_ASSIGNED ? ERROR_PRIVILEGE_NOT_HELD : error;
}

}  // namespace

ClockSetReport ClockSetReportFor(unsigned long error) {
    switch (error) {
        case ERROR_SUCCESS:
            return {};
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_ACCESS_DENIED:
            return {ClockSetResult::NotAllowed, SystemMessage(error)};
        default:
            return {ClockSetResult::Failed, SystemMessage(error)};
    }
}

// SetSystemTime takes the instant in UTC: unlike SetLocalTime, it has no doubt about which of the
// two hours a zone repeats in autumn is meant.
void Win32ClockSetter::SetClock(UtcTime when, ClockSetDone done) const {
    DWORD error = EnableSystemTimePrivilege();
    if (error == ERROR_SUCCESS) {
        const SYSTEMTIME wanted = ToSystemTime(when);
        error = SetSystemTime(&wanted) ? ERROR_SUCCESS : GetLastError();
    }
    done(ClockSetReportFor(error));
}

}  // namespace tikora
