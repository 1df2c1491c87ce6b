// The poll table: one row a tag with its value, the result of its last read and its PLC's
// state, laid out in aligned columns; with the module's latest log lines beneath it on a
// terminal.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace zelhost {

struct PollRow {
    std::string name;
    std::string address;
    std::string type;
    std::string value;
    std::string result;
    std::string plc;
};

// Header and rows with aligned columns; values longer than maxValueWidth are cut with "...".
std::vector<std::string> RenderPollTable(const std::vector<PollRow>& rows, size_t maxValueWidth);

// The last few log lines, for the panel under the table.
class LogTail {
  public:
    explicit LogTail(size_t capacity) : capacity_(capacity) {}
    void Add(const std::string& line);
    const std::deque<std::string>& Lines() const { return lines_; }
    size_t Total() const { return total_; }  // lines ever added

  private:
    size_t capacity_;
    size_t total_ = 0;
    std::deque<std::string> lines_;
};

// A frame drawn in place: moves the cursor back over the previous frame, clears it, and
// draws the new one, every line cut to the terminal's width.
class InPlaceScreen {
  public:
    explicit InPlaceScreen(size_t columns) : columns_(columns) {}
    std::string Frame(const std::vector<std::string>& lines);

  private:
    size_t columns_;
    size_t previousLines_ = 0;
};

}  // namespace zelhost
