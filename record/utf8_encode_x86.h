// UTF-16 -> UTF-8 eight units at a time with SSSE3, for x86-64 processors
// that have it (HasSsse3, record/cpu_features.h).
#pragma once

#if defined(__x86_64__)

#include "record/text.h"

namespace xuanshu {

// WriteUtf8 with the same contract and the same bytes as WriteUtf8Scalar:
// out has room for kMaxUtf8BytesPerUnit bytes per unit, nothing past the
// text is read and nothing past that room is written. Callable only where
// the processor has SSSE3.
char* WriteUtf8Ssse3(TextView text, char* out);

}  // namespace xuanshu

#endif
