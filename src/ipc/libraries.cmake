# Libraries of src/ipc/ that programs outside the editor link: the frames of the channel
# (markora_protocol) and its client side with the plug-in wake-up (markora_client).
add_library(markora_protocol STATIC
  ${CMAKE_CURRENT_LIST_DIR}/protocol/commprotocol.h ${CMAKE_CURRENT_LIST_DIR}/protocol/commprotocol.cpp)
target_link_libraries(markora_protocol PUBLIC markora_base PRIVATE markora_options)

add_library(markora_client STATIC
  ${CMAKE_CURRENT_LIST_DIR}/client/commclient.h ${CMAKE_CURRENT_LIST_DIR}/client/commclient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/client/pluginschannel.h ${CMAKE_CURRENT_LIST_DIR}/client/pluginschannel.cpp)
target_link_libraries(markora_client PUBLIC markora_protocol Qt6::Network PRIVATE markora_options)
set_target_properties(markora_client PROPERTIES AUTOMOC ON)

# The automation object on the session bus (QtDBus): the editor links it.
add_library(markora_bus STATIC
  ${CMAKE_CURRENT_LIST_DIR}/bus/automationbus.h ${CMAKE_CURRENT_LIST_DIR}/bus/automationbus.cpp)
target_link_libraries(markora_bus PUBLIC markora_base Qt6::DBus PRIVATE markora_options)
set_target_properties(markora_bus PROPERTIES AUTOMOC ON)
