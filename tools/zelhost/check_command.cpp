// zelhost check: every tag of a list through OP_PARSE and OP_CHECK_SIZE, the lint for a tag
// database. Refusals are reported compiler-style, "FILE:LINE: ...", with the module's line.
#include "address_meaning.h"
#include "json_writer.h"
#include "session.h"

namespace zelhost {

namespace {

void WriteRecord(JsonWriter& json, const zelmpi::TagAddress& address) {
    json.BeginObject()
        .Key("plc")
        .Number(address.plc)
        .Key("accessCode")
        .Number(address.accessCode)
        .Key("packedAddress")
        .Number(address.packedAddress)
        .Key("bitNumber")
        .Number(address.bitNumber)
        .Key("width")
        .Number(address.width)
        .EndObject();
}

void WriteJsonReport(Session& session, const std::string& fileName,
                     const std::vector<DefinedTag>& tags, int refused) {
    JsonWriter json;
    json.BeginObject().Key("file").String(fileName).Key("tags").BeginArray();
    for (const DefinedTag& tag : tags) {
        json.BeginObject()
            .Key("name")
            .String(tag.tagSpec.name)
            .Key("line")
            .Number(tag.tagSpec.line)
            .Key("address")
            .String(tag.tagSpec.address)
            .Key("type")
            .String(TypeName(tag.tagSpec.type))
            .Key("count")
            .Number(tag.tagSpec.count)
            .Key("accepted")
            .Bool(tag.accepted);
        if (tag.accepted) {
            json.Key("meaning").String(AddressMeaning(tag.address)).Key("record");
            WriteRecord(json, tag.address);
        } else {
            json.Key("refusal").String(tag.refusal);
        }
        json.Key("log").BeginArray();
        for (const std::string& line : tag.moduleLines) json.String(line);
        json.EndArray().EndObject();
    }
    json.EndArray()
        .Key("accepted")
        .Number(static_cast<int64_t>(tags.size()) - refused)
        .Key("refused")
        .Number(refused)
        .EndObject();
    std::fprintf(session.out, "%s\n", json.Text().c_str());
}

}  // namespace

int RunCheck(Session& session, const std::string& fileName, const TagList& list) {
    StartInstance(session);
    std::vector<DefinedTag> tags;
    tags.reserve(list.tags.size());
    int refused = 0;
    for (const TagSpec& tagSpec : list.tags) {
        tags.push_back(session.host.Define(tagSpec));
        KeepQuotedLines(session, tags.back().moduleLines);
        if (!tags.back().accepted) ++refused;
    }
    if (Json(session)) {
        WriteJsonReport(session, fileName, tags, refused);
    } else {
        for (const DefinedTag& tag : tags) {
            if (tag.accepted) continue;
            std::fprintf(session.out, "%s:%d: tag %s (%s, %s): %s\n", fileName.c_str(),
                         tag.tagSpec.line, tag.tagSpec.name.c_str(), tag.tagSpec.address.c_str(),
                         std::string(TypeName(tag.tagSpec.type)).c_str(), tag.refusal.c_str());
        }
        std::fprintf(session.out, "%s: %zu tags, %zu accepted, %d refused\n", fileName.c_str(),
                     tags.size(), tags.size() - static_cast<size_t>(refused), refused);
    }
    std::fflush(session.out);
    EndInstance(session);
    return refused == 0 ? kExitOk : kExitRefused;
}

}  // namespace zelhost
