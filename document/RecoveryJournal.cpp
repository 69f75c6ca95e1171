#include "document/RecoveryJournal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kRecordHead = 9; // kind, payload length
constexpr std::size_t kRecordTail = 4; // CRC-32
constexpr std::size_t kEditFixed = 32;

// CRC-32 (the zip polynomial), eight table lookups per eight bytes.
const std::array<std::array<std::uint32_t, 256>, 8>& CrcTables()
{
    static const auto tables = [] {
        std::array<std::array<std::uint32_t, 256>, 8> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (std::size_t i = 0; i < 256; ++i)
            for (std::size_t k = 1; k < 8; ++k)
                t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
        return t;
    }();
    return tables;
}

void Put(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t Get(std::string_view in, std::size_t at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])} << (8 * i);
    return value;
}

std::int64_t GetSigned(std::string_view in, std::size_t at) { return static_cast<std::int64_t>(Get(in, at, 8)); }

unsigned EncodingFlags(const FileEncoding& e)
{
    return (e.utf8 ? 4u : 0u) | (e.byteOrderMark ? 8u : 0u) | (e.lineBreaks == LineBreaks::Lf ? 16u : 0u);
}

FileEncoding EncodingOf(unsigned flags)
{
    FileEncoding e;
    e.utf8 = (flags & 4u) != 0;
    e.byteOrderMark = (flags & 8u) != 0;
    e.lineBreaks = (flags & 16u) ? LineBreaks::Lf : LineBreaks::CrLf;
    return e;
}

std::string Record(char kind, std::string_view payload)
{
    std::string out;
    out.reserve(kRecordHead + payload.size() + kRecordTail);
    out.push_back(kind);
    Put(out, payload.size(), 8);
    out.append(payload);
    Put(out, Crc32(0, out), 4);
    return out;
}

// A text with a gap at the place of the last edit, so typing replays in time proportional to
// what was typed rather than to the text.
class GapText {
public:
    GapText(std::string&& base, std::int64_t reserve) : m_buffer(std::move(base))
    {
        m_gapStart = m_buffer.size();
        m_buffer.resize(m_buffer.size() + static_cast<std::size_t>(std::max<std::int64_t>(reserve, 0)));
        m_gapEnd = m_buffer.size();
    }
    std::size_t Length() const { return m_buffer.size() - (m_gapEnd - m_gapStart); }
    void Replace(std::size_t start, std::size_t removed, std::string_view added)
    {
        MoveGap(start);
        m_gapEnd += removed;
        if (m_gapEnd - m_gapStart < added.size()) {
            const std::size_t grow = std::max(added.size(), m_buffer.size() / 4 + (1u << 20));
            const std::size_t tail = m_buffer.size() - m_gapEnd;
            m_buffer.resize(m_buffer.size() + grow);
            std::memmove(m_buffer.data() + m_gapEnd + grow, m_buffer.data() + m_gapEnd, tail);
            m_gapEnd += grow;
        }
        std::memcpy(m_buffer.data() + m_gapStart, added.data(), added.size());
        m_gapStart += added.size();
    }
    std::string Take() &&
    {
        MoveGap(Length());
        m_buffer.resize(m_gapStart);
        return std::move(m_buffer);
    }

private:
    void MoveGap(std::size_t to)
    {
        char* b = m_buffer.data();
        if (to < m_gapStart) {
            const std::size_t n = m_gapStart - to;
            std::memmove(b + m_gapEnd - n, b + to, n);
            m_gapStart -= n;
            m_gapEnd -= n;
        } else if (to > m_gapStart) {
            const std::size_t n = to - m_gapStart;
            std::memmove(b + m_gapStart, b + m_gapEnd, n);
            m_gapStart += n;
            m_gapEnd += n;
        }
    }
    std::string m_buffer;
    std::size_t m_gapStart = 0, m_gapEnd = 0;
};

// Runs of a text whose base is lost: known bytes (put in by edits) and lengths of unknown ones.
class RunText {
public:
    explicit RunText(std::int64_t baseLength)
    {
        if (baseLength > 0)
            m_runs.push_back({baseLength, {}, false});
    }
    void Replace(std::int64_t start, std::int64_t removed, std::string_view added)
    {
        std::size_t i = Split(start);
        const std::size_t end = Split(start + removed);
        m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(i), m_runs.begin() + static_cast<std::ptrdiff_t>(end));
        if (added.empty())
            return;
        // Typing goes on at the end of the run it made.
        if (i > 0 && m_runs[i - 1].known) {
            m_runs[i - 1].bytes.append(added);
            m_runs[i - 1].length += static_cast<std::int64_t>(added.size());
            return;
        }
        m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i),
                      Run{static_cast<std::int64_t>(added.size()), std::string(added), true});
    }
    std::string Known() const
    {
        std::string out;
        for (const Run& r : m_runs)
            out += r.bytes;
        return out;
    }

private:
    struct Run {
        std::int64_t length;
        std::string bytes;
        bool known;
    };
    // The index of the run that starts at `at`, splitting the one that holds it.
    std::size_t Split(std::int64_t at)
    {
        std::int64_t pos = 0;
        for (std::size_t i = 0; i < m_runs.size(); ++i) {
            if (pos == at)
                return i;
            if (at < pos + m_runs[i].length) {
                Run& r = m_runs[i];
                const std::int64_t head = at - pos;
                Run tail{r.length - head, r.known ? r.bytes.substr(static_cast<std::size_t>(head)) : std::string(),
                         r.known};
                r.length = head;
                if (r.known)
                    r.bytes.resize(static_cast<std::size_t>(head));
                m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
                return i + 1;
            }
            pos += m_runs[i].length;
        }
        return m_runs.size();
    }
    std::vector<Run> m_runs;
};

} // namespace

std::uint32_t Crc32(std::uint32_t crc, std::string_view bytes)
{
    const auto& t = CrcTables();
    crc = ~crc;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    while (n >= 8) {
        const std::uint32_t lo = crc ^ (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                                        std::uint32_t{p[3]} << 24);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][p[4]] ^
              t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
        p += 8;
        n -= 8;
    }
    while (n--)
        crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

JournalEdit SnapshotFrontier::Slice(std::int64_t changedMs, std::int64_t bytes)
{
    const JournalEdit edit{changedMs, m_frontier, 0, m_frontier + bytes};
    m_frontier += bytes;
    return edit;
}

std::optional<JournalEdit> SnapshotFrontier::Follow(const JournalEdit& edit, std::int64_t added)
{
    if (edit.start >= m_frontier)
        return std::nullopt;
    // Of what the edit took out, only the part before the frontier was streamed.
    const std::int64_t removed = std::min(edit.removed, m_frontier - edit.start);
    m_frontier += added - removed;
    return JournalEdit{edit.changedMs, edit.start, removed, m_frontier};
}

std::string EncodeJournalStart(const JournalIdentity& id)
{
    std::string payload;
    Put(payload, static_cast<std::uint64_t>(id.changedMs), 8);
    const unsigned flags = (id.overFile ? 1u : 0u) | (id.fileStamp.exists ? 2u : 0u) | EncodingFlags(id.encoding) |
                           (id.fileStamp.unknown ? 32u : 0u);
    Put(payload, flags, 1);
    Put(payload, static_cast<std::uint64_t>(id.fileStamp.size), 8);
    Put(payload, static_cast<std::uint64_t>(id.fileStamp.modifiedNs), 8);
    Put(payload, id.fileStamp.device, 8);
    Put(payload, id.fileStamp.inode, 8);
    Put(payload, static_cast<std::uint64_t>(id.baseLength), 8);
    payload += id.fileName;
    return std::string(kJournalMagic) + Record('I', payload);
}

std::string EditHead(const JournalEdit& edit, std::size_t addedBytes)
{
    std::string head;
    head.reserve(kRecordHead + kEditFixed);
    head.push_back('E');
    Put(head, kEditFixed + addedBytes, 8);
    for (const std::int64_t v : {edit.changedMs, edit.start, edit.removed, edit.lengthAfter})
        Put(head, static_cast<std::uint64_t>(v), 8);
    return head;
}

std::string EditTail(std::string_view head, std::string_view added)
{
    std::string tail;
    Put(tail, Crc32(Crc32(0, head), added), 4);
    return tail;
}

std::string EncodeEdit(const JournalEdit& edit, std::string_view added)
{
    std::string out = EditHead(edit, added.size());
    const std::string tail = EditTail(out, added);
    out.append(added);
    return out + tail;
}

std::string EncodeEncoding(std::int64_t changedMs, const FileEncoding& encoding)
{
    std::string payload;
    Put(payload, static_cast<std::uint64_t>(changedMs), 8);
    Put(payload, EncodingFlags(encoding), 1);
    return Record('F', payload);
}

JournalSource SourceOf(std::string_view bytes)
{
    auto at = std::make_shared<std::size_t>(0);
    return {[bytes, at](char* into, std::size_t n) {
                if (bytes.size() - *at < n)
                    return false;
                std::memcpy(into, bytes.data() + *at, n);
                *at += n;
                return true;
            },
            [bytes, at] { return static_cast<std::uint64_t>(bytes.size() - *at); }};
}

JournalScan ScanJournal(JournalSource source, std::uint64_t fileBytes, const JournalVisitor& visit)
{
    JournalScan scan;
    std::string magic(kJournalMagic.size(), '\0');
    if (!source.read(magic.data(), magic.size()) || magic != kJournalMagic)
        return scan;
    std::uint64_t at = magic.size();
    std::string record;
    for (;;) {
        if (source.remaining() == 0)
            break;
        record.resize(kRecordHead);
        if (!source.read(record.data(), kRecordHead))
            break;
        const char kind = record[0];
        const std::uint64_t length = Get(record, 1, 8);
        if (length > source.remaining() || source.remaining() - length < kRecordTail)
            break;
        record.resize(kRecordHead + static_cast<std::size_t>(length) + kRecordTail);
        if (!source.read(record.data() + kRecordHead, record.size() - kRecordHead))
            break;
        const std::string_view body(record.data(), kRecordHead + length);
        if (Crc32(0, body) != static_cast<std::uint32_t>(Get(record, body.size(), 4)))
            break;
        const std::string_view payload = body.substr(kRecordHead);
        if (!scan.journal) {
            if (kind != 'I' || payload.size() < 49)
                break;
            JournalIdentity& id = scan.identity;
            id.changedMs = GetSigned(payload, 0);
            const auto flags = static_cast<unsigned>(Get(payload, 8, 1));
            id.overFile = (flags & 1u) != 0;
            id.fileStamp.exists = (flags & 2u) != 0;
            id.fileStamp.unknown = (flags & 32u) != 0;
            id.encoding = EncodingOf(flags);
            id.fileStamp.size = GetSigned(payload, 9);
            id.fileStamp.modifiedNs = GetSigned(payload, 17);
            id.fileStamp.device = Get(payload, 25, 8);
            id.fileStamp.inode = Get(payload, 33, 8);
            id.baseLength = GetSigned(payload, 41);
            id.fileName.assign(payload.substr(49));
            if (id.baseLength < 0 || (!id.overFile && id.baseLength != 0))
                break;
            scan.journal = true;
            scan.encoding = id.encoding;
            scan.lastChangedMs = id.changedMs;
            scan.length = id.baseLength;
            if (visit.identity)
                visit.identity(id);
        } else if (kind == 'E' && payload.size() >= kEditFixed) {
            JournalEdit e{GetSigned(payload, 0), GetSigned(payload, 8), GetSigned(payload, 16), GetSigned(payload, 24)};
            const std::string_view added = payload.substr(kEditFixed);
            const auto addedLength = static_cast<std::int64_t>(added.size());
            if (e.start < 0 || e.removed < 0 || e.start > scan.length || e.removed > scan.length - e.start ||
                e.lengthAfter != scan.length - e.removed + addedLength) {
                scan.consistent = false;
                break;
            }
            scan.length = e.lengthAfter;
            scan.addedBytes += addedLength;
            scan.lastChangedMs = e.changedMs;
            if (visit.edit)
                visit.edit(e, added);
        } else if (kind == 'F' && payload.size() >= 9) {
            scan.lastChangedMs = GetSigned(payload, 0);
            scan.encoding = EncodingOf(static_cast<unsigned>(Get(payload, 8, 1)));
            if (visit.encoding)
                visit.encoding(scan.lastChangedMs, scan.encoding);
        } else {
            break; // a kind this version does not know: nothing after it can be trusted
        }
        at += record.size();
    }
    scan.wholeBytes = scan.journal ? at : 0;
    scan.cut = scan.journal && at != fileBytes;
    return scan;
}

std::optional<std::string> ReplayJournal(JournalSource source, std::uint64_t fileBytes, std::string base,
                                         std::int64_t reserve)
{
    const auto baseLength = static_cast<std::int64_t>(base.size());
    GapText text(std::move(base), reserve);
    bool fits = true;
    JournalVisitor visit;
    visit.identity = [&](const JournalIdentity& id) { fits = id.baseLength == baseLength; };
    visit.edit = [&](const JournalEdit& e, std::string_view added) {
        if (fits)
            text.Replace(static_cast<std::size_t>(e.start), static_cast<std::size_t>(e.removed), added);
    };
    const JournalScan scan = ScanJournal(std::move(source), fileBytes, visit);
    if (!scan.journal || !fits || !scan.consistent)
        return std::nullopt;
    return std::move(text).Take();
}

bool ReplayWithoutBase(JournalSource source, std::uint64_t fileBytes, std::string& known, std::int64_t& length)
{
    std::optional<RunText> runs;
    JournalVisitor visit;
    visit.identity = [&](const JournalIdentity& id) { runs.emplace(id.baseLength); };
    visit.edit = [&](const JournalEdit& e, std::string_view added) { runs->Replace(e.start, e.removed, added); };
    const JournalScan scan = ScanJournal(std::move(source), fileBytes, visit);
    if (!scan.journal || !scan.consistent)
        return false;
    known = runs->Known();
    length = scan.length;
    return true;
}
