# ZOInt.dll: the library as a Windows host loads it. Only ZOInterProgram
# leaves it, by its plain name as ordinal 1, as the .def file says; the
# function itself carries no dllexport, which would add a second, decorated
# name on 32-bit.
set_target_properties(zoint PROPERTIES PREFIX "" OUTPUT_NAME ZOInt)
target_sources(zoint PRIVATE "${CMAKE_CURRENT_LIST_DIR}/ZOInt.def")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The 32-bit function is __stdcall, so its symbol is _ZOInterProgram@4;
  # this lets the .def file's plain name bind to it without a warning.
  target_link_options(zoint PRIVATE "-Wl,--enable-stdcall-fixup")
endif()
