#include "DocDecoder.h"

namespace tomery::doc {

std::string DecodeError::Describe() const {
    switch (kind) {
        case Kind::LiteralRunCutOff:
            return "literal run cut off by the end of the record at byte " + std::to_string(at);
        case Kind::BackReferenceCutOff:
            return "back-reference cut off by the end of the record at byte " + std::to_string(at);
        case Kind::BadDistance:
            return "back-reference at byte " + std::to_string(at) + " with distance " +
                   std::to_string(distance) + " reaches outside the record's text";
    }
    return {};
}

std::optional<DecodeError> DecodeRecord(ByteView record, Bytes& output) {
    output.clear();
    output.reserve(kTextRecordSize);
    std::size_t i = 0;
    while (i < record.size()) {
        const std::uint8_t byte = record[i];
        if (byte >= 0x01 && byte <= 0x08) {
            if (record.size() - i - 1 < byte) {
                return DecodeError{DecodeError::Kind::LiteralRunCutOff, i};
            }
            output.insert(output.end(), record.begin() + i + 1, record.begin() + i + 1 + byte);
            i += 1 + byte;
        } else if (byte < 0x80) {
            output.push_back(byte);
            ++i;
        } else if (byte >= 0xC0) {
            output.push_back(0x20);
            output.push_back(byte ^ 0x80);
            ++i;
        } else {
            if (i + 1 >= record.size()) {
                return DecodeError{DecodeError::Kind::BackReferenceCutOff, i};
            }
            const std::size_t value = (std::size_t{byte} << 8) | record[i + 1];
            const std::size_t distance = (value & 0x3FFF) >> 3;
            const std::size_t length = (value & 7) + 3;
            if (distance == 0 || distance > output.size()) {
                return DecodeError{DecodeError::Kind::BadDistance, i, distance};
            }
            // One byte at a time: a copy may overlap the bytes it produces.
            for (std::size_t k = 0; k < length; ++k) {
                output.push_back(output[output.size() - distance]);
            }
            i += 2;
        }
    }
    return std::nullopt;
}

Bytes ExpandLineEnds(ByteView decoded, bool& previousWasCr) {
    Bytes expanded;
    expanded.reserve(decoded.size() + decoded.size() / 8);
    for (const std::uint8_t byte : decoded) {
        if (byte == 0x0A && !previousWasCr) {
            expanded.push_back(0x0D);
        }
        expanded.push_back(byte);
        previousWasCr = byte == 0x0D;
    }
    return expanded;
}

Bytes ConvertLineEndsToDoc(ByteView block, std::optional<std::uint8_t> nextByte) {
    Bytes converted;
    converted.reserve(block.size());
    for (std::size_t i = 0; i < block.size(); ++i) {
        const std::uint8_t byte = block[i];
        if (byte <= 0x08) {
            continue;
        }
        if (byte == 0x0D) {
            const auto following = i + 1 < block.size() ? std::optional(block[i + 1]) : nextByte;
            if (following != 0x0A) {
                converted.push_back(0x0A);
            }
            continue;
        }
        converted.push_back(byte);
    }
    return converted;
}

}  // namespace tomery::doc
