# The Windows zip: veltrano.exe, a README for Windows users and the licence texts of what the
# program is built with, the GCC and MinGW-w64 runtimes linked into it statically.
install(TARGETS veltrano RUNTIME DESTINATION .)
configure_file(README-Windows.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

set(_licences
    "copyright|Veltrano.txt"
    "/usr/share/doc/gcc-mingw-w64-base/copyright|GCC-runtime-libgcc-libstdc++.txt"
    "/usr/share/doc/mingw-w64-x86-64-dev/copyright|MinGW-w64-runtime-winpthreads.txt")
foreach(entry ${_licences})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 source)
  list(GET entry 1 name)
  if(NOT IS_ABSOLUTE ${source})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endif()
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "The Windows zip needs the licence text ${source}: install the "
                        "MinGW-w64 cross compiler from Debian (scripts/deps.sh).")
  endif()
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/licenses/${name})
  configure_file(${source} ${plain} COPYONLY)
  install(FILES ${plain} DESTINATION licenses)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME veltrano-${PROJECT_VERSION}-windows-x64)
