# Files of src/app/: the main window, start-up and settings (ui/main.cpp is the program).
list(APPEND MARKORA_CORE_SOURCES
  app/setupoptions.h app/setupoptions.cpp
  app/startupsettings.h app/startupsettings.cpp
  app/previewfile.h app/previewfile.cpp
  app/recoveryfile.h app/recoveryfile.cpp
  app/recoverystore.h app/recoverystore.cpp
  app/externalviewers.h app/externalviewers.cpp
  app/shortcutmap.h app/shortcutmap.cpp
  app/folderlisting.h app/folderlisting.cpp
)
list(APPEND MARKORA_UI_SOURCES
  app/ui/teditor.h app/ui/teditor.cpp
  app/ui/tmynotebook.h app/ui/tmynotebook.cpp
  app/ui/toknogl.h app/ui/toknogl.cpp
  app/ui/toknogl_files.cpp
  app/ui/toknogl_services.cpp
  app/ui/toknogl_setup.cpp
  app/ui/toknogl_recovery.cpp
  app/ui/toknogl_ext.cpp
  app/ui/filepanel.h app/ui/filepanel.cpp
  app/ui/folderlistmodel.h app/ui/folderlistmodel.cpp
  app/ui/foldertreemodel.h app/ui/foldertreemodel.cpp
  app/ui/preview.h app/ui/preview.cpp
  app/ui/splash.h app/ui/splash.cpp
  app/ui/tsetupdial.h app/ui/tsetupdial.cpp
  app/ui/startup.h app/ui/startup.cpp
  app/ui/assistcontroller.h app/ui/assistcontroller.cpp
  app/ui/twstlist.h app/ui/twstlist.cpp
  app/ui/thintballoon.h app/ui/thintballoon.cpp
  app/ui/tviewersdial.h app/ui/tviewersdial.cpp
  app/ui/tskrotydial.h app/ui/tskrotydial.cpp
)
