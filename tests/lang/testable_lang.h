#pragma once
// CLang with its load steps and the state a load leaves opened, for the engine's
// tests and fuzz targets. Header only, so that it needs nothing but the engine.
#include "twinsweep/lang/lang_internals.h"

using namespace twinsweep;

class TestableLang : public CLangInternals {};
