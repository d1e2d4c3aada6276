# The shared instances benchmark (library against CBC), built beside the
# other benchmarks but kept in its own file.
add_executable(zoint_instances_bench ${CMAKE_CURRENT_LIST_DIR}/instances_bench.cpp)
target_link_libraries(zoint_instances_bench PRIVATE zoint_static)
set_target_properties(zoint_instances_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
