# What `cmake --install` puts where, and the Debian package `make package` builds from it.
include(GNUInstallDirs)

foreach(program velmara-check velmara-mkdb velmara-server)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/velmara-autostart DESTINATION ${CMAKE_INSTALL_BINDIR})
# The server as a systemd user service: `systemctl --user enable --now velmara-server`.
if(TARGET velmara-server)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmara-server.service DESTINATION lib/systemd/user)
endif()

# The generated word lists and false positives, never a user's Intellisense list that a run from
# the build folder may have left beside them. The installed program finds them relative to its
# executable (../share/velmara/palabrasbd).
if(TARGET word_database)
  set(database ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/palabrasbd)
  install(FILES ${database}/diccionario.log ${database}/verbos.log ${database}/npropios.log
                "${database}/Falsos Positivos.txt"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/velmara/palabrasbd)
endif()

# The entry `velmara-autostart on` copies into the user's autostart folder.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmara-autostart.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/velmara)

# The manual pages, compressed as Debian keeps them.
set(man_pages)
foreach(page velmara velmara-check)
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Detector Velmara <velmara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Spanish spelling detector for the notification area")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Detector Velmara checks the Spanish text copied to the clipboard, on demand or by itself,
corrects missing accents and interrogatives and applies the user's own substitutions.
It includes velmara-check, the same checks in the terminal, and its word database
(${VELMARA_DICTIONARY_COUNTRY}).")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
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
