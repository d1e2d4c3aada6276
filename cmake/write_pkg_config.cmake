# Run at install time by the install rules: writes zoint.pc from its template
# for the prefix being installed to. Directories that GNUInstallDirs gives
# relative are written relative to ${prefix}, so the file reads naturally.
foreach(kind LIBDIR INCLUDEDIR)
  if(NOT IS_ABSOLUTE "${ZOINT_PC_${kind}}")
    set(ZOINT_PC_${kind} "\${prefix}/${ZOINT_PC_${kind}}")
  endif()
endforeach()
set(ZOINT_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
configure_file("${ZOINT_PC_TEMPLATE}" "${ZOINT_PC_OUTPUT}" @ONLY)
