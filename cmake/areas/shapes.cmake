# Vector drawing: the drawing tests run the kashapes example against its
# stored picture, and the painter has a fuzz target of random figures.
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)

if(TARGET test_draw AND TARGET kashapes)
  add_dependencies(test_draw kashapes)
endif()

ka_add_fuzzer(painter_fuzz
  SOURCES fuzz/painter_fuzz.cpp src/platform/Painter.cpp src/platform/PainterPolygon.cpp src/platform/Surface16.cpp)
