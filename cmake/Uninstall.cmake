# Removes every file listed in an install manifest (cmake -DMANIFEST=... -P),
# then the program's own folders if they are left empty. The manifest names
# the files without DESTDIR: an install staged with DESTDIR is removed with
# the same DESTDIR, never from the live system.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "nothing to remove: ${MANIFEST} not found (install first)")
endif()
file(STRINGS "${MANIFEST}" listed)
set(installed "")
foreach(file IN LISTS listed)
  list(APPEND installed "$ENV{DESTDIR}${file}")
endforeach()
set(folders "")
foreach(file IN LISTS installed)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()
# Only the folders of this program go, and only when empty: share/, bin/ and
# the icon theme stay.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  if(folder MATCHES "/kasample(/music|/wave)?$" AND IS_DIRECTORY "${folder}")
    file(GLOB left "${folder}/*")
    if(NOT left)
      file(REMOVE_RECURSE "${folder}")
    endif()
  endif()
endforeach()
