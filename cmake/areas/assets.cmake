# The game's pictures and sounds, built from the readable sources in
# resources/ by tools/assetgen: 38 bitmaps embedded into the game, 13 WAV
# files beside it in bin/music and bin/wave, plus a contact sheet and a
# sound report for review (build/assets/).
include(${CMAKE_SOURCE_DIR}/cmake/areas/resources.cmake)
find_package(Freetype REQUIRED)

# The generator's parts are a library so the asset tests can check them too.
file(GLOB KA_ASSETGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/assetgen/*.cpp)
list(FILTER KA_ASSETGEN_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(assetgen_core STATIC ${KA_ASSETGEN_SOURCES})
target_include_directories(assetgen_core PUBLIC ${CMAKE_SOURCE_DIR}/tools)
find_package(ZLIB REQUIRED)
target_link_libraries(assetgen_core PUBLIC Freetype::Freetype ZLIB::ZLIB)
add_executable(assetgen ${CMAKE_SOURCE_DIR}/tools/assetgen/main.cpp)
target_link_libraries(assetgen PRIVATE assetgen_core)
set_target_properties(assetgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KA_FONT_GOTHIC /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf CACHE FILEPATH "IPA Gothic for picture text")
set(KA_FONT_MINCHO /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf CACHE FILEPATH "IPA Mincho for picture text")
set(KA_ASSET_DIR ${CMAKE_BINARY_DIR}/assets)

# ---- Pictures ------------------------------------------------------------------
set(KA_PICTURE_NAMES
  op STAGE_SELECT CURSOR BATU BLOCK_G BLOCK_C BLOCK_HOSI BLOCK_YARI
  P_LEFT1 P_LEFT2 P_RIGHT1 P_RIGHT2 P_USIRO1 P_USIRO2 P_USIRO3 P_MAE1 P_MAE2 P_MAE3 P_CLEAR
  SURAIMU_G SURAIMU_R M_LEFT M_RIGHT M_USIRO M_MAE TAKARA TAKARA2
  BALL_P BALL_G BALL_B BALL_R BALL_S WINDOW END1A END1B END2 STAFF EVENT)
set(KA_PICTURE_FILES "")
foreach(name IN LISTS KA_PICTURE_NAMES)
  list(APPEND KA_PICTURE_FILES ${KA_ASSET_DIR}/pictures/${name}.bmp)
endforeach()
file(GLOB KA_PICTURE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/sprites/*.txt ${CMAKE_SOURCE_DIR}/resources/pictures/*.txt)
add_custom_command(
  OUTPUT ${KA_PICTURE_FILES}
  COMMAND assetgen pictures ${CMAKE_SOURCE_DIR}/resources ${KA_ASSET_DIR}/pictures
          ${KA_FONT_GOTHIC} ${KA_FONT_MINCHO}
  DEPENDS assetgen ${KA_PICTURE_SOURCES} ${KA_FONT_GOTHIC} ${KA_FONT_MINCHO}
  COMMENT "Drawing the game's pictures"
  VERBATIM)

set(KA_CONTACT_SHEET ${KA_ASSET_DIR}/contact-sheet.bmp)
add_custom_command(
  OUTPUT ${KA_CONTACT_SHEET}
  COMMAND assetgen sheet ${KA_CONTACT_SHEET} 1 1320 ${KA_FONT_GOTHIC} ${KA_PICTURE_FILES}
  DEPENDS assetgen ${KA_PICTURE_FILES}
  COMMENT "Contact sheet of the pictures"
  VERBATIM)

# ---- Sounds --------------------------------------------------------------------
set(KA_SOUND_FILES
  ${CMAKE_BINARY_DIR}/bin/music/op.WAV ${CMAKE_BINARY_DIR}/bin/music/main.WAV
  ${CMAKE_BINARY_DIR}/bin/music/select.WAV ${CMAKE_BINARY_DIR}/bin/music/boss.WAV
  ${CMAKE_BINARY_DIR}/bin/music/end1.WAV ${CMAKE_BINARY_DIR}/bin/music/end2.WAV
  ${CMAKE_BINARY_DIR}/bin/music/staff.WAV ${CMAKE_BINARY_DIR}/bin/music/clear.WAV
  ${CMAKE_BINARY_DIR}/bin/wave/select.WAV ${CMAKE_BINARY_DIR}/bin/wave/start.WAV
  ${CMAKE_BINARY_DIR}/bin/wave/miss.WAV ${CMAKE_BINARY_DIR}/bin/wave/get.WAV
  ${CMAKE_BINARY_DIR}/bin/wave/genkyu.WAV)
file(GLOB KA_SOUND_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/music/*.mml ${CMAKE_SOURCE_DIR}/resources/sounds/*.mml)
add_custom_command(
  OUTPUT ${KA_SOUND_FILES}
  COMMAND assetgen sounds ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/bin
  DEPENDS assetgen ${KA_SOUND_SOURCES}
  COMMENT "Playing the game's scores into WAV files"
  VERBATIM)

set(KA_SOUND_REPORT ${KA_ASSET_DIR}/sounds.txt)
add_custom_command(
  OUTPUT ${KA_SOUND_REPORT}
  COMMAND assetgen wavinfo ${KA_SOUND_REPORT} ${KA_SOUND_FILES}
  DEPENDS assetgen ${KA_SOUND_FILES}
  COMMENT "Lengths and levels of the sounds"
  VERBATIM)

add_custom_target(ka_assets ALL
  DEPENDS ${KA_PICTURE_FILES} ${KA_SOUND_FILES} ${KA_CONTACT_SHEET} ${KA_SOUND_REPORT})

# The game carries the pictures and finds the sounds beside itself.
ka_embed_resources(kasample FILES ${KA_PICTURE_FILES})
add_dependencies(kasample ka_assets)

# The asset test loads everything through the game's own loading routine.
if(TARGET test_assets)
  ka_embed_resources(test_assets FILES ${KA_PICTURE_FILES})
  target_link_libraries(test_assets PRIVATE kagame assetgen_core)
  target_compile_definitions(test_assets PRIVATE KA_FONT_GOTHIC="${KA_FONT_GOTHIC}"
                                                 KA_FONT_MINCHO="${KA_FONT_MINCHO}")
  add_dependencies(test_assets ka_assets)
endif()
