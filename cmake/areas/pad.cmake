# padplay (tools/padplay): the game played through a simulated gamepad, and
# its checks: a stage reached with the D-pad and with the stick on an SDL
# virtual controller, the recording of that run replayed as keys.

add_executable(padplay ${CMAKE_SOURCE_DIR}/tools/padplay/main.cpp)
# The shell calls back into the game (kaCreate, MainScreen): name kagame again
# after ka.
target_link_libraries(padplay PRIVATE kagame ka kagame)
set_target_properties(padplay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

foreach(mode dpad stick)
  add_test(NAME shell.pad.${mode}
           COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                   bash ${CMAKE_SOURCE_DIR}/tests/shell/check_pad.sh ${CMAKE_BINARY_DIR}/tools/padplay
                   ${CMAKE_BINARY_DIR}/bin/kasample ${CMAKE_SOURCE_DIR}/tests/shell/pad-stage1.txt ${mode})
  set_tests_properties(shell.pad.${mode} PROPERTIES TIMEOUT 120)
endforeach()
