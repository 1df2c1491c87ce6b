// zelhost describe: what OP_DESCRIBE tells the host, the texts converted to UTF-8.
#include "cp437.h"
#include "json_writer.h"
#include "session.h"

namespace zelhost {

int RunDescribe(Session& session) {
    const ModuleDescription description = session.host.Describe();
    const std::string deviceName = Cp437ToUtf8(description.deviceName);
    const std::string banner = Cp437ToUtf8(description.banner);
    if (Json(session)) {
        JsonWriter json;
        json.BeginObject()
            .Key("driverCode")
            .Number(description.driverCode)
            .Key("deviceName")
            .String(deviceName)
            .Key("contextSize")
            .Number(description.contextSize)
            .Key("banner")
            .String(banner)
            .EndObject();
        std::fprintf(session.out, "%s\n", json.Text().c_str());
    } else {
        std::fprintf(session.out, "driver code:  %d\ndevice name:  %s\ncontext size: %d bytes\n",
                     description.driverCode, deviceName.c_str(), description.contextSize);
        std::fprintf(session.out, "banner:%s", banner.c_str());
        if (banner.empty() || banner.back() != '\n') std::fputc('\n', session.out);
    }
    return kExitOk;
}

}  // namespace zelhost
