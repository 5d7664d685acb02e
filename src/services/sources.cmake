# Files of src/services/: document files, templates, the Polish-letter converter, letters
# and entities, and search and replace in files on disk.
list(APPEND MARKORA_CORE_SOURCES
  services/charsetdetect.h services/charsetdetect.cpp
  services/charsetdeclaration.h services/charsetdeclaration.cpp
  services/documentcodec.h services/documentcodec.cpp
  services/docfile.h services/docfile.cpp
  services/templatefill.h services/templatefill.cpp
  services/konwerter.h services/konwerter.cpp services/konwertertexts.h
  services/entities.h services/entities.cpp services/entitytable.h services/entitytable.cpp
  services/filereplaceundo.h services/filereplaceundo.cpp
  services/filesearch.h services/filesearch.cpp
  services/filesearchjob.h services/filesearchjob.cpp
  services/filesearchpagestate.h services/filesearchpagestate.cpp
)
list(APPEND MARKORA_UI_SOURCES
  services/ui/tkonwerterdial.h services/ui/tkonwerterdial.cpp
  services/ui/entitycommands.h services/ui/entitycommands.cpp
  services/ui/filesearchpage.h services/ui/filesearchpage.cpp
)
