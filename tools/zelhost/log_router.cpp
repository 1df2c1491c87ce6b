#include "log_router.h"

#include <chrono>
#include <random>

#include "hux_standin.h"
#include "s7_standin.h"

namespace zelhost {

namespace {

std::filesystem::path UniqueTemporaryPath() {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    if (error) directory = ".";
    std::random_device seed;
    std::mt19937_64 random(
        seed() ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (;;) {
        const std::filesystem::path candidate =
            directory / ("zelhost-log-" + std::to_string(random() % 1000000000000ull) + ".txt");
        if (!std::filesystem::exists(candidate, error)) return candidate;
    }
}

}  // namespace

LogRouter::~LogRouter() {
    LogTo(nullptr);
    for (const std::string& line : Drain()) Forward(line);
    if (!pending_.empty()) Forward(pending_);
    CloseHoldFile();
    if (destination_ != nullptr) std::fclose(destination_);
}

bool LogRouter::UseFile(const std::filesystem::path& path, std::string& error) {
    std::FILE* file = std::fopen(path.string().c_str(), "a");
    if (file == nullptr) {
        error = "cannot open the log file " + path.string();
        return false;
    }
    if (!holding_) LogTo(file);
    if (destination_ != nullptr) std::fclose(destination_);
    destination_ = file;
    return true;
}

void LogRouter::SetTimestamps(bool on) {
    HuxStandinSetLogTimestamps(on ? 1 : 0);
}

void LogRouter::SetTrace(bool on) {
    trace_ = on;
    LogTo(holding_ ? holdWriter_ : destination_);
}

void LogRouter::LogTo(std::FILE* stream) {
    HuxStandinSetLogStream(stream);
    S7StandinSetTraceStream(trace_ ? (stream != nullptr ? stream : stderr) : nullptr);
}

bool LogRouter::Hold(std::string& error) {
    if (holdWriter_ == nullptr) {
        holdPath_ = UniqueTemporaryPath();
        holdWriter_ = std::fopen(holdPath_.string().c_str(), "wb");
        if (holdWriter_ != nullptr) holdReader_ = std::fopen(holdPath_.string().c_str(), "rb");
        if (holdReader_ == nullptr) {
            error = "cannot create the temporary file " + holdPath_.string();
            CloseHoldFile();
            return false;
        }
    }
    LogTo(holdWriter_);
    holding_ = true;
    return true;
}

std::vector<std::string> LogRouter::Drain() {
    std::vector<std::string> lines;
    if (holdReader_ == nullptr) return lines;
    // Seeking to where it is clears the end-of-file state of the stream and, on Windows, the one
    // the C runtime keeps for the file descriptor as well (clearerr leaves that one set).
    std::fseek(holdReader_, 0, SEEK_CUR);
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, holdReader_)) > 0) pending_.append(chunk, got);
    size_t start = 0;
    for (size_t end = pending_.find('\n'); end != std::string::npos;
         end = pending_.find('\n', start)) {
        std::string line = pending_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    pending_.erase(0, start);
    return lines;
}

void LogRouter::Release() {
    if (!holding_) return;
    LogTo(destination_);
    holding_ = false;
}

void LogRouter::Forward(const std::string& line) {
    std::FILE* out = Destination();
    std::fputs(line.c_str(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

void LogRouter::CloseHoldFile() {
    if (holdWriter_ != nullptr) std::fclose(holdWriter_);
    if (holdReader_ != nullptr) std::fclose(holdReader_);
    holdWriter_ = nullptr;
    holdReader_ = nullptr;
    if (!holdPath_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(holdPath_, ignored);
    }
}

}  // namespace zelhost
