# Installation: a program folder holding the executable with its data files
# (it finds them beside itself), a `kelvara` command on the PATH linking to
# it, and the desktop entry, icon and project MIME type. `cpack -G DEB`
# packs the same tree.

set(KELVARA_PROGRAM_FOLDER lib/kelvara)

install(TARGETS kelvara RUNTIME DESTINATION ${KELVARA_PROGRAM_FOLDER})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${KELVARA_PROGRAM_FOLDER})

# A relative link, so the installed tree can move as a whole; the program
# resolves it to find its folder.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ../${KELVARA_PROGRAM_FOLDER}/kelvara ${CMAKE_BINARY_DIR}/packaging/kelvara SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/kelvara DESTINATION bin)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvara.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvara.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvara.xml DESTINATION share/mime/packages)
# The licence: GPL-3.0-or-later, in the form Debian packages carry it.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/kelvara)

set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VENDOR "Kelvara Stitches")
set(CPACK_PACKAGE_CONTACT "Kelvara Stitches maintainers <maintainers@kelvara.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for machine-embroidery designs")
set(CPACK_PACKAGE_DESCRIPTION
    "Draw running lines, satin columns, fills, stars and circles over a traced picture and export them for embroidery machines. Includes a command line for batch export without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Library dependencies come from dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
