# What `cmake --install` puts under the prefix on Linux: the shared library
# (libzoint.so -> libzoint.so.1 -> libzoint.so.1.x.y), the headers, the CLI,
# a CMake package giving ZOInt::zoint, zoint.pc, the docs and the man page.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZOINT_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ZOInt")

install(TARGETS zoint EXPORT ZOIntTargets
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
        INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
# The whole directory: every public header there is part of the library.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/zoint" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(TARGETS zoint_cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(EXPORT ZOIntTargets NAMESPACE ZOInt:: DESTINATION "${ZOINT_INSTALL_CMAKEDIR}")
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/ZOIntConfig.cmake.in"
                              "${PROJECT_BINARY_DIR}/ZOIntConfig.cmake"
                              INSTALL_DESTINATION "${ZOINT_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ZOIntConfigVersion.cmake"
                                 COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/ZOIntConfig.cmake" "${PROJECT_BINARY_DIR}/ZOIntConfigVersion.cmake"
        DESTINATION "${ZOINT_INSTALL_CMAKEDIR}")

# zoint.pc names the prefix the files are installed under, which
# `cmake --install --prefix` chooses after configuring: it is written then.
install(CODE "
  set(ZOINT_PC_TEMPLATE \"${PROJECT_SOURCE_DIR}/cmake/zoint.pc.in\")
  set(ZOINT_PC_OUTPUT \"${PROJECT_BINARY_DIR}/zoint.pc\")
  set(ZOINT_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(ZOINT_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(ZOINT_PC_VERSION \"${PROJECT_VERSION}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/write_pkg_config.cmake\")
")
install(FILES "${PROJECT_BINARY_DIR}/zoint.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")

install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/zoint")
install(FILES "${PROJECT_SOURCE_DIR}/tools/zoint.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
