# Benchmarks (Google Benchmark): one executable, `benchmarks`, from every
# source in bench/. Built only where the library is installed; never run by
# ctest (`make bench` runs it).
find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB KA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  add_executable(benchmarks ${KA_BENCH_SOURCES})
  target_link_libraries(benchmarks PRIVATE ka SDL2::SDL2 benchmark::benchmark)
  set_target_properties(benchmarks PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
else()
  message(STATUS "Google Benchmark not found: the benchmarks are not built")
endif()
