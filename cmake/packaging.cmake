# Where an install puts each file, and the packages CPack makes from it:
#   Linux    a .deb (cpack -G DEB): programs in /usr/bin, the help page in
#            /usr/share/vormelin, desktop entry, icons, OFF file type, manual pages
#   Windows  an installer (cpack -G NSIS) and a ZIP of the same folder: the
#            programs and the help page side by side in Program Files\Vormelin
# The viewer looks for its help page next to itself, then in
# ../share/vormelin/ (app/help_page.h): both layouts find it.
# Paths are taken from this file's place, so a build that holds only some of
# the targets (offconvert alone) can include it too.
include(GNUInstallDirs)
get_filename_component(vormelin_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

if(WIN32)
  set(vormelin_bin_dir .)
  set(vormelin_page_dir .)
else()
  set(vormelin_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(vormelin_page_dir ${CMAKE_INSTALL_DATADIR}/vormelin)
endif()

# Builds everything the install takes, and nothing else (tests, benchmarks).
add_custom_target(vormelin_install_files)
foreach(program vormelin offconvert)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${vormelin_bin_dir})
    add_dependencies(vormelin_install_files ${program})
  endif()
endforeach()
install(FILES ${vormelin_root}/aide.html DESTINATION ${vormelin_page_dir})

# ---- The Linux desktop: entry, icons, file type, manual pages, Debian's documents

if(NOT WIN32)
  set(vormelin_made ${PROJECT_BINARY_DIR}/packaging)
  # Debian's name, whatever the project's capitals.
  set(vormelin_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vormelin)

  if(TARGET vormelin)
    install(FILES ${vormelin_root}/data/desktop/vormelin.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${vormelin_root}/data/desktop/vormelin-mime.xml
      DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vormelin.xml)

    # The icon theme's sizes, scaled down from the 128-pixel source at build time.
    find_package(PNG REQUIRED)
    add_executable(vormelin_scale_icon ${vormelin_root}/packaging/scale_icon.cpp)
    target_link_libraries(vormelin_scale_icon PRIVATE PNG::PNG)
    set(icon_source ${vormelin_root}/data/desktop/vormelin.png)
    set(icons "")
    foreach(size 16 22 24 32 48 64)
      set(icon ${vormelin_made}/icons/${size}x${size}/vormelin.png)
      add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${vormelin_made}/icons/${size}x${size}
        COMMAND vormelin_scale_icon ${icon_source} ${size} ${icon}
        DEPENDS vormelin_scale_icon ${icon_source} VERBATIM)
      list(APPEND icons ${icon})
      install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(FILES ${icon_source} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
    add_custom_target(vormelin_icons ALL DEPENDS ${icons})
    add_dependencies(vormelin_install_files vormelin_icons)
  endif()

  # Manual pages and Debian's changelog, compressed as Debian wants them:
  # gzip -9 with no name and no time stamp, so that builds are reproducible.
  function(vormelin_gzip source name destination)
    set(copy ${vormelin_made}/${name})
    add_custom_command(OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
      COMMAND gzip -9nf ${copy}
      DEPENDS ${source} VERBATIM)
    add_custom_target(vormelin_gzip_${name} ALL DEPENDS ${copy}.gz)
    add_dependencies(vormelin_install_files vormelin_gzip_${name})
    install(FILES ${copy}.gz DESTINATION ${destination})
  endfunction()
  foreach(program vormelin offconvert)
    if(TARGET ${program})
      vormelin_gzip(${vormelin_root}/packaging/${program}.1 ${program}.1 ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
  endforeach()
  vormelin_gzip(${vormelin_root}/packaging/changelog changelog.Debian ${vormelin_doc_dir})
  install(FILES ${vormelin_root}/packaging/copyright DESTINATION ${vormelin_doc_dir})
endif()

# ---- CPack

set(CPACK_PACKAGE_NAME vormelin)
set(CPACK_PACKAGE_VENDOR "Vormelin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "visualiseur et éditeur de maillages triangulaires OFF")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vormelin")
set(CPACK_PACKAGE_CONTACT "Vormelin maintainers <maintainers@users.noreply.c-seed-cc373465.example>"
  CACHE STRING "Maintainer named in the packages")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR "NSIS;ZIP")
  # Our own installer script, in French: packaging/NSIS.template.in.
  list(PREPEND CPACK_MODULE_PATH ${vormelin_root}/packaging)
  set(CPACK_NSIS_PACKAGE_NAME "Vormelin ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Vormelin")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Vormelin")
  # The script adds the viewer's shortcut and the .off association only when
  # the viewer is part of the build.
  if(TARGET vormelin)
    set(CPACK_VORMELIN_VIEWER 1)
  else()
    set(CPACK_VORMELIN_VIEWER 0)
  endif()
  # The ZIP holds one folder, Vormelin-<version>, with the same files.
  set(CPACK_PACKAGE_FILE_NAME "Vormelin-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # The Debian revision: the version becomes 0.35.1-1, not a native package,
  # so the changelog is changelog.Debian.gz.
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these
  # lines and turns the empty one into Debian's paragraph mark.
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "view and edit triangle meshes stored as OFF files")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Vormelin shows a triangle mesh in an OpenGL view that the mouse turns,
with axes, vertices, edges, lit or textured faces, normals and borders.
It cuts away vertices, edges and faces, applies Loop subdivision, and
computes a (u,v) parameterization through which it maps a JPEG image
onto a model with an opening. Its interface is in French; a command line
runs the same operations without a display.

The package also holds offconvert, which turns a bare list of numbers
(counts, coordinates, triangles) into an OFF file.")

  # The top entry of Debian's changelog must be this version's.
  file(STRINGS ${vormelin_root}/packaging/changelog top LIMIT_COUNT 1)
  if(NOT top MATCHES "^vormelin \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
    message(WARNING "packaging/changelog does not start with an entry for "
      "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}: add one before making the package")
  endif()
endif()

include(CPack)
