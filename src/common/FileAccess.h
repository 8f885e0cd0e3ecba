// Whole-file reading for the files the program reads at once (settings, tool input, a text
// to convert), and the low-level pieces of writing a file durably.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tomery {

/// The file's bytes; nothing when it is not a regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

/// Writes all of `bytes` to the open `descriptor`, going on after interruptions; false with
/// `error` set (ENOSPC for a write that takes nothing) when it cannot.
bool WriteAllBytes(int descriptor, std::string_view bytes, int& error);
/// WriteAllBytes at `offset` of the file, leaving the descriptor's own position.
bool WriteAllBytesAt(int descriptor, std::string_view bytes, std::uint64_t offset, int& error);
/// The bytes of `pieces` together.
std::size_t TotalSize(std::span<const std::string_view> pieces);
/// WriteAllBytesAt for `pieces` laid end to end, in as few calls as the system allows.
bool WriteAllPiecesAt(int descriptor, std::span<const std::string_view> pieces,
                      std::uint64_t offset, int& error);
/// Fills `size` bytes from `offset` of the file; false with `error` set (EIO where the file
/// ends first) when it cannot.
bool ReadAllBytesAt(int descriptor, void* data, std::size_t size, std::uint64_t offset,
                    int& error);

/// The folder part of `path`; "." for a bare file name.
std::string FolderOfPath(const std::string& path);

/// Flushes `folder` itself, so that a rename into it survives a crash of the whole machine.
void SyncFolder(const std::string& folder);

}  // namespace tomery
