// printf-style formatting of report texts in UTF-16. The report's formats use
// only %s, %d and their zero-padded forms %0Ns / %0Nd; "%04s" pads a string
// on the left with the digit 0 (an empty string becomes "0000").
#pragma once

#include <initializer_list>

#include "record/text.h"

namespace xuanshu {

class FormatArg {
 public:
  FormatArg(TextView text) : text_(text) {}
  FormatArg(const Text& text) : text_(text) {}
  FormatArg(const char16_t* text) : text_(text) {}
  FormatArg(long long number) : number_(number), isNumber_(true) {}
  FormatArg(int number) : number_(number), isNumber_(true) {}

  // The argument as text: a number in decimal.
  void AppendTo(Text& out) const;

 private:
  TextView text_;
  long long number_ = 0;
  bool isNumber_ = false;
};

// Appends `format` with its conversions replaced by the arguments in order.
// A conversion without an argument left prints nothing.
void AppendFormat(Text& out, TextView format, std::initializer_list<FormatArg> args);
Text FormatText(TextView format, std::initializer_list<FormatArg> args);

}  // namespace xuanshu
