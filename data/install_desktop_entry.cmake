# SPDX-License-Identifier: MIT
# Run at install time, when the prefix is known: the desktop entry starts the clock in its own
# folder, where the skin chooser then opens beside the skins.
set(PROGRAM_FOLDER "${CMAKE_INSTALL_PREFIX}/lib/tikora")
configure_file("${TIKORA_DESKTOP_ENTRY}"
               "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/tikora.desktop" @ONLY)
message(STATUS "Installing: $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/tikora.desktop")
