# Files of src/services/: document files, templates and the Polish-letter converter.
list(APPEND MARKORA_CORE_SOURCES
  services/charsetdetect.h services/charsetdetect.cpp
  services/docfile.h services/docfile.cpp
  services/templatefill.h services/templatefill.cpp
  services/konwerter.h services/konwerter.cpp services/konwertertexts.h
  services/entities.h services/entities.cpp services/entitytable.h services/entitytable.cpp
)
list(APPEND MARKORA_UI_SOURCES
  services/ui/tkonwerterdial.h services/ui/tkonwerterdial.cpp
)
