#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t utf8SequenceLength(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    auto isContinuation = [&](std::size_t i) {
        return i < text.size() && (byte(i) & 0xC0) == 0x80;
    };
    unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF)
        return isContinuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!isContinuation(1) || !isContinuation(2))
            return 0;
        // No overlong forms and no UTF-16 surrogates.
        if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!isContinuation(1) || !isContinuation(2) || !isContinuation(3))
            return 0;
        if ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

void appendCodePoint(std::string& out, unsigned codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string jsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (std::size_t length = utf8SequenceLength(text.substr(i)); length > 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            appendCodePoint(out, c);
            ++i;
        }
    }
    out += '"';
    return out;
}

void JsonWriter::newLine() {
    out += '\n';
    out.append(levels.size() * 2, ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (levels.empty())
        return;
    if (!levels.back().empty)
        out += ',';
    levels.back().empty = false;
    newLine();
}

void JsonWriter::beginObject() {
    beforeValue();
    out += '{';
    levels.push_back({true});
}

void JsonWriter::endObject() {
    bool empty = levels.back().empty;
    levels.pop_back();
    if (!empty)
        newLine();
    out += '}';
    if (levels.empty())
        out += '\n';
}

void JsonWriter::beginArray() {
    beforeValue();
    out += '[';
    levels.push_back({false});
}

void JsonWriter::endArray() {
    bool empty = levels.back().empty;
    levels.pop_back();
    if (!empty)
        newLine();
    out += ']';
    if (levels.empty())
        out += '\n';
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    out += jsonQuoted(name);
    out += ": ";
    afterKey = true;
}

void JsonWriter::value(std::string_view text) {
    beforeValue();
    out += jsonQuoted(text);
}

void JsonWriter::value(std::int64_t number) {
    beforeValue();
    out += std::to_string(number);
}

void JsonWriter::value(float number) {
    beforeValue();
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

void JsonWriter::value(bool flag) {
    beforeValue();
    out += flag ? "true" : "false";
}
