// Forming and reading the recovery journal's bytes (layout in langfile/journal.h).
#include "langfile/journal.h"

#include <array>
#include <cstring>

namespace
{

constexpr char kMagic[kJournalMagicSize] = {'P', 'L', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr size_t kTimeSize = 8;
constexpr size_t kPathLengthSize = 2;
constexpr size_t kStringIdSize = 4;
constexpr size_t kHeaderPayloadMin = kTimeSize + 2 * kPathLengthSize;
constexpr size_t kHeaderPayloadMax = kHeaderPayloadMin + 2 * kJournalPathMax;
constexpr size_t kTextPayloadMax = kStringIdSize + kLangTextMax;

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// CRC-32 (the one of zip and PNG), continued from a previous value.
uint32_t Crc32(uint32_t crc, const char *bytes, size_t length)
{
    crc = ~crc;
    for (size_t i = 0; i < length; ++i)
        crc = kCrcTable[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put16(char *out, uint32_t value)
{
    out[0] = static_cast<char>(value & 0xFF);
    out[1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(char *out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out + 2, value >> 16);
}

uint32_t Get16(const char *in)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(in[0])) | static_cast<uint32_t>(static_cast<uint8_t>(in[1])) << 8;
}

uint32_t Get32(const char *in)
{
    return Get16(in) | Get16(in + 2) << 16;
}

// The CRC covers the kind and the length too, so a frame cannot pass for one of another size.
uint32_t FrameCrc(const char *frame, size_t payloadLength)
{
    return Crc32(Crc32(0, frame, 8), frame + kJournalFrameSize, payloadLength);
}

// Writes the frame around a payload already at out + kJournalFrameSize; returns the frame's size.
size_t CloseFrame(char *out, JournalKind kind, size_t payloadLength)
{
    Put32(out, kind);
    Put32(out + 4, static_cast<uint32_t>(payloadLength));
    Put32(out + 8, FrameCrc(out, payloadLength));
    return kJournalFrameSize + payloadLength;
}

size_t PutPath(char *out, const char *path, size_t length)
{
    Put16(out, static_cast<uint32_t>(length));
    memcpy(out + kPathLengthSize, path, length);
    return kPathLengthSize + length;
}

// A path field at *in (within end) into a terminated buffer; 0 when it overruns or holds a NUL.
int TakePath(const char *&in, const char *end, char *path)
{
    if (static_cast<size_t>(end - in) < kPathLengthSize) return 0;
    const size_t length = Get16(in);
    in += kPathLengthSize;
    if (length > kJournalPathMax || length > static_cast<size_t>(end - in)) return 0;
    if (memchr(in, '\0', length)) return 0;
    memcpy(path, in, length);
    path[length] = '\0';
    in += length;
    return 1;
}

int ParseHeader(const char *payload, size_t length, JournalHeader *header)
{
    const char *in = payload;
    const char *end = payload + length;
    uint64_t time = 0;
    for (size_t i = 0; i < kTimeSize; ++i)
        time |= static_cast<uint64_t>(static_cast<uint8_t>(in[i])) << (8 * i);
    in += kTimeSize;
    header->time = time;
    if (!TakePath(in, end, header->document) || !TakePath(in, end, header->module)) return 0;
    return in == end;
}

// Where a frame at bytes (size bytes left) stands: whole and good, cut short, or bad.
enum FrameState { kFrameWhole, kFrameCut, kFrameBad };

FrameState CheckFrame(const char *bytes, size_t size, size_t payloadMin, size_t payloadMax)
{
    if (size < kJournalFrameSize) return kFrameCut;
    const size_t length = Get32(bytes + 4);
    if (length < payloadMin || length > payloadMax) return kFrameBad;
    if (length > size - kJournalFrameSize) return kFrameCut;
    return FrameCrc(bytes, length) == Get32(bytes + 8) ? kFrameWhole : kFrameBad;
}

// A whole record frame as a record; 0 for what no writer forms.
int ParseRecord(const char *frame, JournalRecord *record)
{
    const uint32_t kind = Get32(frame);
    const size_t length = Get32(frame + 4);
    const char *payload = frame + kJournalFrameSize;
    if (kind == kJournalText) {
        if (length < kStringIdSize || length > kTextPayloadMax) return 0;
        record->kind = kJournalText;
        record->stringId = Get32(payload);
        record->bytes = payload + kStringIdSize;
        record->length = length - kStringIdSize;
    } else if (kind == kJournalSignature) {
        if (length > kLangSignatureMax) return 0;
        record->kind = kJournalSignature;
        record->stringId = 0;
        record->bytes = payload;
        record->length = length;
    } else {
        return 0;
    }
    // Texts end at a NUL in the model, so no writer puts one inside.
    return !memchr(record->bytes, '\0', record->length);
}

} // namespace

size_t JournalFormatHeader(const JournalHeader *header, char *out, size_t capacity)
{
    if (!header || !out) return 0;
    const size_t documentLength = strnlen(header->document, kJournalPathSize);
    const size_t moduleLength = strnlen(header->module, kJournalPathSize);
    if (documentLength > kJournalPathMax || moduleLength > kJournalPathMax) return 0;
    const size_t payloadLength = kHeaderPayloadMin + documentLength + moduleLength;
    if (capacity < kJournalMagicSize + kJournalFrameSize + payloadLength) return 0;
    memcpy(out, kMagic, kJournalMagicSize);
    char *frame = out + kJournalMagicSize;
    char *payload = frame + kJournalFrameSize;
    for (size_t i = 0; i < kTimeSize; ++i)
        payload[i] = static_cast<char>((header->time >> (8 * i)) & 0xFF);
    size_t at = kTimeSize;
    at += PutPath(payload + at, header->document, documentLength);
    PutPath(payload + at, header->module, moduleLength);
    return kJournalMagicSize + CloseFrame(frame, kJournalHeaderKind, payloadLength);
}

size_t JournalFormatText(uint32_t stringId, const char *text, size_t length, char *out, size_t capacity)
{
    if (!out || (length && !text) || length > kLangTextMax) return 0;
    if (length && memchr(text, '\0', length)) return 0;
    if (capacity < kJournalFrameSize + kStringIdSize + length) return 0;
    char *payload = out + kJournalFrameSize;
    Put32(payload, stringId);
    if (length) memcpy(payload + kStringIdSize, text, length);
    return CloseFrame(out, kJournalText, kStringIdSize + length);
}

size_t JournalFormatSignature(const char *signature, size_t length, char *out, size_t capacity)
{
    if (!out || (length && !signature) || length > kLangSignatureMax) return 0;
    if (length && memchr(signature, '\0', length)) return 0;
    if (capacity < kJournalFrameSize + length) return 0;
    if (length) memcpy(out + kJournalFrameSize, signature, length);
    return CloseFrame(out, kJournalSignature, length);
}

JournalResult JournalRead(const char *bytes, size_t size, JournalHeader *header, JournalRecordFn onRecord,
                          void *context, JournalSummary *summary)
{
    JournalSummary counted = {0, 0};
    if (summary) *summary = counted;
    if (!bytes && size) return kJournalUnreadable;
    // A writer that died inside its first write leaves a prefix of the magic and header.
    const size_t magicPart = size < kJournalMagicSize ? size : kJournalMagicSize;
    if (magicPart && memcmp(bytes, kMagic, magicPart) != 0) return kJournalUnreadable;
    if (size <= kJournalMagicSize) return kJournalEmpty;

    const char *frame = bytes + kJournalMagicSize;
    size_t left = size - kJournalMagicSize;
    const FrameState headerState = CheckFrame(frame, left, kHeaderPayloadMin, kHeaderPayloadMax);
    if (left >= 4 && Get32(frame) != kJournalHeaderKind) return kJournalUnreadable;
    if (headerState == kFrameCut) return kJournalEmpty;
    if (headerState == kFrameBad) return kJournalUnreadable;
    JournalHeader scratch;
    JournalHeader *target = header ? header : &scratch;
    const size_t headerLength = Get32(frame + 4);
    if (!ParseHeader(frame + kJournalFrameSize, headerLength, target)) return kJournalUnreadable;
    frame += kJournalFrameSize + headerLength;
    left -= kJournalFrameSize + headerLength;

    while (left) {
        JournalRecord record;
        if (CheckFrame(frame, left, 0, kJournalRecordMax - kJournalFrameSize) != kFrameWhole) break;
        if (!ParseRecord(frame, &record)) break;
        const size_t frameLength = kJournalFrameSize + Get32(frame + 4);
        ++counted.records;
        frame += frameLength;
        left -= frameLength;
        if (onRecord && !onRecord(context, &record)) break;
    }
    counted.droppedBytes = left;
    if (summary) *summary = counted;
    return kJournalRead;
}
