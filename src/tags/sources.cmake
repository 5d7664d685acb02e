# Files of src/tags/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  tags/inifile.h tags/inifile.cpp
  tags/tagdefs.h tags/tagdefs.cpp
  tags/tagparser.h tags/tagparser.cpp
  tags/taglookup.h tags/taglookup.cpp
  tags/tagassist.h tags/tagassist.cpp
)
list(APPEND MARKORA_UI_SOURCES
  tags/taggrid.h tags/taggrid.cpp
)
