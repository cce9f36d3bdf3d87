// "class" and "name" of section main, the two keys the history lists a
// record by, read straight from a record's text or from the bytes of a
// file's head, without building a document.
//
// They are the values IniDocument::Parse of the same text gives to
// ReadString(u"main", key, kListCapacity): the first section named "main"
// (ASCII letters without case, blanks around the name ignored; a repeated
// one is ignored), the first of duplicate keys (matched likewise), the value
// verbatim from after "=" to the line end (CR LF, LF or CR), cut to
// kListCapacity - 1 units. ";" comments and lines without "=" are skipped.
#pragma once

#include <cstddef>
#include <string_view>

#include "record/text.h"

namespace xuanshu {

// The listing reads "class" and "name" into buffers of 260 characters.
inline constexpr std::size_t kListCapacity = 260;

struct RecordMainKeys {
  Text group;  // "class"
  Text name;   // "name"
  bool operator==(const RecordMainKeys&) const = default;
};

// The keys of a record's whole text.
RecordMainKeys MainKeysOf(TextView text);

struct HeadMainKeys {
  RecordMainKeys keys;
  // Another section header follows section main within the head, so the
  // rest of the file cannot add to it.
  bool complete = false;
};

// The keys of a file's first bytes, decoded as DecodeFileBytes(head) would
// decode them (UTF-16LE after its mark; UTF-8 after its mark, or without one
// when the head is well-formed UTF-8; else the legacy code page). Of a
// UTF-8 head only the two values are decoded.
HeadMainKeys MainKeysOfHead(std::string_view head);

}  // namespace xuanshu
