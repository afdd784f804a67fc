# What `cmake --install` puts where, and the packages CPack makes of it.
#
#   POSIX:    bin/d88cut, share/man/man1/d88cut.1, share/doc/d88cut/{README.md,LICENSE}
#   Windows:  d88cut.exe, README.md and LICENSE side by side, as the zip holds them
include(GNUInstallDirs)
if(WIN32)
  install(TARGETS d88cut RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
else()
  install(TARGETS d88cut RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/d88cut.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# Packages go to the build tree, and from there to D88CUT_DIST_DIR.
set(D88CUT_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where finished packages are copied")
set(CPACK_D88CUT_DIST_DIR ${D88CUT_DIST_DIR})
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/copy-to-dist.cmake)

set(CPACK_PACKAGE_NAME d88cut)
set(CPACK_PACKAGE_VENDOR "the d88cut authors")
set(CPACK_PACKAGE_CONTACT "the d88cut authors <d88cut@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut files out of D88 floppy-disk images")
set(CPACK_PACKAGE_DESCRIPTION
    "d88cut finds every disk in a D88 image file, recognises two known disks by
their boot sector and writes fixed runs of their sectors into raw files in
the current directory. It only ever reads the image.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" D88CUT_PLATFORM)
set(CPACK_PACKAGE_FILE_NAME d88cut-${PROJECT_VERSION}-${D88CUT_PLATFORM})
set(CPACK_STRIP_FILES ON)

# Debian: installs under /usr; the dependencies are read off the executable
# (none for a static one).
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()
include(CPack)
