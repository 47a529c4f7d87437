#pragma once
// CLang with the members for use inside the engine opened, for the engine's
// tests and fuzz targets. Header only, so that it needs nothing but the engine.
#include "twinsweep/lang/lang_internals.h"

using namespace twinsweep;

class TestableLang : public CLangInternals {};
