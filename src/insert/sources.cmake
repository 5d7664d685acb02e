# Files of src/insert/.
list(APPEND MARKORA_CORE_SOURCES
  insert/insertion.h insert/insertion.cpp
  insert/commandtable.h insert/commandtable.cpp
  insert/insertrunner.h insert/insertrunner.cpp
)
list(APPEND MARKORA_UI_SOURCES
  insert/ui/inserttooltabs.h insert/ui/inserttooltabs.cpp
)
