// The headless keyboard: key presses and typed text delivered to the focus
// window as a keyboard with the US layout delivers them, the key-down
// message first and the character after it for a key that makes one.

#include "platform/Headless.h"
#include "platform/TextEditing.h"
#include "platform/headless/WindowRecord.h"

#include <cstring>

namespace platform::headless {
namespace {

constexpr std::int32_t KeyTab = 0x09;
constexpr std::int32_t KeySpace = 0x20;
// Key-down lParam: a repeat count of 1.
constexpr LongParam firstPress = 1;

// The punctuation keys of the US layout: their virtual-key codes, and the
// characters they make without and with shift.
struct PunctuationKey {
    std::int32_t virtualKey;
    char plain;
    char shifted;
};
constexpr PunctuationKey punctuationKeys[] = {
    {0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'},  {0xBD, '-', '_'},
    {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'},  {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'},
};
// The characters the digit keys make with shift, from 0 to 9.
constexpr const char* shiftedDigits = ")!@#$%^&*(";

// The key that types `character`, or 0 for none.
std::int32_t keyFor(char character) {
    if (character >= 'a' && character <= 'z')
        return character - 'a' + 'A';
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9'))
        return character;
    if (const char* digit = std::strchr(shiftedDigits, character); digit && character)
        return '0' + static_cast<std::int32_t>(digit - shiftedDigits);
    for (const PunctuationKey& key : punctuationKeys)
        if (key.plain == character || key.shifted == character)
            return key.virtualKey;
    switch (character) {
    case ' ':
        return KeySpace;
    case '\t':
        return KeyTab;
    case '\b':
        return KeyBackspace;
    case '\r':
    case '\n':
        return KeyReturn;
    case '\x1B':
        return KeyEscape;
    default:
        return 0;
    }
}

// The character an unshifted key makes, or 0 for a key that makes none.
std::int32_t characterOf(std::int32_t virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return virtualKey - 'A' + 'a';
    if ((virtualKey >= '0' && virtualKey <= '9') || virtualKey == KeySpace ||
        virtualKey == KeyTab || virtualKey == KeyBackspace || virtualKey == KeyReturn ||
        virtualKey == KeyEscape)
        return virtualKey;
    for (const PunctuationKey& key : punctuationKeys)
        if (key.virtualKey == virtualKey)
            return key.plain;
    return 0;
}

// One press: the key-down message and then, when the focus is still there
// (the key-down may have ended an edit), the character.
void press(std::int32_t virtualKey, std::int32_t character) {
    if (Window* window = focusWindow())
        send(window, MessageKeyDown, static_cast<WordParam>(virtualKey), firstPress);
    if (Window* window = focusWindow(); window && character)
        send(window, MessageChar, static_cast<WordParam>(character), firstPress);
}

} // namespace

bool pressKey(std::int32_t virtualKey) {
    if (!focusWindow())
        return false;
    press(virtualKey, characterOf(virtualKey));
    return true;
}

bool typeText(const char* text) {
    if (!text || !focusWindow())
        return false;
    for (; *text; ++text) {
        if (!focusWindow())
            return false;
        const char character = *text == '\n' ? '\r' : *text;
        press(keyFor(character), static_cast<unsigned char>(character));
    }
    return true;
}

} // namespace platform::headless
