// zelhost read and write: one access to one tag, in an instance started as poll starts it.
#include "address_meaning.h"
#include "json_writer.h"
#include "session.h"
#include "values.h"

namespace zelhost {

namespace {

// The type the user gave, or the one the address names.
bool ResolveType(Session& session, const std::string& address, ValueType& type) {
    if (session.options.type) {
        type = *session.options.type;
        return true;
    }
    const auto named = TypeOfAddress(address, session.host.LongDb());
    if (!named) {
        ReportError("cannot tell the type of " + address + "; give it with --type (" +
                    TypeNameList() + ")");
        return false;
    }
    type = *named;
    return true;
}

bool CountFitsType(ValueType type, int count) {
    if (count > kMaxElementCount) {
        ReportError("at most " + std::to_string(kMaxElementCount) + " values at a time");
        return false;
    }
    if (count == 1 || (type != ValueType::Bit && type != ValueType::String)) return true;
    ReportError("a " + std::string(TypeName(type)) + " tag is transferred alone; give one value");
    return false;
}

// OP_PARSE and OP_CHECK_SIZE; reports a refusal.
bool DefineTag(Session& session, const TagSpec& spec, DefinedTag& tag) {
    tag = session.host.Define(spec);
    KeepQuotedLines(session, tag.moduleLines);
    if (tag.accepted) return true;
    ReportError(spec.address + " (" + std::string(TypeName(spec.type)) + "): " + tag.refusal);
    return false;
}

// Reports how the access went; true when it answered OK and kept to its array.
bool CheckOutcome(const char* what, const DefinedTag& tag, int result, const ValueArray& values) {
    bool good = result == zelmpi::DRV_OK;
    if (!good) ReportError(std::string(what) + " " + tag.spec.address + ": " + ResultName(result));
    if (!values.GuardIntact()) {
        ReportError("the module wrote past the " + std::to_string(values.size()) +
                    "-byte value array of " + tag.spec.address);
        good = false;
    }
    return good;
}

std::string TypeLabel(const DefinedTag& tag) {
    std::string label(TypeName(tag.spec.type));
    if (tag.spec.count > 1) label += "[" + std::to_string(tag.spec.count) + "]";
    return label;
}

void PrintValues(Session& session, const char* command, const DefinedTag& tag, int result,
                 const ValueArray& values, bool showValues) {
    const size_t first = session.host.FirstElement(tag);
    const size_t chars = tag.spec.type == ValueType::String
                             ? static_cast<size_t>(session.host.StringLength(tag))
                             : 0;
    const size_t count = static_cast<size_t>(tag.spec.count);
    if (Json(session)) {
        JsonWriter json;
        json.BeginObject()
            .Key("command")
            .String(command)
            .Key("address")
            .String(tag.spec.address)
            .Key("meaning")
            .String(AddressMeaning(tag.address))
            .Key("type")
            .String(TypeName(tag.spec.type))
            .Key("count")
            .Number(tag.spec.count)
            .Key("result")
            .String(ResultName(result))
            .Key("values")
            .BeginArray();
        for (size_t i = 0; showValues && i < count; ++i) {
            json.Raw(FormatValueJson(tag.spec.type, values, first + i, chars));
        }
        json.EndArray().EndObject();
        std::fprintf(session.out, "%s\n", json.Text().c_str());
        return;
    }
    if (!showValues) return;
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += FormatValue(tag.spec.type, values, first + i, chars);
    }
    std::fprintf(session.out, "%s %s %s %s\n", tag.spec.address.c_str(), TypeLabel(tag).c_str(),
                 std::string_view(command) == "read" ? "=" : ":=", text.c_str());
}

}  // namespace

int RunRead(Session& session) {
    StartInstance(session);
    TagSpec spec;
    spec.address = session.options.arguments[0];
    spec.count = session.options.count;
    int status = kExitUsage;
    DefinedTag tag;
    if (ResolveType(session, spec.address, spec.type) && CountFitsType(spec.type, spec.count)) {
        status = kExitRefused;
        if (DefineTag(session, spec, tag)) {
            ValueArray values(session.host.PayloadBytes(tag));
            const int result = session.host.Read(tag, values);
            session.host.PassOnLog();
            const bool good = CheckOutcome("read", tag, result, values);
            PrintValues(session, "read", tag, result, values, good);
            if (good) status = kExitOk;
        }
    }
    std::fflush(session.out);
    EndInstance(session);
    return status;
}

int RunWrite(Session& session) {
    StartInstance(session);
    const std::vector<std::string>& arguments = session.options.arguments;
    TagSpec spec;
    spec.address = arguments[0];
    spec.count = static_cast<int>(arguments.size() - 1);
    int status = kExitUsage;
    std::vector<HostValue> parsed(arguments.size() - 1);
    bool valuesGood =
        ResolveType(session, spec.address, spec.type) && CountFitsType(spec.type, spec.count);
    for (size_t i = 0; valuesGood && i < parsed.size(); ++i) {
        std::string error;
        valuesGood = ParseValue(spec.type, arguments[i + 1], parsed[i], error);
        if (!valuesGood) ReportError(error);
    }
    DefinedTag tag;
    if (valuesGood && DefineTag(session, spec, tag)) {
        const int length = session.host.StringLength(tag);
        if (spec.type == ValueType::String && parsed[0].text.size() > static_cast<size_t>(length)) {
            ReportError("the string has " + std::to_string(parsed[0].text.size()) +
                        " characters; " + spec.address + " holds " + std::to_string(length));
        } else {
            ValueArray values(session.host.PayloadBytes(tag));
            const size_t first = session.host.FirstElement(tag);
            for (size_t i = 0; i < parsed.size(); ++i)
                StoreValue(spec.type, parsed[i], values, first + i);
            ValueArray shown = values;  // the module may change the array it is given
            const int result = session.host.Write(tag, values);
            session.host.PassOnLog();
            const bool good = CheckOutcome("write", tag, result, values);
            PrintValues(session, "write", tag, result, shown, good);
            status = good ? kExitOk : kExitRefused;
        }
    } else if (valuesGood) {
        status = kExitRefused;
    }
    std::fflush(session.out);
    EndInstance(session);
    return status;
}

}  // namespace zelhost
