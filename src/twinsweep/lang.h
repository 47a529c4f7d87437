// The localization engine for another program: CLang and what a caller of it
// needs. #include <twinsweep/lang.h> and link twinsweep::lang; the names are in
// the namespace twinsweep (twinsweep::CLang, twinsweep::base::Variant).
#pragma once

#include "twinsweep/lang/lang.h"
#include "twinsweep/lang/lang_options.h"
