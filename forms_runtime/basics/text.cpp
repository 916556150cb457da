#include "forms_runtime/basics/text.h"

namespace kivo::forms {

char32_t NextChar(std::string_view text, std::size_t& at) {
    const auto c = static_cast<unsigned char>(text[at++]);
    int extra = 0;
    char32_t code = c;
    if (c >= 0xF0) {
        extra = 3;
        code = c & 0x07;
    } else if (c >= 0xE0) {
        extra = 2;
        code = c & 0x0F;
    } else if (c >= 0xC0) {
        extra = 1;
        code = c & 0x1F;
    } else if (c >= 0x80) {
        code = 0xFFFD;  // a stray continuation byte
    }
    for (int k = 0; k < extra && at < text.size(); ++k, ++at) {
        code = (code << 6) | (static_cast<unsigned char>(text[at]) & 0x3F);
    }
    return code;
}

std::u32string ToUtf32(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        out += NextChar(text, i);
    }
    return out;
}

std::string ToUtf8(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Mid(std::string_view text, int start, int length) {
    const std::u32string chars = ToUtf32(text);
    if (start < 1 || static_cast<std::size_t>(start) > chars.size()) {
        return {};
    }
    const std::size_t from = static_cast<std::size_t>(start - 1);
    const std::size_t count = length < 0 ? std::u32string::npos : static_cast<std::size_t>(length);
    return ToUtf8(std::u32string_view(chars).substr(from, count));
}

int Len(std::string_view text) {
    return static_cast<int>(ToUtf32(text).size());
}

std::string UCase(std::string_view text) {
    std::u32string chars = ToUtf32(text);
    for (char32_t& c : chars) {
        if ((c >= U'a' && c <= U'z') || (c >= U'ａ' && c <= U'ｚ')) {
            c -= 0x20;
        }
    }
    return ToUtf8(chars);
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace kivo::forms
