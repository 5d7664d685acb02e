# README.md stands beside the executables and in the data folder: the help command
# (Pomoc > Pomoc) shows its section for users. Include after the markora target exists.
add_custom_target(markora_readme ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/bin/README.md
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Copying README.md")
add_dependencies(markora markora_readme)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/markora)
