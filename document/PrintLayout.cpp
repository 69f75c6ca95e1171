#include "document/PrintLayout.h"

#include <algorithm>

TPrintLayout::TPrintLayout(IPrintSurface& surface, const PrintMetrics& metrics)
    : m_surface(surface), m_metrics(metrics)
{
}

void TPrintLayout::Send(std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\t' && c != '\r' && c != '\n' && c != '\f')
            continue;
        if (i > start)
            Run(text.substr(start, i - start));
        start = i + 1;
        if (c == '\t')
            Tab();
        else if (c == '\n')
            NewLine();
        else if (c == '\f')
            NewPage();
        // CR only ends the run.
    }
    if (start < text.size())
        Run(text.substr(start));
}

bool TPrintLayout::Fits(std::string_view run)
{
    return m_x + m_surface.TextWidth(run) <= m_metrics.pageWidth;
}

std::size_t TPrintLayout::FittingLength(std::string_view run)
{
    // Widths grow with the prefix, so the longest fitting prefix is found by doubling and
    // halving from the start of the run: a few measurements of page-sized prefixes per printed
    // line, even when one document line is megabytes long. (The code page has one byte per
    // character: no character spans two bytes.)
    const std::size_t n = run.size();
    std::size_t fits = 0, fails = 0;
    for (std::size_t k = 1;; k = std::min(2 * k, n)) {
        if (!Fits(run.substr(0, k))) {
            fails = k;
            break;
        }
        fits = k;
        if (k == n)
            return n;
    }
    while (fails - fits > 1) {
        const std::size_t mid = fits + (fails - fits) / 2;
        if (Fits(run.substr(0, mid)))
            fits = mid;
        else
            fails = mid;
    }
    // Nothing fits even at the left edge: the character goes on a line of its own.
    if (fits == 0 && m_x == 0)
        return 1;
    return fits;
}

void TPrintLayout::Run(std::string_view run)
{
    while (!run.empty()) {
        const std::size_t keep = FittingLength(run);
        const std::string_view part = run.substr(0, keep);
        if (!part.empty()) {
            BeginPendingPages();
            m_surface.DrawText(m_x, m_y, part);
            const int e = m_surface.TextHeight(part);
            if (e > m_h)
                m_h = e + 2;
        }
        if (keep == run.size()) {
            m_x += m_surface.TextWidth(part);
            return;
        }
        NewLine();
        run.remove_prefix(keep);
    }
}

void TPrintLayout::Tab()
{
    const int t = std::max(1, 8 * m_metrics.averageCharWidth);
    m_x = m_x + t - ((m_x + t + 1) % t) + 1;
    if (m_x > m_metrics.pageWidth)
        NewLine();
}

void TPrintLayout::NewLine()
{
    const int advance = m_h > 0 ? m_h : m_metrics.fullCharHeight;
    m_x = 0;
    m_y += advance;
    // An empty line counts with its own advance: tested against no height at all, a run of
    // empty lines could carry the next text line past the bottom of the page.
    if (m_y > m_metrics.pageHeight - 2 * advance)
        NewPage();
    m_h = 0;
}

void TPrintLayout::NewPage()
{
    m_x = 0;
    m_y = 0;
    ++m_pendingPages;
}

// A page is begun only once something is drawn on it, so a job never ends on a blank sheet;
// blank pages between printed ones (two form feeds) are kept.
void TPrintLayout::BeginPendingPages()
{
    for (; m_pendingPages > 0; --m_pendingPages)
        m_surface.NewPage();
}
