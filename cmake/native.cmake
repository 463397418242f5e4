# Native build: the portable cores with GoogleTest, and the tools.
find_package(GTest REQUIRED)

add_executable(fern-trace tools/fern_trace.cpp)
target_link_libraries(fern-trace PRIVATE renderer_core)

add_subdirectory(tests/native)
