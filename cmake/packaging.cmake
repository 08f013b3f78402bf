# Installation: on Windows a zip of the program, its license and a short
# readme; elsewhere the program, its manual pages and the Debian package.

set(CPACK_PACKAGE_NAME subscribers)
set(CPACK_PACKAGE_VENDOR "The subscribers authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS subscribers RUNTIME DESTINATION .)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES cmake/windows/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)
install(TARGETS subscribers RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual pages take the version from project(); they are installed
# compressed where gzip is at hand, as the platform expects.
find_program(SUBSCRIBERS_GZIP gzip)
function(subscribers_manual source section_dir)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${section_dir}/subscribers.1)
  configure_file(${source} ${page} @ONLY)
  if(SUBSCRIBERS_GZIP)
    # -n keeps the name and time out of the archive: the same page, the same bytes.
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${SUBSCRIBERS_GZIP} -9nc ${page} > ${page}.gz
      DEPENDS ${page} VERBATIM)
    string(MAKE_C_IDENTIFIER ${section_dir} name)
    add_custom_target(manual_${name} ALL DEPENDS ${page}.gz)
    set(page ${page}.gz)
  endif()
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/${section_dir})
endfunction()
subscribers_manual(doc/subscribers.1.in man1)
subscribers_manual(doc/subscribers.ru.1.in ru/man1)

set(CPACK_PACKAGE_DESCRIPTION
  "An interactive console program, in Russian, that keeps the list of the
subscribers of a telephone network for one working run. Subscriber records
(contract number, surname, district, address, phone, payments, two dates)
are added, listed, deleted or replaced by contract number, and searched by
surname, district or either date, sequentially or by binary search. Matches
are written to output.txt and, in reverse order, to output_reverce.txt.
Answers may be typed ahead, so whole scripts can be piped in.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A project without a domain of its own: the reserved example domain.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The subscribers authors <subscribers@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The license, as a machine-readable copyright file, and the changelog go
# where Debian expects them (share/doc/subscribers).
install(FILES cmake/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Info tags of lintian that stay, each with its reason.
install(FILES cmake/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME subscribers)
configure_file(cmake/debian/changelog.in changelog @ONLY)
if(SUBSCRIBERS_GZIP)
  add_custom_command(OUTPUT changelog.gz
    COMMAND ${SUBSCRIBERS_GZIP} -9nc changelog > changelog.gz
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog VERBATIM)
  add_custom_target(changelog_gz ALL DEPENDS changelog.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
include(CPack)
