#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The text every request names its client with.
extern const char* const kUserAgent;

struct FetchLimits {
    // A dead server gives up after these instead of holding the editor for ever.
    std::chrono::milliseconds connectTimeout{60000};
    std::chrono::milliseconds idleTimeout{60000}; // no byte of the body for this long
    // However the server trickles, one URL never takes longer than this.
    std::chrono::milliseconds totalTimeout{120000};
    // No page is bigger than this: the rest is not fetched, as if the read had failed there.
    // A body of exactly this size is whole.
    std::int64_t maxBytes = std::int64_t{256} << 20;
    // Called while the transfer runs, at least every 50 ms, with the bytes of the body written
    // so far: the caller keeps its windows alive here. Returning false ends the transfer.
    std::function<bool(std::int64_t received)> keepGoing;
    // Sees the size of every block written to the file (for tests).
    std::function<void(std::size_t)> onBlock;
};

// Fetches the body of `url` (http, https or ftp; redirects followed, at most 10) into the file
// at `path` (made readable by the user alone), byte for byte, in blocks of at most 1024 bytes,
// as they arrive. The file is created or emptied whatever the fetch gives, so a URL that
// cannot be opened leaves it empty. Network failures, time limits, the size limit and a stop
// asked by `keepGoing` all end the transfer silently, the bytes received so far staying in
// the file; `stoppedAtLimit` (when given) tells whether the size limit ended it. A file that
// cannot be created or written throws QuorlexError. Returns true once the transfer has ended
// and the file is closed.
bool DownloadUrlToFile(const std::string& url, const QString& path, const FetchLimits& limits = {},
                       bool* stoppedAtLimit = nullptr);
