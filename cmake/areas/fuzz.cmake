# libFuzzer targets, built only when configured with -DKA_FUZZ=ON and clang
# (`make fuzz` builds them all through the target `fuzzers`).
#
#   ka_add_fuzzer(<name> SOURCES <files...> [LIBRARIES <libs...>] [CORPUS <seed dir>])
#
# builds bin/<name> from the fuzz entry point and the code under test, all
# compiled with -fsanitize=fuzzer,address,undefined, and adds the target
# fuzz_run_<name>, which fuzzes for KA_FUZZ_SECONDS with a working corpus in
# the build folder, seeded from CORPUS. Relative paths are taken from the
# source root. Without KA_FUZZ the function does nothing.
include_guard(GLOBAL)

set(KA_FUZZ_SECONDS 300 CACHE STRING "Run time of each fuzz_run_<name> target in seconds")

if(KA_FUZZ)
  # `make fuzz` builds this target only: the fuzzers need nothing else.
  add_custom_target(fuzzers)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "KA_FUZZ needs clang (CC=clang CXX=clang++); fuzz targets are left out")
  endif()
endif()

function(ka_add_fuzzer name)
  if(NOT KA_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "CORPUS" "SOURCES;LIBRARIES")
  set(sources "")
  foreach(source IN LISTS ARG_SOURCES)
    get_filename_component(source "${source}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
    list(APPEND sources "${source}")
  endforeach()
  set(flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${flags})
  target_link_options(${name} PRIVATE ${flags})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  add_dependencies(fuzzers ${name})

  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  set(seeds "")
  if(ARG_CORPUS)
    get_filename_component(seeds "${ARG_CORPUS}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
  endif()
  add_custom_target(fuzz_run_${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${corpus}
    COMMAND $<TARGET_FILE:${name}> -max_total_time=${KA_FUZZ_SECONDS} -print_final_stats=1 ${corpus} ${seeds}
    DEPENDS ${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    USES_TERMINAL
    VERBATIM)
endfunction()

ka_add_fuzzer(bmp_fuzz
  SOURCES fuzz/bmp_fuzz.cpp src/platform/Bmp.cpp src/platform/BmpRle.cpp
  CORPUS fuzz/corpus/bmp)
