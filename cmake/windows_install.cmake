# What the Windows zip holds, side by side: ZOInt.dll, its .def, import
# libraries for Visual C++ (ZOInt.lib) and for mingw (libZOInt.dll.a), the
# header, the examples for C, VBA and Python, README, docs/ and LICENSE.
if(NOT CMAKE_DLLTOOL OR NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "dlltool and objcopy of the mingw-w64 toolchain make the import libraries; not found")
endif()

set(ZOINT_DEF "${PROJECT_SOURCE_DIR}/cmake/ZOInt.def")
set(import_dir "${PROJECT_BINARY_DIR}/import")
file(MAKE_DIRECTORY "${import_dir}")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # A 32-bit caller of the __stdcall function refers to _ZOInterProgram@4.
  # The libraries are made from the .def with that decoration added, and
  # --kill-at binds it to the DLL's plain export ZOInterProgram.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ZOINT_DEF}")
  file(READ "${ZOINT_DEF}" def_text)
  string(REGEX REPLACE "(ZOInterProgram)( +@)" "\\1@4\\2" def_text "${def_text}")
  set(import_def "${import_dir}/ZOInt-stdcall.def")
  file(CONFIGURE OUTPUT "${import_def}" CONTENT "${def_text}")
  set(kill_at --kill-at)
  # Visual C++ links 32-bit images with /SAFESEH by default and refuses any
  # object not marked as safe for it. The import stubs hold no exception
  # handlers, so they are safe: @feat.00 = 1 says so, as the Microsoft
  # compiler writes it.
  set(mark_safe_seh COMMAND "${CMAKE_OBJCOPY}" --add-symbol @feat.00=1,local ZOInt.lib)
else()
  set(import_def "${ZOINT_DEF}")
  set(kill_at "")
  set(mark_safe_seh "")
endif()

set(import_libraries "${import_dir}/ZOInt.lib" "${import_dir}/libZOInt.dll.a")
add_custom_command(
  OUTPUT ${import_libraries}
  COMMAND "${CMAKE_DLLTOOL}" --input-def "${import_def}" ${kill_at} --output-lib ZOInt.lib
  ${mark_safe_seh}
  COMMAND "${CMAKE_DLLTOOL}" --input-def "${import_def}" ${kill_at} --output-lib libZOInt.dll.a
  # dlltool names the members after the output path: relative, so that the
  # build directory does not show in the libraries.
  WORKING_DIRECTORY "${import_dir}"
  DEPENDS "${import_def}"
  COMMENT "Import libraries of ZOInt.dll for Visual C++ and mingw"
  VERBATIM)
add_custom_target(zoint_import_libraries ALL DEPENDS ${import_libraries})

install(FILES "$<TARGET_FILE:zoint>" "${ZOINT_DEF}" ${import_libraries}
              "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION .)
# ZOInt.h alone: the DLL exports ZOInterProgram and nothing else, so other
# headers would declare functions it does not have.
install(FILES "${PROJECT_SOURCE_DIR}/include/zoint/ZOInt.h" DESTINATION include/zoint)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/windows/" DESTINATION examples/windows)
install(FILES "${PROJECT_SOURCE_DIR}/examples/worked/ZOIntIn.dat" DESTINATION examples/worked)
# The README's links lead into docs/, beside it.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs" DESTINATION .)
