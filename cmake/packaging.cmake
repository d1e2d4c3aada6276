# CPack: `--target package` makes a .deb on Linux and a .zip for each
# Windows preset, from the install rules.
set(CPACK_PACKAGE_NAME ZOInt)
set(CPACK_PACKAGE_VENDOR "The ZOInt developers")
set(CPACK_PACKAGE_CONTACT "The ZOInt developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exact solver for pure 0-1 integer linear programs")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_PACKAGE_FILE_NAME "ZOInt-${PROJECT_VERSION}-win32")
  else()
    set(CPACK_PACKAGE_FILE_NAME "ZOInt-${PROJECT_VERSION}-win64")
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME zoint)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  # CPack puts the summary above this as the first line.
  string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
         "ZOInt minimises a linear objective over 0-1 variables subject to linear"
         "inequalities with signed 64-bit coefficients (up to 100 variables and 50"
         "constraints). A host writes ZOIntIn.dat, calls ZOInterProgram and reads"
         "ZOIntOut.dat. This package holds the shared library libzoint, the"
         "command-line host zoint, the C header, the CMake and pkg-config files,"
         "and the man page.")
  # Depends computed from the binaries by dpkg-shlibdeps; a shlibs file so
  # that packages built against libzoint.so.1 depend on this one.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  set(CPACK_STRIP_FILES ON)
  # The install rules run with DESTDIR, so zoint.pc names /usr, not the
  # staging directory.
  set(CPACK_SET_DESTDIR ON)
endif()

include(CPack)
