// Strings of a plan as UTF-8. Plans written before AutoCAD 2007's format keep their texts and layer
// names in the Windows code page named in the header; later ones are UTF-8 already. Both may hold
// "\U+XXXX" escapes for characters outside the code page.
#pragma once
#include <iconv.h>
#include <string>
#include <string_view>

namespace floorplan {

// The UTF-8 bytes of one character.
std::string Utf8(unsigned codePoint);

// The iconv name of a header's $DWGCODEPAGE ("ANSI_1252" -> "CP1252"), or "" when unknown.
std::string IconvCodePage(std::string_view dwgCodePage);

// Turns a plan's strings into valid UTF-8: bytes the code page cannot read become U+FFFD.
class TextDecoder {
  public:
    // An empty code page means UTF-8, falling back to CP1252 for strings that are not UTF-8.
    explicit TextDecoder(const std::string& iconvCodePage);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    std::string operator()(std::string_view bytes) const;

  private:
    std::string converted(std::string_view bytes) const;

    iconv_t m_iconv = iconv_t(-1);
    bool m_utf8First = false;
};

} // namespace floorplan
