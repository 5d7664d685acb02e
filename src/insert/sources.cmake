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
  insert/ui/picturesize.h insert/ui/picturesize.cpp
  insert/ui/tinsertdial.h insert/ui/tinsertdial.cpp
  insert/ui/taddressedit.h insert/ui/taddressedit.cpp
  insert/ui/tcoloredit.h insert/ui/tcoloredit.cpp
  insert/ui/tbodydial.h insert/ui/tbodydial.cpp
  insert/ui/theaddial.h insert/ui/theaddial.cpp
  insert/ui/tlinkdial.h insert/ui/tlinkdial.cpp
  insert/ui/timagedial.h insert/ui/timagedial.cpp
  insert/ui/tmetadial.h insert/ui/tmetadial.cpp
  insert/ui/tdatedial.h insert/ui/tdatedial.cpp
  insert/ui/tscriptdial.h insert/ui/tscriptdial.cpp
  insert/ui/tstyledial.h insert/ui/tstyledial.cpp
  insert/ui/ttabledial.h insert/ui/ttabledial.cpp
  insert/ui/tframedial.h insert/ui/tframedial.cpp
  insert/ui/insertdialogs.h insert/ui/insertdialogs.cpp
)
