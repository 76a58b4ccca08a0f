// The family files of a library folder: finding them in a reproducible
// order, estimating their members for progress, and reading each with the
// reader of its kind, then its thumbnail.
#include <algorithm>
#include <system_error>

#include "source/csv_description.h"
#include "source/family_readers.h"
#include "source/source_file.h"
#include "source/source_image.h"
#include "source/source_readers.h"

namespace VardelCatalog {
namespace {

bool EndsWith(const std::filesystem::path& file, std::string_view suffix) {
    return file.filename().string().ends_with(suffix);
}

// Non-blank lines; a quoted line break counts as a line, which a progress
// total can bear.
std::size_t CountLines(std::string_view bytes) {
    std::size_t lines = 0;
    bool blank = true;
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            lines += blank ? 0 : 1;
            blank = true;
        } else if (c != ' ' && c != '\t') {
            blank = false;
        }
    }
    return lines + (blank ? 0 : 1);
}

std::size_t CountOccurrences(std::string_view bytes, std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = bytes.find(text); at != std::string_view::npos;
         at = bytes.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

std::size_t CountRows(std::string_view document) {
    return CountOccurrences(document, "<Row ") + CountOccurrences(document, "<Row>") +
           CountOccurrences(document, "<Row/>");
}

// Read after the family, so the Parse* forms stay free of file access.
bool ReadThumbnail(const LibraryIndex& index, std::string where, FamilySource& family,
                   SourceError& error) {
    std::string problem;
    if (ReadSourceImage(index.library().folder, family.file.parent_path(), family.thumbnail,
                        family.thumbnailImage, problem)) {
        return true;
    }
    error = {family.file, 0, std::move(where), std::move(problem)};
    return false;
}

}  // namespace

std::vector<std::filesystem::path> ListFamilyFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder / "families", error), end;
         !error && it != end; it.increment(error)) {
        if ((EndsWith(it->path(), kCsvFamilySuffix) ||
             EndsWith(it->path(), kFamilyDocumentSuffix)) &&
            it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.native() < b.native(); });
    return files;
}

std::size_t EstimateMemberCount(const std::filesystem::path& file) {
    std::string bytes;
    SourceError ignored;
    if (!ReadSourceFile(file, bytes, ignored))
        return 0;
    if (EndsWith(file, kFamilyDocumentSuffix))
        return CountRows(bytes);
    const std::filesystem::path table = CsvTableOf(bytes, file);
    if (table.empty() || !ReadSourceFile(table, bytes, ignored))
        return 0;
    const std::size_t lines = CountLines(bytes);
    return lines > 0 ? lines - 1 : 0;
}

bool ReadFamily(const std::filesystem::path& file, const LibraryIndex& index, FamilySource& family,
                SourceError& error) {
    if (EndsWith(file, kCsvFamilySuffix)) {
        return ReadCsvFamily(file, index, family, error) &&
               ReadThumbnail(index, "attribute Thumbnail", family, error);
    }
    if (EndsWith(file, kFamilyDocumentSuffix)) {
        return ReadFamilyDocument(file, index, family, error) &&
               ReadThumbnail(index, "element Thumbnail/File", family, error);
    }
    error = {file, 0, {}, "is neither a CSV family nor a family document"};
    return false;
}

bool ReadFamily(const std::filesystem::path& file, const LibrarySource& library,
                FamilySource& family, SourceError& error) {
    const LibraryIndex index(library);
    return ReadFamily(file, index, family, error);
}

}  // namespace VardelCatalog
