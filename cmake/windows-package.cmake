# The Windows zip of a release: the executable cross-built with MinGW-w64
# in a build tree of its own, packed by CPack with README and LICENSE, and
# copied to D88CUT_DIST_DIR beside the native packages.
find_program(D88CUT_MINGW_CXX x86_64-w64-mingw32-g++)
if(NOT D88CUT_MINGW_CXX)
  message(FATAL_ERROR "The Windows zip needs MinGW-w64 (package g++-mingw-w64-x86-64)")
endif()
include(ExternalProject)
ExternalProject_Add(d88cut_windows_zip
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${PROJECT_BINARY_DIR}/windows-package
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
             -DCMAKE_BUILD_TYPE=Release
             -DD88CUT_DIST_DIR=${D88CUT_DIST_DIR}
  INSTALL_COMMAND ${CMAKE_CPACK_COMMAND} --config <BINARY_DIR>/CPackConfig.cmake
  BUILD_ALWAYS ON
)
