# What `cmake --install` puts where, and the Debian package `make package` builds from it.
include(GNUInstallDirs)

foreach(program velmara-check velmara-mkdb velmara-server)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# The script learns the version at configure time.
configure_file(${CMAKE_CURRENT_LIST_DIR}/velmara-autostart ${CMAKE_BINARY_DIR}/velmara-autostart @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/velmara-autostart DESTINATION ${CMAKE_INSTALL_BINDIR})
# The server as a systemd user service: `systemctl --user enable --now velmara-server`.
if(TARGET velmara-server)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmara-server.service DESTINATION lib/systemd/user)
endif()

# The generated database as its compiled file alone (it holds every word of the record files it
# was made from, which would double the installed size), with the false positives and the
# country, never a user's Intellisense list that a run from the build folder may have left beside
# them. The installed program finds them relative to its executable (../share/velmara/palabrasbd).
if(TARGET word_database)
  set(database ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/palabrasbd)
  install(FILES "${database}/Falsos Positivos.txt" ${database}/palabras.vdb ${database}/pais.txt
          DESTINATION ${CMAKE_INSTALL_DATADIR}/velmara/palabrasbd)
endif()
# The other countries, as differences from that database (share/velmara/paises/<country>).
if(TARGET country_differences)
  install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/paises DESTINATION ${CMAKE_INSTALL_DATADIR}/velmara
          PATTERN "*.part" EXCLUDE)
endif()

# The entry `velmara-autostart on` copies into the user's autostart folder.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmara-autostart.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/velmara)

# The manual pages, compressed as Debian keeps them: every program in English and Spanish.
set(man_pages)
foreach(page velmara velmara-check velmara-server velmara-mkdb velmara-autostart)
  foreach(language en es)
    set(source ${CMAKE_CURRENT_LIST_DIR}/man/${page}.1)
    set(folder ${CMAKE_INSTALL_MANDIR}/man1)
    if(language STREQUAL "es")
      set(source ${CMAKE_CURRENT_LIST_DIR}/man/${page}.es.1)
      set(folder ${CMAKE_INSTALL_MANDIR}/es/man1)
    endif()
    set(compressed ${CMAKE_BINARY_DIR}/man/${language}/${page}.1.gz)
    add_custom_command(OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/${language}
      COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${source} ${compressed}
      DEPENDS ${source} VERBATIM)
    list(APPEND man_pages ${compressed})
    install(FILES ${compressed} DESTINATION ${folder})
  endforeach()
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The copyright file (every data source with its licence) and the package's changelog, whose
# latest entry must carry this version: a new version needs its entry there first.
set(VELMARA_PACKAGE_RELEASE 1 CACHE STRING "Debian revision of the package")
set(package_version ${PROJECT_VERSION}-${VELMARA_PACKAGE_RELEASE})
set(changelog ${CMAKE_CURRENT_LIST_DIR}/debian/changelog)
file(STRINGS ${changelog} changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^velmara \\(${package_version}\\) ")
  message(FATAL_ERROR "The latest entry of ${changelog} is not velmara (${package_version}): "
                      "add an entry for the new version")
endif()
set(changelog_gz ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${changelog} ${changelog_gz}
  DEPENDS ${changelog} VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(VELMARA_MAINTAINER "Detector Velmara maintainers <maintainers@users.noreply.c-seed-6c325190.example>"
    CACHE STRING "Maintainer of the Debian package")
# A file the package puts in /etc is the administrator's to edit: dpkg keeps it as a conffile.
if(TARGET enchant_velmara)
  file(WRITE ${CMAKE_BINARY_DIR}/debian/conffiles "/etc/enchant/enchant.ordering\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/conffiles)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELMARA_PACKAGE_RELEASE})
set(CPACK_PACKAGE_CONTACT "${VELMARA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMARA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Spanish spelling detector for the desktop, terminal and editors")
# Every line at most 80 characters, as Debian's policy asks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Detector Velmara checks the Spanish text copied to the clipboard from the
notification area, on demand or by itself. Every word gets a verdict; missing
accents and interrogatives are corrected and the user's own substitutions
applied.
.
The package also holds velmara-check, the same checks in the terminal and the
ispell pipe that Emacs and other editors drive (velmara-check -a), and
velmara-server, a local server that answers the LanguageTool HTTP API for
browser add-ins, LibreOffice and editors.
.
The word lists of Spain and of every Spanish-speaking country of the Americas
come with it; the user chooses the country.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Installed binaries without their debugging symbols, as Debian ships them.
set(CPACK_STRIP_FILES ON)
# What the programs need to run: dpkg-shlibdeps finds the libraries the binaries link (the C and
# C++ runtimes, Qt 6's core, gui, widgets and network, the Wayland client library, with the
# versions they were built against); Qt loads its desktop platform plugin at run time, so that one
# is named here, and its Wayland platform is recommended for Wayland sessions. velmara-server's
# HTTP loop is libmicrohttpd, named too so a package built without dpkg-shlibdeps still pulls it in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libmicrohttpd12")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmara)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
