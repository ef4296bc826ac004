#pragma once
// A strict reader of JSON texts for tests: it rejects anything that is not
// well-formed JSON (RFC 8259), so output that merely looks right fails.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct Json {
    using Array = std::vector<Json>;
    using Object = std::map<std::string, Json>;
    std::variant<std::nullptr_t, bool, double, std::string, Array, Object> data;

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(data); }
    double number() const { return std::get<double>(data); }
    const std::string& text() const { return std::get<std::string>(data); }
    const Array& array() const { return std::get<Array>(data); }
    const Object& object() const { return std::get<Object>(data); }
    // The member `name` of an object; throws when it is missing.
    const Json& operator[](const std::string& name) const { return object().at(name); }
    const Json& operator[](std::size_t index) const { return array().at(index); }
};

struct JsonError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses a whole text (surrounding white space allowed); throws JsonError.
Json parseJson(const std::string& text);
