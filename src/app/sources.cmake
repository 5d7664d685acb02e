# Files of src/app/: the main window, start-up and settings (ui/main.cpp is the program).
list(APPEND MARKORA_CORE_SOURCES
  app/setupoptions.h app/setupoptions.cpp
  app/startupsettings.h app/startupsettings.cpp
  app/programinfo.h app/programinfo.cpp
  app/qttranslations.h app/qttranslations.cpp
  app/previewfile.h app/previewfile.cpp
  app/recoveryfile.h app/recoveryfile.cpp
  app/recoverystore.h app/recoverystore.cpp
  app/previewrefresh.h app/previewrefresh.cpp
  app/externalviewers.h app/externalviewers.cpp
  app/shortcutmap.h app/shortcutmap.cpp
  app/folderlisting.h app/folderlisting.cpp
)
list(APPEND MARKORA_UI_SOURCES
  app/ui/teditor.h app/ui/teditor.cpp
  app/ui/tmynotebook.h app/ui/tmynotebook.cpp
  app/ui/documentmanager.h app/ui/documentmanager.cpp
  app/ui/formatcontroller.h app/ui/formatcontroller.cpp
  app/ui/recoverycontroller.h app/ui/recoverycontroller.cpp
  app/ui/setupcontroller.h app/ui/setupcontroller.cpp
  app/ui/temporaryfiles.h app/ui/temporaryfiles.cpp
  app/ui/previewcontroller.h app/ui/previewcontroller.cpp
  app/ui/servicescontroller.h app/ui/servicescontroller.cpp
  app/ui/tagmatchcontroller.h app/ui/tagmatchcontroller.cpp
  app/ui/checkscontroller.h app/ui/checkscontroller.cpp
  app/ui/viewcontroller.h app/ui/viewcontroller.cpp
  app/ui/desktopcommands.h app/ui/desktopcommands.cpp
  app/ui/programicon.h app/ui/programicon.cpp
  app/ui/contentcontroller.h app/ui/contentcontroller.cpp
  app/ui/viewerscontroller.h app/ui/viewerscontroller.cpp
  app/ui/shortcutscontroller.h app/ui/shortcutscontroller.cpp
  app/ui/toknogl.h app/ui/toknogl.cpp
  app/ui/filepanel.h app/ui/filepanel.cpp
  app/ui/folderlistmodel.h app/ui/folderlistmodel.cpp
  app/ui/foldertreemodel.h app/ui/foldertreemodel.cpp
  app/ui/preview.h app/ui/preview.cpp
  app/ui/previewview.h app/ui/previewview.cpp
  app/ui/textpreviewview.h app/ui/textpreviewview.cpp
  app/ui/splash.h app/ui/splash.cpp
  app/ui/tsetupdial.h app/ui/tsetupdial.cpp
  app/ui/startup.h app/ui/startup.cpp
  app/ui/assistcontroller.h app/ui/assistcontroller.cpp
  app/ui/twstlist.h app/ui/twstlist.cpp
  app/ui/thintballoon.h app/ui/thintballoon.cpp
  app/ui/tviewersdial.h app/ui/tviewersdial.cpp
  app/ui/tskrotydial.h app/ui/tskrotydial.cpp
)
# The live preview in Qt WebEngine (option MARKORA_WEBENGINE).
if(MARKORA_WEBENGINE)
  list(APPEND MARKORA_UI_SOURCES app/ui/webpreviewview.h app/ui/webpreviewview.cpp)
endif()
