// Core code reaching into widgets.
#include "low/ui/d.h"
#include "low/a.h"
