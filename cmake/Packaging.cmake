# The Debian package (scripts/package runs it): nx5rb_<version>_<arch>.deb with the programs, the
# desktop integration, the manual pages and the documents that resources/ installs. Its
# dependencies are computed from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nx5rb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(NX5RB_MAINTAINER "NX5RB developers <nx5rb@users.noreply.github.com>" CACHE STRING
    "The Debian package's maintainer")
set(CPACK_PACKAGE_CONTACT ${NX5RB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${NX5RB_MAINTAINER})
set(CPACK_PACKAGE_VENDOR "NX5RB developers")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${NX5RB_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese captions need a CJK font; Qt's own dialogs speak Chinese with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tuning and programming tool for a tri-band handheld radio")
# The extended description: CPack puts the summary before it and indents it, a blank line
# becoming a paragraph break. Lines stay within 80 columns for the terminal.
set(CPACK_PACKAGE_DESCRIPTION
    "A tool for service technicians who tune and program a tri-band handheld
two-way radio (130-175 MHz, 400-520 MHz and 200-260 MHz). It reads and writes
the radio's memory over a serial port and edits the band limits, the
sensitivity and power tune tables with their calibration chart, the squelch
thresholds, the modulation settings, the power-on message and the 128 memory
channels. Its user interface is in Chinese.

The package holds the window (nx5rb), the command line tool (nx5rb-cli) with
its chart drawing program (nx5rb-chart), and a virtual radio on a
pseudo-terminal (nx5rb-sim) for trying everything without hardware.")
set(CPACK_STRIP_FILES ON)
# The package's folders as Debian has them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
