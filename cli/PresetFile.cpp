#include "cli/PresetFile.h"

#include "cli/CommandError.h"
#include "cli/PendingFile.h"
#include "host/EffectRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

constexpr std::int32_t FileTag = fourCharCode('C', 'c', 'n', 'K');
constexpr std::int32_t ProgramValuesTag = fourCharCode('F', 'x', 'C', 'k');
constexpr std::int32_t ProgramChunkTag = fourCharCode('F', 'P', 'C', 'h');
constexpr std::int32_t BankValuesTag = fourCharCode('F', 'x', 'B', 'k');
constexpr std::int32_t BankChunkTag = fourCharCode('F', 'B', 'C', 'h');

// The file tag and the byte count come before what the byte count counts.
constexpr std::size_t LeadSize = 8;
// From the kind tag to the program name's end: kind, format version, id,
// plug-in version, parameter count and the name.
constexpr std::size_t ProgramHeadSize = 5 * 4 + PresetNameSize;
// Banks keep 128 bytes after the program count, of which version 2 uses
// the first four for the current program.
constexpr std::size_t BankReservedSize = 128;
constexpr std::size_t ValueSize = 4;

// Larger files cannot state their size in the header's byte count.
constexpr std::uintmax_t MaxFileSize =
    LeadSize + static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max());

std::int32_t kindTag(PresetKind kind) {
    switch (kind) {
    case PresetKind::ProgramValues:
        return ProgramValuesTag;
    case PresetKind::ProgramChunk:
        return ProgramChunkTag;
    case PresetKind::BankValues:
        return BankValuesTag;
    case PresetKind::BankChunk:
        break;
    }
    return BankChunkTag;
}

std::string quotedTag(std::int32_t tag) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(static_cast<std::uint32_t>(tag) >> shift);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
    return text + "'";
}

class Reader {
  public:
    Reader(const std::vector<std::uint8_t>& bytes, std::string label)
        : bytes(bytes), label(std::move(label)) {}

    std::size_t remaining() const { return bytes.size() - position; }

    [[noreturn]] void fail(const std::string& what) const {
        throw CommandError(label + ": " + what);
    }

    void need(std::size_t count, const std::string& what) const {
        if (count > remaining())
            fail("the file ends inside " + what + " (" + std::to_string(count) + " bytes needed, " +
                 std::to_string(remaining()) + " left)");
    }

    std::int32_t word(const std::string& what) {
        need(4, what);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | bytes[position++];
        return static_cast<std::int32_t>(value);
    }

    float value(const std::string& what) {
        return std::bit_cast<float>(static_cast<std::uint32_t>(word(what)));
    }

    std::string name(const std::string& what) {
        need(PresetNameSize, what);
        const auto* first = reinterpret_cast<const char*>(bytes.data() + position);
        position += PresetNameSize;
        return std::string(first, std::find(first, first + PresetNameSize, '\0'));
    }

    std::vector<std::uint8_t> take(std::size_t count, const std::string& what) {
        need(count, what);
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(position);
        position += count;
        return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(count));
    }

    void skip(std::size_t count, const std::string& what) {
        need(count, what);
        position += count;
    }

    void expectEnd(const std::string& what) const {
        if (remaining() != 0)
            fail(std::to_string(remaining()) + " bytes follow " + what +
                 ", which should end the file");
    }

  private:
    const std::vector<std::uint8_t>& bytes;
    std::size_t position = 0;
    std::string label;
};

// A count from the file of things of `size` bytes each ("parameters"):
// at least 0, and all of them within what is left; checked before anything
// is made that big.
std::size_t checkedCount(Reader& in, std::int32_t count, std::size_t size,
                         const std::string& things) {
    if (count < 0)
        in.fail("its count of " + things + " is negative (" + std::to_string(count) + ")");
    in.need(static_cast<std::size_t>(count) * size, std::to_string(count) + " " + things);
    return static_cast<std::size_t>(count);
}

std::vector<float> readValues(Reader& in, std::int32_t count, const std::string& where) {
    const std::size_t n = checkedCount(in, count, ValueSize, "parameters");
    std::vector<float> values(n);
    for (std::size_t i = 0; i < n; ++i) {
        values[i] = in.value("the values");
        if (!(values[i] >= 0.0f && values[i] <= 1.0f))
            in.fail(where + "parameter " + std::to_string(i) + " is " + std::to_string(values[i]) +
                    ", not a value in [0, 1]");
    }
    return values;
}

std::vector<std::uint8_t> readChunk(Reader& in) {
    const std::int32_t size = in.word("the chunk size");
    if (size <= 0)
        in.fail("its chunk is empty (size " + std::to_string(size) + ")");
    return in.take(static_cast<std::size_t>(size), "the chunk");
}

// One program of a values bank: a whole FxCk file of the bank's plug-in.
PresetProgram readBankProgram(Reader& in, const Preset& bank, std::size_t number) {
    const std::string where = "program " + std::to_string(number) + ": ";
    const std::string what = "program " + std::to_string(number);
    const std::int32_t fileTag = in.word(what);
    const std::int32_t byteCount = in.word(what);
    if (fileTag != FileTag || in.word(what) != ProgramValuesTag)
        in.fail(where + "not a program of values (it does not start with 'CcnK' and 'FxCk')");
    if (const std::int32_t version = in.word(what); version != 1)
        in.fail(where + "format version " + std::to_string(version) + " (1 expected)");
    if (in.word(what) != bank.pluginId)
        in.fail(where + "made for another plug-in than the bank");
    in.word(what); // the plug-in's version
    const std::int32_t count = in.word(what);
    if (number > 0 && count != bank.parameterCount)
        in.fail(where + std::to_string(count) + " parameters, where program 0 has " +
                std::to_string(bank.parameterCount));
    const std::int64_t size =
        static_cast<std::int64_t>(ProgramHeadSize) + static_cast<std::int64_t>(ValueSize) * count;
    if (count >= 0 && byteCount != size)
        in.fail(where + "its byte count " + std::to_string(byteCount) + " is not the " +
                std::to_string(size) + " bytes of a program of " + std::to_string(count) +
                " parameters");
    PresetProgram program;
    program.name = in.name(what);
    program.values = readValues(in, count, where);
    return program;
}

void writeWord(std::vector<std::uint8_t>& out, std::int32_t word) {
    const auto bits = static_cast<std::uint32_t>(word);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void writeName(std::vector<std::uint8_t>& out, const std::string& name) {
    // A zero always ends the name, as readers of the interface's names expect.
    const std::size_t length = std::min(name.size(), PresetNameSize - 1);
    out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(length));
    out.insert(out.end(), PresetNameSize - length, 0);
}

// The byte count of the file that starts at `start` and ends with `out`.
void setByteCount(std::vector<std::uint8_t>& out, std::size_t start) {
    std::vector<std::uint8_t> count;
    writeWord(count, static_cast<std::int32_t>(out.size() - start - LeadSize));
    std::copy(count.begin(), count.end(), out.begin() + static_cast<std::ptrdiff_t>(start + 4));
}

void writeHead(std::vector<std::uint8_t>& out, std::int32_t kind, std::int32_t formatVersion,
               const Preset& preset) {
    writeWord(out, FileTag);
    writeWord(out, 0); // the byte count, set once the rest is there
    writeWord(out, kind);
    writeWord(out, formatVersion);
    writeWord(out, preset.pluginId);
    writeWord(out, preset.pluginVersion);
}

void writeValuesProgram(std::vector<std::uint8_t>& out, const Preset& preset,
                        const PresetProgram& program) {
    const std::size_t start = out.size();
    writeHead(out, ProgramValuesTag, 1, preset);
    writeWord(out, static_cast<std::int32_t>(program.values.size()));
    writeName(out, program.name);
    for (float value : program.values)
        writeWord(out, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
    setByteCount(out, start);
}

void writeChunk(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& chunk) {
    writeWord(out, static_cast<std::int32_t>(chunk.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
}

} // namespace

bool isChunkKind(PresetKind kind) {
    return kind == PresetKind::ProgramChunk || kind == PresetKind::BankChunk;
}

bool isBankKind(PresetKind kind) {
    return kind == PresetKind::BankValues || kind == PresetKind::BankChunk;
}

Preset decodePreset(const std::vector<std::uint8_t>& bytes, const std::string& label) {
    Reader in(bytes, label);
    if (bytes.size() < 4 || in.word("the file tag") != FileTag)
        in.fail("not a preset file (it does not start with 'CcnK')");
    if (bytes.size() < LeadSize)
        in.fail("truncated: " + std::to_string(bytes.size()) + " bytes, not even a header");
    const std::int32_t byteCount = in.word("the byte count");
    if (byteCount < 0 || static_cast<std::size_t>(byteCount) > in.remaining())
        in.fail("truncated: its header counts " + std::to_string(byteCount) +
                " bytes after the first 8, but there are " + std::to_string(in.remaining()));
    if (static_cast<std::size_t>(byteCount) < in.remaining())
        in.fail("oversized: " + std::to_string(in.remaining() - byteCount) +
                " bytes more than its header counts");

    Preset preset;
    preset.source = label;
    const std::int32_t tag = in.word("the kind");
    if (tag == ProgramValuesTag)
        preset.kind = PresetKind::ProgramValues;
    else if (tag == ProgramChunkTag)
        preset.kind = PresetKind::ProgramChunk;
    else if (tag == BankValuesTag)
        preset.kind = PresetKind::BankValues;
    else if (tag == BankChunkTag)
        preset.kind = PresetKind::BankChunk;
    else
        in.fail("unknown kind " + quotedTag(tag) + " (expected 'FxCk', 'FPCh', 'FxBk' or 'FBCh')");
    preset.formatVersion = in.word("the format version");
    const bool bank = isBankKind(preset.kind);
    if (preset.formatVersion != 1 && !(bank && preset.formatVersion == 2))
        in.fail("format version " + std::to_string(preset.formatVersion) + " of a " +
                quotedTag(tag) + " file (" + (bank ? "1 or 2" : "1") + " expected)");
    preset.pluginId = in.word("the plug-in's id");
    preset.pluginVersion = in.word("the plug-in's version");

    if (!bank) {
        preset.parameterCount = in.word("the parameter count");
        PresetProgram program;
        program.name = in.name("the program name");
        if (preset.kind == PresetKind::ProgramValues) {
            program.values = readValues(in, preset.parameterCount, "");
            in.expectEnd("the last value");
        } else {
            if (preset.parameterCount < 0)
                in.fail("its parameter count is negative");
            preset.chunk = readChunk(in);
            in.expectEnd("the chunk");
        }
        preset.programs.push_back(std::move(program));
        return preset;
    }

    preset.programCount = in.word("the program count");
    std::size_t reserved = BankReservedSize;
    if (preset.formatVersion == 2) {
        preset.currentProgram = in.word("the current program");
        reserved -= 4;
        if (preset.currentProgram < 0 ||
            preset.currentProgram >= std::max<std::int32_t>(preset.programCount, 1))
            in.fail("its current program " + std::to_string(preset.currentProgram) +
                    " is not one of its " + std::to_string(preset.programCount) + " programs");
    }
    in.skip(reserved, "the reserved bytes");
    if (preset.kind == PresetKind::BankChunk) {
        if (preset.programCount < 0)
            in.fail("its program count is negative");
        preset.chunk = readChunk(in);
        in.expectEnd("the chunk");
        return preset;
    }
    const std::size_t count =
        checkedCount(in, preset.programCount, LeadSize + ProgramHeadSize, "programs");
    preset.programs.reserve(count);
    for (std::size_t number = 0; number < count; ++number) {
        preset.programs.push_back(readBankProgram(in, preset, number));
        if (number == 0)
            preset.parameterCount = static_cast<std::int32_t>(preset.programs[0].values.size());
    }
    in.expectEnd("the last program");
    return preset;
}

std::vector<std::uint8_t> encodePreset(const Preset& preset) {
    std::vector<std::uint8_t> out;
    switch (preset.kind) {
    case PresetKind::ProgramValues:
        writeValuesProgram(out, preset, preset.programs.at(0));
        return out;
    case PresetKind::ProgramChunk:
        writeHead(out, ProgramChunkTag, 1, preset);
        writeWord(out, preset.parameterCount);
        writeName(out, preset.programs.empty() ? "" : preset.programs[0].name);
        writeChunk(out, preset.chunk);
        break;
    case PresetKind::BankValues:
    case PresetKind::BankChunk:
        writeHead(out, kindTag(preset.kind), preset.formatVersion, preset);
        writeWord(out, preset.programCount);
        if (preset.formatVersion == 2)
            writeWord(out, preset.currentProgram);
        out.resize(LeadSize + 5 * 4 + BankReservedSize, 0);
        if (preset.kind == PresetKind::BankChunk) {
            writeChunk(out, preset.chunk);
        } else {
            for (const PresetProgram& program : preset.programs)
                writeValuesProgram(out, preset, program);
        }
        break;
    }
    setByteCount(out, 0);
    return out;
}

Preset readPresetFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw CommandError("cannot read the preset " + path);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > MaxFileSize)
        throw CommandError(
            path + ": not a preset file (" +
            (size < 0 ? std::string("it cannot be read") : "larger than any preset can be") + ")");
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size))
        throw CommandError("cannot read the preset " + path);
    return decodePreset(bytes, path);
}

void writePresetFile(const std::string& path, const Preset& preset) {
    const std::vector<std::uint8_t> bytes = encodePreset(preset);
    checkOutputFolder(path);
    PendingFile output(path);
    {
        std::ofstream file(output.temporaryPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file)
            throw CommandError("cannot write " + path);
    }
    output.commit();
}

std::string describePreset(const Preset& preset) {
    const auto counted = [](std::size_t count, const std::string& thing) {
        return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
    };
    const auto programs = static_cast<std::size_t>(std::max(preset.programCount, 0));
    const auto parameters = static_cast<std::size_t>(std::max(preset.parameterCount, 0));
    switch (preset.kind) {
    case PresetKind::ProgramValues:
        return "one program as values (" + counted(parameters, "parameter") + ")";
    case PresetKind::ProgramChunk:
        return "one program as a chunk (" + counted(preset.chunk.size(), "byte") + ")";
    case PresetKind::BankValues:
        return "a bank as values (" + counted(programs, "program") + " of " +
               counted(parameters, "parameter") + ")";
    case PresetKind::BankChunk:
        break;
    }
    return "a bank as a chunk (" + counted(programs, "program") + ", " +
           counted(preset.chunk.size(), "byte") + ")";
}
