// WriteUtf8: the encoder of this processor, chosen once.
#include "record/utf8_encode.h"

#include "record/cpu_features.h"
#include "record/utf8_encode_x86.h"

namespace xuanshu {
namespace {

using Encoder = char* (*)(TextView, char*);

Encoder ChooseEncoder() {
#if defined(__x86_64__)
  if (HasSsse3()) return &WriteUtf8Ssse3;
#endif
  return &WriteUtf8Scalar;
}

}  // namespace

char* WriteUtf8(TextView text, char* out) {
  static const Encoder encoder = ChooseEncoder();
  return encoder(text, out);
}

}  // namespace xuanshu
