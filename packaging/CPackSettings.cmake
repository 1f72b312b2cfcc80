# The Debian package: `cpack -G DEB` in the build folder makes
# tornel_<version>_<arch>.deb from what `cmake --install` lays out, under /usr.
set(TORNEL_PACKAGE_MAINTAINER "Halvane <tornel@halvane.example>" CACHE STRING
    "Maintainer of the Debian package, as \"Name <address>\"")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tornel)
set(CPACK_PACKAGE_VENDOR Halvane)
set(CPACK_PACKAGE_CONTACT "${TORNEL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for CNC part programs")
set(CPACK_PACKAGE_DESCRIPTION
"Tornel opens NC part programs, edits them and interprets each one into a
toolpath with its machining time, rapid distance and feed distance. It
shows the toolpath in 3-D, plays it back move by move with the tool drawn
as defined, and sends programs to a machine tool's controller over a serial
line (DNC) or receives them from it.

The package also holds tornel-info, which prints the machining information
of programs on the command line, as text or JSON.")
# Stage through DESTDIR, which tells the install not to build the desktop's
# caches into the package (UpdateDesktopCaches.cmake).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps.  What is loaded at run time no
# linker sees: Qt's window-system plugins, and the GLX side of OpenGL that the
# 3-D view's context comes from (the program links only libOpenGL).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1")
# The code view's font (one CJK character in two cells) and Qt's own dialogs
# in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
