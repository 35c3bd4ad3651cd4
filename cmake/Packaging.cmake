# Installation and the Debian package (make package): the three programs in
# /usr/bin, the gateway zrm48d in /usr/sbin with its systemd unit and system
# user, the desktop entry and its icon, manual pages made from each
# program's --help, the udev rule that lowers FTDI adapters' latency timer,
# and the package's own documents. The runtime
# dependencies come from dpkg-shlibdeps.
include(GNUInstallDirs)

set(zrm_programs zrm48ctl zrm48sim)
if(ZRM_BUILD_GUI)
  list(APPEND zrm_programs zrm48setup)
endif()
install(TARGETS ${zrm_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The gateway runs as a service: its unit where Debian 12's systemd looks,
# its user made by systemd-sysusers (or useradd) in the postinst.
install(TARGETS zrm48d RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})
install(FILES packaging/zrm48d.service DESTINATION /lib/systemd/system)
install(FILES packaging/zrm48d.sysusers DESTINATION ${CMAKE_INSTALL_PREFIX}/lib/sysusers.d
        RENAME zrm48d.conf)

# FTDI adapters pass short replies on at once (latency timer 1 ms); Debian
# 12's udev reads its packages' rules here.
install(FILES packaging/60-zrm48setup-ftdi-latency.rules DESTINATION /lib/udev/rules.d)

if(ZRM_BUILD_GUI)
  install(FILES packaging/zrm48setup.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/zrm48setup.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(zrm_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zrm48setup)
install(FILES packaging/copyright packaging/zrm48d.ini.example DESTINATION ${zrm_doc_dir})

# Manual pages: help2man runs each program with --help and --version; the
# NAME, FILES and SEE ALSO sections come from packaging/man/*.h2m.
option(ZRM_MANPAGES "Make the manual pages with help2man" OFF)
if(ZRM_MANPAGES)
  find_program(HELP2MAN help2man REQUIRED)
  find_program(GZIP gzip REQUIRED)
  # The programs in section 1, the daemon in section 8.
  set(man_pages)
  foreach(program ${zrm_programs} zrm48d)
    set(section 1)
    if(program STREQUAL "zrm48d")
      set(section 8)
    endif()
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man${section}/${program}.${section})
    set(include ${CMAKE_CURRENT_SOURCE_DIR}/packaging/man/${program}.h2m)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man${section}
      COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=${section} --include=${include}
              --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${GZIP} -9nf ${page}
      DEPENDS ${program} ${include}
      VERBATIM)
    list(APPEND man_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})

  # The package's changelog is compressed as Debian wants it.
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${changelog}
    COMMAND ${GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS packaging/changelog)
  add_custom_target(package_changelog ALL DEPENDS ${changelog})
  install(FILES ${changelog} DESTINATION ${zrm_doc_dir})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zrm48setup)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zrm48setup developers <zrm48setup@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setup utility for ZRM 48xx process meters")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A Russian-language window that reads the complete settings of a ZRM 48xx\n"
    "one- or two-channel process meter over a serial line, edits them, checks\n"
    "them and writes them back with read-back verification, keeps them in\n"
    "profile files, shows the live values and prints a configuration report.\n"
    "Beside it: zrm48ctl, the same operations for scripts and production\n"
    "lines; zrm48d, a service that polls the instruments of RS-485 lines and\n"
    "passes their values to an MQTT broker and Modbus TCP clients; and\n"
    "zrm48sim, an emulated instrument on a pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Russian dialog buttons come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
# The gateway's user and unit.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/packaging/deb/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/packaging/deb/prerm ${CMAKE_CURRENT_SOURCE_DIR}/packaging/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
