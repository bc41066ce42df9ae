#include "platform/windows/unicode.hpp"

#include <cstdint>

namespace {

constexpr std::uint32_t replacement = 0xFFFD;

bool is_high_surrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

unsigned char continuation_bits(char byte)
{
    return static_cast<unsigned char>(byte) & 0x3F;
}

bool is_continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

std::string utf8_from_wide(std::wstring_view wide)
{
    constexpr unsigned char lead_marks[] = {0x00, 0xC0, 0xE0, 0xF0};
    std::string text;
    text.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t code = static_cast<std::uint16_t>(wide[i]);
        if (is_high_surrogate(code) && i + 1 < wide.size() && is_low_surrogate(static_cast<std::uint16_t>(wide[i + 1])))
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<std::uint16_t>(wide[++i]) - 0xDC00);
        const int continuations = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        text += static_cast<char>(lead_marks[continuations] | (code >> (6 * continuations)));
        for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6)
            text += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
    }
    return text;
}

std::wstring wide_from_utf8(std::string_view text)
{
    // The least code point that needs each count of continuation bytes.
    constexpr std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t continuations = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        std::uint32_t code = continuations == 0 ? lead : lead & (0x3Fu >> continuations);
        std::size_t taken = 1;
        for (; taken <= continuations && i + taken < text.size() && is_continuation(text[i + taken]); ++taken)
            code = (code << 6) | continuation_bits(text[i + taken]);
        const bool well_formed = (lead < 0x80 || continuations != 0) && taken == continuations + 1
                              && code >= least[continuations] && code <= 0x10FFFF;
        i += taken;
        if (!well_formed)
            code = replacement;
        if (code >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }
    return wide;
}
