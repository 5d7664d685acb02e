# Files of src/tags/.
list(APPEND MARKORA_CORE_SOURCES
  tags/tagdefs.h tags/tagdefs.cpp
  tags/tagparser.h tags/tagparser.cpp
  tags/taglookup.h tags/taglookup.cpp
  tags/tagassist.h tags/tagassist.cpp
  tags/tagrules.h tags/tagrules.cpp
  tags/tagmatch.h tags/tagmatch.cpp
)
list(APPEND MARKORA_UI_SOURCES
  tags/ui/taggrid.h tags/ui/taggrid.cpp
)
