// Unicode normalisation form C, so that names typed in different forms of
// the same characters (é as one character or as e and an accent, a CJK
// compatibility ideograph or its unified twin) name one chart.
#pragma once

#include "record/text.h"

namespace xuanshu {

// The text in normalisation form C. Unpaired surrogates are kept as they are.
Text ToNfc(TextView text);

}  // namespace xuanshu
