# Installs the build folder BUILD into PREFIX (emptied first) and checks the result:
# every file in its place, nothing of the build's own (tests, benchmarks) with it, and
# the installed programs answering --version and --help without a display and finding
# their data in PREFIX, the user's copy of konfiguracja/ first.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(bin ${BINDIR})
set(share ${DATADIR})
set(expected
  ${bin}/markora ${bin}/markora-send ${bin}/markora-plugin-example
  ${share}/markora/README.md
  ${share}/applications/pl.lindenworks.markora.desktop
  ${share}/metainfo/pl.lindenworks.markora.metainfo.xml
  ${share}/icons/hicolor/scalable/apps/markora.svg
  ${MANDIR}/man1/markora.1.gz ${MANDIR}/man1/markora-send.1.gz)
foreach(size ${ICON_SIZES})
  list(APPEND expected ${share}/icons/hicolor/${size}x${size}/apps/markora.png)
endforeach()
foreach(folder konfiguracja szablony)
  file(GLOB_RECURSE shipped RELATIVE ${SOURCE} ${SOURCE}/${folder}/*)
  foreach(f ${shipped})
    list(APPEND expected ${share}/markora/${f})
  endforeach()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  message(FATAL_ERROR "Installed files differ.\nMissing: ${missing}\nNot expected: ${extra}")
endif()
foreach(program markora markora-send markora-plugin-example)
  find_program(found_${program} ${program} PATHS ${PREFIX}/${bin} NO_DEFAULT_PATH NO_CACHE)
  if(NOT found_${program})
    message(FATAL_ERROR "${program} is not executable")
  endif()
endforeach()
foreach(size ${ICON_SIZES})
  file(READ ${PREFIX}/${share}/icons/hicolor/${size}x${size}/apps/markora.png head LIMIT 24 HEX)
  # The PNG header's width and height (bytes 16 to 23).
  string(SUBSTRING "${head}" 32 16 dims)
  math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" hex "${hex}")
  string(LENGTH "${hex}" n)
  math(EXPR pad "8 - ${n}")
  string(REPEAT "0" ${pad} zeros)
  if(NOT dims STREQUAL "${zeros}${hex}${zeros}${hex}")
    message(FATAL_ERROR "markora.png of ${size}x${size} is ${dims}")
  endif()
endforeach()

# The programs run as a user would, with no display: a window would fail to start. The
# user's configuration folder and the system's data folders are the test's own.
set(home ${PREFIX}-home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home})
set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
  XDG_CONFIG_HOME=${home} XDG_DATA_DIRS=${home}/nothing)
function(run expect_out)
  execute_process(COMMAND ${env} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "${expect_out}")
    message(FATAL_ERROR "${ARGN}: exit ${rc}\n${out}${err}\nexpected output matching: ${expect_out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()
# Paths and the version taken literally in the patterns below.
function(literal var text)
  string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()
literal(version ${VERSION})
run("^markora ${version}\n$" ${PREFIX}/${bin}/markora --version)
run("^Użycie: markora " ${PREFIX}/${bin}/markora --help)
run("^markora-send ${version}\n$" ${PREFIX}/${bin}/markora-send --version)
run("^Użycie: markora-send " ${PREFIX}/${bin}/markora-send --help)

literal(data ${PREFIX}/${share}/markora)
literal(user ${home}/markora/konfiguracja)
run("konfiguracja/tags.ini: ${data}/konfiguracja/tags.ini\nkonfiguracja/znaki.txt: ${data}/konfiguracja/znaki.txt\n.*szablony: ${data}/szablony\nREADME.md: ${data}/README.md\nkopia użytkownika: ${user}\n"
  ${PREFIX}/${bin}/markora --data-files)
# The user's own tags.ini comes first; the other files still come from the installation.
file(WRITE ${home}/markora/konfiguracja/tags.ini "[_Format]\n")
run("konfiguracja/tags.ini: ${user}/tags.ini\nkonfiguracja/znaki.txt: ${data}/konfiguracja/znaki.txt\n"
  ${PREFIX}/${bin}/markora --data-files)
message("Installed into ${PREFIX}: ${out}")
