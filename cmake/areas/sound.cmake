# Sound: the mixer kernels at -O3, the mixer benchmark when the shared
# benchmark target is absent, and the WAV and pack fuzzers (KA_FUZZ=ON).
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/AudioMixer.cpp PROPERTIES COMPILE_OPTIONS "-O3")
