// zelhost poll: the tags of a list read cyclically, as the host's scan does, until Ctrl-C
// or the given number of cycles; then the host's shutdown with the worker thread's last log
// lines. On a terminal the table is redrawn in place with the module's log beneath it.
#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <thread>

#include "json_writer.h"
#include "poll_view.h"
#include "session.h"
#include "terminal.h"
#include "values.h"

namespace zelhost {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// A second Ctrl-C ends zelhost at once.
extern "C" void OnInterrupt(int) {
    stopRequested = 1;
    std::signal(SIGINT, SIG_DFL);
}

constexpr size_t kLogTailLines = 8;
constexpr size_t kTerminalValueWidth = 40;
constexpr size_t kPlainValueWidth = 60;

struct PolledTag {
    DefinedTag tag;
    std::unique_ptr<ValueArray> values;  // accepted tags only
    int result = -1;                     // -1: not read yet
};

std::string ValuesText(const Host& host, const PolledTag& polled) {
    const DefinedTag& tag = polled.tag;
    const size_t first = host.FirstElement(tag);
    const size_t chars =
        tag.tagSpec.type == ValueType::String ? static_cast<size_t>(host.StringLength(tag)) : 0;
    std::string text;
    for (size_t i = 0; i < static_cast<size_t>(tag.tagSpec.count); ++i) {
        if (i > 0) text += ' ';
        text += FormatValue(tag.tagSpec.type, *polled.values, first + i, chars);
    }
    return text;
}

class PollRun {
  public:
    PollRun(Session& session, const std::string& fileName, const TagList& list)
        : session_(session),
          fileName_(fileName),
          list_(list),
          tail_(kLogTailLines),
          screen_(TerminalColumns()) {}

    int Run();

  private:
    bool OnTerminal() const { return terminal_; }
    void Define();
    void ReadAll();
    void WaitUntil(std::chrono::steady_clock::time_point next);
    void Show(const std::string& title);
    void ShowJson();
    std::vector<PollRow> Rows() const;
    std::string Title() const;

    Session& session_;
    const std::string& fileName_;
    const TagList& list_;
    std::vector<PolledTag> tags_;
    LogTail tail_;
    InPlaceScreen screen_;
    bool terminal_ = false;
    int cycle_ = 0;
    bool anyFailure_ = false;
};

void PollRun::Define() {
    for (const TagSpec& tagSpec : list_.tags) {
        PolledTag polled;
        polled.tag = session_.host.Define(tagSpec);
        KeepQuotedLines(session_, polled.tag.moduleLines);
        if (polled.tag.accepted) {
            polled.values = std::make_unique<ValueArray>(session_.host.PayloadBytes(polled.tag));
        } else {
            anyFailure_ = true;
            // Said once, above the table, where it stays readable.
            std::fprintf(OnTerminal() ? session_.out : stderr, "%s:%d: tag %s (%s, %s): %s\n",
                         fileName_.c_str(), tagSpec.line, tagSpec.name.c_str(), tagSpec.address.c_str(),
                         std::string(TypeName(tagSpec.type)).c_str(), polled.tag.refusal.c_str());
        }
        tags_.push_back(std::move(polled));
    }
}

void PollRun::ReadAll() {
    for (PolledTag& polled : tags_) {
        if (stopRequested != 0) return;
        if (!polled.tag.accepted) continue;
        polled.result = session_.host.Read(polled.tag, *polled.values);
        if (polled.result != zelmpi::DRV_OK) anyFailure_ = true;
        if (!polled.values->GuardIntact()) {
            anyFailure_ = true;
            ReportError("the module wrote past the value array of " + polled.tag.tagSpec.address);
        }
        session_.host.PassOnLog();
    }
}

std::vector<PollRow> PollRun::Rows() const {
    std::vector<PollRow> rows;
    for (const PolledTag& polled : tags_) {
        const TagSpec& tagSpec = polled.tag.tagSpec;
        PollRow row{tagSpec.name, tagSpec.address, std::string(TypeName(tagSpec.type)), "", "", ""};
        if (tagSpec.count > 1) row.type += "[" + std::to_string(tagSpec.count) + "]";
        if (!polled.tag.accepted) {
            row.value = polled.tag.refusal;
            row.result = "REFUSED";
        } else {
            if (polled.result == zelmpi::DRV_OK) row.value = ValuesText(session_.host, polled);
            row.result = polled.result < 0 ? std::string("-") : ResultName(polled.result);
            row.plc = "PLC " + std::to_string(polled.tag.address.plc) + " " +
                      PlcStateName(session_.host.StateOfPlc(polled.tag.address.plc));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string PollRun::Title() const {
    std::string title = "cycle " + std::to_string(cycle_);
    if (session_.options.cycles) title += " of " + std::to_string(*session_.options.cycles);
    title += ", every " + std::to_string(session_.options.intervalMs) + " ms, instance " +
             std::to_string(session_.options.instance);
    return title;
}

void PollRun::Show(const std::string& title) {
    if (Json(session_)) return;
    std::vector<std::string> lines{"zelhost poll " + fileName_ + ": " + title};
    const std::vector<std::string> table =
        RenderPollTable(Rows(), OnTerminal() ? kTerminalValueWidth : kPlainValueWidth);
    lines.insert(lines.end(), table.begin(), table.end());
    if (!OnTerminal()) {
        for (const std::string& line : lines) std::fprintf(session_.out, "%s\n", line.c_str());
        std::fflush(session_.out);
        return;
    }
    lines.emplace_back("");
    lines.emplace_back("module log:");
    for (const std::string& line : tail_.Lines()) lines.push_back("  " + line);
    const std::string frame = screen_.Frame(lines);
    std::fwrite(frame.data(), 1, frame.size(), session_.out);
    std::fflush(session_.out);
}

void PollRun::ShowJson() {
    if (!Json(session_)) return;
    JsonWriter json;
    json.BeginObject().Key("cycle").Number(cycle_).Key("tags").BeginArray();
    for (const PolledTag& polled : tags_) {
        const DefinedTag& tag = polled.tag;
        json.BeginObject()
            .Key("name")
            .String(tag.tagSpec.name)
            .Key("address")
            .String(tag.tagSpec.address)
            .Key("type")
            .String(TypeName(tag.tagSpec.type));
        if (!tag.accepted) {
            json.Key("result").String("REFUSED").Key("refusal").String(tag.refusal).EndObject();
            continue;
        }
        json.Key("result").String(polled.result < 0 ? std::string("-") : ResultName(polled.result));
        json.Key("values").BeginArray();
        const size_t first = session_.host.FirstElement(tag);
        const size_t chars = tag.tagSpec.type == ValueType::String
                                 ? static_cast<size_t>(session_.host.StringLength(tag))
                                 : 0;
        for (size_t i = 0;
             polled.result == zelmpi::DRV_OK && i < static_cast<size_t>(tag.tagSpec.count); ++i) {
            json.Raw(FormatValueJson(tag.tagSpec.type, *polled.values, first + i, chars));
        }
        json.EndArray()
            .Key("plc")
            .Number(tag.address.plc)
            .Key("plcState")
            .String(PlcStateName(session_.host.StateOfPlc(tag.address.plc)))
            .EndObject();
    }
    json.EndArray().EndObject();
    std::fprintf(session_.out, "%s\n", json.Text().c_str());
    std::fflush(session_.out);
}

void PollRun::WaitUntil(std::chrono::steady_clock::time_point next) {
    while (stopRequested == 0 && std::chrono::steady_clock::now() < next) {
        const auto left = next - std::chrono::steady_clock::now();
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(50)));
        if (OnTerminal()) {
            const size_t before = tail_.Total();
            session_.host.PassOnLog();
            if (tail_.Total() != before) Show(Title());
        }
    }
}

int PollRun::Run() {
    terminal_ = !Json(session_) && StdoutIsTerminal() && EnableAnsiOnStdout();
    if (terminal_) {
        std::string error;
        if (session_.log.Hold(error)) {
            session_.host.SetLogSink([this](const std::string& line) {
                tail_.Add(line);
                if (session_.log.WritesToFile()) session_.log.Forward(line);
            });
        } else {
            ReportError(error + "; the log goes on to standard error");
        }
    }
    StartInstance(session_);
    Define();

    stopRequested = 0;
    std::signal(SIGINT, OnInterrupt);
    if (terminal_) std::fputs("\x1b[?25l", session_.out);  // no cursor blinking in the table
    const auto interval = std::chrono::milliseconds(session_.options.intervalMs);
    auto next = std::chrono::steady_clock::now();
    while (stopRequested == 0 && (!session_.options.cycles || cycle_ < *session_.options.cycles)) {
        if (cycle_ > 0) WaitUntil(next);
        if (stopRequested != 0) break;
        next = std::chrono::steady_clock::now() + interval;
        ++cycle_;
        ReadAll();
        Show(Title());
        ShowJson();
    }
    const std::string ending = Title() + "; " + (stopRequested != 0 ? "stopped by Ctrl-C" : "done");
    if (OnTerminal()) {
        Show(ending + ", shutting down");
    } else if (!Json(session_)) {
        std::fprintf(session_.out, "zelhost poll %s: %s, shutting down\n", fileName_.c_str(),
                     ending.c_str());
        std::fflush(session_.out);
    }
    size_t shown = tail_.Total();
    EndInstance(session_, [&] {
        if (OnTerminal() && tail_.Total() != shown) {
            shown = tail_.Total();
            Show(ending + ", shutting down");
        }
    });
    std::signal(SIGINT, SIG_DFL);
    if (OnTerminal()) {
        Show(ending + ", shut down");
        std::fputs("\x1b[?25h", session_.out);
        session_.log.Release();
        session_.host.SetLogSink([this](const std::string& line) { session_.log.Forward(line); });
        session_.host.PassOnLog();
    }
    std::fflush(session_.out);
    return anyFailure_ ? kExitRefused : kExitOk;
}

}  // namespace

int RunPoll(Session& session, const std::string& fileName, const TagList& list) {
    PollRun run(session, fileName, list);
    return run.Run();
}

}  // namespace zelhost
