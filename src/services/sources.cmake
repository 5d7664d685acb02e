# Files of src/services/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  services/codepage.h services/codepage.cpp services/largebuffer.h
  services/charsetdetect.h services/charsetdetect.cpp
  services/docfile.h services/docfile.cpp
  services/templatefill.h services/templatefill.cpp
  services/konwerter.h services/konwerter.cpp services/konwertertexts.h
)
# Search and replace: the expression wrapper, the engine and the results model (core),
# the dialog and the results panel (ui).
list(APPEND MARKORA_CORE_SOURCES
  services/regex.h services/regex.cpp
  services/searchengine.h services/searchengine.cpp
  services/findresults.h services/findresults.cpp
)
list(APPEND MARKORA_UI_SOURCES
  services/tsearchdial.h services/tsearchdial.cpp
  services/findresultspanel.h services/findresultspanel.cpp
)
list(APPEND MARKORA_UI_SOURCES
  services/tkonwerterdial.h services/tkonwerterdial.cpp
)
