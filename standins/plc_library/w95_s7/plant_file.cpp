#include "plant_file.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace s7standin {

namespace {

// One problem in the file, reported with its line.
struct FileError {
    std::string message;
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Splits a line into words; a double-quoted string is one word (quotes kept), and '#'
// outside quotes starts a comment.
std::vector<std::string> WordsOf(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#') break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        size_t end = i;
        if (c == '"') {
            end = line.find('"', i + 1);
            if (end == std::string::npos) throw FileError{"string without closing quote"};
            ++end;
        } else {
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])) &&
                   line[end] != '#') {
                ++end;
            }
        }
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

// A whole number, decimal or 0x hexadecimal, possibly negative.
long long IntegerOf(const std::string& word, const char* what) {
    const char* text = word.c_str();
    char* end = nullptr;
    errno = 0;
    const bool negative = text[0] == '-';
    const char* digits = negative ? text + 1 : text;
    const bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    const unsigned long long magnitude = std::strtoull(digits, &end, hex ? 16 : 10);
    if (end == digits || *end != '\0' || errno != 0 ||
        !std::isxdigit(static_cast<unsigned char>(digits[0])) || magnitude > 0xFFFFFFFFull) {
        throw FileError{std::string(what) + " '" + word + "' is not a whole number"};
    }
    const auto value = static_cast<long long>(magnitude);
    return negative ? -value : value;
}

long long IntegerIn(const std::string& word, const char* what, long long low, long long high) {
    const long long value = IntegerOf(word, what);
    if (value < low || value > high) {
        throw FileError{std::string(what) + " " + word + " is outside " + std::to_string(low) +
                        ".." + std::to_string(high)};
    }
    return value;
}

double NumberOf(const std::string& word, const char* what) {
    const char* text = word.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(value)) {
        throw FileError{std::string(what) + " '" + word + "' is not a number"};
    }
    return value;
}

bool TypeOf(const std::string& word, ValueType& type) {
    static const struct {
        const char* name;
        ValueType type;
    } kTypes[] = {{"byte", ValueType::Byte}, {"word", ValueType::Word},
                  {"int", ValueType::Int},   {"dword", ValueType::Dword},
                  {"dint", ValueType::Dint}, {"real", ValueType::Real}};
    for (const auto& known : kTypes) {
        if (word == known.name) {
            type = known.type;
            return true;
        }
    }
    return false;
}

// The range of values a type holds; reals take any finite number.
void CheckValueFits(ValueType type, double value, const std::string& word) {
    double low = 0;
    double high = 0;
    switch (type) {
        case ValueType::Byte:
            high = 255;
            break;
        case ValueType::Word:
            high = 65535;
            break;
        case ValueType::Int:
            low = -32768;
            high = 32767;
            break;
        case ValueType::Dword:
            high = 4294967295.0;
            break;
        case ValueType::Dint:
            low = -2147483648.0;
            high = 2147483647.0;
            break;
        case ValueType::Real:
            if (std::fabs(value) > 3.4028234663852886e38) {
                throw FileError{"value " + word + " does not fit type real"};
            }
            return;
    }
    if (value < low || value > high || value != std::floor(value)) {
        throw FileError{"value " + word + " does not fit type " + NameOf(type)};
    }
}

double ValueOf(ValueType type, const std::string& word) {
    const double value = type == ValueType::Real ? NumberOf(word, "value")
                                                 : static_cast<double>(IntegerOf(word, "value"));
    CheckValueFits(type, value, word);
    return value;
}

class PlantReader {
  public:
    explicit PlantReader(Plant& plant) : plant_(plant) {}

    void Line(const std::vector<std::string>& words) {
        const std::string keyword = Lower(words[0]);
        ValueType type;
        if (keyword == "plc") return StartPlc(words);
        if (keyword == "slot") return Slot(words);
        if (keyword == "answering") return Answering(words);
        if (keyword == "inputs") return AreaSize(words, Current().inputs);
        if (keyword == "outputs") return AreaSize(words, Current().outputs);
        if (keyword == "markers") return AreaSize(words, Current().markers);
        if (keyword == "db") return DataBlock(words);
        if (keyword == "string") return String(words);
        if (keyword == "bytes") return Bytes(words);
        if (keyword == "counter") return Counter(words);
        if (keyword == "ramp") return Ramp(words);
        if (TypeOf(keyword, type)) return Value(words, type);
        throw FileError{"unknown keyword '" + words[0] + "'"};
    }

    // Every animation stays inside its memory, whatever sizes came later. Returns the line
    // of the first that does not, with the problem; 0 when all fit.
    int Finish(std::string& problem) {
        for (auto& [mpi, plc] : plant_.plcs) {
            for (const Animation& animation : plc.animations) {
                try {
                    Place(plc, mpi, animation.where, SizeOf(animation.type),
                          NameOf(animation.type));
                } catch (const FileError& error) {
                    problem = error.message;
                    return animation.fileLine;
                }
            }
        }
        return 0;
    }

    int line = 0;

  private:
    static void Expect(const std::vector<std::string>& words, size_t count, const char* usage) {
        if (words.size() != count) throw FileError{std::string("expected: ") + usage};
    }

    PlcImage& Current() {
        if (current_ == nullptr) throw FileError{"'plc <mpi>' must come first"};
        return *current_;
    }

    void StartPlc(const std::vector<std::string>& words) {
        Expect(words, 2, "plc <mpi address 0..126>");
        const int mpi = static_cast<int>(IntegerIn(words[1], "MPI address", 0, kHighestMpi));
        if (plant_.plcs.count(mpi) != 0) {
            throw FileError{"PLC " + std::to_string(mpi) + " is described twice"};
        }
        current_ = &plant_.plcs[mpi];
        currentMpi_ = mpi;
    }

    void Slot(const std::vector<std::string>& words) {
        Expect(words, 2, "slot <0..31>");
        Current().slot = static_cast<int>(IntegerIn(words[1], "slot", 0, 31));
    }

    void Answering(const std::vector<std::string>& words) {
        Expect(words, 2, "answering yes|no");
        const std::string answer = Lower(words[1]);
        if (answer != "yes" && answer != "no") throw FileError{"expected: answering yes|no"};
        Current().answering = answer == "yes";
    }

    void AreaSize(const std::vector<std::string>& words, std::vector<uint8_t>& area) {
        Expect(words, 2, "inputs|outputs|markers <bytes 0..65536>");
        area.assign(static_cast<size_t>(IntegerIn(words[1], "size", 0, 65536)), 0);
    }

    void DataBlock(const std::vector<std::string>& words) {
        Expect(words, 3, "db <number 1..65535> <bytes 1..65536>");
        PlcImage& plc = Current();
        const int db = static_cast<int>(IntegerIn(words[1], "data block", 1, kLargestDataBlock));
        const auto size = static_cast<size_t>(IntegerIn(words[2], "size", 1, 65536));
        if (plc.dataBlocks.count(db) != 0) {
            throw FileError{"data block " + std::to_string(db) + " is described twice"};
        }
        plc.dataBlocks[db].assign(size, 0);
    }

    // DB<n>.<byte>, I<byte>, Q<byte> or M<byte>.
    static Location LocationOf(const std::string& word) {
        const std::string text = Lower(word);
        Location where;
        std::string byte;
        if (text.rfind("db", 0) == 0) {
            const size_t dot = text.find('.');
            if (dot == std::string::npos) {
                throw FileError{"location '" + word + "' needs a byte: DB<n>.<byte>"};
            }
            where.db = static_cast<int>(
                IntegerIn(text.substr(2, dot - 2), "data block", 1, kLargestDataBlock));
            byte = text.substr(dot + 1);
        } else if (!text.empty() && (text[0] == 'i' || text[0] == 'q' || text[0] == 'm')) {
            where.area = text[0] == 'i'   ? Area::Inputs
                         : text[0] == 'q' ? Area::Outputs
                                          : Area::Markers;
            byte = text.substr(1);
        } else {
            throw FileError{"location '" + word +
                            "' is none of DB<n>.<byte>, I<byte>, Q<byte>, M<byte>"};
        }
        where.byte = static_cast<int>(IntegerIn(byte, "byte address", 0, 65535));
        return where;
    }

    // The memory a value of size bytes at where lands in; the value must fit inside it.
    uint8_t* Place(PlcImage& plc, int mpi, const Location& where, int size,
                   const std::string& what) {
        std::vector<uint8_t>* memory = &plc.inputs;
        std::string name = "inputs";
        switch (where.area) {
            case Area::Inputs:
                break;
            case Area::Outputs:
                memory = &plc.outputs;
                name = "outputs";
                break;
            case Area::Markers:
                memory = &plc.markers;
                name = "markers";
                break;
            case Area::DataBlock: {
                const auto found = plc.dataBlocks.find(where.db);
                if (found == plc.dataBlocks.end()) {
                    throw FileError{"data block " + std::to_string(where.db) +
                                    " is not described on PLC " + std::to_string(mpi) +
                                    " (add 'db " + std::to_string(where.db) + " <bytes>' first)"};
                }
                memory = &found->second;
                name = "data block " + std::to_string(where.db);
                break;
            }
        }
        if (where.byte + size > static_cast<int>(memory->size())) {
            throw FileError{
                what + " at byte " + std::to_string(where.byte) + " runs past the end of " + name +
                " (" + std::to_string(memory->size()) + " bytes) on PLC " + std::to_string(mpi)};
        }
        return memory->data() + where.byte;
    }

    uint8_t* Place(const Location& where, int size, const std::string& what) {
        return Place(Current(), currentMpi_, where, size, what);
    }

    void Value(const std::vector<std::string>& words, ValueType type) {
        Expect(words, 3, "<type> <location> <value>");
        const Location where = LocationOf(words[1]);
        const double value = ValueOf(type, words[2]);
        EncodeValue(type, value, Place(where, SizeOf(type), NameOf(type)));
    }

    // The PLC's stored form: maximum length, current length, characters.
    void String(const std::vector<std::string>& words) {
        Expect(words, 4, "string <location> <maximum length 1..254> \"<text>\"");
        const Location where = LocationOf(words[1]);
        const int maximum = static_cast<int>(IntegerIn(words[2], "maximum length", 1, 254));
        const std::string& quoted = words[3];
        if (quoted.size() < 2 || quoted.front() != '"') {
            throw FileError{"the text of a string goes in double quotes"};
        }
        const std::string text = quoted.substr(1, quoted.size() - 2);
        if (static_cast<int>(text.size()) > maximum) {
            throw FileError{"text of " + std::to_string(text.size()) +
                            " characters is longer than the maximum length " +
                            std::to_string(maximum)};
        }
        uint8_t* bytes = Place(where, maximum + 2, "string");
        bytes[0] = static_cast<uint8_t>(maximum);
        bytes[1] = static_cast<uint8_t>(text.size());
        std::memset(bytes + 2, 0, static_cast<size_t>(maximum));
        std::memcpy(bytes + 2, text.data(), text.size());
    }

    void Bytes(const std::vector<std::string>& words) {
        if (words.size() < 3) throw FileError{"expected: bytes <location> <hex byte> ..."};
        const Location where = LocationOf(words[1]);
        std::vector<uint8_t> bytes;
        for (size_t i = 2; i < words.size(); ++i) {
            const std::string& word = words[i];
            char* end = nullptr;
            const unsigned long value = std::strtoul(word.c_str(), &end, 16);
            if (word.empty() || word.size() > 2 || *end != '\0' ||
                !std::isxdigit(static_cast<unsigned char>(word[0]))) {
                throw FileError{"'" + word + "' is not a hexadecimal byte (00..FF)"};
            }
            bytes.push_back(static_cast<uint8_t>(value));
        }
        std::memcpy(Place(where, static_cast<int>(bytes.size()), "bytes"), bytes.data(),
                    bytes.size());
    }

    ValueType AnimatedType(const std::string& word, bool integersOnly) {
        ValueType type;
        if (!TypeOf(Lower(word), type) || (integersOnly && type == ValueType::Real)) {
            throw FileError{std::string("'") + word + "' is not a type" +
                            (integersOnly ? " a counter can have (byte word int dword dint)"
                                          : " (byte word int dword dint real)")};
        }
        return type;
    }

    void Counter(const std::vector<std::string>& words) {
        Expect(words, 4, "counter <type> <location> <milliseconds per step>");
        Animation counter;
        counter.kind = Animation::Kind::Counter;
        counter.type = AnimatedType(words[1], true);
        counter.where = LocationOf(words[2]);
        counter.periodMs = IntegerIn(words[3], "milliseconds per step", 1, 86400000);
        Place(counter.where, SizeOf(counter.type), NameOf(counter.type));
        counter.fileLine = line;
        Current().animations.push_back(counter);
    }

    void Ramp(const std::vector<std::string>& words) {
        Expect(words, 6, "ramp <type> <location> <low> <high> <period in milliseconds>");
        Animation ramp;
        ramp.kind = Animation::Kind::Ramp;
        ramp.type = AnimatedType(words[1], false);
        ramp.where = LocationOf(words[2]);
        ramp.low = ValueOf(ramp.type, words[3]);
        ramp.high = ValueOf(ramp.type, words[4]);
        ramp.periodMs = IntegerIn(words[5], "period", 2, 86400000);
        Place(ramp.where, SizeOf(ramp.type), NameOf(ramp.type));
        ramp.fileLine = line;
        Current().animations.push_back(ramp);
    }

    Plant& plant_;
    PlcImage* current_ = nullptr;
    int currentMpi_ = -1;
};

}  // namespace

bool ParsePlant(const std::string& text, Plant& plant, std::string& error) {
    Plant parsed;
    PlantReader reader(parsed);
    std::istringstream lines(text);
    std::string line;
    try {
        while (std::getline(lines, line)) {
            ++reader.line;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::vector<std::string> words = WordsOf(line);
            if (!words.empty()) reader.Line(words);
        }
    } catch (const FileError& problem) {
        error = "line " + std::to_string(reader.line) + ": " + problem.message;
        return false;
    }
    std::string problem;
    if (const int badLine = reader.Finish(problem); badLine != 0) {
        error = "line " + std::to_string(badLine) + ": " + problem;
        return false;
    }
    plant = std::move(parsed);
    return true;
}

}  // namespace s7standin
