# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in a release build (`cmake --build --preset release --target
# package`) makes tikora_<version>_amd64.deb of the install layout under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tikora)
set(CPACK_PACKAGE_VENDOR "The Tikora developers")
set(CPACK_PACKAGE_CONTACT "The Tikora developers <tikora-developers@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinnable clock for the notification area of the taskbar")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The skins were drawn from DejaVu; the windows fall back to Liberation Sans, whose widths fit
# their captions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation2")
set(CPACK_PACKAGE_DESCRIPTION
    "Tikora sits in the notification area of the panel and shows the time as
hours and minutes or as Internet Time (an at sign and three digits, the 1000
beats of the UTC+1 day). Its look comes from skins: an image strip of glyphs,
or text in a font and colours of the skin's choosing. Six skins come with it.

Its preferences window asks a public time server for the time over the
Daytime protocol, runs it beside the local time and can set the clock.")
include(CPack)
