# Files of src/base/: what every folder needs. It includes no other folder.
list(APPEND MARKORA_BASE_SOURCES
  base/documents.h base/documents.cpp
  base/textaccess.h base/textaccess.cpp
  base/codepage.h base/codepage.cpp base/largebuffer.h
  base/documentencoding.h base/documentencoding.cpp
  base/utf8.h base/utf8.cpp
  base/inifile.h base/inifile.cpp
  base/settings.h base/settings.cpp base/settingstable.h
  base/datafiles.h base/datafiles.cpp
  base/filefilter.h base/filefilter.cpp
  base/privatedir.h base/privatedir.cpp
  base/filestamp.h base/filestamp.cpp
  base/documentstate.h
)
list(APPEND MARKORA_UI_SOURCES
  base/ui/msgbox.h base/ui/msgbox.cpp
)
