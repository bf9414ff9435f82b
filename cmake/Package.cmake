# The Debian package (scripts/package, or "cpack" in the build tree): the
# install rules of cmake/Install.cmake run with the prefix /usr, which puts
# the program folder at /usr/lib/korvald-emmc.

# cpack packages the tree as built: scripts/package builds what the package
# holds, and the test of the package must not build the whole suite again
# (CPack's preinstall step would otherwise build "all").
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvald-emmc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "KORVALD <support@korvald.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program of the KORVALD eMMC duplicator box")
set(CPACK_PACKAGE_DESCRIPTION
    "The program controls a KORVALD eMMC duplicator box attached over USB: it
reads the chip's identity, creates masters, reads and writes the boot and
user partitions of the single board, copies files between the box's USB
stick and its SD card, and reboots or updates the box.  Every operation is
a command line handed to adb.
.
korvald-emmc-cli runs the same operations from a shell.  A udev rule gives
the user at the seat (and the group plugdev) access to the box.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.korvald.example/")
# The libraries the binaries link come from dpkg-shlibdeps.  adb is run, not
# linked; Qt's platform plugins are loaded, not linked, and libqt6gui6 only
# recommends them, so without them the window could not open.  The caption
# icons are SVG, drawn by Qt's SVG icon plugin (libqt6svg6), which is loaded,
# not linked: without it the caption buttons are blank.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adb, qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
