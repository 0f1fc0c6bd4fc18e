# Bitmap packs of the game's pictures: the packer (tools/packer) and the
# target kasample_pack, which writes bin/KASAMPLE.PAK from the 38 generated
# bitmaps. The game loads its pictures from that pack when it lies beside the
# program. Built on request:  cmake --build build --target kasample_pack
#
# The packer lives beside the pictures' folder: the framework's names are
# relative to the program's folder and at most 30 characters long, and
# "pictures\STAGE_SELECT.BMP" fits where a longer way round would not.
# KA_ASSET_DIR and KA_PICTURE_FILES come from assets.cmake, read before this file.

add_executable(kapack ${CMAKE_SOURCE_DIR}/tools/packer/main.cpp)
target_link_libraries(kapack PRIVATE ka)
set_target_properties(kapack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KA_ASSET_DIR})

set(KA_PICTURE_PACK ${CMAKE_BINARY_DIR}/bin/KASAMPLE.PAK)
add_custom_command(
  OUTPUT ${KA_PICTURE_PACK}
  COMMAND kapack ${KA_PICTURE_PACK} ${KA_ASSET_DIR}/pictures
  DEPENDS kapack ${KA_PICTURE_FILES}
  COMMENT "Packing the game's pictures into KASAMPLE.PAK"
  VERBATIM)
add_custom_target(kasample_pack DEPENDS ${KA_PICTURE_PACK})

# The game's test of the pack makes a pack of its own with the packer.
if(TARGET test_game)
  add_dependencies(test_game kasample kapack ka_assets)
endif()

# The lookup over packs fed from memory (KA_FUZZ=ON). Seeds: packs made by
# the converter from a few small bitmaps (fuzz/make_pack_seeds.sh).
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)
ka_add_fuzzer(bitmap_pack_fuzz SOURCES fuzz/bitmap_pack_fuzz.cpp src/draw/PackLookup.cpp CORPUS fuzz/corpus/bitmap_pack)
