// printf-style formatting of report texts in UTF-16. The report's formats use
// only %s, %d and their zero-padded forms %0Ns / %0Nd; "%04s" pads a string
// on the left with the digit 0 (an empty string becomes "0000").
#pragma once

#include <initializer_list>
#include <span>

#include "record/text.h"

namespace xuanshu {

// Text the user typed (a name), shown as it is in either script.
struct UserText {
  TextView text;
};

class FormatArg {
 public:
  FormatArg(TextView text) : text_(text) {}
  FormatArg(const Text& text) : text_(text) {}
  FormatArg(const char16_t* text) : text_(text) {}
  FormatArg(UserText text) : text_(text.text), isUserText_(true) {}
  FormatArg(long long number) : number_(number), isNumber_(true) {}
  FormatArg(int number) : number_(number), isNumber_(true) {}

  // The argument as text: a number in decimal.
  void AppendTo(Text& out) const;
  // A program text, which a report in Traditional shows converted.
  bool IsProgramText() const { return !isNumber_ && !isUserText_; }
  TextView text() const { return text_; }

 private:
  TextView text_;
  long long number_ = 0;
  bool isNumber_ = false;
  bool isUserText_ = false;
};

// Appends `format` with its conversions replaced by the arguments in order.
// A conversion without an argument left prints nothing.
void AppendFormat(Text& out, TextView format, std::span<const FormatArg> args);
void AppendFormat(Text& out, TextView format, std::initializer_list<FormatArg> args);
Text FormatText(TextView format, std::initializer_list<FormatArg> args);

}  // namespace xuanshu
