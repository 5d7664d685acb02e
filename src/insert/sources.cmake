# Files of src/insert/.
list(APPEND MARKORA_CORE_SOURCES
  insert/insertion.h insert/insertion.cpp
  insert/commandtable.h insert/commandtable.cpp
  insert/insertrunner.h insert/insertrunner.cpp
  insert/inserttarget.h insert/inserttarget.cpp
  insert/markupwriter.h insert/markupwriter.cpp
  insert/pagemarkup.h insert/pagemarkup.cpp
  insert/linkmarkup.h insert/linkmarkup.cpp
  insert/scriptmarkup.h insert/scriptmarkup.cpp
  insert/tablemarkup.h insert/tablemarkup.cpp
  insert/relativepath.h insert/relativepath.cpp
  insert/pictureheader.h insert/pictureheader.cpp
  insert/insertdialogstate.h insert/insertdialogstate.cpp
)
list(APPEND MARKORA_UI_SOURCES
  insert/ui/inserttooltabs.h insert/ui/inserttooltabs.cpp
)
