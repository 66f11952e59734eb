# Where an installed Stokara's files go (prefix /usr for the Debian package)
# and how CPack makes the .deb from them. scripts/package drives it.
include(GNUInstallDirs)

set(STOKARA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(STOKARA_DATA_DEST ${CMAKE_INSTALL_DATADIR}/stokara)
set(STOKARA_DOC_DEST ${CMAKE_INSTALL_DATADIR}/doc/stokara)

install(TARGETS stokara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Found at run time through the system's data folders (stokara/reports,
# stokara/captions); a shop's own copies in its data folder come first.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/reports/ DESTINATION ${STOKARA_DATA_DEST}/reports
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        PATTERN "README.md" EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/captions/ DESTINATION ${STOKARA_DATA_DEST}/captions
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/reports/README.md DESTINATION ${STOKARA_DOC_DEST}
        RENAME report-layouts.md)

install(FILES ${STOKARA_PACKAGING_DIR}/stokara.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${STOKARA_PACKAGING_DIR}/org.stokara.Stokara.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${STOKARA_PACKAGING_DIR}/icons/stokara.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 32 48 64 128 256)
  install(FILES ${STOKARA_PACKAGING_DIR}/icons/stokara-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME stokara.png)
endforeach()
# udev reads /usr/lib/udev/rules.d whatever the library folder is called.
install(FILES ${STOKARA_PACKAGING_DIR}/70-stokara-card-reader.rules
        DESTINATION lib/udev/rules.d)
install(FILES ${STOKARA_PACKAGING_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME stokara)
install(FILES ${STOKARA_PACKAGING_DIR}/copyright DESTINATION ${STOKARA_DOC_DEST})

# The manual page and the changelog go in compressed, without a time stamp in
# the gzip header, so two builds give the same package.
find_program(STOKARA_GZIP gzip REQUIRED)
set(compressed)
foreach(pair "stokara.1|stokara.1.gz" "changelog|changelog.gz")
  string(REPLACE "|" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${STOKARA_GZIP} -9nc ${STOKARA_PACKAGING_DIR}/${source} > ${CMAKE_BINARY_DIR}/packaging/${target}
    DEPENDS ${STOKARA_PACKAGING_DIR}/${source}
    VERBATIM)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/packaging/${target})
endforeach()
add_custom_target(stokara_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/packaging/stokara.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${STOKARA_DOC_DEST})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stokara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shop program of a village dairy")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "Stokara maintainers <maintainers@users.noreply.c-seed-4948ae4c.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Stokara makes sales bills for a dairy's milk suppliers and collection
centres, records purchases, keeps item stock with sub-items used up through
a bill of materials, keeps a cash day book, recharges prepaid party cards
read by a USB RFID reader, sends SMS receipts, and prints ledgers, stock
statements and party bills, on screen or from the command line.

It runs on one counter with an embedded SQLite database, or on several
counters sharing one PostgreSQL server.")
# The libraries it links, as dpkg-shlibdeps finds them ...
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# ... and what it loads at run time: the Qt database drivers by name, the Noto
# fonts the Hindi, Gujarati and Punjabi captions are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, fonts-noto-core")
# pg_dump for the backups of a PostgreSQL shop; the ODBC drivers and isql for
# the data source made under Tools > Dsn Creation.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "postgresql-client, libsqliteodbc, odbc-postgresql, unixodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
