#pragma once

#include <QString>

// The program's version as the build states it (the project's version, "0.1"); the editor
// and markora-send print it for --version.
QString ProgramVersion();
