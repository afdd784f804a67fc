# Run by CPack after it has made the packages: copies each one into the
# package directory (dist/), leaving CPack's scratch files behind in the
# build tree.
file(MAKE_DIRECTORY "${CPACK_D88CUT_DIST_DIR}")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(COPY "${package}" DESTINATION "${CPACK_D88CUT_DIST_DIR}")
  get_filename_component(name "${package}" NAME)
  message(STATUS "Package: ${CPACK_D88CUT_DIST_DIR}/${name}")
endforeach()
