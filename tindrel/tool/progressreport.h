#pragma once

#include <cstdio>

namespace tindreltool {

// Shows a flash's progress: a bar redrawn in place on a terminal, otherwise one plain line per
// percentage reached, which logs and scripts can read.
class ProgressReport {
public:
    ProgressReport(std::FILE* out, bool terminal);

    // `percent` as the library reports it: -1 while no transfer is under way.
    void update(int percent);
    // Shows 100 % for an update that completed (the library stops reporting progress once its
    // run has ended, so the last poll may have seen less), and ends the bar's line so that what
    // follows starts on a line of its own.
    void finish(bool completed);

private:
    void drawBar(int percent);

    std::FILE* m_out;
    bool m_terminal;
    int m_shown = -1;
    bool m_lineOpen = false;
};

} // namespace tindreltool
