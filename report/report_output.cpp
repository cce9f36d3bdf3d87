#include "report/report_output.h"

#include <cstdio>

namespace xuanshu {
namespace {

void AppendHtmlEscaped(std::string& out, TextView text) {
  for (char c : ToUtf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':
        break;  // CR LF becomes one line break inside the pre-wrapped block
      default:
        out += c;
    }
  }
}

std::string HexColor(ReportColor color) {
  const Rgb rgb = ColorRgb(color);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", rgb.r, rgb.g, rgb.b);
  return buf;
}

}  // namespace

std::string ExportBytes(TextView text) {
  std::string bytes;
  bytes.reserve(2 + 2 * text.size());
  bytes += '\xFF';
  bytes += '\xFE';
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string AnsiText(const ReportPieces& pieces) {
  std::string out;
  for (const ReportPiece& piece : pieces) {
    if (piece.color == ReportColor::kBlack) {
      out += "\x1b[39m";
    } else {
      const Rgb rgb = ColorRgb(piece.color);
      char buf[32];
      std::snprintf(buf, sizeof buf, "\x1b[38;2;%d;%d;%dm", rgb.r, rgb.g, rgb.b);
      out += buf;
    }
    out += ToUtf8(piece.text);
  }
  out += "\x1b[0m";
  return out;
}

std::string HtmlPage(const ReportPieces& pieces, TextView title, Script script) {
  const bool traditional = script == Script::kTraditional;
  std::string out = "<!DOCTYPE html>\n<html lang=\"";
  out += traditional ? "zh-TW" : "zh-CN";
  out +=
      "\">\n"
      "<head>\n"
      "<meta charset=\"utf-8\">\n"
      "<title>";
  AppendHtmlEscaped(out, title);
  out +=
      "</title>\n"
      "<style>\n"
      "body { margin: 1.5em; background: #FFFFFF; color: #000000; }\n"
      ".report { white-space: pre-wrap; tab-size: 8; margin: 0;\n"
      "  font-family: ";
  if (traditional) out += "\"Noto Sans Mono CJK TC\", \"Sarasa Mono TC\", ";
  out +=
      "\"Noto Sans Mono CJK SC\", \"Sarasa Mono SC\", \"NSimSun\", \"SimSun\",\n"
      "    \"宋体\", monospace;\n"
      "  font-size: 14px; line-height: 1.5; }\n"
      "@media print { body { margin: 0; } .report { font-size: 10pt; }\n"
      "  span { -webkit-print-color-adjust: exact; print-color-adjust: exact; } }\n"
      "</style>\n"
      "</head>\n"
      "<body>\n"
      "<pre class=\"report\">";
  for (const ReportPiece& piece : pieces) {
    out += "<span style=\"color:";
    out += HexColor(piece.color);
    out += "\">";
    AppendHtmlEscaped(out, piece.text);
    out += "</span>";
  }
  out +=
      "</pre>\n"
      "</body>\n"
      "</html>\n";
  return out;
}

}  // namespace xuanshu
