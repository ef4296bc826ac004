#include "cli/JsonWriter.h"
#include "tests/support/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(JsonQuoted, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(jsonQuoted("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonQuoted(std::string("\n\t\x01\x7F", 4)), R"("\u000A\u0009\u0001\u007F")");
    EXPECT_EQ(jsonQuoted(std::string("a\0b", 3)), R"("a\u0000b")");
}

TEST(JsonQuoted, KeepsWellFormedUtf8) {
    EXPECT_EQ(jsonQuoted("\xC2\xB5s"), "\"\xC2\xB5s\"");               // two-byte
    EXPECT_EQ(jsonQuoted("\xE2\x82\xAC"), "\"\xE2\x82\xAC\"");         // three-byte
    EXPECT_EQ(jsonQuoted("\xF0\x9F\x8E\xB5"), "\"\xF0\x9F\x8E\xB5\""); // four-byte
}

// Bytes that are not UTF-8 are taken as Latin-1, so the result is always
// valid UTF-8 and a single-byte accented name still reads right.
TEST(JsonQuoted, ReadsMalformedBytesAsLatin1) {
    EXPECT_EQ(jsonQuoted("Caf\xE9"), "\"Caf\xC3\xA9\"");
    EXPECT_EQ(jsonQuoted("\xC2"), "\"\xC3\x82\"");                         // cut short
    EXPECT_EQ(jsonQuoted("\xC0\xAF"), "\"\xC3\x80\xC2\xAF\"");             // overlong
    EXPECT_EQ(jsonQuoted("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xC2\x80\""); // surrogate
    EXPECT_EQ(jsonQuoted("\xF4\x90\x80\x80").size(), 10u);                 // above U+10FFFF
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_NO_THROW(parseJson(jsonQuoted(std::string(1, static_cast<char>(byte)))))
            << "byte " << byte;
}

TEST(JsonWriter, NestsWithCommasAndEmptyContainers) {
    JsonWriter json;
    json.beginObject();
    json.key("list");
    json.beginArray();
    json.value(std::int64_t{1});
    json.value("two");
    json.beginObject();
    json.endObject();
    json.beginArray();
    json.endArray();
    json.endArray();
    json.key("flag");
    json.value(true);
    json.endObject();

    EXPECT_EQ(json.text(), "{\n"
                           "  \"list\": [\n"
                           "    1,\n"
                           "    \"two\",\n"
                           "    {},\n"
                           "    []\n"
                           "  ],\n"
                           "  \"flag\": true\n"
                           "}\n");
}

TEST(JsonWriter, WritesFloatsShortestAndNonFiniteAsNull) {
    JsonWriter json;
    json.beginArray();
    json.value(0.1f);
    json.value(0.5f);
    json.value(-3.0f);
    json.value(std::numeric_limits<float>::quiet_NaN());
    json.value(std::numeric_limits<float>::infinity());
    json.endArray();

    Json parsed = parseJson(json.text());
    ASSERT_EQ(parsed.array().size(), 5u);
    EXPECT_EQ(static_cast<float>(parsed[0].number()), 0.1f);
    EXPECT_EQ(parsed[1].number(), 0.5);
    EXPECT_EQ(parsed[2].number(), -3.0);
    EXPECT_TRUE(parsed[3].isNull());
    EXPECT_TRUE(parsed[4].isNull());
    EXPECT_NE(json.text().find("0.1,"), std::string::npos) << json.text();
}

} // namespace
