#include "io/utf16.h"

#include <algorithm>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void appendUtf8(char32_t c, std::string& out) {
  // One more byte after the first in each range past ASCII.
  const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[more] | c >> (6 * more)));
  for (int k = more; k-- > 0;) out.push_back(static_cast<char>(0x80 | (c >> (6 * k) & 0x3F)));
}

// Whether `second` may follow `lead`: no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool secondFits(unsigned char lead, unsigned char second) {
  if (second < 0x80 || second > 0xBF) return false;
  if (lead == 0xE0) return second >= 0xA0;
  if (lead == 0xED) return second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90;
  if (lead == 0xF4) return second <= 0x8F;
  return true;
}

// How the UTF-8 at the start of `bytes` reads: a whole character (its
// length, and the character in `c`), one cut off by the end of `bytes`
// (0), or a first byte that starts no character here (-1).
int decode(std::string_view bytes, char32_t& c) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const std::size_t length = utf8Length(lead);
  if (length == 0) return -1;
  c = lead;
  if (length > 1) c &= 0x7FU >> length;  // the lead byte's bits of the character
  std::size_t got = 1;
  for (; got < length && got < bytes.size(); ++got) {
    const auto next = static_cast<unsigned char>(bytes[got]);
    const bool fits = got == 1 ? secondFits(lead, next) : next >= 0x80 && next <= 0xBF;
    if (!fits) return -1;
    c = c << 6 | (next & 0x3F);
  }
  return got == length ? static_cast<int>(length) : 0;
}

}  // namespace

std::size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void Utf8ToUtf16::convert(std::string_view bytes, std::u16string& out) {
  std::size_t i = 0;
  // A character kept from the last piece takes bytes from this one first.
  while (!kept_.empty() && i < bytes.size()) {
    kept_.push_back(bytes[i++]);
    char32_t c = 0;
    const int length = decode(kept_, c);
    if (length > 0) {
      appendUtf16(c, out);
      kept_.clear();
    } else if (length < 0) {
      // The bytes kept start nothing; the one that broke them starts afresh.
      for (std::size_t k = 1; k < kept_.size(); ++k) appendUtf16(kReplacement, out);
      kept_.clear();
      --i;
    }
  }
  while (i < bytes.size()) {
    char32_t c = 0;
    const int length = decode(bytes.substr(i), c);
    if (length > 0) {
      appendUtf16(c, out);
      i += static_cast<std::size_t>(length);
    } else if (length == 0) {
      // Cut off by the end of the piece: the rest comes with the next one.
      kept_.assign(bytes.substr(i));
      return;
    } else {
      appendUtf16(kReplacement, out);
      ++i;
    }
  }
}

void Utf8ToUtf16::finish(std::u16string& out) {
  for (std::size_t k = 0; k < kept_.size(); ++k) appendUtf16(kReplacement, out);
  kept_.clear();
}

void Utf16ToUtf8::convert(std::u16string_view units, std::string& out) {
  for (const char16_t unit : units) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (kept_ != 0) {
      const char32_t pair = 0x10000 + (char32_t{kept_} - 0xD800) * 0x400 + (unit - 0xDC00);
      appendUtf8(low ? pair : kReplacement, out);
      kept_ = 0;
      if (low) continue;
    }
    if (high) {
      kept_ = unit;
    } else {
      appendUtf8(low ? kReplacement : unit, out);
    }
  }
}

void Utf16ToUtf8::finish(std::string& out) {
  if (kept_ != 0) appendUtf8(kReplacement, out);
  kept_ = 0;
}

bool ConsoleInput::take(std::u16string_view units, std::string& out) {
  if (units.empty() || (atLineStart_ && units[0] == 0x1A)) {
    converter_.finish(out);
    return false;
  }
  atLineStart_ = units.back() == u'\n';
  converter_.convert(units, out);
  return true;
}

std::u16string_view ConsoleOutput::next(std::string_view bytes, std::size_t& taken) {
  taken = std::min(bytes.size(), kPiece);
  units_.clear();
  converter_.convert(bytes.substr(0, taken), units_);
  return units_;
}

std::u16string_view ConsoleOutput::finish() {
  units_.clear();
  converter_.finish(units_);
  return units_;
}
