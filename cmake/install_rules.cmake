# What `cmake --install` puts under the prefix on Linux: the shared library
# (libzoint.so -> libzoint.so.1 -> libzoint.so.1.x.y), the headers, the CLI,
# a CMake package giving ZOInt::zoint, zoint.pc, the Python module, the docs
# and the man page.
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

# The Python module, under lib/python3/dist-packages: Debian's own path for
# Python 3 modules under /usr (the .deb), the same path under any other
# prefix, which PYTHONPATH then names. The installed copy finds the
# installed libzoint.so.1 through a path relative to itself, so that it
# needs no environment variable and moves with the prefix.
set(ZOINT_PYTHON_DIR "lib/python3/dist-packages" CACHE STRING
    "Where the Python module is installed, relative to the prefix")
set(library_file "libzoint.so.${PROJECT_VERSION_MAJOR}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(library_from_module "${CMAKE_INSTALL_LIBDIR}/${library_file}")
else()
  file(RELATIVE_PATH library_from_module "/prefix/${ZOINT_PYTHON_DIR}"
       "/prefix/${CMAKE_INSTALL_LIBDIR}/${library_file}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/python/zoint.py")
file(READ "${PROJECT_SOURCE_DIR}/python/zoint.py" module_text)
set(unset_line "_INSTALLED_LIBRARY = None\n")
string(FIND "${module_text}" "${unset_line}" unset_at)
if(unset_at EQUAL -1)
  message(FATAL_ERROR "python/zoint.py has no line \"_INSTALLED_LIBRARY = None\" for the install to set")
endif()
string(REPLACE "${unset_line}" "_INSTALLED_LIBRARY = \"${library_from_module}\"\n" module_text "${module_text}")
file(GENERATE OUTPUT "${PROJECT_BINARY_DIR}/python/zoint.py" CONTENT "${module_text}")
install(FILES "${PROJECT_BINARY_DIR}/python/zoint.py" DESTINATION "${ZOINT_PYTHON_DIR}")

install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/zoint")
# The README's links lead into docs/, beside it.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs" DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/zoint")
install(FILES "${PROJECT_SOURCE_DIR}/tools/zoint.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
