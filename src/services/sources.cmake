# Files of src/services/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  services/codepage.h services/codepage.cpp
)
list(APPEND MARKORA_UI_SOURCES
)
