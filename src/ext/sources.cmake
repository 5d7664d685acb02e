# Files of src/ext/: plug-in buttons and the user toolbar.
list(APPEND MARKORA_CORE_SOURCES
  ext/userslots.h ext/userslots.cpp
)
list(APPEND MARKORA_UI_SOURCES
  ext/ui/tdoklbutton.h ext/ui/tdoklbutton.cpp
  ext/ui/pluginsbar.h ext/ui/pluginsbar.cpp
  ext/ui/tprzeniesdial.h ext/ui/tprzeniesdial.cpp
  ext/ui/usertoolbar.h ext/ui/usertoolbar.cpp
)
