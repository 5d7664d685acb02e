# Files of src/editor/.
list(APPEND MARKORA_CORE_SOURCES
  editor/colorrule.h editor/colorrule.cpp
  editor/colorengine.h editor/colorengine.cpp
  editor/defaultrules.h editor/defaultrules.cpp
)
list(APPEND MARKORA_UI_SOURCES
  editor/ui/documenttextaccess.h editor/ui/documenttextaccess.cpp
  editor/ui/tcolormemo.h editor/ui/tcolormemo.cpp
)
