// zelhost read and write: one access to one tag, in an instance started as poll starts it.
// A write reads the tag back in the same instance, since each zelhost run simulates its
// plant afresh: that is where the user sees what reached the PLC.
#include "address_meaning.h"
#include "json_writer.h"
#include "session.h"
#include "values.h"

namespace zelhost {

namespace {

bool CountFitsType(ValueType type, int count) {
    if (count > kMaxElementCount) {
        ReportError("at most " + std::to_string(kMaxElementCount) + " values at a time");
        return false;
    }
    if (count == 1 || (type != ValueType::Bit && type != ValueType::String)) return true;
    ReportError("a " + std::string(TypeName(type)) + " tag has count 1: one value at a time");
    return false;
}

// The type the user gave, or the one the address names; then the count for it.
bool ResolveType(Session& session, TagSpec& tagSpec) {
    if (session.options.type) {
        tagSpec.type = *session.options.type;
    } else if (const auto named = TypeOfAddress(tagSpec.address, session.host.LongDb())) {
        tagSpec.type = *named;
    } else {
        ReportError("cannot tell the type of " + tagSpec.address + "; give it with --type (" +
                    TypeNameList() + ")");
        return false;
    }
    return CountFitsType(tagSpec.type, tagSpec.count);
}

bool ParseValues(const TagSpec& tagSpec, const std::vector<std::string>& texts,
                 std::vector<HostValue>& values) {
    values.resize(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string error;
        if (!ParseValue(tagSpec.type, texts[i], values[i], error)) {
            ReportError(error);
            return false;
        }
    }
    return true;
}

// OP_PARSE and OP_CHECK_SIZE; reports a refusal.
bool DefineTag(Session& session, const TagSpec& tagSpec, DefinedTag& tag) {
    tag = session.host.Define(tagSpec);
    KeepQuotedLines(session, tag.moduleLines);
    if (tag.accepted) return true;
    ReportError(tagSpec.address + " (" + std::string(TypeName(tagSpec.type)) + "): " + tag.refusal);
    return false;
}

struct Outcome {
    int result = zelmpi::DRV_OK;
    bool good = false;  // answered OK and kept to its array
    std::vector<std::string> texts;
    std::vector<std::string> json;
};

// Reports how an access went, and when it went well the values shown: what was read, or
// what was written.
Outcome Conclude(Session& session, const char* what, const DefinedTag& tag, int result,
                 const ValueArray& values, const ValueArray& shown) {
    session.host.PassOnLog();
    Outcome outcome;
    outcome.result = result;
    outcome.good = result == zelmpi::DRV_OK;
    if (!outcome.good)
        ReportError(std::string(what) + " " + tag.tagSpec.address + ": " + ResultName(result));
    if (!values.GuardIntact()) {
        ReportError("the module wrote past the " + std::to_string(values.size()) +
                    "-byte value array of " + tag.tagSpec.address);
        outcome.good = false;
    }
    if (!outcome.good) return outcome;
    const size_t first = session.host.FirstElement(tag);
    const size_t chars = tag.tagSpec.type == ValueType::String
                             ? static_cast<size_t>(session.host.StringLength(tag))
                             : 0;
    for (size_t i = 0; i < static_cast<size_t>(tag.tagSpec.count); ++i) {
        outcome.texts.push_back(FormatValue(tag.tagSpec.type, shown, first + i, chars));
        outcome.json.push_back(FormatValueJson(tag.tagSpec.type, shown, first + i, chars));
    }
    return outcome;
}

Outcome ReadOnce(Session& session, const DefinedTag& tag) {
    ValueArray values(session.host.PayloadBytes(tag));
    const int result = session.host.Read(tag, values);
    return Conclude(session, "read", tag, result, values, values);
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : " ") + text;
    return joined;
}

void BeginJson(JsonWriter& json, const char* command, const DefinedTag& tag,
               const Outcome& outcome) {
    json.BeginObject()
        .Key("command")
        .String(command)
        .Key("address")
        .String(tag.tagSpec.address)
        .Key("meaning")
        .String(AddressMeaning(tag.address))
        .Key("type")
        .String(TypeName(tag.tagSpec.type))
        .Key("count")
        .Number(tag.tagSpec.count)
        .Key("result")
        .String(ResultName(outcome.result))
        .Key("values")
        .BeginArray();
    for (const std::string& value : outcome.json) json.Raw(value);
    json.EndArray();
}

std::string TypeLabel(const TagSpec& tagSpec) {
    std::string label(TypeName(tagSpec.type));
    if (tagSpec.count > 1) label += "[" + std::to_string(tagSpec.count) + "]";
    return label;
}

void PrintRead(Session& session, const DefinedTag& tag, const Outcome& read) {
    if (Json(session)) {
        JsonWriter json;
        BeginJson(json, "read", tag, read);
        std::fprintf(session.out, "%s\n", json.EndObject().Text().c_str());
    } else if (read.good) {
        std::fprintf(session.out, "%s %s = %s\n", tag.tagSpec.address.c_str(),
                     TypeLabel(tag.tagSpec).c_str(), Joined(read.texts).c_str());
    }
}

void PrintWrite(Session& session, const DefinedTag& tag, const Outcome& write,
                const Outcome& readBack) {
    if (Json(session)) {
        JsonWriter json;
        BeginJson(json, "write", tag, write);
        if (write.good) {
            json.Key("readBack").BeginObject().Key("result").String(ResultName(readBack.result));
            json.Key("values").BeginArray();
            for (const std::string& value : readBack.json) json.Raw(value);
            json.EndArray().EndObject();
        }
        std::fprintf(session.out, "%s\n", json.EndObject().Text().c_str());
    } else if (write.good) {
        std::fprintf(
            session.out, "%s %s := %s, read back: %s\n", tag.tagSpec.address.c_str(),
            TypeLabel(tag.tagSpec).c_str(), Joined(write.texts).c_str(),
            (readBack.good ? Joined(readBack.texts) : ResultName(readBack.result)).c_str());
    }
}

int WriteAndReadBack(Session& session, const TagSpec& tagSpec, const std::vector<HostValue>& parsed) {
    DefinedTag tag;
    if (!DefineTag(session, tagSpec, tag)) return kExitRefused;
    const int length = session.host.StringLength(tag);
    if (tagSpec.type == ValueType::String && parsed[0].text.size() > static_cast<size_t>(length)) {
        ReportError("the string has " + std::to_string(parsed[0].text.size()) + " characters; " +
                    tagSpec.address + " holds " + std::to_string(length));
        return kExitUsage;
    }
    ValueArray values(session.host.PayloadBytes(tag));
    const size_t first = session.host.FirstElement(tag);
    for (size_t i = 0; i < parsed.size(); ++i) StoreValue(tagSpec.type, parsed[i], values, first + i);
    const ValueArray written = values;  // the module may change the array it is given
    const int result = session.host.Write(tag, values);
    const Outcome write = Conclude(session, "write", tag, result, values, written);
    const Outcome readBack = write.good ? ReadOnce(session, tag) : Outcome{};
    PrintWrite(session, tag, write, readBack);
    return write.good && readBack.good ? kExitOk : kExitRefused;
}

}  // namespace

int RunRead(Session& session) {
    StartInstance(session);
    TagSpec tagSpec;
    tagSpec.address = session.options.arguments[0];
    tagSpec.count = session.options.count;
    int status = kExitUsage;
    DefinedTag tag;
    if (ResolveType(session, tagSpec)) {
        status = kExitRefused;
        if (DefineTag(session, tagSpec, tag)) {
            const Outcome read = ReadOnce(session, tag);
            PrintRead(session, tag, read);
            if (read.good) status = kExitOk;
        }
    }
    std::fflush(session.out);
    EndInstance(session);
    return status;
}

int RunWrite(Session& session) {
    const std::vector<std::string> texts(session.options.arguments.begin() + 1,
                                         session.options.arguments.end());
    TagSpec tagSpec;
    tagSpec.address = session.options.arguments[0];
    tagSpec.count = static_cast<int>(texts.size());
    std::vector<HostValue> parsed;
    // With the type given, bad values are refused before the instance starts.
    const bool typeGiven = session.options.type.has_value();
    if (typeGiven && (!ResolveType(session, tagSpec) || !ParseValues(tagSpec, texts, parsed))) {
        return kExitUsage;
    }
    StartInstance(session);
    int status = kExitUsage;
    if (typeGiven || (ResolveType(session, tagSpec) && ParseValues(tagSpec, texts, parsed))) {
        status = WriteAndReadBack(session, tagSpec, parsed);
    }
    std::fflush(session.out);
    EndInstance(session);
    return status;
}

}  // namespace zelhost
