#include "tests/support/Json.h"

#include <cstdlib>

namespace {

class Parser {
  public:
    explicit Parser(const std::string& source) : text(source) {}

    Json document() {
        Json value = parseValue();
        skipSpace();
        if (at != text.size())
            fail("text after the value");
        return value;
    }

  private:
    [[noreturn]] void fail(const std::string& what) {
        throw JsonError(what + " at offset " + std::to_string(at));
    }

    void skipSpace() {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\n' || text[at] == '\r' || text[at] == '\t'))
            ++at;
    }

    bool take(char c) {
        skipSpace();
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!take(c))
            fail(std::string("expected '") + c + "'");
    }

    void literal(const std::string& word) {
        if (text.compare(at, word.size(), word) != 0)
            fail("unknown literal");
        at += word.size();
    }

    Json parseValue() {
        skipSpace();
        if (at >= text.size())
            fail("unexpected end");
        char c = text[at];
        if (c == '{')
            return parseObject();
        if (c == '[')
            return parseArray();
        if (c == '"')
            return Json{parseString()};
        if (c == 't')
            return literal("true"), Json{true};
        if (c == 'f')
            return literal("false"), Json{false};
        if (c == 'n')
            return literal("null"), Json{nullptr};
        return Json{parseNumber()};
    }

    Json parseObject() {
        expect('{');
        Json::Object members;
        if (take('}'))
            return Json{members};
        do {
            skipSpace();
            std::string name = parseString();
            expect(':');
            if (!members.emplace(name, parseValue()).second)
                fail("duplicate member '" + name + "'");
        } while (take(','));
        expect('}');
        return Json{members};
    }

    Json parseArray() {
        expect('[');
        Json::Array elements;
        if (take(']'))
            return Json{elements};
        do
            elements.push_back(parseValue());
        while (take(','));
        expect(']');
        return Json{elements};
    }

    std::string parseString() {
        if (at >= text.size() || text[at] != '"')
            fail("expected a string");
        ++at;
        std::string value;
        while (true) {
            if (at >= text.size())
                fail("unterminated string");
            unsigned char c = static_cast<unsigned char>(text[at++]);
            if (c == '"')
                return value;
            if (c < 0x20)
                fail("raw control character in a string");
            if (c != '\\') {
                value += static_cast<char>(c);
                continue;
            }
            if (at >= text.size())
                fail("unterminated escape");
            char escape = text[at++];
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                value += escape;
                break;
            case 'b':
                value += '\b';
                break;
            case 'f':
                value += '\f';
                break;
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            case 't':
                value += '\t';
                break;
            case 'u':
                appendUtf8(value, parseHex4());
                break;
            default:
                fail("bad escape");
            }
        }
    }

    unsigned parseHex4() {
        if (at + 4 > text.size())
            fail("short \\u escape");
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text[at++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                fail("bad hex digit");
        }
        return code;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    double parseNumber() {
        std::size_t start = at;
        auto digits = [&] {
            std::size_t first = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                ++at;
            if (at == first)
                fail("expected a digit");
        };
        if (text[at] == '-')
            ++at;
        if (at < text.size() && text[at] == '0')
            ++at;
        else
            digits();
        if (at < text.size() && text[at] == '.') {
            ++at;
            digits();
        }
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            ++at;
            if (at < text.size() && (text[at] == '+' || text[at] == '-'))
                ++at;
            digits();
        }
        return std::strtod(text.substr(start, at - start).c_str(), nullptr);
    }

    const std::string& text;
    std::size_t at = 0;
};

// JSON texts exchanged between systems are UTF-8 (RFC 8259, section 8.1).
bool isValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        unsigned char lead = byte(i);
        std::size_t length = lead < 0x80                      ? 1
                             : (lead >= 0xC2 && lead <= 0xDF) ? 2
                             : (lead >= 0xE0 && lead <= 0xEF) ? 3
                             : (lead >= 0xF0 && lead <= 0xF4) ? 4
                                                              : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((byte(i + k) & 0xC0) != 0x80)
                return false;
        if (length == 3 &&
            ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) > 0x9F)))
            return false;
        if (length == 4 &&
            ((lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) > 0x8F)))
            return false;
        i += length;
    }
    return true;
}

} // namespace

Json parseJson(const std::string& text) {
    if (!isValidUtf8(text))
        throw JsonError("the text is not valid UTF-8");
    return Parser(text).document();
}
