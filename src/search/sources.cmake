# Files of src/search/: the expression wrapper, the engine and the results model; the
# dialog and the results panel in ui/.
list(APPEND MARKORA_CORE_SOURCES
  search/regex.h search/regex.cpp
  search/searchengine.h search/searchengine.cpp
  search/findresults.h search/findresults.cpp
  search/searchwindowstate.h search/searchwindowstate.cpp
  search/recenttexts.h search/recenttexts.cpp
)
list(APPEND MARKORA_UI_SOURCES
  search/ui/tsearchdial.h search/ui/tsearchdial.cpp
  search/ui/findresultspanel.h search/ui/findresultspanel.cpp
)
