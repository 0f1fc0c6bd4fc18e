# The shell calls back into the program (kaCreate, MainScreen). For the game
# those live in the static library kagame, which the linker has already passed
# when libka asks for them: name the game library again after ka.
if(TARGET kasample AND TARGET kagame)
  target_link_libraries(kasample PRIVATE ka kagame)
endif()

# The shell's end-to-end test (in test_shell) runs the game program itself.
if(TARGET test_shell AND TARGET kasample)
  add_dependencies(test_shell kasample)
endif()

# What a new player meets when the program cannot do what was asked.
add_test(NAME shell.refusals
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/check_refusals.sh ${CMAKE_BINARY_DIR}/bin/kasample
                 ${CMAKE_SOURCE_DIR}/resources/replays/game-ending1.txt)
set_tests_properties(shell.refusals PROPERTIES TIMEOUT 120)
