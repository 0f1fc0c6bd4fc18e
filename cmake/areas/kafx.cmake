# The effect gallery (examples/kafx): its caption strip drawn by the asset
# generator from examples/kafx/captions.txt and carried as a resource, and
# its end-to-end test of the contact sheet (tests/kafx).
include(${CMAKE_SOURCE_DIR}/cmake/areas/resources.cmake)
if(TARGET kafx AND TARGET assetgen)
  set(KA_KAFX_CAPTIONS ${CMAKE_BINARY_DIR}/assets/kafx/KAFX_CAPTIONS.bmp)
  add_custom_command(
    OUTPUT ${KA_KAFX_CAPTIONS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/assets/kafx
    COMMAND assetgen captions ${KA_KAFX_CAPTIONS} ${KA_FONT_GOTHIC} ${CMAKE_SOURCE_DIR}/examples/kafx/captions.txt
    DEPENDS assetgen ${CMAKE_SOURCE_DIR}/examples/kafx/captions.txt
    COMMENT "Drawing the gallery's captions"
    VERBATIM)
  ka_embed_resources(kafx FILES ${KA_KAFX_CAPTIONS})
endif()
if(TARGET test_kafx AND TARGET kafx)
  add_dependencies(test_kafx kafx)
endif()
