# Files of src/app/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  app/documents.h app/documents.cpp
)
list(APPEND MARKORA_UI_SOURCES
  app/toknogl.h app/toknogl.cpp
)
