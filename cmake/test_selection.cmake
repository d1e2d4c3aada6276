# Sets ZOINT_TESTS_SELECTED from ZOINT_BUILD_TESTS. AUTO builds the tests
# where GoogleTest is found, so that the library and the CLI build on a
# machine with only CMake and a compiler; ON makes a missing GoogleTest an
# error, which the test command relies on.
set(ZOINT_TESTS_SELECTED OFF)
if(ZOINT_BUILD_TESTS STREQUAL "AUTO")
  if(CMAKE_CROSSCOMPILING)
    # The Windows test host is plain C: nothing to find.
    set(ZOINT_TESTS_SELECTED ON)
  else()
    find_package(GTest QUIET)
    if(GTest_FOUND)
      set(ZOINT_TESTS_SELECTED ON)
    else()
      message(NOTICE "ZOInt: GoogleTest not found, so the tests are skipped. "
                     "To build them: apt-get install libgtest-dev, then configure again.")
    endif()
  endif()
elseif(ZOINT_BUILD_TESTS)
  set(ZOINT_TESTS_SELECTED ON)
endif()
