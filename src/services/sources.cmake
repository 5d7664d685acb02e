# Files of src/services/: document files, templates, the Polish-letter converter, letters
# and entities, search and replace in files on disk, the page checks (markup through
# tidy, spelling through Hunspell), and the reusable content (the templates folders,
# snippets, projects).
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
  services/validator.h services/validator.cpp
  services/validationmodel.h services/validationmodel.cpp
  services/tidysession_p.h services/tidysession.cpp
  services/tidyfix.h services/tidyfix.cpp
  services/linediff.h services/linediff.cpp
  services/characterreference.h services/characterreference.cpp
  services/spelltokenizer.h services/spelltokenizer.cpp
  services/hunspelldictionary.h services/hunspelldictionary.cpp
  services/spelling.h services/spelling.cpp
  services/checkoptions.h services/checkoptions.cpp
  services/filesearchpagestate.h services/filesearchpagestate.cpp
  services/templates.h services/templates.cpp
  services/snippetexpand.h services/snippetexpand.cpp
  services/snippetstore.h services/snippetstore.cpp
  services/snippetfile.h services/snippetfile.cpp
  services/projectlist.h services/projectlist.cpp
  services/projectsfile.h services/projectsfile.cpp
)
list(APPEND MARKORA_UI_SOURCES
  services/ui/tkonwerterdial.h services/ui/tkonwerterdial.cpp
  services/ui/entitycommands.h services/ui/entitycommands.cpp
  services/ui/filesearchpage.h services/ui/filesearchpage.cpp
  services/ui/spellhighlighter.h services/ui/spellhighlighter.cpp
  services/ui/validationpage.h services/ui/validationpage.cpp
  services/ui/tidyfixdial.h services/ui/tidyfixdial.cpp
  services/ui/spelldial.h services/ui/spelldial.cpp
  services/ui/checkoptionspage.h services/ui/checkoptionspage.cpp
  services/ui/tszablondial.h services/ui/tszablondial.cpp
  services/ui/twstawkipanel.h services/ui/twstawkipanel.cpp
  services/ui/tprojektypanel.h services/ui/tprojektypanel.cpp
)
