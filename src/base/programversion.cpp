#include "base/programversion.h"

QString ProgramVersion() { return QStringLiteral(MARKORA_VERSION); }
