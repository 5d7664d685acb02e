# Files of src/app/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  app/documents.h app/documents.cpp
  app/settings.h app/settings.cpp
  app/datafiles.h app/datafiles.cpp
  app/filefilter.h app/filefilter.cpp
  app/setupoptions.h app/setupoptions.cpp
  app/startupsettings.h app/startupsettings.cpp
  app/previewfile.h app/previewfile.cpp
  app/privatedir.h app/privatedir.cpp
  app/recoveryfile.h app/recoveryfile.cpp
  app/recoverystore.h app/recoverystore.cpp
)
list(APPEND MARKORA_UI_SOURCES
  app/msgbox.h app/msgbox.cpp
  app/teditor.h app/teditor.cpp
  app/tmynotebook.h app/tmynotebook.cpp
  app/toknogl.h app/toknogl.cpp
  app/toknogl_files.cpp
  app/toknogl_services.cpp
  app/toknogl_setup.cpp
  app/toknogl_recovery.cpp
  app/filepanel.h app/filepanel.cpp
  app/preview.h app/preview.cpp
  app/splash.h app/splash.cpp
  app/tsetupdial.h app/tsetupdial.cpp
  app/startup.h app/startup.cpp
)
list(APPEND MARKORA_UI_SOURCES
  app/toknogl_ext.cpp
  app/toknogl_assist_p.h app/toknogl_assist.cpp app/toknogl_insert.cpp
  app/twstlist.h app/twstlist.cpp
  app/thintballoon.h app/thintballoon.cpp
)
