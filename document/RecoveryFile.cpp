#include "document/RecoveryFile.h"

#include <charconv>

namespace {

constexpr std::string_view kMagic = "QUORLEX-RECOVERY 2\n";
constexpr std::string_view kMagicWithoutIdentity = "QUORLEX-RECOVERY 1\n";
constexpr std::string_view kDataPrefix = "recovery-";
constexpr std::string_view kDataSuffix = ".dat";

// Reads one unsigned decimal field followed by `end`; advances `at`.
template <class T>
bool Field(std::string_view bytes, std::size_t& at, char end, T& value)
{
    const char* first = bytes.data() + at;
    const char* last = bytes.data() + bytes.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr == first || ptr == last || *ptr != end || *first == '-')
        return false;
    at = static_cast<std::size_t>(ptr - bytes.data()) + 1;
    return true;
}

} // namespace

std::string EncodeRecoveryHeader(const RecoveryRecord& record, std::size_t textBytes)
{
    std::string header(kMagic);
    header += std::to_string(record.changedMs) + ' ' + (record.fileStamp.exists ? '1' : '0') + ' ' +
              std::to_string(record.fileStamp.size) + ' ' + std::to_string(record.fileStamp.modifiedNs) + ' ' +
              std::to_string(record.fileStamp.device) + ' ' + std::to_string(record.fileStamp.inode) + ' ' +
              std::to_string(record.fileName.size()) + ' ' + std::to_string(textBytes) + '\n';
    header += record.fileName;
    header += '\n';
    return header;
}

std::optional<RecoveryRecord> DecodeRecoveryHeader(std::string_view bytes, std::size_t* textOffset,
                                                   std::uint64_t* textBytes)
{
    const bool identity = bytes.starts_with(kMagic);
    if (!identity && !bytes.starts_with(kMagicWithoutIdentity))
        return std::nullopt;
    std::size_t at = kMagic.size();
    RecoveryRecord record;
    int exists = 0;
    std::uint64_t nameBytes = 0, length = 0;
    if (!Field(bytes, at, ' ', record.changedMs) || !Field(bytes, at, ' ', exists) || exists > 1 ||
        !Field(bytes, at, ' ', record.fileStamp.size) || !Field(bytes, at, ' ', record.fileStamp.modifiedNs) ||
        (identity &&
         (!Field(bytes, at, ' ', record.fileStamp.device) || !Field(bytes, at, ' ', record.fileStamp.inode))) ||
        !Field(bytes, at, ' ', nameBytes) || !Field(bytes, at, '\n', length))
        return std::nullopt;
    record.fileStamp.exists = exists == 1;
    if (nameBytes >= bytes.size() - at || bytes[at + nameBytes] != '\n')
        return std::nullopt;
    record.fileName.assign(bytes.substr(at, nameBytes));
    if (textOffset)
        *textOffset = at + nameBytes + 1;
    if (textBytes)
        *textBytes = length;
    return record;
}

std::optional<RecoveryRecord> DecodeRecovery(std::string_view bytes)
{
    std::size_t offset = 0;
    std::uint64_t length = 0;
    auto record = DecodeRecoveryHeader(bytes, &offset, &length);
    // A copy is written whole or not at all, so anything but the exact length is not ours.
    if (!record || bytes.size() - offset != length)
        return std::nullopt;
    record->text.assign(bytes.substr(offset));
    return record;
}

std::optional<RecoveryRecord> DecodeRecoveryHeld(std::string_view bytes)
{
    std::size_t offset = 0;
    std::uint64_t length = 0;
    auto record = DecodeRecoveryHeader(bytes, &offset, &length);
    if (!record)
        return std::nullopt;
    record->text.assign(bytes.substr(offset));
    record->whole = record->text.size() == length;
    return record;
}

std::string RecoveryDataName(std::int64_t pid, int serial)
{
    return std::string(kDataPrefix) + std::to_string(pid) + '-' + std::to_string(serial) + std::string(kDataSuffix);
}

std::string RecoveryLockName(std::string_view dataName)
{
    std::string name(dataName.substr(0, dataName.size() - (dataName.ends_with(kDataSuffix) ? kDataSuffix.size() : 0)));
    return name + ".lock";
}

std::optional<RecoveryOwner> ParseRecoveryDataName(std::string_view name)
{
    if (!name.starts_with(kDataPrefix) || !name.ends_with(kDataSuffix))
        return std::nullopt;
    std::string_view middle = name.substr(kDataPrefix.size(), name.size() - kDataPrefix.size() - kDataSuffix.size());
    const std::size_t dash = middle.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    RecoveryOwner owner;
    const auto digits = [](std::string_view s, auto& value) {
        const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        return !s.empty() && s[0] != '-' && ec == std::errc() && ptr == s.data() + s.size();
    };
    if (!digits(middle.substr(0, dash), owner.pid) || !digits(middle.substr(dash + 1), owner.serial) ||
        owner.pid <= 0 || owner.serial <= 0)
        return std::nullopt;
    return owner;
}
