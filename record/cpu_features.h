// What the processor offers beyond the baseline the program is built for,
// found once; the vector code paths are chosen by it.
#pragma once

namespace xuanshu {

#if defined(__x86_64__)
// True when this x86-64 processor has SSSE3.
inline bool HasSsse3() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return has;
}
#endif

}  // namespace xuanshu
