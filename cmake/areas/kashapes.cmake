# The drawing tests run the kashapes example against its stored picture.
if(TARGET test_draw AND TARGET kashapes)
  add_dependencies(test_draw kashapes)
endif()
