// Elsewhere there are no Windows macros to keep.
#include "consumer_macros.h"

bool WindowsMacrosKept() { return true; }
