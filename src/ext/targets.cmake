# The client side of the inter-process channel: a small library for plug-ins, scripts
# and the editor's own hand-over at start-up, and the command-line client on top of it.
include(GNUInstallDirs)

add_library(markora_client STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/ext/commclient.h ${CMAKE_CURRENT_SOURCE_DIR}/ext/commclient.cpp)
target_include_directories(markora_client PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(markora_client PUBLIC markora_core Qt6::Network PRIVATE markora_options)

# A second start hands its files to the running editor through the client.
target_link_libraries(markora_ui PUBLIC markora_client)

qt_add_executable(markora-send ${CMAKE_SOURCE_DIR}/tools/markora-send/main.cpp)
target_link_libraries(markora-send PRIVATE markora_client markora_options)
install(TARGETS markora-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Waking plug-ins: shared by the editor's plug-in buttons and the plug-ins themselves.
target_sources(markora_client PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/ext/pluginschannel.h ${CMAKE_CURRENT_SOURCE_DIR}/ext/pluginschannel.cpp)

# The example plug-in: word and tag counts of the active document.
set(MARKORA_PLUGIN_EXAMPLE_DIR ${CMAKE_SOURCE_DIR}/tools/markora-plugin-example)
qt_add_executable(markora-plugin-example
  ${MARKORA_PLUGIN_EXAMPLE_DIR}/main.cpp
  ${MARKORA_PLUGIN_EXAMPLE_DIR}/textstats.h ${MARKORA_PLUGIN_EXAMPLE_DIR}/textstats.cpp)
target_link_libraries(markora-plugin-example PRIVATE markora_client Qt6::Widgets markora_options)
install(TARGETS markora-plugin-example RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
