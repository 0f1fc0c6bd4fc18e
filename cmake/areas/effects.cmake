# Effects: the screen-effect benchmarks time pixman's scaling beside ours
# (libpixman-1-dev; used by the benchmarks only).
if(TARGET benchmarks)
  pkg_check_modules(KA_PIXMAN IMPORTED_TARGET pixman-1)
  if(KA_PIXMAN_FOUND)
    target_link_libraries(benchmarks PRIVATE PkgConfig::KA_PIXMAN)
  endif()
endif()
