// A 30-character bar of the files done, with the file and member counts.
#include "progress_bar.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace VardelTool {
namespace {

constexpr std::size_t kWidth = 30;

}  // namespace

ProgressBar::ProgressBar(bool wanted) : shown_(wanted && ::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    if (drawn_) {
        std::cerr << '\n';
    }
}

VardelCatalog::ImportProgressCallback ProgressBar::Callback() {
    if (!shown_) {
        return {};
    }
    return [this](const VardelCatalog::ImportProgress& progress) {
        Draw(progress);
        return true;
    };
}

void ProgressBar::Draw(const VardelCatalog::ImportProgress& progress) {
    const std::size_t total = progress.filesTotal == 0 ? 1 : progress.filesTotal;
    const std::size_t filled = std::min(kWidth, progress.filesDone * kWidth / total);
    std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
              << progress.filesDone << '/' << progress.filesTotal << " files, "
              << progress.membersDone << '/' << progress.membersTotal << " members" << std::flush;
    drawn_ = true;
}

}  // namespace VardelTool
