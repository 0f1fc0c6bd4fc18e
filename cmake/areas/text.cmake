# Text: the platform's fonts (FreeType, fontconfig) and the CP932 converter
# (iconv) for the framework library.
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(Iconv REQUIRED)
target_link_libraries(ka PUBLIC Freetype::Freetype Fontconfig::Fontconfig Iconv::Iconv)
# The reduction of anti-aliased text is a pixel loop: vectorised at -O3.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/text/Reduction.cpp PROPERTIES COMPILE_OPTIONS "-O3")

# Fuzzers (KA_FUZZ=ON): the character decoder, and laid-out text through the
# whole framework on a headless screen.
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)
ka_add_fuzzer(text_decode_fuzz SOURCES fuzz/text_decode_fuzz.cpp src/platform/TextDecode.cpp
  LIBRARIES Iconv::Iconv)
file(GLOB KA_TEXT_FUZZ_FRAMEWORK CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/platform/*.cpp ${CMAKE_SOURCE_DIR}/src/shell/*.cpp ${CMAKE_SOURCE_DIR}/src/draw/*.cpp
  ${CMAKE_SOURCE_DIR}/src/draw/effects/*.cpp ${CMAKE_SOURCE_DIR}/src/sound/*.cpp ${CMAKE_SOURCE_DIR}/src/text/*.cpp)
# (FluidSynth comes from midi.cmake, read before this file.)
ka_add_fuzzer(text_draw_fuzz SOURCES fuzz/text_draw_fuzz.cpp ${KA_TEXT_FUZZ_FRAMEWORK}
  LIBRARIES SDL2::SDL2 Threads::Threads Freetype::Freetype Fontconfig::Fontconfig Iconv::Iconv
  PkgConfig::FLUIDSYNTH)
