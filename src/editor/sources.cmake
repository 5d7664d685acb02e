# Files of src/editor/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  editor/textaccess.h editor/textaccess.cpp
  editor/colorrule.h editor/colorrule.cpp
  editor/colorengine.h editor/colorengine.cpp
  editor/defaultrules.h editor/defaultrules.cpp
)
list(APPEND MARKORA_UI_SOURCES
  editor/documenttextaccess.h editor/documenttextaccess.cpp
  editor/tcolormemo.h editor/tcolormemo.cpp
)
