// Checking that bytes are well-formed UTF-8: the listing decides by it
// which encoding a record's head is read in, so it runs on every file.
#pragma once

#include <string_view>

namespace xuanshu {

// The byte-at-a-time check, used on machines without SSSE3 (and compared
// with the vector check in the tests).
bool IsValidUtf8Scalar(std::string_view bytes);

#if defined(__x86_64__)
// Sixteen bytes at a time; only call it where HasSsse3().
bool IsValidUtf8Ssse3(std::string_view bytes);
#endif

}  // namespace xuanshu
