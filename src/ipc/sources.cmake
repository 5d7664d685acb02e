# Files of src/ipc/ in the editor's libraries (protocol/ and client/: libraries.cmake).
list(APPEND MARKORA_CORE_SOURCES
  ipc/commdispatcher.h ipc/commdispatcher.cpp
)
list(APPEND MARKORA_UI_SOURCES
  ipc/ui/tcommwin.h ipc/ui/tcommwin.cpp
)
