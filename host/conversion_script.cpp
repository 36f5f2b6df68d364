#include "conversion_script.h"

#include <algorithm>
#include <array>

namespace morvane {
namespace {

// The texts run unchanged in any ECMAScript engine; the tests run them in node
// and compare with the native procedures. They stay JScript-compatible (var,
// no arrow functions).
constexpr std::string_view kAscii =
    "function ASCII(str){ \r\n"
    "  var result = \"\";\r\n"
    "  for (var i = 0; i < str.length; i++) {\r\n"
    "    var hex = str.charCodeAt(i).toString(16);\r\n"
    "    while (hex.length < 4) hex = \"0\" + hex;\r\n"
    "    result += \"\\\\u\" + hex;\r\n"
    "  }\r\n"
    "  return result;\r\n"
    "} \r\n";

constexpr std::string_view kUnicode =
    "function unicode(str){ \r\n"
    "  var result = \"\";\r\n"
    "  for (var i = 0; i < str.length; i++) {\r\n"
    "    result += \"&#\" + str.charCodeAt(i) + \";\";\r\n"
    "  }\r\n"
    "  return result;\r\n"
    "} \r\n";

constexpr std::string_view kUtf8 =
    "function UTF8(str){ \r\n"
    "  var result = \"\";\r\n"
    "  for (var i = 0; i < str.length; i++) {\r\n"
    "    var hex = str.charCodeAt(i).toString(16);\r\n"
    "    while (hex.length < 4) hex = \"0\" + hex;\r\n"
    "    result += \"&#x\" + hex + \";\";\r\n"
    "  }\r\n"
    "  return result;\r\n"
    "} \r\n";

// A match whose digits are not all hexadecimal stays as it stands: turning it
// into U+0000 would cut the visible result ("C:\users" must survive).
constexpr std::string_view kReconvert =
    "function reconvert(str){ \r\n"
    "  str = str.replace(/(\\\\u)(\\w{1,4})/gi, function (match) {\r\n"
    "    var digits = escape(match).match(/%5Cu(\\w+)/i)[1];\r\n"
    "    if (/[^0-9a-f]/i.test(digits)) return match;\r\n"
    "    return String.fromCharCode(parseInt(digits, 16));\r\n"
    "  });\r\n"
    "  str = str.replace(/(&#x)(\\w{1,4});/gi, function (match) {\r\n"
    "    var digits = escape(match).match(/%26%23x(\\w+)%3B/i)[1];\r\n"
    "    if (/[^0-9a-f]/i.test(digits)) return match;\r\n"
    "    return String.fromCharCode(parseInt(digits, 16));\r\n"
    "  });\r\n"
    "  str = str.replace(/(&#)(\\d{1,6});/gi, function (match) {\r\n"
    "    var digits = escape(match).match(/%26%23(\\d+)%3B/i)[1];\r\n"
    "    return String.fromCharCode(parseInt(digits));\r\n"
    "  });\r\n"
    "  return str;\r\n"
    "} ";

constexpr std::string_view kEncodeUrl =
    "function encodeURL(str){ \r\n"
    "  return \"\" + encodeURIComponent(str);\r\n"
    "} \r\n";

constexpr std::string_view kDecodeUrl =
    "function decodeURL(str){ \r\n"
    "  return \"\" + decodeURIComponent(str);\r\n"
    "} \r\n";

constexpr std::array kScripts{
    ConversionScript{"ASCII", kAscii},         ConversionScript{"unicode", kUnicode},
    ConversionScript{"UTF8", kUtf8},           ConversionScript{"reconvert", kReconvert},
    ConversionScript{"encodeURL", kEncodeUrl}, ConversionScript{"decodeURL", kDecodeUrl},
};

}  // namespace

std::span<const ConversionScript> conversion_scripts() {
  return kScripts;
}

const ConversionScript* find_conversion_script(std::string_view name) {
  const auto it = std::ranges::find(kScripts, name, &ConversionScript::name);
  return it == kScripts.end() ? nullptr : &*it;
}

}  // namespace morvane
