# Files of src/editor/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  editor/textaccess.h editor/textaccess.cpp
)
list(APPEND MARKORA_UI_SOURCES
)
