# Sound: the mixer kernels at -O3, the mixer benchmark when the shared
# benchmark target is absent, and the WAV and pack fuzzers (KA_FUZZ=ON).
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/AudioMixer.cpp PROPERTIES COMPILE_OPTIONS "-O3")

# The WAV reader and the pack scanner, fed from memory.
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)
ka_add_fuzzer(wav_fuzz SOURCES fuzz/wav_fuzz.cpp src/sound/SoundFiles.cpp CORPUS fuzz/corpus/wav)
ka_add_fuzzer(pack_fuzz SOURCES fuzz/pack_fuzz.cpp src/sound/SoundFiles.cpp CORPUS fuzz/corpus/pack)
