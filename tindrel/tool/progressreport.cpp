#include "progressreport.h"

#include <string>

namespace tindreltool {

namespace {
constexpr int kBarWidth = 40;
constexpr int kFullPercent = 100;
} // namespace

ProgressReport::ProgressReport(std::FILE* out, bool terminal)
    : m_out(out)
    , m_terminal(terminal) {}

void ProgressReport::update(int percent) {
    if (percent < 0 || percent == m_shown) {
        return;
    }
    if (percent > kFullPercent) {
        percent = kFullPercent;
    }
    m_shown = percent;
    if (m_terminal) {
        drawBar(percent);
    } else {
        std::fprintf(m_out, "progress: %d%%\n", percent);
    }
    std::fflush(m_out);
}

void ProgressReport::drawBar(int percent) {
    const int filled = percent * kBarWidth / kFullPercent;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '-');
    std::fprintf(m_out, "\r[%s] %3d%%", bar.c_str(), percent);
    m_lineOpen = true;
}

void ProgressReport::finish(bool completed) {
    if (completed) {
        update(kFullPercent);
    }
    if (m_lineOpen) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
        m_lineOpen = false;
    }
}

} // namespace tindreltool
