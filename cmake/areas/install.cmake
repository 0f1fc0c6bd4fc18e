# Installing the game for players: the program folder under lib/kasample
# (the game and the example programs, with music/ and wave/ beside them, as
# the framework expects its folder), commands in bin, the menu entry, the
# icon in four sizes, the manual page; `uninstall` from the install
# manifest; the Debian package (CPack); the window icon the game carries;
# and the test of all of it.
include(${CMAKE_SOURCE_DIR}/cmake/areas/resources.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/areas/fuzz.cmake)

set(KA_VERSION 1.0.0)
set(KA_PROGRAM_DIR lib/kasample)
set(KA_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/resources/desktop)

# ---- The icon, drawn by the asset generator from the game's pixel art ----------
set(KA_ICON_DIR ${CMAKE_BINARY_DIR}/assets/icon)
set(KA_ICON_SIZES 32 64 128 256)
set(KA_ICON_FILES ${KA_ICON_DIR}/MAIN.ico)
foreach(size IN LISTS KA_ICON_SIZES)
  list(APPEND KA_ICON_FILES ${KA_ICON_DIR}/kasample-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${KA_ICON_FILES}
  COMMAND assetgen icon ${CMAKE_SOURCE_DIR}/resources ${KA_ICON_DIR}
  DEPENDS assetgen ${CMAKE_SOURCE_DIR}/resources/sprites/player.txt
          ${CMAKE_SOURCE_DIR}/resources/sprites/tiles.txt ${CMAKE_SOURCE_DIR}/resources/sprites/palette.txt
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(ka_icon ALL DEPENDS ${KA_ICON_FILES})
# The window's icon is the program's icon resource "MAIN".
ka_embed_resources(kasample FILES ${KA_ICON_DIR}/MAIN.ico DEPENDS ka_icon)
if(TARGET test_assets)
  add_dependencies(test_assets ka_icon)
  target_compile_definitions(test_assets PRIVATE KA_ICON_DIR="${KA_ICON_DIR}")
endif()
ka_add_fuzzer(icon_fuzz SOURCES fuzz/icon_fuzz.cpp src/platform/Icon.cpp)

# ---- What is installed -----------------------------------------------------------
install(TARGETS kasample RUNTIME DESTINATION ${KA_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/music ${CMAKE_BINARY_DIR}/bin/wave DESTINATION ${KA_PROGRAM_DIR})

# Every example program (examples/<name>/) beside the game, sharing its folder.
set(KA_INSTALLED_PROGRAMS kasample)
file(GLOB KA_EXAMPLE_MAINS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*/main.cpp)
foreach(example_main IN LISTS KA_EXAMPLE_MAINS)
  get_filename_component(example_dir ${example_main} DIRECTORY)
  get_filename_component(example_name ${example_dir} NAME)
  if(TARGET ${example_name})
    install(TARGETS ${example_name} RUNTIME DESTINATION ${KA_PROGRAM_DIR})
    list(APPEND KA_INSTALLED_PROGRAMS ${example_name})
  endif()
endforeach()

# The commands are relative links into the program folder: the framework
# finds its folder through the link, and the links stay right under DESTDIR.
set(KA_LINK_DIR ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${KA_LINK_DIR})
foreach(program IN LISTS KA_INSTALLED_PROGRAMS)
  file(CREATE_LINK ../${KA_PROGRAM_DIR}/${program} ${KA_LINK_DIR}/${program} SYMBOLIC)
  install(FILES ${KA_LINK_DIR}/${program} DESTINATION bin)
endforeach()

install(FILES ${KA_DESKTOP_DIR}/kasample.desktop DESTINATION share/applications)
install(FILES ${KA_DESKTOP_DIR}/kasample.6 DESTINATION share/man/man6)
foreach(size IN LISTS KA_ICON_SIZES)
  install(FILES ${KA_ICON_DIR}/kasample-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME kasample.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/kasample)

# `cmake --install` writes install_manifest.txt; this removes what it lists.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake
  COMMENT "Removing the installed files"
  VERBATIM)

# ---- The Debian package: `make package` ------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kasample)
set(CPACK_PACKAGE_VERSION ${KA_VERSION})
set(CPACK_PACKAGE_CONTACT "kasample developers <kasample@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile puzzle-action game of twelve stages")
set(CPACK_PACKAGE_DESCRIPTION
    "Walk through twelve stages of 20x15 tiles, collect every treasure and avoid spikes, slimes and magicians. Two endings, chosen by the hidden items found, and a staff roll. Comes with the small example programs of the game's framework.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are the shared libraries the programs actually link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# ---- The test: install, play, validate, package ----------------------------------
add_test(NAME install.package
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
                 ${KA_VERSION})
set_tests_properties(install.package PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
                     ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
