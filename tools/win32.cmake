# SPDX-License-Identifier: MIT
# Programs beside the clock in the Windows build.

# A stand-in taskbar for the clock to dock into under Wine: for tests/win32/end_to_end_test.sh.
# A console program, so that what it prints reaches the test through Wine.
add_executable(tikora-fixture-taskbar
               ${CMAKE_CURRENT_LIST_DIR}/fixture-taskbar-win32/fixture_taskbar_win32.cpp)
