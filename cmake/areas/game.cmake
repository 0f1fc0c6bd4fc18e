# The game's solver (tools/solver) and the end-to-end runs of the stored
# whole-game scripts (resources/replays) through the game program itself.

file(GLOB KA_SOLVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/solver/*.cpp)
add_executable(solver ${KA_SOLVER_SOURCES})
target_include_directories(solver PRIVATE ${CMAKE_SOURCE_DIR}/tools/solver)
# The shell calls back into the game (kaCreate, MainScreen): name kagame again
# after ka.
target_link_libraries(solver PRIVATE kagame ka kagame)
set_target_properties(solver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Whole-game runs: the trace must show every stage, the ending, the staff roll
# and the title again; the script checks the lines (tests/game/check_trace.sh).
foreach(ending 1 2)
  add_test(NAME game.replay.ending${ending}
           COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                   bash ${CMAKE_SOURCE_DIR}/tests/game/check_trace.sh ${CMAKE_BINARY_DIR}/bin/kasample
                   ${CMAKE_SOURCE_DIR}/resources/replays/game-ending${ending}.txt ${ending})
  set_tests_properties(game.replay.ending${ending} PROPERTIES TIMEOUT 300)
endforeach()

# The stored stage solutions still clear their stages, and the stored whole-game
# scripts are what the solver makes of them today.
add_test(NAME game.solver.chain
         COMMAND ${CMAKE_COMMAND} -E env bash -c
                 "rm -rf \"$0\" && mkdir -p \"$0\" && cp -r \"$1\"/. \"$0\" && \"$2\" --chain-only --out \"$0\" && diff -r \"$1\" \"$0\""
                 ${CMAKE_BINARY_DIR}/solver-check ${CMAKE_SOURCE_DIR}/resources/replays $<TARGET_FILE:solver>)
set_tests_properties(game.solver.chain PROPERTIES TIMEOUT 300)
