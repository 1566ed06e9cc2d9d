# The Linux tree: bin/ with the three programs and the launcher the menu entry runs, the demo
# workspace's scripts, the manuals and changelog gzipped as Debian wants them, the desktop entry
# and its icon; and the Debian package made of it.
install(TARGETS mbhost veltrano veltrano-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS veltrano-launch DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/demo/generate.mb ${PROJECT_SOURCE_DIR}/demo/startup.mb
        DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrano/demo)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/demo/start-host.sh
        DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrano/demo)
install(FILES veltrano.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES veltrano.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrano)

# Gzipped with -n, so that the same sources give the same package.
set(VERSION ${PROJECT_VERSION})
set(_gzipped)
function(veltrano_gzip source installed_name destination)
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/plain/${installed_name})
  configure_file(${source} ${plain} @ONLY)
  set(zipped ${CMAKE_CURRENT_BINARY_DIR}/gz/${installed_name}.gz)
  add_custom_command(OUTPUT ${zipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gz
    COMMAND gzip -9nc ${plain} > ${zipped}
    DEPENDS ${plain} VERBATIM)
  install(FILES ${zipped} DESTINATION ${destination})
  set(_gzipped ${_gzipped} ${zipped} PARENT_SCOPE)
endfunction()

foreach(page mbhost veltrano-batch veltrano)
  veltrano_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${page}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The launcher is described in the dialog's page.
veltrano_gzip(veltrano-launch.1 veltrano-launch.1 ${CMAKE_INSTALL_MANDIR}/man1)
veltrano_gzip(changelog.Debian.in changelog.Debian ${CMAKE_INSTALL_DATADIR}/doc/veltrano)
add_custom_target(veltrano_install_files ALL DEPENDS ${_gzipped})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELTRANO_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELTRANO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary above this and indents it as the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Veltrano puts points along lines: select lines, polylines or region
boundaries in the GIS workspace, type distances in metres, and it places a
point at each distance along every selected object, with the host's own
ellipsoidal geodesy in longitude/latitude tables.

The package holds the dialog (veltrano), its command-line form
(veltrano-batch) and mbhost, a headless GIS workspace interpreting MapBasic
on real files (MapInfo TAB and MIF, Shapefile, GeoJSON, GeoPackage) through
GDAL and PROJ. The menu entry starts mbhost with a demo workspace when none
is running.")
