# What an installation on a Linux desktop adds to the programs and their data: the menu
# entry, the icon, the AppStream metainfo, the manual pages; and the Debian package that
# `cpack -G DEB` makes of it all (run in the build folder).
set(MARKORA_APP_ID pl.lindenworks.markora)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${MARKORA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${MARKORA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/dist/markora.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${MARKORA_ICON_SIZES})
  install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/markora-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME markora.png)
endforeach()

# Manual pages go compressed, as Debian's do; -n keeps the archive free of time stamps.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(pages)
foreach(page markora.1 markora-send.1)
  set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/dist/${page} ${CMAKE_BINARY_DIR}/man/${page}
    COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/man/${page}
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/${page}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND pages ${out})
endforeach()
add_custom_target(markora_man ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME markora)
set(CPACK_PACKAGE_VENDOR Lindenworks)
set(CPACK_PACKAGE_CONTACT "Lindenworks <markora@lindenworks.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for web pages written by hand (Polish interface)")
# The long description, in lines as Debian wraps them; the summary comes first by itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Markora keeps several HTML documents open in tabs, colours tags as you type,
shows the syntax of the tag at the caret and offers its parameters, adds
closing tags, wraps tags round the selection, searches and replaces with
regular expressions across all open documents, converts the 8-bit encodings
of Polish letters, and lets other programs drive the running editor
(markora-send). Its interface speaks Polish.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The libraries' packages come from dpkg-shlibdeps (Debian: dpkg-dev); what is loaded
# without being linked comes as recommendations: Qt's Polish texts, Wayland, the icon
# theme the icon joins, the opener of the system browser, the Polish spelling dictionary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland, hicolor-icon-theme, xdg-utils, hunspell-pl")
include(CPack)
