# Native build: the portable cores with GoogleTest, and the tools.
find_package(GTest REQUIRED)

add_executable(fern-trace tools/fern_trace.cpp)
target_link_libraries(fern-trace PRIVATE renderer_core)

add_subdirectory(tests/native)

# The walk's speed against the plain reference; run by hand, never a test.
find_package(benchmark REQUIRED)
add_executable(walk_benchmark bench/walk_benchmark.cpp tests/native/reference_walk.cpp)
target_include_directories(walk_benchmark PRIVATE tests/native)
target_link_libraries(walk_benchmark PRIVATE renderer_core benchmark::benchmark)
