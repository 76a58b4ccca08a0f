// What the personal stores share about their files: where a store's file is
// (nowhere when the storage folder does not exist), the clock their time
// stamps come from, and reading and writing an archive as a whole file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "common/archive.h"

namespace VardelStores {

/// `fileName` in the folder `storagePath`; empty when that is not an existing folder.
std::filesystem::path StoreFilePath(const std::wstring& storagePath, const wchar_t* fileName);

/// The current time in whole seconds since 1970-01-01 UTC.
std::int64_t SecondsNow();

/// Reads the whole file at `path` into `bytes`; false when it cannot be read.
/// Removes the temporaries that dead saves of the file left, first.
bool ReadStoreFile(const std::filesystem::path& path, std::string& bytes);

/// The bytes of `text` as the archive reader takes them.
inline std::span<const std::uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

/// Replaces the file at `path` by the bytes of `writer`, atomically; false
/// when `path` is empty or the write fails.
bool WriteStoreFile(const std::filesystem::path& path, const VardelCommon::ArchiveWriter& writer);

}  // namespace VardelStores
