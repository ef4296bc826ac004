#pragma once
// Writes indented JSON, one member or element per line. Strings are written
// as valid JSON whatever bytes they hold: text from a foreign plug-in may
// be UTF-8, some single-byte code page or garbage.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
  public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Names the next value inside an object.
    void key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void value(std::int32_t number) { value(static_cast<std::int64_t>(number)); }
    // Shortest form that reads back as the same float; null when not finite.
    void value(float number);
    void value(bool flag);

    const std::string& text() const { return out; }

  private:
    void beforeValue();
    void newLine();

    struct Level {
        bool isObject;
        bool empty = true;
    };
    std::string out;
    std::vector<Level> levels;
    bool afterKey = false;
};

// The text as a quoted JSON string. Valid UTF-8 sequences pass unchanged;
// control characters are escaped; any other byte is read as Latin-1.
std::string jsonQuoted(std::string_view text);
