# Files of src/tags/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  tags/inifile.h tags/inifile.cpp
)
list(APPEND MARKORA_UI_SOURCES
)
