# Benchmarks (Google Benchmark): one executable, `benchmarks`, from every
# source in bench/. Built only where the library is installed; never run by
# ctest (`make bench` runs it).
find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB KA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  add_executable(benchmarks ${KA_BENCH_SOURCES})
  target_link_libraries(benchmarks PRIVATE ka SDL2::SDL2 benchmark::benchmark)
  # Peers of the effect layers, used by the benchmarks only.
  pkg_check_modules(PIXMAN QUIET IMPORTED_TARGET pixman-1)
  pkg_check_modules(SDL2_GFX QUIET IMPORTED_TARGET SDL2_gfx)
  if(PIXMAN_FOUND)
    target_link_libraries(benchmarks PRIVATE PkgConfig::PIXMAN)
    target_compile_definitions(benchmarks PRIVATE KA_HAVE_PIXMAN=1)
  endif()
  if(SDL2_GFX_FOUND)
    target_link_libraries(benchmarks PRIVATE PkgConfig::SDL2_GFX)
    target_compile_definitions(benchmarks PRIVATE KA_HAVE_SDL2_GFX=1)
  endif()
  set_target_properties(benchmarks PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
else()
  message(STATUS "Google Benchmark not found: the benchmarks are not built")
endif()
