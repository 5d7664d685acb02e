# Files of src/services/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  services/codepage.h services/codepage.cpp
  services/charsetdetect.h services/charsetdetect.cpp
  services/docfile.h services/docfile.cpp
  services/templatefill.h services/templatefill.cpp
  services/konwerter.h services/konwerter.cpp services/konwertertexts.h
)
list(APPEND MARKORA_UI_SOURCES
  services/tkonwerterdial.h services/tkonwerterdial.cpp
)
