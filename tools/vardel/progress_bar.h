// The progress of a catalogue build on standard error: one line redrawn in
// place, only when standard error is a terminal (a log or a pipe gets no
// progress noise) and the user did not ask for quiet.
#pragma once

#include "vardel/catalog/catalog_import.h"

namespace VardelTool {

class ProgressBar {
  public:
    /// Draws nothing unless `wanted` and standard error is a terminal.
    explicit ProgressBar(bool wanted);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// The build's progress callback; never cancels.
    VardelCatalog::ImportProgressCallback Callback();

  private:
    void Draw(const VardelCatalog::ImportProgress& progress);

    bool shown_;
    bool drawn_ = false;
};

}  // namespace VardelTool
