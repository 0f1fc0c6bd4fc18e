# Text: the platform's fonts (FreeType, fontconfig) and the CP932 converter
# (iconv) for the framework library.
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(Iconv REQUIRED)
target_link_libraries(ka PUBLIC Freetype::Freetype Fontconfig::Fontconfig Iconv::Iconv)
# The reduction of anti-aliased text is a pixel loop: vectorised at -O3.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/text/Reduction.cpp PROPERTIES COMPILE_OPTIONS "-O3")
