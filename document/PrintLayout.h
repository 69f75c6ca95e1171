#pragma once

#include <string_view>

// What the page layout needs from a printer: measuring and drawing runs of the document's
// bytes in the printer font, and starting pages. Units are the device's; the origin is the
// top-left corner of the printable area.
class IPrintSurface {
public:
    virtual ~IPrintSurface() = default;

    virtual int TextWidth(std::string_view run) = 0;
    virtual int TextHeight(std::string_view run) = 0;
    virtual void DrawText(int x, int y, std::string_view run) = 0;
    // Ends the current page and begins the next one.
    virtual void NewPage() = 0;
};

struct PrintMetrics {
    int pageWidth = 0;
    int pageHeight = 0;
    int fullCharHeight = 0;   // advance of a line that holds nothing
    int averageCharWidth = 0; // a tab stop is eight of these
};

// Lays plain text out on pages: runs of ordinary characters cut at TAB, CR, LF and FF,
// wrapped character by character at the right edge, each line as high as its tallest run
// plus 2, a new page when less than two of the last line's heights are left below the next
// line's top.
class TPrintLayout {
public:
    TPrintLayout(IPrintSurface& surface, const PrintMetrics& metrics);

    // Any number of calls per job; text carries its own line breaks.
    void Send(std::string_view text);

    int X() const { return m_x; }
    int Y() const { return m_y; }

private:
    void Run(std::string_view run);
    void Tab();
    void NewLine();
    void NewPage();
    // Longest prefix of `run` that fits from the current position (at least one character
    // at the left edge, so a character wider than the page cannot stall the layout).
    std::size_t FittingLength(std::string_view run);
    bool Fits(std::string_view run);
    void BeginPendingPages();

    IPrintSurface& m_surface;
    PrintMetrics m_metrics;
    int m_x = 0;
    int m_y = 0;
    int m_h = 0;
    int m_pendingPages = 0;
};
