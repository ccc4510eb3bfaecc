// SPDX-License-Identifier: MIT
#pragma once

// Small conveniences over xcb for the X11 services. Every request that can fail on a vanished
// window takes its error with its reply, so that no X error reaches Qt's log.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tikora::xcb {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Qt's own connection to the X server, or null when Qt does not run on X11.
xcb_connection_t* QtConnection();

// The screen that $DISPLAY names (0 when it names none) and its root window.
int DefaultScreenNumber();
xcb_window_t DefaultRoot(xcb_connection_t* connection);

// The atom of that name, made if need be; XCB_ATOM_NONE on failure.
xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name);

// The window's children from the bottom of the stack up; none when the window is gone.
std::vector<xcb_window_t> Children(xcb_connection_t* connection, xcb_window_t window);

// The raw bytes of a property, or nothing when the window or the property is missing.
std::optional<std::string> ReadProperty(xcb_connection_t* connection, xcb_window_t window,
                                        xcb_atom_t property);

// The class part of WM_CLASS: the second of its two NUL-terminated strings.
std::optional<std::string> ClassPart(const std::string& wmClass);

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// True when the window and all its ancestors are mapped.
bool Viewable(xcb_connection_t* connection, xcb_window_t window);

}  // namespace tikora::xcb
