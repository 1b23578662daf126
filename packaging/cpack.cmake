# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder writes tovik_VERSION_ARCH.deb with
# everything the install rules put under /usr. The libraries it needs are read from the
# binaries (QuaZip from the KMZ module in /usr/lib/tovik); the fonts and Qt's Japanese
# translations the windows need are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovik)
set(CPACK_PACKAGE_VENDOR "Tovik developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOVIK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TOVIK_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tovik opens the point memory of the RQ-42/RQ-40 navigation device, a 9604-byte
.mem file of up to 100 points, lets you change, add, delete and reorder the
points, copy points across from a second file and give many points one mark at
once, and writes the file back with a fresh check value so that the device takes
it. The package holds the editor tovik and the command-line companion tovik-cli.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
# PROJ is opened only where the user has installed the TKY2JGD grid for it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libproj25")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
