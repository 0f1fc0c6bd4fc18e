# The shell's end-to-end test (in test_shell) runs the game program itself.
if(TARGET test_shell AND TARGET kasample)
  add_dependencies(test_shell kasample)
endif()
