# Resources compiled into programs.
#
#   ka_embed_resources(<target> FILES <files...> [DEPENDS <targets or files...>])
#
# Every call adds files to <target>; at the end of the directory one source is
# generated per target (by tools/embed_resources.cpp) that holds the bytes and
# registers them before main runs. Name = file name without extension, upper
# case; type = BITMAP (.bmp), WAVE (.wav), ICON (.ico), else RCDATA. Files may
# be outputs of custom commands; DEPENDS names extra targets or files that must
# be built first (e.g. the custom target that generates them). Relative paths
# are taken from the calling directory's source folder. Two files that give
# the same type and name stop the build.
#
# A file that includes this one itself (to use the function before this file
# comes up in the alphabetical order of cmake/areas) does so with
#   include(${CMAKE_SOURCE_DIR}/cmake/areas/resources.cmake)
include_guard(GLOBAL)

add_executable(ka_embed_resources_tool ${CMAKE_SOURCE_DIR}/tools/embed_resources.cpp)
set_target_properties(ka_embed_resources_tool PROPERTIES
  OUTPUT_NAME embed_resources
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

function(ka_embed_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "FILES;DEPENDS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "ka_embed_resources: unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "ka_embed_resources: no target ${target}")
  endif()
  set(files "")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND files "${file}")
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY KA_EMBED_FILES ${files})
  set_property(TARGET ${target} APPEND PROPERTY KA_EMBED_DEPENDS ${ARG_DEPENDS})
  get_property(scheduled TARGET ${target} PROPERTY KA_EMBED_SCHEDULED)
  if(NOT scheduled)
    set_property(TARGET ${target} PROPERTY KA_EMBED_SCHEDULED TRUE)
    # Deferred arguments are expanded when the call runs; EVAL fixes the
    # target name now.
    cmake_language(EVAL CODE "cmake_language(DEFER CALL _ka_embed_resources_generate [[${target}]])")
  endif()
endfunction()

# Runs once per target after every call to ka_embed_resources has been seen.
function(_ka_embed_resources_generate target)
  get_property(files TARGET ${target} PROPERTY KA_EMBED_FILES)
  get_property(depends TARGET ${target} PROPERTY KA_EMBED_DEPENDS)
  list(REMOVE_DUPLICATES files)
  set(output ${CMAKE_BINARY_DIR}/generated/resources/${target}_resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/resources
    COMMAND ka_embed_resources_tool ${output} ${files}
    DEPENDS ka_embed_resources_tool ${files} ${depends}
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()

# The game carries every bitmap of resources/.
file(GLOB KA_RESOURCE_BITMAPS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.bmp ${CMAKE_SOURCE_DIR}/resources/*.BMP)
ka_embed_resources(kasample FILES ${KA_RESOURCE_BITMAPS})

# The resource tests check the whole path: a checked-in file and one made
# while building.
if(TARGET test_platform)
  set(KA_TEST_GENERATED_RESOURCE ${CMAKE_BINARY_DIR}/generated/test-resources/Made_At_Build.wav)
  add_custom_command(
    OUTPUT ${KA_TEST_GENERATED_RESOURCE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/tests/platform/data/embedded.txt
            ${KA_TEST_GENERATED_RESOURCE}
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/platform/data/embedded.txt
    VERBATIM)
  ka_embed_resources(test_platform FILES
    ${CMAKE_SOURCE_DIR}/tests/platform/data/embedded.txt
    ${KA_TEST_GENERATED_RESOURCE})
endif()
