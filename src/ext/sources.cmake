# Files of src/ext/: core files never include QtWidgets.
list(APPEND MARKORA_CORE_SOURCES
  ext/commprotocol.h ext/commprotocol.cpp
  ext/commdispatcher.h ext/commdispatcher.cpp
)
list(APPEND MARKORA_UI_SOURCES
  ext/tcommwin.h ext/tcommwin.cpp
)
list(APPEND MARKORA_UI_SOURCES
  ext/tdoklbutton.h ext/tdoklbutton.cpp
  ext/pluginsbar.h ext/pluginsbar.cpp
  ext/tprzeniesdial.h ext/tprzeniesdial.cpp
  ext/usertoolbar.h ext/usertoolbar.cpp
)
