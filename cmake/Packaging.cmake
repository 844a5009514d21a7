# Install rules and the Debian package: program, card library, starting configuration,
# desktop entry, AppStream metainfo, icon, man page, copyright, changelog and the bench example.
if(NOT ZORIX7_WITH_QT OR NOT TARGET zorix7check)
  return()
endif()

include(GNUInstallDirs)

# The card library and the platform core it shares with the program (one clock for both) are
# private to the package: they live in their own folder, found through RUNPATH (not RPATH),
# so that LD_LIBRARY_PATH can still put a real driver library with the same interface in front.
include(cmake/PrivateLibDir.cmake)
install(TARGETS zorix7check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS zorix7 zorix7platformcore zorix7-record LIBRARY DESTINATION ${ZORIX7_PRIVATE_LIBDIR})
# The recorder as libzorix7 in record/, the folder --record puts in front through LD_LIBRARY_PATH.
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZORIX7_PRIVATE_LIBDIR}/record\")
  file(CREATE_LINK ../libzorix7-record.so
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZORIX7_PRIVATE_LIBDIR}/record/libzorix7.so\" SYMBOLIC)")
set_target_properties(zorix7check PROPERTIES INSTALL_RPATH "$ORIGIN/../${ZORIX7_PRIVATE_LIBDIR}")
set_target_properties(zorix7 PROPERTIES INSTALL_RPATH "$ORIGIN")
target_link_options(zorix7check PRIVATE "LINKER:--enable-new-dtags")
target_link_options(zorix7 PRIVATE "LINKER:--enable-new-dtags")

set(ZORIX7_DATADIR ${CMAKE_INSTALL_DATADIR}/zorix7check)
install(FILES config/ZORIX7Check.INI config/Kennung-ZORIX7F.txt src/sim/bench-example.ini
        DESTINATION ${ZORIX7_DATADIR})
install(FILES packaging/zorix7check.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/zorix7check.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/org.example.zorix7check.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian's documentation folder: the licence in machine-readable form and the changelog.
set(ZORIX7_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zorix7check)
install(FILES packaging/copyright DESTINATION ${ZORIX7_DOCDIR})
find_program(ZORIX7_GZIP gzip)
if(ZORIX7_GZIP)
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
  add_custom_command(
    OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog ${changelog}
    COMMAND ${ZORIX7_GZIP} -9nf ${changelog}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressed changelog"
    VERBATIM)
  add_custom_target(zorix7check_changelog ALL DEPENDS ${changelog}.gz)
  install(FILES ${changelog}.gz DESTINATION ${ZORIX7_DOCDIR})
endif()

# The man page is the program's own --help; a sanitizer build would only add its noise.
find_program(ZORIX7_HELP2MAN help2man)
if(ZORIX7_HELP2MAN AND ZORIX7_GZIP AND NOT ZORIX7_SANITIZE)
  set(man ${CMAKE_CURRENT_BINARY_DIR}/zorix7check.1)
  add_custom_command(
    OUTPUT ${man}.gz
    # Called through PATH, so that the usage line names the program, not the build folder.
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            "PATH=$<TARGET_FILE_DIR:zorix7check>:$ENV{PATH}"
            ${ZORIX7_HELP2MAN} --no-info --section=1 --locale=C.UTF-8
            --include=${CMAKE_CURRENT_SOURCE_DIR}/packaging/zorix7check.h2m
            --output=${man} zorix7check
    COMMAND ${ZORIX7_GZIP} -9nf ${man}
    DEPENDS zorix7check ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zorix7check.h2m
    COMMENT "Man page from zorix7check --help"
    VERBATIM)
  add_custom_target(zorix7check_man ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "No man page: help2man or gzip missing, or a sanitizer build")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorix7check)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZORIX7Check")
set(CPACK_PACKAGE_CONTACT "ZORIX7Check maintainers <zorix7check@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bench test and service tool for ZORIX7 ultrasonic PCI cards")
# Lines of the long description stay within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "ZORIX7Check checks ZORIX7 and ZORIX7F ultrasonic measuring cards: PCI header,
EEPROM, DSP, control and data LCA, identification, single shots, block
measurements and data rates, in its main window or headless with JUnit and
JSON reports. The package ships libzorix7, the virtual cards; a real driver
library with the same interface replaces it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libzorix7 ships in the package itself; dpkg-shlibdeps must not look for another package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src/sim)
# German texts of Qt's own dialogs and buttons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
