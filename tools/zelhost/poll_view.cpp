#include "poll_view.h"

#include <algorithm>

namespace zelhost {

namespace {

std::string Cut(const std::string& text, size_t width) {
    if (text.size() <= width) return text;
    if (width <= 3) return text.substr(0, width);
    return text.substr(0, width - 3) + "...";
}

}  // namespace

std::vector<std::string> RenderPollTable(const std::vector<PollRow>& rows, size_t maxValueWidth) {
    const PollRow header{"NAME", "ADDRESS", "TYPE", "VALUE", "RESULT", "PLC"};
    std::vector<PollRow> cells;
    cells.reserve(rows.size() + 1);
    cells.push_back(header);
    for (PollRow row : rows) {
        row.value = Cut(row.value, maxValueWidth);
        cells.push_back(std::move(row));
    }
    size_t widths[5] = {};
    for (const PollRow& row : cells) {
        const std::string* fields[5] = {&row.name, &row.address, &row.type, &row.value,
                                        &row.result};
        for (size_t i = 0; i < 5; ++i) widths[i] = std::max(widths[i], fields[i]->size());
    }
    std::vector<std::string> lines;
    lines.reserve(cells.size());
    for (const PollRow& row : cells) {
        const std::string* fields[6] = {&row.name,  &row.address, &row.type,
                                        &row.value, &row.result,  &row.plc};
        std::string line;
        for (size_t i = 0; i < 6; ++i) {
            line += *fields[i];
            if (i < 5) line += std::string(widths[i] - fields[i]->size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void LogTail::Add(const std::string& line) {
    lines_.push_back(line);
    ++total_;
    while (lines_.size() > capacity_) lines_.pop_front();
}

std::string InPlaceScreen::Frame(const std::vector<std::string>& lines) {
    std::string out;
    if (previousLines_ > 0) out += "\x1b[" + std::to_string(previousLines_) + "F";
    out += "\x1b[J";
    for (const std::string& line : lines) {
        out += line.size() < columns_ ? line : line.substr(0, columns_ > 0 ? columns_ - 1 : 0);
        out += '\n';
    }
    previousLines_ = lines.size();
    return out;
}

}  // namespace zelhost
