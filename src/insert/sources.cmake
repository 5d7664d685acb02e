# Files of src/insert/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  insert/insertion.h insert/insertion.cpp
  insert/commandtable.h insert/commandtable.cpp
  insert/insertrunner.h insert/insertrunner.cpp
)
list(APPEND MARKORA_UI_SOURCES
  insert/inserttooltabs.h insert/inserttooltabs.cpp
)
