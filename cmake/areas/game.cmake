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

# Escape ends the program in every scene: title, select, intro, play, miss,
# clear, both endings and the staff roll (script:frame:scene).
set(KA_REPLAYS ${CMAKE_SOURCE_DIR}/resources/replays)
foreach(run
    game-ending1:10:0 game-ending1:51:1 game-ending1:9550:9 game-ending1:300:3 miss-stage4:200:4
    game-ending1:1600:5 game-ending1:18000:6 game-ending1:23000:7 game-ending2:16700:8)
  string(REPLACE ":" ";" parts ${run})
  list(GET parts 0 script)
  list(GET parts 1 frame)
  list(GET parts 2 scene)
  if(EXISTS ${KA_REPLAYS}/${script}.txt)
    set(script_path ${KA_REPLAYS}/${script}.txt)
  else()
    set(script_path ${CMAKE_SOURCE_DIR}/tests/game/${script}.txt)
  endif()
  add_test(NAME game.escape.scene${scene}
           COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
                   bash ${CMAKE_SOURCE_DIR}/tests/game/check_escape.sh ${CMAKE_BINARY_DIR}/bin/kasample
                   ${script_path} ${frame} ${scene})
  set_tests_properties(game.escape.scene${scene} PROPERTIES TIMEOUT 120)
endforeach()

# The stored stage solutions still clear their stages, and the stored whole-game
# scripts are what the solver makes of them today.
add_test(NAME game.solver.chain
         COMMAND ${CMAKE_COMMAND} -E env bash -c
                 "rm -rf \"$0\" && mkdir -p \"$0\" && cp -r \"$1\"/. \"$0\" && \"$2\" --chain-only --out \"$0\" && diff -r \"$1\" \"$0\""
                 ${CMAKE_BINARY_DIR}/solver-check ${CMAKE_SOURCE_DIR}/resources/replays $<TARGET_FILE:solver>)
set_tests_properties(game.solver.chain PROPERTIES TIMEOUT 300)

# A search into a folder that does not exist yet makes it first and writes
# the stage's solution there (the chain then misses the other stages).
add_test(NAME game.solver.new_folder
         COMMAND ${CMAKE_COMMAND} -E env bash -c
                 "rm -rf \"$0\" && \"$1\" --out \"$0/a/b\" --stages 1 >/dev/null 2>&1; test -s \"$0/a/b/stages/stage-01.txt\""
                 ${CMAKE_BINARY_DIR}/solver-new-folder $<TARGET_FILE:solver>)
set_tests_properties(game.solver.new_folder PROPERTIES TIMEOUT 120)
