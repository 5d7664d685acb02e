#pragma once
// A lower layer reaching up.
#include "high/b.h"
