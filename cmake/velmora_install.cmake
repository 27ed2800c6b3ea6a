# What `cmake --install` puts where, and the packages CPack makes from it: a .deb of ravelo,
# lumbra, velmora-sim, their man pages and the online polling service from a Linux build; a .zip of the stripped Ravelo.exe
# and Lumbra.exe from the Windows build.
include(GNUInstallDirs)

# Installing and packaging take what the build made; they do not build the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(VELMORA_PROGRAMS)
foreach(program ravelo lumbra velmora-sim Ravelo Lumbra)
    if(TARGET ${program})
        list(APPEND VELMORA_PROGRAMS ${program})
    endif()
endforeach()

if(WIN32)
    # The programs stand alone: each keeps its settings file beside itself.
    install(TARGETS ${VELMORA_PROGRAMS} RUNTIME DESTINATION .)
else()
    install(TARGETS ${VELMORA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

    # Man pages are read from the source tree too (man -l), so they name the version themselves;
    # one left behind by a new version stops the configuration. Installed compressed, as Debian
    # has them.
    set(man_pages)
    foreach(page ravelo lumbra velmora-sim)
        file(STRINGS ${PROJECT_SOURCE_DIR}/man/${page}.1 title REGEX "^\\.TH ")
        if(NOT title MATCHES "\"velmora ${PROJECT_VERSION}\"")
            message(FATAL_ERROR "man/${page}.1: its .TH line must name \"velmora ${PROJECT_VERSION}\"")
        endif()
        configure_file(${PROJECT_SOURCE_DIR}/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 COPYONLY)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
            COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/man/${page}.1 > ${CMAKE_BINARY_DIR}/man/${page}.1.gz
            DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1)
        list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    endforeach()
    add_custom_target(man_pages ALL DEPENDS ${man_pages})
    install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    # Debian's policy asks every package for its copyright file in its own doc folder.
    install(FILES ${PROJECT_SOURCE_DIR}/resources/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)

    # The online polling service's template (installed, never enabled) and the user it runs as.
    # systemd reads lib/systemd/system and lib/sysusers.d under /usr and /usr/local alike, so
    # these stay relative to the prefix rather than to the architecture's library folder.
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/ravelo-online@.service
        DESTINATION lib/systemd/system)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/velmora.sysusers
        DESTINATION lib/sysusers.d RENAME velmora.conf)

    # man --warnings prints nothing for a page that formats cleanly.
    if(VELMORA_TESTS)
        add_test(NAME ManPages.FormatWithoutWarnings
            COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-man-pages
                ${CMAKE_BINARY_DIR}/man/ravelo.1 ${CMAKE_BINARY_DIR}/man/lumbra.1
                ${CMAKE_BINARY_DIR}/man/velmora-sim.1)
        set_tests_properties(ManPages.FormatWithoutWarnings PROPERTIES LABELS unit TIMEOUT 30)
    endif()
endif()

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Data transfer for the Velmora terminal: records (ravelo), lookup tables (lumbra)")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-windows)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Makes the service's user when the package is installed.
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/linux/postinst)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Two programs for the Velmora portable data terminal on an RS-232 line.
ravelo fetches the records the terminal has collected into a text file, once or
polling online; lumbra loads a lookup table into the terminal. velmora-sim plays
the terminal on a pseudo-terminal, to try both without one.")
endif()
include(CPack)
