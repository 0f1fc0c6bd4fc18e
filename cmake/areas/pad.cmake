# padplay (tools/padplay): the game played through a simulated gamepad, and
# its checks: a stage reached with the D-pad and with the stick on an SDL
# virtual controller, the recording of that run replayed as keys, and both
# whole-game scripts played on the scripted pad as they play on the keys.

# It is the game program with a pad attached: it carries the game's pictures
# and sits beside kasample in bin/, where the sounds are.
include(${CMAKE_SOURCE_DIR}/cmake/areas/resources.cmake)
add_executable(padplay ${CMAKE_SOURCE_DIR}/tools/padplay/main.cpp)
# The shell calls back into the game (kaCreate, MainScreen): name kagame again
# after ka.
target_link_libraries(padplay PRIVATE kagame ka kagame)
ka_embed_resources(padplay FILES ${KA_PICTURE_FILES} ${KA_RESOURCE_BITMAPS})
add_dependencies(padplay ka_assets)

foreach(mode dpad stick)
  add_test(NAME shell.pad.${mode}
           COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                   bash ${CMAKE_SOURCE_DIR}/tests/shell/check_pad.sh ${CMAKE_BINARY_DIR}/bin/padplay
                   ${CMAKE_BINARY_DIR}/bin/kasample ${CMAKE_SOURCE_DIR}/tests/shell/pad-stage1.txt ${mode})
  set_tests_properties(shell.pad.${mode} PROPERTIES TIMEOUT 120)
endforeach()
foreach(ending 1 2)
  add_test(NAME shell.pad.whole.ending${ending}
           COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                   bash ${CMAKE_SOURCE_DIR}/tests/shell/check_pad.sh ${CMAKE_BINARY_DIR}/bin/padplay
                   ${CMAKE_BINARY_DIR}/bin/kasample ${CMAKE_SOURCE_DIR}/resources/replays/game-ending${ending}.txt whole)
  set_tests_properties(shell.pad.whole.ending${ending} PROPERTIES TIMEOUT 300)
endforeach()
