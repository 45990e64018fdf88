#pragma once

// kiila-calc --details: the working values of every size tried, so that a result can be checked
// by hand. The result must come from Mitoitus with Working::Kept.
//
//   jsonDetails  the values of one size as a JSON object, under the calculation's names
//   detailsText  per size tried the lines of its working (src/working/) as text, then load,
//                capacity and utilisation of each check and which one governs, as the
//                calculation decided them

#include "calc/calc.h"
#include "design/design.h"
#include "texts/texts.h"

#include <string>

namespace cli {

// Numbers unrounded; a value that is not a finite number, that the pass did not reach, or of an
// input the design's arrangement does not use, is null.
std::string jsonDetails(const design::Design &design, const calc::SizeDetails &details);

// The check in words for a size that failed one (tension for a size chosen).
texts::Text outcomeCheck(calc::SizeOutcome outcome);

// In the language's words; the symbols and numbers are the same in every language.
std::string detailsText(const design::Design &design, const calc::Result &result,
                        texts::Language language);

} // namespace cli
