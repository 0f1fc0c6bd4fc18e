# MIDI music: the platform's sequencer plays through FluidSynth (found with
# pkg-config: Debian's CMake config for it names a binary that is not
# installed), a test tune written by the asset generator from the title
# score, and the MIDI file fuzzer (KA_FUZZ=ON).
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
target_link_libraries(ka PRIVATE PkgConfig::FLUIDSYNTH)

# The title music as a MIDI file beside the game's WAV music; the game itself
# plays the WAV files, kamidi and the music tests play this one.
set(KA_TEST_TUNE ${CMAKE_BINARY_DIR}/bin/music/op.mid)
add_custom_command(
  OUTPUT ${KA_TEST_TUNE}
  COMMAND assetgen midi ${CMAKE_SOURCE_DIR}/resources/music/op.mml ${KA_TEST_TUNE}
  DEPENDS assetgen ${CMAKE_SOURCE_DIR}/resources/music/op.mml
  COMMENT "Writing the title music as a MIDI file"
  VERBATIM)
add_custom_target(ka_midi_tune ALL DEPENDS ${KA_TEST_TUNE})

# The music tests and the MIDI reader's tests play the generated tune.
foreach(area sound platform)
  if(TARGET test_${area})
    add_dependencies(test_${area} ka_midi_tune)
  endif()
endforeach()
if(TARGET test_sound AND TARGET kamidi)
  add_dependencies(test_sound kamidi)
endif()

# The MIDI file reader, fed from memory.
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)
ka_add_fuzzer(midi_fuzz SOURCES fuzz/midi_fuzz.cpp src/platform/MidiFile.cpp CORPUS fuzz/corpus/midi)
